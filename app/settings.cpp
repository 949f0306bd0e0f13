// The settings file: reading it, checking it, and writing the known keys back
// into it without losing any other line.
#include "app/settings.h"

#include "app/player.h"
#include "model/textlog.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// A settings file is a few lines; anything much larger is not one.
constexpr int kMaxFileBytes = 16 * 1024;
constexpr int kMaxLineBytes = 255;

// The words a key takes; a value is the index of its word.
constexpr const char* kYesNo[] = {"no", "yes"};
constexpr const char* kLooks[] = {"plain", "clear"};
// Quarter turns a second, as the player's speeds (kPlayerSpeeds) are named.
constexpr const char* kSpeeds[] = {"0.5", "1", "2", "4", "7.5", "20"};
static_assert(sizeof kSpeeds / sizeof kSpeeds[0] == kPlayerSpeedCount, "one word a speed");

// The keys this version knows, each with its place in Settings and its words.
struct KnownKey {
    const char* name;
    int Settings::*value;
    const char* const* words;
    int wordCount;
    const char* expected; // for the message about a value it cannot take
};
template <int N> constexpr int countOf(const char* const (&)[N]) {
    return N;
}
constexpr KnownKey kKnownKeys[] = {
    {"fullscreen", &Settings::fullscreen, kYesNo, countOf(kYesNo), "yes or no"},
    {"soft", &Settings::soft, kYesNo, countOf(kYesNo), "yes or no"},
    {"look", &Settings::look, kLooks, countOf(kLooks), "plain or clear"},
    {"speed", &Settings::speed, kSpeeds, countOf(kSpeeds), "0.5, 1, 2, 4, 7.5 or 20"},
};

const KnownKey* findKey(const char* key, int length) {
    for (const KnownKey& k : kKnownKeys)
        if (static_cast<int>(std::strlen(k.name)) == length &&
            std::strncmp(k.name, key, static_cast<size_t>(length)) == 0)
            return &k;
    return nullptr;
}

bool blank(char c) {
    return c == ' ' || c == '\t' || c == '\r';
}

bool keyChar(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' ||
           c == '-' || c == '.';
}

// One line of the file, its blanks around key and value trimmed.
struct Line {
    const char* key; // null for a blank or comment line
    int keyLength;
    const char* value;
    int valueLength;
};

// Splits [p, end) as a settings line. Returns 0 with a message when it is
// none.
int splitLine(const char* p, const char* end, int lineNo, Line* out, char* message,
              int messageSize) {
    const size_t size = static_cast<size_t>(messageSize);
    *out = Line{nullptr, 0, nullptr, 0};
    while (p < end && blank(*p)) ++p;
    while (end > p && blank(end[-1])) --end;
    if (p == end || *p == '#') return 1;
    const char* key = p;
    while (p < end && keyChar(*p)) ++p;
    const int keyLength = static_cast<int>(p - key);
    while (p < end && blank(*p)) ++p;
    if (keyLength == 0 || p == end || *p != '=') {
        std::snprintf(message, size, "line %d is not \"key = value\"", lineNo);
        return 0;
    }
    ++p;
    while (p < end && blank(*p)) ++p;
    *out = Line{key, keyLength, p, static_cast<int>(end - p)};
    return 1;
}

// The index of the key's word `value`; -1 for anything else.
int readAnswer(const KnownKey& key, const char* value, int length) {
    for (int i = 0; i < key.wordCount; ++i)
        if (static_cast<int>(std::strlen(key.words[i])) == length &&
            std::strncmp(value, key.words[i], static_cast<size_t>(length)) == 0)
            return i;
    return -1;
}

// Reads the whole file into `text` (kMaxFileBytes + 1 bytes). Returns its
// length, -2 when it does not exist, or -1 with a message.
int readWhole(const char* path, char* text, char* message, int messageSize) {
    const size_t size = static_cast<size_t>(messageSize);
    const int fd = open(path, O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0 && errno == ENOENT) return -2;
    if (fd < 0) {
        std::snprintf(message, size, "cannot read %s: %s", path, std::strerror(errno));
        return -1;
    }
    struct stat st {};
    if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        std::snprintf(message, size, "cannot read %s: not a regular file", path);
        close(fd);
        return -1;
    }
    int length = 0;
    while (length <= kMaxFileBytes) {
        const ssize_t got =
            read(fd, text + length, static_cast<size_t>(kMaxFileBytes + 1 - length));
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) {
            std::snprintf(message, size, "cannot read %s: %s", path, std::strerror(errno));
            close(fd);
            return -1;
        }
        if (got == 0) break;
        length += static_cast<int>(got);
    }
    close(fd);
    if (length > kMaxFileBytes) {
        std::snprintf(message, size, "%s: longer than %d bytes", path, kMaxFileBytes);
        return -1;
    }
    return length;
}

// Prefixes the message with the file's name.
void nameFile(const char* path, char* message, int messageSize) {
    char fault[160];
    std::snprintf(fault, sizeof fault, "%s", message);
    std::snprintf(message, static_cast<size_t>(messageSize), "%s: %s", path, fault);
}

} // namespace

int userFolder(const char* xdgVariable, const char* homeFallback, char* out, int outSize) {
    const size_t size = static_cast<size_t>(outSize);
    const char* base = std::getenv(xdgVariable);
    int n = 0;
    if (base && base[0] == '/') {
        n = std::snprintf(out, size, "%s/cube-solver", base);
    } else {
        const char* home = std::getenv("HOME");
        if (!home || home[0] != '/') return 0;
        n = std::snprintf(out, size, "%s/%s/cube-solver", home, homeFallback);
    }
    return n > 0 && n < outSize;
}

int makeFolders(const char* path, char* message, int messageSize) {
    char part[kSettingsPathSize];
    const int length = static_cast<int>(std::strlen(path));
    if (length >= kSettingsPathSize) {
        std::snprintf(message, static_cast<size_t>(messageSize), "folder name too long");
        return 0;
    }
    for (int i = 1; i <= length; ++i) {
        if (path[i] != '/' && path[i] != '\0') continue;
        std::memcpy(part, path, static_cast<size_t>(i));
        part[i] = '\0';
        if (mkdir(part, 0700) != 0 && errno != EEXIST) {
            std::snprintf(message, static_cast<size_t>(messageSize),
                          "cannot make the folder %s: %s", part, std::strerror(errno));
            return 0;
        }
    }
    struct stat st {};
    if (stat(path, &st) != 0 || !S_ISDIR(st.st_mode)) {
        std::snprintf(message, static_cast<size_t>(messageSize), "%s is not a folder", path);
        return 0;
    }
    return 1;
}

int settingsPath(char* out, int outSize) {
    char folder[kSettingsPathSize];
    if (!userFolder("XDG_CONFIG_HOME", ".config", folder, sizeof folder)) return 0;
    const int n = std::snprintf(out, static_cast<size_t>(outSize), "%s/settings.conf", folder);
    return n > 0 && n < outSize;
}

int parseSettings(const char* text, int length, Settings* out, char* message, int messageSize) {
    const size_t size = static_cast<size_t>(messageSize);
    Settings read;
    int given[sizeof kKnownKeys / sizeof kKnownKeys[0]] = {};
    const char* end = text + length;
    int lineNo = 1;
    for (const char* p = text; p < end; ++lineNo) {
        const char* lineEnd = p;
        while (lineEnd < end && *lineEnd != '\n') {
            if (*lineEnd == '\0') {
                std::snprintf(message, size, "line %d holds a NUL byte", lineNo);
                return 0;
            }
            ++lineEnd;
        }
        if (lineEnd - p > kMaxLineBytes) {
            std::snprintf(message, size, "line %d is longer than %d characters", lineNo,
                          kMaxLineBytes);
            return 0;
        }
        Line line;
        if (!splitLine(p, lineEnd, lineNo, &line, message, messageSize)) return 0;
        p = lineEnd + 1;
        if (!line.key) continue;
        const KnownKey* known = findKey(line.key, line.keyLength);
        if (!known) continue; // a later version's key
        const int index = static_cast<int>(known - kKnownKeys);
        if (given[index]++) {
            std::snprintf(message, size, "line %d: %s is given twice", lineNo, known->name);
            return 0;
        }
        const int answer = readAnswer(*known, line.value, line.valueLength);
        if (answer < 0) {
            std::snprintf(message, size, "line %d: %s takes %s", lineNo, known->name,
                          known->expected);
            return 0;
        }
        read.*(known->value) = answer;
    }
    *out = read;
    return 1;
}

int loadSettings(const char* path, Settings* out, char* message, int messageSize) {
    char text[kMaxFileBytes + 1];
    const int length = readWhole(path, text, message, messageSize);
    if (length == -2) return 1;
    if (length < 0) return 0;
    if (parseSettings(text, length, out, message, messageSize)) return 1;
    nameFile(path, message, messageSize);
    return 0;
}

int saveSettings(const char* path, const Settings& settings, char* message, int messageSize) {
    const size_t size = static_cast<size_t>(messageSize);
    char text[kMaxFileBytes + 1];
    int length = readWhole(path, text, message, messageSize);
    if (length == -1) return 0;
    Settings ignored;
    if (length >= 0 && !parseSettings(text, length, &ignored, message, messageSize)) {
        nameFile(path, message, messageSize);
        return 0;
    }
    // The new file: every line kept but those of the keys being written,
    // which take their new value in place; keys not yet there at the end.
    static char made[kMaxFileBytes + 512];
    int n = 0;
    const auto add = [&](const char* p, int count) {
        if (n + count <= static_cast<int>(sizeof made))
            std::memcpy(made + n, p, static_cast<size_t>(count));
        n += count;
    };
    const auto addKey = [&](const KnownKey& k) {
        char line[64];
        const int value = settings.*(k.value);
        const int len = std::snprintf(line, sizeof line, "%s = %s\n", k.name,
                                      value >= 0 && value < k.wordCount ? k.words[value] : "");
        add(line, len);
    };
    int written[sizeof kKnownKeys / sizeof kKnownKeys[0]] = {};
    if (length < 0) {
        const char* head = "# cube-solver settings: \"key = value\", one a line\n";
        add(head, static_cast<int>(std::strlen(head)));
        length = 0;
    }
    const char* end = text + length;
    for (const char* p = text; p < end;) {
        const char* lineEnd = p;
        while (lineEnd < end && *lineEnd != '\n') ++lineEnd;
        Line line;
        splitLine(p, lineEnd, 0, &line, message, messageSize); // checked above
        const KnownKey* known = line.key ? findKey(line.key, line.keyLength) : nullptr;
        if (known && settings.*(known->value) != kUnset) {
            addKey(*known);
            written[known - kKnownKeys] = 1;
        } else {
            add(p, static_cast<int>(lineEnd - p));
            add("\n", 1);
        }
        p = lineEnd + 1;
    }
    for (const KnownKey& k : kKnownKeys)
        if (!written[&k - kKnownKeys] && settings.*(k.value) != kUnset) addKey(k);
    if (n > static_cast<int>(sizeof made)) {
        std::snprintf(message, size, "%s: the settings would be too long", path);
        return 0;
    }

    char folder[kSettingsPathSize];
    std::snprintf(folder, sizeof folder, "%s", path);
    char* slash = std::strrchr(folder, '/');
    if (slash && slash != folder) {
        *slash = '\0';
        if (!makeFolders(folder, message, messageSize)) return 0;
    }
    char temporary[kSettingsPathSize + 8];
    std::snprintf(temporary, sizeof temporary, "%s.new", path);
    const int fd = open(temporary, O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0) {
        std::snprintf(message, size, "cannot write %s: %s", temporary, std::strerror(errno));
        return 0;
    }
    int err = writeAll(fd, made, static_cast<size_t>(n));
    if (close(fd) != 0 && err == 0) err = errno;
    if (err == 0 && rename(temporary, path) != 0) err = errno;
    if (err != 0) {
        unlink(temporary);
        std::snprintf(message, size, "cannot write %s: %s", path, std::strerror(err));
        return 0;
    }
    return 1;
}
