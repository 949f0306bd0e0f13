// The Short routine's table file: its checks, its mapping and where it is
// looked for. See tables.h.
#include "solve/short/tables.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <mutex>
#include <string>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#ifndef CUBE_DATADIR
#define CUBE_DATADIR "/usr/local/share"
#endif

uint64_t shortTableChecksum(const unsigned char* bytes, size_t size) {
    // Two running sums a lane (the second of the first), as fast as memory
    // reads: any change of one word, and any swap of two, changes them.
    uint64_t sum[4] = {1, 2, 3, 4}, sumOfSums[4] = {0, 0, 0, 0};
    uint64_t w[4];
    size_t i = 0;
    for (; i + sizeof w <= size; i += sizeof w) {
        std::memcpy(w, bytes + i, sizeof w);
        for (int k = 0; k < 4; ++k) {
            sum[k] += w[k];
            sumOfSums[k] += sum[k];
        }
    }
    for (; i < size; ++i) sumOfSums[0] += sum[0] += bytes[i];
    constexpr uint64_t kMul = 0x9E3779B97F4A7C15ull;
    uint64_t h = size;
    for (int k = 0; k < 4; ++k) {
        h = (h ^ sum[k]) * kMul;
        h = (h ^ sumOfSums[k]) * kMul;
        h ^= h >> 31;
    }
    return h;
}

int shortCheckTableImage(const unsigned char* bytes, size_t size, char* fault, size_t faultSize) {
    ShortTableHeader h;
    if (size < sizeof h) {
        std::snprintf(fault, faultSize, "%zu bytes, shorter than its header", size);
        return 0;
    }
    std::memcpy(&h, bytes, sizeof h);
    if (std::memcmp(h.magic, kShortTableMagic, sizeof h.magic) != 0) {
        std::snprintf(fault, faultSize, "not a table file of the Short routine");
        return 0;
    }
    if (h.byteOrder != kShortTableByteOrder) {
        std::snprintf(fault, faultSize, "made for the other byte order");
        return 0;
    }
    if (h.version != kShortTableVersion) {
        std::snprintf(fault, faultSize, "format version %u, this program reads %u", h.version,
                      kShortTableVersion);
        return 0;
    }
    if (h.contentBytes != sizeof(ShortTables) || size != kShortTableFileBytes) {
        std::snprintf(fault, faultSize, "%zu bytes, expected %zu", size, kShortTableFileBytes);
        return 0;
    }
    if (shortTableChecksum(bytes + kShortTableHeaderBytes, sizeof(ShortTables)) != h.checksum) {
        std::snprintf(fault, faultSize, "checksum mismatch: the file is damaged");
        return 0;
    }
    return 1;
}

const ShortTables* shortMapTableFile(const char* path, char* fault, size_t faultSize) {
    const int fd = open(path, O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        std::snprintf(fault, faultSize, "%s: %s", path,
                      errno == ENOENT ? "missing" : std::strerror(errno));
        return nullptr;
    }
    struct stat st;
    if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        std::snprintf(fault, faultSize, "%s: not a regular file", path);
        close(fd);
        return nullptr;
    }
    const size_t size = static_cast<size_t>(st.st_size);
    if (size == 0) {
        std::snprintf(fault, faultSize, "%s: empty", path);
        close(fd);
        return nullptr;
    }
    void* map = mmap(nullptr, size, PROT_READ, MAP_SHARED | MAP_POPULATE, fd, 0);
    close(fd);
    if (map == MAP_FAILED) {
        std::snprintf(fault, faultSize, "%s: cannot be mapped: %s", path, std::strerror(errno));
        return nullptr;
    }
    char why[200];
    if (!shortCheckTableImage(static_cast<const unsigned char*>(map), size, why, sizeof why)) {
        std::snprintf(fault, faultSize, "%s: %s", path, why);
        munmap(map, size);
        return nullptr;
    }
    return reinterpret_cast<const ShortTables*>(static_cast<const unsigned char*>(map) +
                                                kShortTableHeaderBytes);
}

namespace {

// The one mapping of the process, made at the first call of shortTables.
struct TableMapping {
    std::once_flag once;
    const ShortTables* tables = nullptr;
    std::string path; // the file mapped, or refused
    char fault[1024] = "";
};

TableMapping& mapping() {
    static TableMapping m;
    return m;
}

std::string executableDir() {
    char path[4096];
    const ssize_t n = readlink("/proc/self/exe", path, sizeof path - 1);
    if (n <= 0) return "";
    path[n] = '\0';
    char* slash = std::strrchr(path, '/');
    if (slash == nullptr) return "";
    *slash = '\0';
    return path;
}

void findAndMap(TableMapping& m) {
    if (const char* given = std::getenv(kShortTableEnv); given != nullptr && *given != '\0') {
        m.path = given;
        m.tables = shortMapTableFile(given, m.fault, sizeof m.fault);
        if (m.tables == nullptr) {
            const std::string f = m.fault;
            std::snprintf(m.fault, sizeof m.fault, "%s (named by %s)", f.c_str(), kShortTableEnv);
        }
        return;
    }
    const std::string dir = executableDir();
    const std::string places[3] = {
        dir + "/" + kShortTableFileName,
        dir + "/../share/cube-solver/" + kShortTableFileName,
        std::string(CUBE_DATADIR) + "/cube-solver/" + kShortTableFileName,
    };
    std::string missing;
    for (const std::string& p : places) {
        if (access(p.c_str(), F_OK) != 0) {
            missing += missing.empty() ? p : ", " + p;
            continue;
        }
        // The first file there is the one: a bad one is reported, not passed over.
        m.path = p;
        m.tables = shortMapTableFile(p.c_str(), m.fault, sizeof m.fault);
        return;
    }
    std::snprintf(m.fault, sizeof m.fault, "%s missing: looked for %s (or set %s)",
                  kShortTableFileName, missing.c_str(), kShortTableEnv);
}

} // namespace

const ShortTables* shortTables() {
    TableMapping& m = mapping();
    std::call_once(m.once, [&m] { findAndMap(m); });
    return m.tables;
}

const char* shortTablesFault() {
    shortTables();
    return mapping().fault;
}

const char* shortTablesPath() {
    shortTables();
    return mapping().path.c_str();
}

int shortWriteTableFile(const char* path, const ShortTables& tables) {
    unsigned char header[kShortTableHeaderBytes] = {};
    ShortTableHeader h;
    std::memcpy(h.magic, kShortTableMagic, sizeof h.magic);
    h.byteOrder = kShortTableByteOrder;
    h.version = kShortTableVersion;
    h.contentBytes = sizeof tables;
    h.checksum = shortTableChecksum(reinterpret_cast<const unsigned char*>(&tables), sizeof tables);
    std::memcpy(header, &h, sizeof h);
    // Written beside and renamed over: a process that has the old file
    // mapped keeps it whole (a file cut and rewritten in place would kill it).
    const std::string partial = std::string(path) + ".partial";
    FILE* out = std::fopen(partial.c_str(), "wb");
    if (out == nullptr) return 0;
    const bool written = std::fwrite(header, sizeof header, 1, out) == 1 &&
                         std::fwrite(&tables, sizeof tables, 1, out) == 1;
    if (std::fclose(out) != 0 || !written || std::rename(partial.c_str(), path) != 0) {
        const int err = errno;
        std::remove(partial.c_str());
        errno = err;
        return 0;
    }
    return 1;
}
