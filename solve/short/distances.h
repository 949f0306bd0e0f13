// Reading the Short routine's distance tables: the exact phase-1 distance,
// the phase-2 distance bounds, the cubes near solved, and the fallback's
// phase 2 that needs no search.
#pragma once

#include "solve/short/tables.h"

// Face order within a sequence: never the same face twice running, and two
// faces of one axis only in increasing order.
inline bool shortAllowedAfter(int face, int lastFace) {
    return lastFace < 0 ||
           (face != lastFace && ((face >> 1) != (lastFace >> 1) || face > lastFace));
}

// The phase-1 entry of a twist under a flip-and-slice class (classOf's
// value), its distance modulo 3, and the distance of a state one quarter turn
// from a state at distance d (so d - 1, d or d + 1), told by its modulo 3.
inline long shortPhase1EntryOf(const ShortTables& t, int twist, uint32_t classAndSym) {
    return static_cast<long>(classAndSym >> 4) * kShortTwists +
           t.twistConj[twist][classAndSym & 15];
}
inline int shortPhase1Mod3At(const ShortTables& t, long i) {
    return t.distanceMod3[i >> 2] >> ((i & 3) * 2) & 3;
}
inline int shortPhase1Mod3(const ShortTables& t, int twist, int flip, int slice) {
    return shortPhase1Mod3At(t,
                             shortPhase1EntryOf(t, twist, t.classOf[flip * kShortSlices + slice]));
}
inline int shortNextDistance(int d, int mod3) {
    return d - 1 + ((mod3 - d + 1) % 3 + 3) % 3;
}
// The exact phase-1 distance in quarter turns (-1 for a damaged table).
int shortPhase1Distance(const ShortTables& t, int twist, int flip, int slice);

// The near table's key of a phase-2 cube, its home slot and its slot.
inline uint64_t shortPhase2Key(int cp, int ep, int sp) {
    return (static_cast<uint64_t>(cp) * kShortPerms + static_cast<uint64_t>(ep)) *
               kShortSlicePerms +
           static_cast<uint64_t>(sp);
}
inline uint32_t shortNearHome(uint64_t key) {
    return static_cast<uint32_t>((key * 0x9E3779B97F4A7C15ull) >> (64 - kShortNearBits));
}
inline uint32_t shortNearSlot(const uint64_t* keys, uint64_t key) {
    uint32_t slot = shortNearHome(key);
    while (keys[slot] != 0 && keys[slot] != key + 1) slot = (slot + 1) & (kShortNearSize - 1);
    return slot;
}
// The exact phase-2 distance of a phase-2 cube within kShortNearCost quarter
// turns of solved, else kShortNearCost + 1.
inline int shortNearDistance(const ShortTables& t, int cp, int ep, int sp) {
    const uint32_t slot = shortNearSlot(t.nearKey, shortPhase2Key(cp, ep, sp));
    return t.nearKey[slot] != 0 ? t.nearDist[slot] : kShortNearCost + 1;
}

// Phase-2 move index of the inverse turn.
int shortInversePhase2(int k);

// The fallback's phase 2 for a phase-2 cube: search moves into moves[0..],
// their number returned (-1 when they do not fit into `capacity`). It costs
// at most kShortFallbackCost quarter turns: down to corners and middle edges
// home (at most 22), then edge-only sequences (at most 38 together).
constexpr int kShortFallbackCost = 60;
int shortFallbackPhase2(const ShortTables& t, int cp, int ep, int sp, int* moves, int capacity);

// Builds every table but the phase-1 distances into `t` (about a second),
// then the phase-1 distances (some seconds and about 140 MB while it runs).
// Returns 1, or 0 when a check of the symmetries fails. `t` is expected
// zeroed, so that the file's padding is too.
int shortMakeTables(ShortTables& t);
