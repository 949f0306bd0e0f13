// The two text files a solve writes into the working directory:
//   "Kyb.txt"  the trace of the latest stage call;
//   "kub2.txt" the journal of every move a solve applied, appended forever.
//
// The stages and drivers write through traceOpen .. traceClose and
// journalOpen .. journalClose. Between textLogBegin and textLogCommit (the
// computation of one solve) their lines are only kept in fixed buffers; the
// commit writes "Kyb.txt" once, with the trace of the solve's last stage call,
// and appends all of the solve's journal lines to "kub2.txt" in one write. The
// files end up byte for byte as if every call had written at once. Outside a
// solve, traceClose and journalClose write at once.
//
// Writing never waits on a file: only a regular file (or /dev/null, for a
// user who wants no journal) is written; a FIFO or any other kind of file is
// refused. A journal append lands whole or not at all: when it fails, the
// file is cut back to its size before the append (a journal the append
// created is removed), so no partial line is ever left and nothing that was
// in it changes. A trace that cannot be written whole is left empty.
#pragma once

#include <cstddef>

constexpr const char* kTraceFileName = "Kyb.txt";
constexpr const char* kJournalFileName = "kub2.txt";

// Stage trace: a fresh trace, lines, then the call's end.
void traceOpen();
// One literal move line, "layer direction\n".
void traceMove(int layer, int direction);
// One marker line, the text followed by "\n" ("HERE", "XX", "12" ...).
void traceMarker(const char* text);
void traceClose();

// Move journal: one line per applied move between open and close.
void journalOpen();
void journalMove(int layer, int direction);
void journalClose();

// A solve's computation starts: lines are kept until textLogCommit.
void textLogBegin();
// The solve's computation ended: writes what it kept. Returns 0 when every
// line landed (or there was nothing to write), else kTraceUnwritten and/or
// kJournalUnwritten. Harmless without a textLogBegin.
constexpr int kTraceUnwritten = 1;
constexpr int kJournalUnwritten = 2;
int textLogCommit();
// While on, every trace and journal line is dropped instead of written, and
// the files are not touched (cube-solve --batch without --logs).
void textLogDrop(int on);
// The latest write that failed, once: its kTraceUnwritten/kJournalUnwritten
// bits (0 when nothing failed since the last call), with `*text` set to one
// line naming the file(s) and the reason.
int takeTextLogFault(const char** text);

// Writes n bytes to the file descriptor, going on after short writes and
// interruptions. Returns 0, or the errno of the write that failed.
int writeAll(int fd, const char* p, std::size_t n);
