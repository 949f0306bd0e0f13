// Placeholder: the strip's drawing comes with its own change.
#include "app/strip.h"

void drawSolutionStrip(const StripView&, int, int) {}
