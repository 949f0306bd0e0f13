// Makes the short routine's phase-1 distance table at build time and writes
// it to the file named on the command line, which the build then puts into
// the program (phase1_blob.S).
#include "solve/short_solve.h"

#include <cstdio>
#include <memory>

// This program is where the table comes from: it has none of its own.
const unsigned char* shortPhase1Data() {
    return nullptr;
}

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT\n", argv[0]);
        return 2;
    }
    shortSolveInit();
    auto table = std::make_unique<ShortPhase1Table>();
    if (!shortPhase1Generate(*table)) {
        std::fprintf(stderr, "%s: the symmetries do not act on the coordinates\n", argv[0]);
        return 1;
    }
    FILE* out = std::fopen(argv[1], "wb");
    if (out == nullptr || std::fwrite(table.get(), sizeof *table, 1, out) != 1 ||
        std::fclose(out) != 0) {
        std::perror(argv[1]);
        return 1;
    }
    return 0;
}
