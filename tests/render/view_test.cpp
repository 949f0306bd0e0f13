// The view worked out on the CPU, without a window: picking over many random
// views, both looks and layers part way through a turn, against a visibility
// worked out from the cube's blocks; drags along a layer's motion on the
// screen, against the cube's own turn.
#include "render/view.h"

#include "model/cube.h"
#include "model/layers.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <string>

namespace {

constexpr double kPi = 3.14159265358979323846;

struct Sticker {
    int face, row, col;
    int cubie[3];
    int side;
};

Sticker stickerOf(int face, int row, int col) {
    Sticker s{face, row, col, {0, 0, 0}, 0};
    faceletCubie(face, row, col, s.cubie, &s.side);
    return s;
}

void turnAbout(int axis, double degrees, double (&p)[3]) {
    const double r = degrees * kPi / 180.0, c = std::cos(r), s = std::sin(r);
    const int u = (axis + 1) % 3, w = (axis + 2) % 3;
    const double pu = p[u], pw = p[w];
    p[u] = c * pu - s * pw;
    p[w] = s * pu + c * pw;
}

// The angle the turning layer is drawn at, from the drawing's sign rule:
// layers 1-3 negated for direction +1, layers 4-9 for direction -1.
double drawnAngle(const TurnShown& t) {
    const int negateFor = t.layer <= 3 ? +1 : -1;
    return t.direction == negateFor ? -t.angle : t.angle;
}

bool turning(const View& view, const int (&cubie)[3]) {
    const TurnShown& t = view.turning;
    if (t.angle == 0) return false;
    const LayerCells& cells = kLayerCells[t.layer];
    return cubie[cells.axis] == cells.slice;
}

// A point and a direction of a cubie as drawn (the turning layer turned), in
// the cube's frame.
void drawn(const View& view, const int (&cubie)[3], double (&p)[3]) {
    if (turning(view, cubie))
        turnAbout(kLayerCells[view.turning.layer].axis, drawnAngle(view.turning), p);
}

void stickerCentre(const View& view, const Sticker& s, double (&p)[3], double (&normal)[3]) {
    const SideDirection& d = kSideDirection[s.side];
    for (int a = 0; a < 3; ++a) {
        normal[a] = a == d.axis ? d.sign : 0.0;
        p[a] = s.cubie[a] - 2 + normal[a] * view.reach;
    }
    drawn(view, s.cubie, p);
    drawn(view, s.cubie, normal);
}

void eyeInCube(const View& view, double (&eye)[3]) {
    // The cube matrix is a rotation and a translation: the eye is -R^T t.
    const double* m = view.cube.m;
    for (int a = 0; a < 3; ++a)
        eye[a] = -(m[4 * a] * m[12] + m[4 * a + 1] * m[13] + m[4 * a + 2] * m[14]);
}

// The cube while a layer turns is two or three solid blocks: the turning
// slab and what is left on either side of it. Box = lo..hi per axis, in the
// frame of the block (the slab's turned by the drawn angle).
struct Block {
    double lo[3], hi[3];
    int turns;
};
int blocksOf(const View& view, Block (&blocks)[3]) {
    const double r = view.reach;
    if (view.turning.angle == 0) {
        blocks[0] = {{-1 - r, -1 - r, -1 - r}, {1 + r, 1 + r, 1 + r}, 0};
        return 1;
    }
    const LayerCells& cells = kLayerCells[view.turning.layer];
    int n = 0;
    const auto slab = [&](int from, int to, int turns) {
        Block b = {{-1 - r, -1 - r, -1 - r}, {1 + r, 1 + r, 1 + r}, turns};
        b.lo[cells.axis] = from - 2 - r;
        b.hi[cells.axis] = to - 2 + r;
        blocks[n++] = b;
    };
    slab(cells.slice, cells.slice, 1);
    if (cells.slice > 1) slab(1, cells.slice - 1, 0);
    if (cells.slice < 3) slab(cells.slice + 1, 3, 0);
    return n;
}

// Whether the segment from p to the eye passes through the block, grown
// (margin > 0) or shrunk (margin < 0) on every side.
bool segmentMeets(const View& view, const Block& b, const double (&p)[3], const double (&eye)[3],
                  double margin) {
    double from[3] = {p[0], p[1], p[2]}, to[3] = {eye[0], eye[1], eye[2]};
    if (b.turns) {
        const int axis = kLayerCells[view.turning.layer].axis;
        turnAbout(axis, -drawnAngle(view.turning), from);
        turnAbout(axis, -drawnAngle(view.turning), to);
    }
    double enter = 1e-9, leave = 1.0;
    for (int a = 0; a < 3; ++a) {
        const double lo = b.lo[a] - margin, hi = b.hi[a] + margin, d = to[a] - from[a];
        if (d == 0.0) {
            if (from[a] < lo || from[a] > hi) return false;
            continue;
        }
        double t0 = (lo - from[a]) / d, t1 = (hi - from[a]) / d;
        if (t0 > t1) std::swap(t0, t1);
        enter = std::max(enter, t0);
        leave = std::min(leave, t1);
    }
    return enter <= leave;
}

enum Seen { kHidden, kVisible, kUnsure };

// Visible: facing the eye and no other block in the way; unsure within a
// small margin of either.
Seen visibility(const View& view, const Sticker& s) {
    double p[3], normal[3], eye[3];
    stickerCentre(view, s, p, normal);
    eyeInCube(view, eye);
    double toEye[3], length = 0.0, facing = 0.0;
    for (int a = 0; a < 3; ++a) {
        toEye[a] = eye[a] - p[a];
        length += toEye[a] * toEye[a];
    }
    length = std::sqrt(length);
    for (int a = 0; a < 3; ++a) facing += normal[a] * toEye[a] / length;
    if (std::fabs(facing) < 0.03) return kUnsure;
    if (facing < 0) return kHidden;
    Block blocks[3];
    const int n = blocksOf(view, blocks);
    const int own = turning(view, s.cubie) ? 1 : 0;
    Seen seen = kVisible;
    for (int i = 0; i < n; ++i) {
        if (blocks[i].turns == own) {
            // The sticker's own block (the one holding its cubie) is convex,
            // and the sticker faces the eye: it cannot cover it.
            const int axis = kLayerCells[view.turning.layer].axis;
            const double c = s.cubie[axis] - 2;
            if (n == 1 || (c >= blocks[i].lo[axis] && c <= blocks[i].hi[axis])) continue;
        }
        if (segmentMeets(view, blocks[i], p, eye, -0.02)) return kHidden;
        if (segmentMeets(view, blocks[i], p, eye, 0.02)) seen = kUnsure;
    }
    return seen;
}

struct RandomView {
    const Look* look;
    ViewAngles angles;
    TurnShown turning;
    int width, height;
    std::string describe() const {
        return std::string(look == &kPlainLook ? "plain" : "clear") + " look, scene " +
               std::to_string(angles.sceneYaw) + "/" + std::to_string(angles.scenePitch) +
               ", cube " + std::to_string(angles.cubeYaw) + "/" + std::to_string(angles.cubePitch) +
               ", layer " + std::to_string(turning.layer) + " dir " +
               std::to_string(turning.direction) + " at " + std::to_string(turning.angle) + ", " +
               std::to_string(width) + "x" + std::to_string(height);
    }
};

RandomView randomView(std::mt19937& rng, bool midTurn) {
    RandomView v;
    v.look = rng() % 2 ? &kPlainLook : &kClearLook;
    v.angles.sceneYaw = static_cast<float>(static_cast<int>(rng() % 720) - 360) * 0.5f;
    v.angles.scenePitch = static_cast<float>(rng() % 91);
    v.angles.cubeYaw = static_cast<int>(rng() % 120) * 3 - 180;
    v.angles.cubePitch = static_cast<int>(rng() % 120) * 3 - 180;
    const int angles[] = {1, 31, 61, 15, 45, 80};
    v.turning = {1 + static_cast<int>(rng() % 9), rng() % 2 ? 1 : -1,
                 midTurn ? angles[rng() % 6] : 0};
    const int sizes[][2] = {{640, 480}, {1024, 768}, {800, 800}, {1280, 600}};
    v.width = sizes[rng() % 4][0];
    v.height = sizes[rng() % 4][1];
    return v;
}

View viewOf(const RandomView& r) {
    return makeView(*r.look, r.angles, r.turning, r.width, r.height);
}

bool project(const View& view, const double (&p)[3], double* x, double* y) {
    return projectPoint(view, view.cube, p, x, y);
}

// Picking at the centre of every sticker the eye sees gives that sticker; at
// the centre of one it cannot see, never that sticker. 600 views, half of
// them with a layer part way through its turn.
TEST(Picking, EveryVisibleStickerAndNoHiddenOne) {
    std::mt19937 rng(2024);
    int visible = 0, hidden = 0, unsure = 0;
    for (int trial = 0; trial < 600; ++trial) {
        const RandomView r = randomView(rng, trial % 2 == 1);
        const View view = viewOf(r);
        SCOPED_TRACE(r.describe());
        int seenHere = 0;
        for (int f = 1; f <= 6; ++f)
            for (int row = 1; row <= 3; ++row)
                for (int col = 1; col <= 3; ++col) {
                    const Sticker s = stickerOf(f, row, col);
                    const Seen seen = visibility(view, s);
                    if (seen == kUnsure) {
                        ++unsure;
                        continue;
                    }
                    double p[3], normal[3], x, y;
                    stickerCentre(view, s, p, normal);
                    ASSERT_TRUE(project(view, p, &x, &y));
                    const StickerPick pick = pickSticker(view, x, y);
                    const bool same =
                        pick.hit && pick.face == f && pick.row == row && pick.col == col;
                    if (seen == kVisible) {
                        ++visible, ++seenHere;
                        EXPECT_TRUE(same) << "visible sticker " << f << " " << row << " " << col
                                          << " picked as " << pick.face << " " << pick.row << " "
                                          << pick.col << " (hit " << pick.hit << ")";
                        EXPECT_EQ(pick.side, s.side);
                        for (int a = 0; a < 3; ++a) EXPECT_EQ(pick.cubie[a], s.cubie[a]);
                    } else {
                        ++hidden;
                        EXPECT_FALSE(same) << "hidden sticker " << f << " " << row << " " << col;
                    }
                }
        // At least one face shows whole from any side.
        EXPECT_GE(seenHere, 9);
        if (HasFailure()) return;
    }
    // Nearly every sticker is decided by the visibility rule.
    EXPECT_LT(unsure * 20, visible + hidden);
    std::printf("stickers checked: %d visible, %d hidden, %d too close to call\n", visible, hidden,
                unsure);
}

// Points beside the cube pick nothing: the corners of the window, and points
// just outside the cube's silhouette seen square on.
TEST(Picking, BackgroundPicksNothing) {
    std::mt19937 rng(77);
    for (int trial = 0; trial < 200; ++trial) {
        const RandomView r = randomView(rng, false);
        const View view = viewOf(r);
        for (double x : {0.5, r.width - 0.5})
            for (double y : {0.5, r.height - 0.5})
                EXPECT_FALSE(pickSticker(view, x, y).hit) << r.describe();
    }
    // Face 1 square on (the cube turned back by its 45 degrees): a point a
    // tenth of a cubie beyond its edge misses, one a tenth inside hits.
    for (const Look* look : {&kPlainLook, &kClearLook}) {
        const View view = makeView(*look, {0.0f, 0.0f, 45, 0}, {1, 1, 0}, 800, 600);
        const double reach = 1.0 + view.reach;
        for (double beyond : {0.1, -0.1}) {
            const double p[3] = {reach + beyond, 0.0, 1.5};
            double x, y;
            ASSERT_TRUE(project(view, p, &x, &y));
            const StickerPick pick = pickSticker(view, x, y);
            EXPECT_EQ(pick.hit, beyond < 0 ? 1 : 0);
            if (beyond < 0) {
                EXPECT_EQ(pick.face, 1);
            }
        }
    }
}

// A drag along the way a layer's turn carries a sticker on the screen turns
// that layer that way, about as far as it went; and the cube's own turn of
// that layer puts the sticker's colour where that motion ends a quarter turn
// on.
TEST(Dragging, ADragAlongALayersMotionTurnsThatLayerTheDragsWay) {
    std::mt19937 rng(99);
    int checked = 0, tooClose = 0;
    for (int trial = 0; trial < 400; ++trial) {
        const RandomView r = randomView(rng, false);
        const View view = viewOf(r);
        const Sticker s =
            stickerOf(1 + static_cast<int>(rng() % 6), 1 + static_cast<int>(rng() % 3),
                      1 + static_cast<int>(rng() % 3));
        if (visibility(view, s) != kVisible) continue;
        double p[3], normal[3], x0, y0;
        stickerCentre(view, s, p, normal);
        ASSERT_TRUE(project(view, p, &x0, &y0));
        const StickerPick pick = pickSticker(view, x0, y0);
        ASSERT_EQ(pick.face, s.face) << r.describe();
        const int normalAxis = kSideDirection[s.side].axis;
        for (int axis = 0; axis < 3; ++axis) {
            if (axis == normalAxis) continue;
            const int layer = layerAt(axis, s.cubie[axis]);
            for (int direction : {+1, -1}) {
                SCOPED_TRACE(r.describe() + ", sticker " + std::to_string(s.face) + " " +
                             std::to_string(s.row) + " " + std::to_string(s.col) + ", layer " +
                             std::to_string(layer) + " dir " + std::to_string(direction));
                // Where 8 degrees of the turn carry the sticker on the screen.
                double q[3] = {p[0], p[1], p[2]}, x1, y1;
                turnAbout(axis, kLayerCells[layer].sense * direction * 8.0, q);
                ASSERT_TRUE(project(view, q, &x1, &y1));
                const double dx = x1 - x0, dy = y1 - y0;
                // Views where the other layer moves the sticker almost the same
                // way on the screen cannot tell the two apart.
                double ox, oy; // the other layer's motion for 8 degrees
                {
                    double o[3] = {p[0], p[1], p[2]};
                    turnAbout(3 - axis - normalAxis, 8.0, o);
                    ASSERT_TRUE(project(view, o, &ox, &oy));
                    ox -= x0, oy -= y0;
                }
                const double cosine = std::fabs(ox * dx + oy * dy) /
                                      (std::hypot(ox, oy) * std::hypot(dx, dy) + 1e-12);
                if (std::hypot(dx, dy) < 3.0 || cosine > 0.95) {
                    ++tooClose;
                    continue;
                }
                const DragTurn turn = dragTurn(view, pick, dx, dy);
                EXPECT_EQ(turn.layer, layer);
                EXPECT_EQ(turn.direction, direction);
                EXPECT_NEAR(turn.angle, 8.0, 0.05);
                // Dragged on along the same path, the other way, and back.
                for (double angle : {40.0, -25.0, 0.0}) {
                    double a[3] = {p[0], p[1], p[2]}, xa, ya;
                    turnAbout(axis, kLayerCells[layer].sense * direction * angle, a);
                    ASSERT_TRUE(project(view, a, &xa, &ya));
                    EXPECT_NEAR(followDrag(view, pick, layer, xa - x0, ya - y0), direction * angle,
                                0.05);
                }
                // The cube's own turn carries the sticker's colour to where the
                // motion the drag started goes on to after a quarter turn.
                initCubieArray();
                CubieArray[s.cubie[0]][s.cubie[1]][s.cubie[2]][s.side] = 7;
                turnLayer(layer, direction);
                double end[3] = {p[0], p[1], p[2]};
                turnAbout(axis, kLayerCells[layer].sense * direction * 90.0, end);
                int found = 0;
                for (int f = 1; f <= 6; ++f)
                    for (int row = 1; row <= 3; ++row)
                        for (int col = 1; col <= 3; ++col) {
                            if (FaceletGrid[f][row][col] != 7) continue;
                            double pt[3], nt[3];
                            stickerCentre(view, stickerOf(f, row, col), pt, nt);
                            for (int a = 0; a < 3; ++a)
                                EXPECT_NEAR(pt[a], end[a], 1e-9)
                                    << "the colour went to " << f << " " << row << " " << col;
                            ++found;
                        }
                EXPECT_EQ(found, 1);
                ++checked;
                if (HasFailure()) return;
            }
        }
    }
    initCubieArray();
    initFaceletGrid();
    EXPECT_GT(checked, 200);
    std::printf("drags checked: %d, too close to call: %d\n", checked, tooClose);
}

TEST(Dragging, NoStickerOrNoLengthTurnsNothingAndLettingGoSettles) {
    const View view = makeView(kPlainLook, {0.0f, 0.0f, 0, 0}, {1, 1, 0}, 640, 480);
    StickerPick none{};
    EXPECT_EQ(dragTurn(view, none, 30.0, 5.0).layer, 0);
    StickerPick inner{};
    inner.hit = 1, inner.side = 2, inner.cubie[0] = 1, inner.cubie[1] = 2, inner.cubie[2] = 2;
    EXPECT_EQ(dragTurn(view, inner, 30.0, 5.0).layer, 0); // face 0: inside the cube
    const double middle[3] = {0.0, 0.0, 1.5};             // face 1's centre
    double mx, my;
    ASSERT_TRUE(projectPoint(view, view.cube, middle, &mx, &my));
    const StickerPick centre = pickSticker(view, mx, my);
    ASSERT_TRUE(centre.hit);
    EXPECT_EQ(dragTurn(view, centre, 0.0, 0.0).layer, 0);
    const struct {
        double angle;
        int quarters;
    } settles[] = {{0, 0},   {44.9, 0}, {45.1, 1},  {-44.9, 0}, {-45.1, -1}, {90, 1},
                   {134, 1}, {136, 2},  {-170, -2}, {400, 2},   {-400, -2}};
    for (const auto& s : settles) EXPECT_EQ(settleQuarterTurns(s.angle), s.quarters) << s.angle;
}

} // namespace
