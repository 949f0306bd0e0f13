// Undo and redo of what the user did to the cube (a turn by hand, a mix):
// two stacks of their own, so that solves and the timeline leave them alone.
#pragma once

#include "model/moves.h"

#include <vector>

struct UndoStack {
    std::vector<std::vector<Move>> undo; // the moves of each action, oldest first
    std::vector<std::vector<Move>> redo;
};

// Older actions than this many are forgotten.
constexpr int kUndoDepth = 1000;

// A new action: on top of the undo stack; the redo stack is emptied.
void recordAction(UndoStack& stack, const Move* moves, int count);
// The moves that undo the latest action (its moves reversed, each the other
// way) into `out`, the action moved to the redo stack. False when there is
// nothing to undo.
bool takeUndo(UndoStack& stack, std::vector<Move>& out);
// The moves of the latest undone action into `out`, the action back on the
// undo stack. False when there is nothing to redo.
bool takeRedo(UndoStack& stack, std::vector<Move>& out);
