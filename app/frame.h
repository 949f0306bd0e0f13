// One frame of the picture, drawn by the loop whenever no event waits; the
// loop swaps the buffers after it.
#pragma once

void drawFrame();
