// The two text files a solve writes into the working directory:
//   "Kyb.txt"  the trace of the latest stage call, truncated at every call;
//   "kub2.txt" the journal of every move a solve applied, appended forever.
// A file that cannot be opened loses its lines; nothing else changes.
#pragma once

constexpr const char* kTraceFileName = "Kyb.txt";
constexpr const char* kJournalFileName = "kub2.txt";

// Stage trace: open truncating, write lines, close.
void traceOpen();
// One literal move line, "layer direction\n".
void traceMove(int layer, int direction);
// One marker line, the text followed by "\n" ("HERE", "XX", "12" ...).
void traceMarker(const char* text);
void traceClose();

// Move journal: open for appending, one line per applied move, close.
void journalOpen();
void journalMove(int layer, int direction);
void journalClose();
