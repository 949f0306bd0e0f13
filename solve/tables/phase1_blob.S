/* The phase-1 distance table made by short-phase1-table, built in. */
    .section .rodata
    .balign 64
    .global shortPhase1Blob
shortPhase1Blob:
    .incbin "short_phase1.bin"
    .global shortPhase1BlobEnd
shortPhase1BlobEnd:
    .section .note.GNU-stack,"",@progbits
