// One frame: keys, the cube, the grid and the HUD, in this order.
#include "app/frame_draw.h"

#include "app/commands.h"
#include "app/editor.h"
#include "app/frame.h"
#include "app/frame_controller.h"
#include "app/help_overlay.h"
#include "app/hud_font.h"
#include "app/overlay.h"
#include "app/window.h"
#include "model/cube_text.h"
#include "model/moves.h"
#include "render/banner.h"
#include "render/scene.h"
#include "solve/menu.h"
#include "solve/solver.h"

#include <SDL.h>
#include <GL/gl.h>

#include <cstdio>
#include <cstring>

float fps = 0.0f;
int fpsFrames = 0;
int fpsLastTick = 0;

namespace {

unsigned platformTicks() {
    return SDL_GetTicks();
}

void glColour(float r, float g, float b) {
    glColor3f(r, g, b);
}
void glPrint(float x, float y, const char* text) {
    hudPrint(x, y, "%s", text);
}

// ---- the HUD lines as data --------------------------------------------------

enum HudColour { kWhite, kGreen, kRed };
// x is counted from the window's left edge or from the right column.
enum HudColumn { kLeft, kRight };
// y is counted from the top, or up from the requested window height.
enum HudRow { kFromTop, kFromBottom };
enum HudArgument { kFps, kEmpty, kHours, kMinutes, kSeconds, kCredit };

struct HudLine {
    HudColour colour;
    HudColumn column;
    float x;
    HudRow row;
    float y;
    const char* format;
    HudArgument argument;
};

// The right column starts this far right of the left one (plus hudShiftX).
constexpr float kRightColumn = 300.0f;

// The menu's lines come after this many lines of the table, one per menu
// row, the running entry in red: the row's label padded to the column of its
// digit key, one line of kMenuLineStep pixels each from kMenuTop down.
constexpr int kLinesBeforeMenu = 2;
constexpr float kMenuTop = 30.0f;
constexpr float kMenuLineStep = 10.0f;
constexpr float kMenuX = 10.0f;
constexpr const char* kMenuFormat = "%-21s--  %d ";

constexpr HudLine kHudLines[] = {
    {kWhite, kLeft, 10, kFromTop, 10, "FPS     : %0.1f", kFps},
    {kGreen, kLeft, 10, kFromTop, 20, "To select the algorythm press: %s", kEmpty},
    {kWhite, kRight, 0, kFromTop, 10, "To rotate the scena            -- 'o','l','v','b' %s",
     kEmpty},
    {kWhite, kRight, 0, kFromTop, 20, "To rotate the cube             -- 'w','s','a','d' %s",
     kEmpty},
    {kWhite, kRight, 0, kFromTop, 30, "Auto desolving                 -- 'r' %s", kEmpty},
    {kWhite, kRight, 0, kFromTop, 40, "Pause                          -- 'p' %s", kEmpty},
    {kWhite, kRight, 0, kFromTop, 50, "To rotate the cube face to you -- 'u' %s", kEmpty},
    {kWhite, kRight, 0, kFromTop, 60, "Select the face to solve       -- 'KeyUP'%s", kEmpty},
    {kWhite, kRight, 0, kFromTop, 70, "                               -- 'KeyDOWN'%s", kEmpty},
    {kWhite, kRight, 0, kFromTop, 80, "                               -- 'KeyLEFT'%s", kEmpty},
    {kWhite, kRight, 0, kFromTop, 90, "                               -- 'KeyRIGHT'%s", kEmpty},
    {kWhite, kRight, 0, kFromTop, 110, "Time of working up  -- %i", kHours},
    {kWhite, kRight, 180, kFromTop, 110, ": %i", kMinutes},
    {kWhite, kRight, 210, kFromTop, 110, ": %i", kSeconds},
    {kRed, kLeft, 10, kFromBottom, 30, "Created by : %s", kCredit},
};

constexpr float kColours[3][3] = {{1, 1, 1}, {0, 1, 0}, {1, 0, 0}};

void setColour(HudColour c) {
    hudDrawing.colour(kColours[c][0], kColours[c][1], kColours[c][2]);
}

// Formats one line with its argument.
void formatLine(char (&text)[256], const HudLine& line, const ClockReading& clock) {
    switch (line.argument) {
    case kFps:
        std::snprintf(text, sizeof text, line.format, static_cast<double>(fps));
        break;
    case kHours:
        std::snprintf(text, sizeof text, line.format, clock.hours);
        break;
    case kMinutes:
        std::snprintf(text, sizeof text, line.format, clock.minutes);
        break;
    case kSeconds:
        std::snprintf(text, sizeof text, line.format, clock.seconds);
        break;
    case kCredit:
        std::snprintf(text, sizeof text, line.format, "Velmostin K.T.");
        break;
    case kEmpty:
        std::snprintf(text, sizeof text, line.format, "");
        break;
    }
}

void drawMenuLines() {
    char text[64];
    for (int entry = 0; entry < kMenuSize; ++entry) {
        setColour(kWhite);
        if (selectedAlgorithm == entry) setColour(kRed);
        std::snprintf(text, sizeof text, kMenuFormat, kMenu[entry].label, entry);
        hudDrawing.print(kMenuX, kMenuTop + kMenuLineStep * static_cast<float>(entry), text);
    }
}

// The learning line, below everything else on the left: while a solution
// plays, the stage that made the move on the cube and the move in notation.
constexpr float kLearningX = 10.0f;
constexpr float kLearningY = 130.0f;

// While the cuber's keys are on, a line below the menu says so; the lines
// above it stay where they are. It ends short of the right column, which in
// the soft mode's window starts 300 pixels in.
constexpr float kCuberLineY = kMenuTop + kMenuLineStep * kMenuSize + 10.0f;
constexpr const char* kCuberLine = "Cuber's keys (Tab): U R F D L B M E S";
// The editor's last paste fault, below the learning line.
constexpr float kEditorMessageY = 150.0f;

// Shown once a solve has waited this many frames for its routine's answer,
// so that an answer that comes at once does not flash the line.
constexpr int kThinkingShownAfter = 3;

void drawModeLines() {
    const FrameSession& session = frameSession();
    if (session.thinkingFrames >= kThinkingShownAfter && menuEntryExists(selectedAlgorithm)) {
        char text[96];
        std::snprintf(text, sizeof text, "%s: thinking ...", kMenu[selectedAlgorithm].label);
        setColour(kGreen);
        hudDrawing.print(kLearningX, kLearningY, text);
    }
    if (session.cuberKeys) {
        setColour(kGreen);
        hudDrawing.print(kMenuX, kCuberLineY, kCuberLine);
    }
    if (session.editor.open && session.editorMessage[0] != '\0') {
        setColour(kRed);
        hudDrawing.print(kMenuX, kEditorMessageY, session.editorMessage);
    }
}

// The move the cube shows in this frame and the name of its stage; false at
// rest. In the frame a move ends the players have already stepped past it
// (the angle is back to 0), so that move is the one before the cursor.
bool movePlayed(Move* move, const char** stage) {
    const int ended = turnAngle == 0 ? 1 : 0;
    if (solveState.playbackPending) {
        // A step back turns the move before the cursor back (the player's turn).
        const Player& player = frameSession().player;
        const int back = player.angle != 0 && player.back;
        const int pos = solutionPos - (back || solutionPos > 0 ? ended + back : 0);
        if (pos < 0 || pos >= solutionCount) return false;
        *move = back ? player.turning : SolutionList[pos];
        *stage = solveStageName(selectedAlgorithm, SolutionStage[pos]);
        return true;
    }
    if (menuEntryExists(selectedAlgorithm) && kMenu[selectedAlgorithm].kind == kHistoryReplay &&
        solveState.quickPrepared) {
        const int top = historyTop + ended;
        if (top < 1 || top >= kHistorySize) return false;
        *move = {MoveHistory[top].layer, -MoveHistory[top].direction};
        *stage = kMenu[selectedAlgorithm].label;
        return true;
    }
    return false;
}

void drawLearningLine() {
    Move move{};
    const char* stage = nullptr;
    if (!movePlayed(&move, &stage)) return;
    char name[3];
    writeMoveName(move.layer, move.direction, name);
    char text[96];
    std::snprintf(text, sizeof text, "%s: %s", stage, name);
    setColour(kWhite);
    hudDrawing.print(kLearningX, kLearningY, text);
}

// The strip of moves once a player key has switched it on, and the help
// overlay while it is up; neither is drawn before the user asks for it.
void drawPlayerOverlays() {
    StripView view{};
    const int strip = stripToShow(&view);
    if (strip) drawSolutionStrip(view, viewportWidth, viewportHeight);
    const int help = frameSession().helpOpen;
    if (help) drawHelpOverlay(kHelpLines, kHelpLineCount, viewportWidth, viewportHeight);
    if (strip || help) flushHudText();
}

} // namespace

unsigned (*frameTicks)() = platformTicks;

const HudDrawing kGlHudDrawing = {glColour, glPrint};
HudDrawing hudDrawing = kGlHudDrawing;

void countFrames() {
    ++fpsFrames;
    const int now = static_cast<int>(frameTicks());
    const int elapsed = now - fpsLastTick;
    if (elapsed >= 1000) {
        fps = static_cast<float>(fpsFrames * 1000.0 / elapsed);
        fpsLastTick = now;
        fpsFrames = 0;
    }
}

ClockReading clockReading(int elapsedMs) {
    return {elapsedMs / 3600000, (elapsedMs / 60000) % 60, (elapsedMs / 1000) % 60};
}

void drawHudLines() {
    const ClockReading clock =
        clockReading(static_cast<int>(static_cast<float>(frameTicks()) - startTick));
    const float rightColumn = kRightColumn + hudShiftX;
    char text[256];
    int index = 0;
    for (const HudLine& line : kHudLines) {
        if (index++ == kLinesBeforeMenu) drawMenuLines();
        setColour(line.colour);
        const float x = line.column == kLeft ? line.x : rightColumn + line.x;
        const float y = line.row == kFromTop ? line.y : static_cast<float>(windowHeight) - line.y;
        formatLine(text, line, clock);
        hudDrawing.print(x, y, text);
    }
    drawLearningLine();
    drawModeLines();
}

int menuEntryAt(int x, int y) {
    const TextMetrics metrics = hudFontMetrics();
    const int advance = metrics.advance > 0 ? metrics.advance : kHudFontPixels / 2;
    for (int entry = 0; entry < kMenuSize; ++entry) {
        char text[64];
        std::snprintf(text, sizeof text, kMenuFormat, kMenu[entry].label, entry);
        // The line's letters stand on its baseline, one line step high.
        const float baseline = kMenuTop + kMenuLineStep * static_cast<float>(entry);
        const float left = kMenuX;
        const float right =
            kMenuX + static_cast<float>(advance) * static_cast<float>(std::strlen(text));
        const float fx = static_cast<float>(x) + 0.5f, fy = static_cast<float>(y) + 0.5f;
        if (fx >= left && fx < right && fy > baseline - kMenuLineStep && fy <= baseline)
            return entry;
    }
    return -1;
}

void drawFrame() {
    latchStep();
    // Nothing of an overlay is left up from the last frame (both come down at
    // its end, so that a resize between two frames keeps its projection);
    // this only puts the depth test and the lighting back.
    endOverlay();
    readKeys();

    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    // The scene and the cube placed by the view the CPU works out, the one
    // picking reads.
    const View& view = makeFrameView(viewportWidth, viewportHeight);
    glLoadMatrixd(view.scene.m);

    runFrameController();
    const FrameSession& session = frameSession();
    const Look& look = *session.look;

    const GLfloat lightPosition[4] = {0.0f, 0.0f, 0.0f, 1.0f};
    glLightfv(GL_LIGHT1, GL_POSITION, lightPosition);
    countFrames();
    drawFloorGrid(look, gridVisible);

    beginTextOverlay(viewportWidth, viewportHeight);
    drawHudLines();
    if (session.editor.open) drawEditorOverlay(session.editor, look, view);
    flushHudText(); // the frame's text, in one go
    drawPlayerOverlays();

    beginBannerOverlay(viewportWidth, viewportHeight);
    if (paused) drawPauseBanner(frameCycle, hudShiftX, hudShiftY);
    endOverlay(); // the banner overlay
    endOverlay(); // the text overlay
}
