// The phase-1 distance table, as the build made it (solve/tables/): its
// bytes sit in the program's read-only data, aligned for the table's fields.
#include "solve/short_solve.h"

extern "C" const unsigned char shortPhase1Blob[];
extern "C" const unsigned char shortPhase1BlobEnd[];

const unsigned char* shortPhase1Data() {
    // A table of another size (made from other sources) is not used.
    if (shortPhase1BlobEnd - shortPhase1Blob != static_cast<long>(sizeof(ShortPhase1Table)))
        return nullptr;
    return shortPhase1Blob;
}
