#include "model/textlog.h"

#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

namespace {

FILE* traceFile = nullptr;
FILE* journalFile = nullptr;

// Opens `name` with the given open(2) flags, creating it as 0644; null when it
// cannot be opened.
FILE* openText(const char* name, int flags, const char* mode) {
    const int fd = open(name, flags | O_CREAT | O_CLOEXEC, 0644);
    if (fd < 0) return nullptr;
    FILE* f = fdopen(fd, mode);
    if (!f) close(fd);
    return f;
}

void closeText(FILE*& f) {
    if (f) fclose(f);
    f = nullptr;
}

} // namespace

void traceOpen() {
    closeText(traceFile);
    traceFile = openText(kTraceFileName, O_WRONLY | O_TRUNC, "w");
}

void traceMove(int layer, int direction) {
    if (traceFile) fprintf(traceFile, "%d %d\n", layer, direction);
}

void traceMarker(const char* text) {
    if (traceFile && text) fprintf(traceFile, "%s\n", text);
}

void traceClose() {
    closeText(traceFile);
}

void journalOpen() {
    closeText(journalFile);
    journalFile = openText(kJournalFileName, O_WRONLY | O_APPEND, "a");
}

void journalMove(int layer, int direction) {
    if (journalFile) fprintf(journalFile, "%d %d\n", layer, direction);
}

void journalClose() {
    closeText(journalFile);
}
