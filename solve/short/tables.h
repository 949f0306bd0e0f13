// The Short routine's tables: move tables of its coordinates, distance
// tables for both phases, the phase-2 cubes near solved and the fallback's
// edge sequences. All are made when the program is built (make_tables.cpp,
// the short-tables program) into one file, installed once and mapped
// read-only at first use, so that every process shares the same pages.
//
// The file: a header of kShortTableHeaderBytes (magic, format version, byte
// order, the content's size and checksum), then the ShortTables record as
// the maker laid it out in memory.
#pragma once

#include "solve/short/cube.h"

#include <cstddef>
#include <cstdint>

// ---- what the tables hold ----------------------------------------------------

constexpr int kShortFlipSlices = kShortFlips * kShortSlices;
// Classes of flip-and-slice pairs under the 16 symmetries.
constexpr int kShortFlipSliceClasses = 64430;
constexpr long kShortPhase1Entries = static_cast<long>(kShortFlipSliceClasses) * kShortTwists;

// Phase-2 cubes near solved: every one within kShortNearCost quarter turns,
// with its distance, in an open-addressing hash keyed by the three orders
// (key + 1 stored, 0 marks a free slot).
constexpr int kShortNearCost = 12;
constexpr int kShortNearBits = 21;
constexpr uint32_t kShortNearSize = 1u << kShortNearBits;

// The fallback's edge-only sequences (see shortFallbackPhase2).
constexpr int kShortEdgeCycleCost = 14;
constexpr int kShortEdgeCycles = 250;
static_assert(kShortEdgeCycles < 0xFF, "sequence numbers, the root mark and 0xFF fit a byte");

struct ShortTables {
    // Move tables of the 18 search moves.
    uint16_t twistMove[kShortTwists][kShortMoves];
    uint16_t flipMove[kShortFlips][kShortMoves];
    uint16_t sliceMove[kShortSlices][kShortMoves];
    // Phase 1 carries the corner order and the middle edges' places and
    // order along, so that at its end the phase-2 corner distance can be
    // read before anything else is worked out.
    uint16_t cornerOrderMove[kShortPerms][kShortMoves];
    uint16_t sliceOrderMove[kShortSliceOrders][kShortMoves];
    // Phase-2 move tables, by index into kShortPhase2Move.
    uint16_t cornerPermMove[kShortPerms][kShortPhase2Moves];
    uint16_t edgePermMove[kShortPerms][kShortPhase2Moves];
    uint8_t slicePermMove[kShortSlicePerms][kShortPhase2Moves];
    // Phase-2 distances in quarter turns: corner or edge order with the
    // middle edges' order (index perm * 24 + slice order).
    uint8_t cornerSliceDist[kShortPerms * kShortSlicePerms];
    uint8_t edgeSliceDist[kShortPerms * kShortSlicePerms];
    uint64_t nearKey[kShortNearSize];
    uint8_t nearDist[kShortNearSize];
    // The fallback: edge-only sequences and a breadth-first tree over the
    // 20,160 edge orders they reach.
    int32_t edgeCycleCount;
    int32_t edgeCycleLength[kShortEdgeCycles];
    uint8_t edgeCycleMove[kShortEdgeCycles][kShortEdgeCycleCost]; // phase-2 move indices
    uint16_t edgeCycleFrom[kShortPerms];                          // the tree's parent order
    uint8_t edgeCycleVia[kShortPerms];                            // its sequence; 0xFF unreached
    // The exact phase-1 distances: that of (twist, flip, slice) in quarter
    // turns is that of its image under the symmetry that takes its flip and
    // slice to their class's own pair: an entry of distanceMod3 (four to a
    // byte, low bits first), at class * kShortTwists + the twist as that
    // symmetry turns it. Neighbours lie at most one quarter turn apart, so
    // the distance modulo 3 is enough to follow them.
    uint32_t classOf[kShortFlipSlices]; // class * 16 + symmetry
    uint16_t twistConj[kShortTwists][kShortSyms];
    uint8_t distanceMod3[(kShortPhase1Entries + 3) / 4];
};

// ---- the file ------------------------------------------------------------------

constexpr char kShortTableMagic[8] = {'C', 'U', 'B', 'E', 'S', 'H', 'R', 'T'};
// Raised whenever the record or the meaning of an entry changes.
constexpr uint32_t kShortTableVersion = 1;
// The byte order mark as the maker wrote it.
constexpr uint32_t kShortTableByteOrder = 0x01020304u;
// The header's room: one page, so that the record starts page-aligned.
constexpr size_t kShortTableHeaderBytes = 4096;
constexpr size_t kShortTableFileBytes = kShortTableHeaderBytes + sizeof(ShortTables);

struct ShortTableHeader {
    char magic[8];
    uint32_t byteOrder;
    uint32_t version;
    uint64_t contentBytes;
    uint64_t checksum;
};

// The file's name in the build tree and under share/cube-solver/.
constexpr const char* kShortTableFileName = "short-tables.bin";
// An environment variable naming the file takes the place of every other.
constexpr const char* kShortTableEnv = "CUBE_SOLVER_TABLES";

// The checksum of the content: a sum and a sum of sums over 64-bit words in
// four lanes, folded together.
uint64_t shortTableChecksum(const unsigned char* bytes, size_t size);

// Checks a whole file image: 1 when it holds tables this program can use,
// else 0 with the fault in `fault` ("shorter than its header", "not a table
// file", "made for the other byte order", "format version 7, this program
// reads 1", "N bytes, expected M", "checksum mismatch: damaged").
int shortCheckTableImage(const unsigned char* bytes, size_t size, char* fault, size_t faultSize);

// Maps the file at `path` and checks it: the tables, or null with a message
// naming the file and the fault in `fault`. A mapped file stays mapped.
const ShortTables* shortMapTableFile(const char* path, char* fault, size_t faultSize);

// The tables for this process, found and mapped at the first call (safe from
// any thread): from $CUBE_SOLVER_TABLES when it is set, else the first file
// of the build tree (beside the executable), the installed place relative to
// the executable (../share/cube-solver/), the installed data directory.
// Null when none could be used; shortTablesFault then says why.
const ShortTables* shortTables();
const char* shortTablesFault();
// The file shortTables mapped or refused ("" when none was found).
const char* shortTablesPath();

// Writes the header and `tables` to `path`: 1, or 0 with errno set.
int shortWriteTableFile(const char* path, const ShortTables& tables);
