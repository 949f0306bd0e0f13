// The window layer: one SDL window with an OpenGL context (full screen or
// windowed), the key table, the non-blocking message loop and the message
// boxes. SDL's keys are turned into the program's own key numbering here and
// nowhere else.
#pragma once

#include "app/keys.h"

union SDL_Event;

// The window's title.
extern const char* const kWindowTitle;

// 1 while the window is not minimised; frames are drawn only then.
extern int active;
// 1 while the program runs full screen.
extern int fullscreen;
// Size asked for at start-up (the soft mode gives 640 x 480).
extern int windowWidth;
extern int windowHeight;
// HUD text offsets set by the second start-up question.
extern float hudShiftX;
extern float hudShiftY;
// The size last given to resizeView.
extern int viewportWidth;
extern int viewportHeight;
// Millisecond tick at start; the running clock counts from it.
extern float startTick;

// 1 once a quit was posted (window closed); the loop ends when it reaches the
// posted quit with no other event waiting. quitCode is the program's exit code
// then.
extern int quitPosted;
extern int quitCode;
// 1 when a message could not be shown in a box (no display) and went to
// standard error instead; the program then exits with a non-zero code.
extern int messageBoxFailed;

// SDL keycode -> the program's key code (0 for a key the program has no code
// for).
int translateKey(int sdlKeycode);

// One SDL event into keyDown, gridVisible, active, resizeView and the quit.
void handleEvent(const SDL_Event& event);

// Makes the window, the GL context and the fixed GL state. On failure it has
// already shown its message and released what it made, and returns 0.
int openWindow(const char* title, int width, int height, int bits, int fullscreenFlag);
// Releases the context and the window; safe on a half-made window.
void closeWindow();
// Viewport and perspective for a client area of width x height.
void resizeView(int width, int height);
// The GL state that stays fixed for the life of a context.
void setupGL();

// Runs the loop until ESC or a quit; closes the window and returns the exit
// code. F1 re-makes the window in the other mode.
int runMessageLoop();

// Icons of the message boxes.
enum MessageIcon { kIconQuestion, kIconExclamation, kIconStop, kIconInformation };

// A modal Yes/No question (Yes is the Return default, No the Escape default);
// returns 1 for Yes, 0 for No. When no box can be shown (no display, no
// message-box helper, no fonts) the question goes to standard error and -1
// is returned: the caller chooses what the user would lose least by.
int askYesNo(const char* caption, const char* text, MessageIcon icon);
// A modal message with an OK button; without a display it goes to standard
// error and messageBoxFailed is set.
void showMessage(const char* caption, const char* text, MessageIcon icon);
