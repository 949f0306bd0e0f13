// Start-up: the cube in its start state, the two questions, the window, the
// loop.
#include "app/window.h"

#include "model/cube.h"

#include <SDL.h>

int main(int, char**) {
    startTick = float(SDL_GetTicks());
    initCubieArray();
    initFaceletGrid();

    if (!askYesNo("Start FullScreen?", "Would You Like To Run In Fullscreen Mode?", kIconQuestion))
        fullscreen = 0;
    if (askYesNo("Start In A Soft Mode?", "Would You Like To Run In A Soft Mode?", kIconQuestion)) {
        windowWidth = 640;
        windowHeight = 480;
    } else {
        hudShiftY = 200.0f;
        hudShiftX = 350.0f;
    }

    if (!openWindow(kWindowTitle, windowWidth, windowHeight, 32, fullscreen)) {
        // A refusal the user saw in a box ends quietly; one that could only
        // go to standard error (no display) is an error.
        return messageBoxFailed ? 1 : 0;
    }
    // The window and its context are gone when the loop returns; SDL's
    // display connection goes with the process.
    return runMessageLoop();
}
