// Makes the Short routine's table file at build time and writes it to the
// path named on the command line (installed under share/cube-solver/).
#include "solve/short/distances.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT\n", argv[0]);
        return 2;
    }
    // Zeroed, padding and all, so that the file is the same on every build.
    std::unique_ptr<ShortTables, void (*)(void*)> tables(
        static_cast<ShortTables*>(std::calloc(1, sizeof(ShortTables))), std::free);
    if (!tables) {
        std::fprintf(stderr, "%s: out of memory\n", argv[0]);
        return 1;
    }
    if (!shortMakeTables(*tables)) {
        std::fprintf(stderr, "%s: the symmetries do not act on the coordinates\n", argv[0]);
        return 1;
    }
    if (!shortWriteTableFile(argv[1], *tables)) {
        std::fprintf(stderr, "%s: %s: %s\n", argv[0], argv[1], std::strerror(errno));
        return 1;
    }
    return 0;
}
