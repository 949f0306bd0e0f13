// Many cubes solved one after the other (cube-solve --batch): one cube a line,
// a 54-letter state string or a mix in standard notation played from the
// solved cube; one line out for every line in, in the same order: the
// solution in notation, or "error: line N: " and what is wrong with that line.
// Every solution is played on its cube and checked to end solved.
#pragma once

#include <cstdio>

struct BatchOptions {
    int entry = 6; // the menu entry that solves
    // Threads for the "Short" routine's searches (entry 6). The other
    // routines share the one live cube and run on the calling thread.
    int jobs = 1;
    int logs = 0; // write "Kyb.txt" and "kub2.txt" as single solves do
};

struct BatchCounts {
    long lines = 0;
    long solved = 0;
    long failed = 0; // lines answered with an error
};

// Reads `in` to its end and writes to `out`. Returns 1, or 0 with `message`
// when the entry cannot solve at all (its tables) or `in` cannot be read.
// The output is the same for every number of jobs.
int solveBatch(FILE* in, FILE* out, const BatchOptions& options, BatchCounts& counts, char* message,
               int messageSize);

// Longest line read, its line feed not counted; a longer one is an error.
constexpr int kBatchLineMax = 4000;
