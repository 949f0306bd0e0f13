#include "model/textlog.h"

#include "model/moves.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// The longest line journalMove or traceMove can make: "-2147483648 -2147483648\n".
constexpr int kLineBytes = 32;
// One stage call's trace: at most a full MoveList and a few marker lines.
constexpr int kTraceBytes = 4096;
static_assert(kTraceBytes >= (kMoveListSize + 16) * kLineBytes, "trace buffer too small");
// One solve's journal: the SolutionList is filled at most three times in a
// solve (the 2x2x2 retry and its give-up start it again), at most 5 bytes a
// line ("9 -1\n"). Past that the lines are appended in more than one write.
constexpr int kJournalBytes = 3 * kSolutionListSize * 5;

char traceText[kTraceBytes];
int traceLength = 0;
int traceOpenNow = 0; // between traceOpen and traceClose
int traceKept = 0;    // a stage call's trace waits to be written
int traceOverflow = 0;

char journalText[kJournalBytes];
int journalLength = 0;
int journalOpenNow = 0; // between journalOpen and journalClose
// One append unit: a whole solve, or one driver call outside a solve.
int journalKept = 0;     // journalOpen was called: the file is made even without lines
int journalAppended = 0; // a first part already landed (the buffer filled up)
int journalLost = 0;     // a write failed: the unit's lines are dropped
int journalCreated = 0;  // the unit's first write created the file
off_t journalSizeBefore = 0;

int solveOpen = 0;
int dropLines = 0; // textLogDrop: nothing is written
int faultBits = 0;
char faultText[512] = "";
char reasonText[160] = "";

void noteFault(int bit, const char* name, const char* reason, const char* outcome) {
    const size_t used = faultBits ? std::strlen(faultText) : 0;
    std::snprintf(faultText + used, sizeof faultText - used, "%scannot write %s: %s%s",
                  used ? "; " : "", name, reason, outcome);
    faultBits |= bit;
}

const char* kindOf(mode_t mode) {
    if (S_ISFIFO(mode)) return "a FIFO";
    if (S_ISSOCK(mode)) return "a socket";
    if (S_ISDIR(mode)) return "a directory";
    if (S_ISCHR(mode) || S_ISBLK(mode)) return "a device";
    return "not a regular file";
}

const char* refusal(mode_t mode) {
    std::snprintf(reasonText, sizeof reasonText,
                  "it is %s; only a regular file or /dev/null is written", kindOf(mode));
    return reasonText;
}

bool isDevNull(const struct stat& st) {
    struct stat null {};
    return S_ISCHR(st.st_mode) && stat("/dev/null", &null) == 0 && S_ISCHR(null.st_mode) &&
           null.st_rdev == st.st_rdev;
}

// A file opened for writing: `regular` 0 for /dev/null; `size` its size then.
struct LogTarget {
    int fd;
    int regular;
    int created;
    off_t size;
    const char* reason; // why it was not opened
};

// Opens `name` for writing (with O_APPEND or no further flags), creating it as
// 0644, without waiting: a FIFO with nobody reading refuses a non-blocking
// open, and one that has a reader is refused after it.
LogTarget openLogFile(const char* name, int flags) {
    LogTarget t{-1, 0, 0, 0, nullptr};
    const int base = O_WRONLY | O_NONBLOCK | O_CLOEXEC | flags;
    t.fd = open(name, base);
    if (t.fd < 0 && errno == ENOENT) {
        t.fd = open(name, base | O_CREAT | O_EXCL, 0644);
        t.created = t.fd >= 0;
        if (t.fd < 0 && errno == EEXIST) t.fd = open(name, base);
    }
    struct stat st {};
    if (t.fd < 0) {
        t.reason = errno == ENXIO && stat(name, &st) == 0 ? refusal(st.st_mode) : strerror(errno);
        return t;
    }
    if (fstat(t.fd, &st) != 0) {
        t.reason = strerror(errno);
    } else if (S_ISREG(st.st_mode)) {
        t.regular = 1;
        t.size = st.st_size;
    } else if (!isDevNull(st)) {
        t.reason = refusal(st.st_mode);
    }
    if (t.reason) {
        close(t.fd);
        t.fd = -1;
    }
    return t;
}

int formatMove(char* to, int layer, int direction) {
    return std::snprintf(to, kLineBytes, "%d %d\n", layer, direction);
}

// Writes the kept trace over "Kyb.txt" from its start and then cuts the file
// to that length. (Truncating to nothing first, then writing, makes some file
// systems start writing the file out at its close, and the next solve's
// truncation then waits for that: about a millisecond a solve on a disk.)
void writeTrace() {
    traceKept = 0;
    if (dropLines) return;
    LogTarget t = openLogFile(kTraceFileName, 0);
    if (t.fd < 0) {
        noteFault(kTraceUnwritten, kTraceFileName, t.reason, "");
        return;
    }
    int err = writeAll(t.fd, traceText, static_cast<size_t>(traceLength));
    if (err == 0 && t.regular && t.size > traceLength && ftruncate(t.fd, traceLength) != 0)
        err = errno;
    if (close(t.fd) != 0 && err == 0) err = errno;
    if (err != 0) {
        const bool emptied = t.regular && truncate(kTraceFileName, 0) == 0;
        noteFault(kTraceUnwritten, kTraceFileName, strerror(err), emptied ? " (left empty)" : "");
    } else if (traceOverflow) {
        noteFault(kTraceUnwritten, kTraceFileName, "the stage call's trace was too long",
                  " (its end was dropped)");
    }
}

// Puts the file back as the unit found it: removed when the unit created
// it, else cut back to its size before the unit's first write.
int undoJournal(int fd) {
    if (journalCreated) return unlink(kJournalFileName) == 0 ? 0 : errno;
    const int r =
        fd >= 0 ? ftruncate(fd, journalSizeBefore) : truncate(kJournalFileName, journalSizeBefore);
    return r == 0 ? 0 : errno;
}

// Appends the lines kept so far to "kub2.txt" in one write.
void appendJournal() {
    const int length = journalLength;
    journalLength = 0;
    if (journalLost || dropLines) return;
    LogTarget t = openLogFile(kJournalFileName, O_APPEND);
    if (t.fd < 0) {
        journalLost = 1;
        // Only a unit whose buffer filled up has a first part to take back.
        const bool undone = journalAppended && undoJournal(-1) == 0;
        noteFault(kJournalUnwritten, kJournalFileName, t.reason,
                  undone ? " (nothing of this solve was added)" : "");
        return;
    }
    if (!journalAppended) {
        journalSizeBefore = t.size;
        journalCreated = t.created;
    }
    int err = writeAll(t.fd, journalText, static_cast<size_t>(length));
    int undoErr = err != 0 && t.regular ? undoJournal(t.fd) : 0;
    if (close(t.fd) != 0 && err == 0) {
        err = errno;
        undoErr = t.regular ? undoJournal(-1) : 0;
    }
    if (err == 0) {
        journalAppended = 1;
        return;
    }
    journalLost = 1;
    char outcome[96];
    if (undoErr == 0)
        std::snprintf(outcome, sizeof outcome, " (nothing of this solve was added)");
    else
        std::snprintf(outcome, sizeof outcome, " (and it could not be cut back to %lld bytes: %s)",
                      static_cast<long long>(journalSizeBefore), strerror(undoErr));
    noteFault(kJournalUnwritten, kJournalFileName, strerror(err), outcome);
}

void finishJournal() {
    if (journalKept && (journalLength > 0 || !journalAppended)) appendJournal();
    journalKept = journalAppended = journalLost = journalCreated = 0;
    journalLength = 0;
}

} // namespace

int writeAll(int fd, const char* p, size_t n) {
    while (n > 0) {
        const ssize_t w = write(fd, p, n);
        if (w < 0 && errno == EINTR) continue;
        if (w < 0) return errno;
        if (w == 0) return ENOSPC;
        p += w;
        n -= static_cast<size_t>(w);
    }
    return 0;
}

void traceOpen() {
    traceOpenNow = 1;
    traceKept = 1;
    traceLength = 0;
    traceOverflow = 0;
}

void traceMove(int layer, int direction) {
    if (!traceOpenNow) return;
    if (traceLength + kLineBytes > kTraceBytes) {
        traceOverflow = 1;
        return;
    }
    traceLength += formatMove(traceText + traceLength, layer, direction);
}

void traceMarker(const char* text) {
    if (!traceOpenNow || !text) return;
    const size_t n = std::strlen(text);
    if (static_cast<size_t>(traceLength) + n + 1 > sizeof traceText) {
        traceOverflow = 1;
        return;
    }
    std::memcpy(traceText + traceLength, text, n);
    traceLength += static_cast<int>(n);
    traceText[traceLength++] = '\n';
}

void traceClose() {
    traceOpenNow = 0;
    if (!solveOpen && traceKept) writeTrace();
}

void journalOpen() {
    journalOpenNow = 1;
    journalKept = 1;
}

void journalMove(int layer, int direction) {
    if (!journalOpenNow) return;
    if (journalLength + kLineBytes > kJournalBytes) appendJournal();
    journalLength += formatMove(journalText + journalLength, layer, direction);
}

void journalClose() {
    journalOpenNow = 0;
    if (!solveOpen) finishJournal();
}

void textLogBegin() {
    if (solveOpen) textLogCommit();
    solveOpen = 1;
    faultBits = 0;
    faultText[0] = '\0';
    traceKept = 0;
}

int textLogCommit() {
    if (!solveOpen) return 0;
    solveOpen = 0;
    traceOpenNow = journalOpenNow = 0;
    finishJournal();
    if (traceKept) writeTrace();
    return faultBits;
}

void textLogDrop(int on) {
    dropLines = on;
}

int takeTextLogFault(const char** text) {
    const int bits = faultBits;
    faultBits = 0;
    if (text) *text = faultText;
    return bits;
}
