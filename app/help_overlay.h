// The help overlay: every key and what it does, drawn over the cube until any
// key closes it. The lines come from the key table, so the overlay always
// lists the keys the program really has.
#pragma once

struct HelpLine {
    const char* keys;   // "Ctrl+Z", ". / ,", ...
    const char* action; // what they do
};

// Draws the lines in window pixels over a viewport of the given size (a text
// overlay must be up).
void drawHelpOverlay(const HelpLine* lines, int count, int viewportWidth, int viewportHeight);
