#include "model/undo_stack.h"

void recordAction(UndoStack& stack, const Move* moves, int count) {
    if (static_cast<int>(stack.undo.size()) >= kUndoDepth) stack.undo.erase(stack.undo.begin());
    stack.undo.emplace_back(moves, moves + count);
    stack.redo.clear();
}

bool takeUndo(UndoStack& stack, std::vector<Move>& out) {
    if (stack.undo.empty()) return false;
    out.clear();
    const std::vector<Move>& action = stack.undo.back();
    for (auto it = action.rbegin(); it != action.rend(); ++it) out.push_back(inverse(*it));
    stack.redo.push_back(action);
    stack.undo.pop_back();
    return true;
}

bool takeRedo(UndoStack& stack, std::vector<Move>& out) {
    if (stack.redo.empty()) return false;
    out = stack.redo.back();
    stack.undo.push_back(out);
    stack.redo.pop_back();
    return true;
}
