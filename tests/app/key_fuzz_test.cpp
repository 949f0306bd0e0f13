// Random keys and mouse over many frames: the cube turns only by the move
// drawn, once per turn; no turn is cut off; at rest the cube is the
// timeline's; the history replayed always gives the live cube.
#include "model/cube.h"
#include "model/layers.h"
#include "tests/app/controller_support.h"
#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <map>
#include <random>
#include <string>
#include <utility>
#include <vector>

namespace {

// Keys with their chance per frame of going down while up, and up while down.
const struct FuzzKeys {
    std::vector<int> codes;
    double pressChance, releaseChance;
} kFuzzKeys[] = {
    {{'W', 'S', 'A', 'D', 'V', 'B', 'O', 'L'}, 0.02, 0.2},
    {{'U', 'F', 'M'}, 0.005, 0.5},
    {{VK_LEFT, VK_RIGHT}, 0.05, 0.2},
    {{VK_UP, VK_DOWN}, 0.08, 0.3},
    {{'P', '0', VK_ADD, VK_OEM_PLUS, VK_SPACE, 'H', 'C', 0x0D /* Enter */}, 0.001, 0.5},
    {{'R'}, 0.003, 0.3},
    {{'1', '2', '3', '4', '6', VK_OEM_MINUS}, 0.0004, 0.5},
    {{'5', VK_OEM_2}, 0.0005, 0.5},
    {{VK_OEM_PERIOD, VK_OEM_COMMA}, 0.0015, 0.3},
    {{VK_HOME, VK_END, 0x09 /* Tab */}, 0.0003, 0.5},
    {{VK_CONTROL}, 0.02, 0.05},
    {{VK_SHIFT}, 0.01, 0.2},
    {{'Z'}, 0.02, 0.3},
    {{'Y'}, 0.01, 0.3},
    {{'E'}, 0.004, 0.5},
    {{VK_ESCAPE}, 0.003, 0.5},
};

// What Ctrl+V may paste into the editor.
const char* const kPastes[] = {"R U R' U'", "F2 M E' S", "not a move",
                               "UUUUUUUUURRRRRRRRRFFFFFFFFFDDDDDDDDDLLLLLLLLLBBBBBBBBB", ""};

// Presses on a sticker, a menu line or anywhere, drags, releases, the wheel.
struct FuzzMouse {
    int button = 0, x = 0, y = 0;
    int stepX = 0, stepY = 0; // the way a drag mostly goes
    // Returns 1 when it let go of a button.
    template <typename Rng> int act(Rng& rng) {
        std::uniform_real_distribution<double> chance(0.0, 1.0);
        int released = 0;
        if (button == 0 && chance(rng) < 0.02) {
            button = chance(rng) < 0.8 ? 1 : 3;
            const double where = chance(rng);
            const View& v = frameSession().view;
            if (where < 0.6) { // a sticker's centre, maybe out of sight
                int cubie[3], side = 0;
                faceletCubie(1 + int(rng() % 6), 1 + int(rng() % 3), 1 + int(rng() % 3), cubie,
                             &side);
                const SideDirection& d = kSideDirection[side];
                double p[3], px = 0, py = 0;
                for (int a = 0; a < 3; ++a) p[a] = cubie[a] - 2.0 + (a == d.axis ? d.sign : 0);
                projectPoint(v, v.cube, p, &px, &py);
                x = int(px), y = int(py);
            } else if (where < 0.8) { // a menu line
                x = 20, y = 26 + 10 * int(rng() % 8);
            } else {
                x = int(rng() % kTestWidth), y = int(rng() % kTestHeight);
            }
            stepX = int(rng() % 17) - 8, stepY = int(rng() % 17) - 8;
            readMouse({kMousePress, button, x, y, 0});
        } else if (button != 0) {
            if (chance(rng) < 0.4) {
                x += stepX + int(rng() % 7) - 3, y += stepY + int(rng() % 7) - 3;
                readMouse({kMouseMove, 0, x, y, 0});
            }
            if (chance(rng) < 0.04) {
                readMouse({kMouseRelease, button, x, y, 0});
                button = 0;
                released = 1;
            }
        }
        if (chance(rng) < 0.002) readMouse({kMouseWheel, 0, x, y, rng() % 2 ? 1 : -1});
        return released;
    }
};

bool controllerIdle() {
    return selectedAlgorithm == -1 && mixMode == 0 && turnAngle == 0 && turnRequest == 0 &&
           solveState.playbackPending == 0 && solveState.solveRequested == 0 && pendingDigit < 0;
}

// Records base+1..historyTop replayed on `shadow` give the live cube; an
// unrecorded solve restarts it, records dropped below a solve lower the base.
struct Replay {
    CubeCopy shadow;
    int base = 0;
    void restart() {
        shadow = CubeCopy::take();
        base = historyTop;
    }
    bool fromSolved() const {
        const CubeCopy live = CubeCopy::take();
        shadow.put();
        const bool solved = isSolved();
        live.put();
        return solved;
    }
    bool check() const {
        if (historyTop < base) return false;
        return turned(shadow, &MoveHistory[base + 1], historyTop - base) == CubeCopy::take();
    }
};

Replay replay;

constexpr int kFrames = 200000;
// What the run must have checked, at least this often.
// clang-format off
const std::pair<const char*, int> kLeast[] = {
    {"idle checks", kFrames / 100}, {"timeline checks", kFrames / 100}, {"turns", kFrames / 20},
    {"solves", 3}, {"quick checked", 3}, {"paused frames", 100}, {"drag frames", 500},
    {"turns let go by a drag", 10}, {"editor frames", kFrames / 50}, {"cubes taken", 3}};
// clang-format on

} // namespace

TEST(KeyFuzz, RandomKeysAndMouseKeepTheHistoryTrueAndNeverCutATurn) {
    TempWorkDir dir;
    startProgram();
    for (int entry = 0; entry < kMenuSize; ++entry) prepareMenuEntry(entry); // as main does
    std::mt19937 rng(20261206);
    std::uniform_real_distribution<double> chance(0.0, 1.0);
    replay.restart();
    const FrameSession& session = frameSession();

    CubeDraw turnMove{0, 0, 0}; // the turn in progress
    bool inTurn = false, turnApplied = false, quickOnStale = false;
    std::map<std::string, int> count;
    FuzzMouse mouse;
    for (int f = 0; f < kFrames; ++f) {
        if (chance(rng) < 0.0005)
            frameSession().pasteText = kPastes[rng() % (sizeof kPastes / sizeof *kPastes)];
        for (const FuzzKeys& k : kFuzzKeys)
            for (const int code : k.codes) {
                // While paused, P and Space come sooner, so that most frames run.
                const double press =
                    (code == 'P' || code == VK_SPACE) && paused ? 0.02 : k.pressChance;
                if (keyDown[code] == 0 && chance(rng) < press)
                    keyDown[code] = keyPressed[code] = 1;
                else if (keyDown[code] != 0 && chance(rng) < k.releaseChance)
                    keyDown[code] = 0;
            }
        const CubeCopy before = CubeCopy::take();
        const int algorithmBefore = selectedAlgorithm;
        const int playbackBefore = solveState.playbackPending;
        const int solvedTopBefore = session.solvedHistoryTop;
        const int angleBefore = turnAngle;
        const bool editorBefore = session.editor.open != 0;
        // The mouse acts between frames, on the last frame's view.
        const bool dragBeforeMouse = session.dragShown.layer != 0;
        const bool runningBeforeMouse = showRunning() != 0;
        const bool released = mouse.act(rng) && dragBeforeMouse;
        // No layer follows the finger while the cube plays.
        ASSERT_TRUE(!runningBeforeMouse || dragBeforeMouse || session.dragShown.layer == 0) << f;
        // A turn that starts from where a drag let its layer go.
        const bool turnFromDrag = released || session.queuedTurn.layer != 0;

        // frame(), with a look at the requests between the keys and the controller.
        recorded = FrameRecord{};
        latchStep();
        readKeys();
        makeFrameView(kTestWidth, kTestHeight);
        const int algorithmAsked = selectedAlgorithm;
        const bool seekAsked = session.player.seek != 0;
        // The cube the editor gave replaces the live one (and the history).
        const bool took = editorBefore && !session.editor.open && historyTop == 0 &&
                          timelineCount(session.timeline) == 0;
        const bool editorShown = session.editor.open != 0;
        const Player& p = session.player;
        const bool idleBranch = !editorShown && !(paused && p.stepping == 0 && p.seek == 0) &&
                                solveState.playbackPending == 0 && mixMode == 0 &&
                                solveState.solveRequested == 0;
        const bool dragShown = idleBranch && session.dragShown.layer != 0 && turnAngle == 0;
        runFrameController();
        // A search off the drawing thread ends first: the same run everywhere.
        waitForThinking();

        ASSERT_EQ(recorded.depth, 0) << "frame " << f;
        ASSERT_EQ(recorded.markers, editorShown ? 0 : 1) << "frame " << f;
        ASSERT_EQ(recorded.editors, editorShown ? 1 : 0) << "frame " << f;
        ASSERT_LE(recorded.cubes.size(), 1u) << "frame " << f;
        ASSERT_TRUE(session.nearer <= kNearest && session.nearer >= kFarthest) << session.nearer;
        ASSERT_GE(sessionLook().camera.distance, kClosest) << "frame " << f;
        ASSERT_TRUE(selectedLayer >= 1 && selectedLayer <= 9) << selectedLayer;
        ASSERT_TRUE(historyTop >= 0 && historyTop < kHistorySize) << historyTop;
        ASSERT_TRUE(scenePitch >= 0.0f && scenePitch <= 90.0f) << scenePitch;
        ASSERT_TRUE(session.player.speed >= 0 && session.player.speed < kPlayerSpeedCount);

        const bool changed = !(CubeCopy::take() == before);
        if (took) {
            ++count["cubes taken"];
            ASSERT_FALSE(inTurn) << "frame " << f;
            replay.restart();
        } else if (editorShown || dragShown) {
            // The editor's cube, or a layer under the finger: nothing turns.
            count["editor frames"] += editorShown;
            count["drag frames"] += dragShown;
            ASSERT_FALSE(changed) << "frame " << f;
            ASSERT_EQ(recorded.cubes.size(), dragShown ? 1u : 0u) << "frame " << f;
            ASSERT_FALSE(inTurn && !turnApplied) << "frame " << f;
        } else if (recorded.cubies != 0) {
            // Paused: the cube stands still.
            ++count["paused frames"];
            ASSERT_EQ(recorded.cubies, 27);
            ASSERT_TRUE(recorded.cubes.empty());
            ASSERT_FALSE(changed) << "frame " << f;
        } else {
            const int angle = recorded.cubes.empty() ? 0 : recorded.cubes[0].angle;
            if (angle != 0 && angleBefore == 0) {
                // A turn starts: the last one went onto the cube before it.
                ASSERT_TRUE(!inTurn || turnApplied) << "frame " << f << ": a turn was cut off";
                // A drag's from the angle let go (angle - 90 once applied).
                ASSERT_TRUE(turnFromDrag ? angle > -90 && angle < 90 : angle == 1)
                    << f << ": " << angle;
                count["turns let go by a drag"] += turnFromDrag;
                inTurn = true;
                turnApplied = false;
                turnMove = recorded.cubes[0];
                ++count["turns"];
            } else if (angle != 0) {
                ASSERT_TRUE(inTurn) << "frame " << f << ": a turn drawn that never started";
                ASSERT_EQ(recorded.cubes[0].layer, turnMove.layer) << "frame " << f;
                ASSERT_EQ(recorded.cubes[0].direction, turnMove.direction) << "frame " << f;
            }
            // A seek waits for the turn in progress to end.
            if (changed && (!seekAsked || angleBefore != 0)) {
                ASSERT_TRUE(inTurn && !turnApplied && angle != 0)
                    << "frame " << f << ": the cube changed without a drawn turn";
                const Move m = {turnMove.layer, turnMove.direction};
                ASSERT_TRUE(CubeCopy::take() == turned(before, &m, 1)) << "frame " << f;
                turnApplied = true;
            }
            if (inTurn && turnAngle == 0) {
                ASSERT_TRUE(turnApplied) << "frame " << f << ": a turn ended without its move";
                inTurn = false;
            }
        }

        if (playbackBefore == 1 && solveState.playbackPending == 0) {
            ++count["solves"];
            ASSERT_TRUE(isSolved()) << "frame " << f << ": a played-back solve left the cube";
        }
        // Quick solves whenever the history describes the cube from a solved one.
        if (algorithmAsked == 5 && algorithmBefore != 5)
            quickOnStale = replay.base != 0 || !replay.fromSolved();
        if (algorithmAsked == 5 && selectedAlgorithm == -1 && !quickOnStale) {
            ++count["quick checked"];
            ASSERT_TRUE(isSolved()) << "frame " << f << ": Quick left the cube";
        }
        // A solve changed the cube unrecorded: the history starts here.
        if (algorithmAsked != -1 && selectedAlgorithm == -1) replay.restart();
        // The records below a finished solve were dropped.
        if (solvedTopBefore > 0 && session.solvedHistoryTop == -1 && algorithmAsked == -1 && !took)
            replay.base -= solvedTopBefore;
        ASSERT_GE(replay.base, 0) << "frame " << f;
        if (controllerIdle() && f % 7 == 0) {
            ++count["idle checks"];
            ASSERT_TRUE(replay.check())
                << "frame " << f << ": the history no longer gives the live cube";
        }
        const Timeline& t = session.timeline;
        if (turnAngle == 0 && f % 13 == 0 && t.startTaken && algorithmAsked != 5) {
            ++count["timeline checks"];
            ASSERT_TRUE(CubeCopy::take() == timelineCube(t, t.position))
                << "frame " << f << ": the cube is not the timeline's at its position";
        }
    }
    for (const auto& [name, least] : kLeast) {
        EXPECT_GT(count[name], least) << name;
        std::printf("%s %d\n", name, count[name]);
    }
}
