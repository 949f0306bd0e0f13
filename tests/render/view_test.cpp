// The view on the CPU: picking against the cube's solid blocks; drags that turn nothing.
#include "render/view.h"

#include "model/cube.h"
#include "model/layers.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <string>

namespace {

void turnAbout(int axis, double degrees, double (&p)[3]) {
    const double r = degrees * 3.14159265358979323846 / 180.0, c = std::cos(r), s = std::sin(r);
    const int u = (axis + 1) % 3, w = (axis + 2) % 3;
    const double pu = p[u], pw = p[w];
    p[u] = c * pu - s * pw;
    p[w] = s * pu + c * pw;
}

// The angle `cubie` is drawn turned by (layers 1-3 by -angle for +1, 4-9 for -1).
double drawnAngle(const View& view, const int (&cubie)[3]) {
    const TurnShown& t = view.turning;
    const LayerCells& cells = kLayerCells[t.layer];
    if (cubie[cells.axis] != cells.slice) return 0.0;
    return t.direction == (t.layer <= 3 ? 1 : -1) ? -t.angle : t.angle;
}

// A sticker's centre and normal as drawn, in the cube's frame.
void stickerCentre(const View& view, const int (&cubie)[3], int side, double (&p)[3],
                   double (&normal)[3]) {
    const SideDirection& d = kSideDirection[side];
    for (int a = 0; a < 3; ++a) {
        normal[a] = a == d.axis ? d.sign : 0.0;
        p[a] = cubie[a] - 2 + normal[a] * view.reach;
    }
    const int axis = kLayerCells[view.turning.layer].axis;
    turnAbout(axis, drawnAngle(view, cubie), p);
    turnAbout(axis, drawnAngle(view, cubie), normal);
}

// Whether segment p-q meets the solid block of slices from..to (turned if
// `turns`), grown by `margin`.
bool segmentMeets(const View& view, int from, int to, bool turns, double (&p)[3], double (&q)[3],
                  double margin) {
    const int axis = kLayerCells[view.turning.layer].axis;
    double a[3] = {p[0], p[1], p[2]}, b[3] = {q[0], q[1], q[2]};
    const int slice[3] = {from, from, from};
    if (turns)
        turnAbout(axis, -drawnAngle(view, slice), a), turnAbout(axis, -drawnAngle(view, slice), b);
    double enter = 1e-9, leave = 1.0;
    for (int i = 0; i < 3; ++i) {
        const double reach = view.reach + margin;
        const double lo = (i == axis ? from - 2 : -1) - reach,
                     hi = (i == axis ? to - 2 : 1) + reach;
        double t0 = (lo - a[i]) / (b[i] - a[i]), t1 = (hi - a[i]) / (b[i] - a[i]);
        if (t0 > t1) std::swap(t0, t1);
        enter = std::max(enter, t0), leave = std::min(leave, t1);
    }
    return enter <= leave;
}

enum Seen { kHidden, kVisible, kUnsure };

// Visible: facing the eye, no other block in the way; unsure near either edge.
Seen visibility(const View& view, const int (&cubie)[3], int side) {
    double p[3], normal[3], eye[3], facing = 0.0, length = 0.0;
    stickerCentre(view, cubie, side, p, normal);
    const double* m = view.cube.m; // a rotation and a translation: the eye is -R^T t
    for (int a = 0; a < 3; ++a) {
        eye[a] = -(m[4 * a] * m[12] + m[4 * a + 1] * m[13] + m[4 * a + 2] * m[14]);
        facing += normal[a] * (eye[a] - p[a]), length += (eye[a] - p[a]) * (eye[a] - p[a]);
    }
    facing /= std::sqrt(length);
    if (std::fabs(facing) < 0.03) return kUnsure;
    if (facing < 0) return kHidden;
    if (view.turning.angle == 0) return kVisible;
    const LayerCells& cells = kLayerCells[view.turning.layer];
    const int own = cubie[cells.axis];
    const int blocks[3][3] = {
        {cells.slice, cells.slice, 1}, {1, cells.slice - 1, 0}, {cells.slice + 1, 3, 0}};
    Seen seen = kVisible;
    for (const auto& b : blocks) {
        if (b[0] > b[1] || (own >= b[0] && own <= b[1])) continue;
        if (segmentMeets(view, b[0], b[1], b[2], p, eye, -0.02)) return kHidden;
        if (segmentMeets(view, b[0], b[1], b[2], p, eye, 0.02)) seen = kUnsure;
    }
    return seen;
}

View randomView(std::mt19937& rng, bool midTurn) {
    const Look& look = rng() % 2 ? kPlainLook : kClearLook;
    const ViewAngles a = {static_cast<float>(static_cast<int>(rng() % 720) - 360) * 0.5f,
                          static_cast<float>(rng() % 91), static_cast<int>(rng() % 120) * 3 - 180,
                          static_cast<int>(rng() % 120) * 3 - 180};
    const int angles[] = {1, 31, 61, 15, 45, 80};
    const TurnShown t = {1 + static_cast<int>(rng() % 9), rng() % 2 ? 1 : -1,
                         midTurn ? angles[rng() % 6] : 0};
    const int sizes[][2] = {{640, 480}, {1024, 768}, {800, 800}, {1280, 600}};
    const int* size = sizes[rng() % 4];
    return makeView(look, a, t, size[0], size[1]);
}

// Picking gives every seen sticker, never a hidden one, nothing at the corners.
TEST(Picking, EveryVisibleStickerAndNoHiddenOne) {
    std::mt19937 rng(2024);
    int visible = 0, hidden = 0, unsure = 0;
    for (int trial = 0; trial < 600; ++trial) {
        const View view = randomView(rng, trial % 2 == 1);
        SCOPED_TRACE("trial " + std::to_string(trial));
        int seenHere = 0;
        for (int f = 1; f <= 6; ++f)
            for (int row = 1; row <= 3; ++row)
                for (int col = 1; col <= 3; ++col) {
                    int cubie[3], side;
                    faceletCubie(f, row, col, cubie, &side);
                    const Seen seen = visibility(view, cubie, side);
                    double p[3], normal[3], x, y;
                    stickerCentre(view, cubie, side, p, normal);
                    ASSERT_TRUE(projectPoint(view, view.cube, p, &x, &y));
                    const StickerPick pick = pickSticker(view, x, y);
                    const bool same = pick.face == f && pick.row == row && pick.col == col &&
                                      pick.side == side && pick.cubie[0] == cubie[0] &&
                                      pick.cubie[1] == cubie[1] && pick.cubie[2] == cubie[2];
                    if (seen == kVisible) {
                        ++visible, ++seenHere;
                        EXPECT_TRUE(same) << "visible sticker " << f << row << col << " picked as "
                                          << pick.face << pick.row << pick.col;
                    } else if (seen == kHidden) {
                        ++hidden;
                        EXPECT_FALSE(same) << "hidden sticker " << f << row << col;
                    } else {
                        ++unsure;
                    }
                }
        EXPECT_GE(seenHere, 9); // at least one face shows whole from any side
        for (double x : {0.5, view.width - 0.5})
            for (double y : {0.5, view.height - 0.5}) EXPECT_FALSE(pickSticker(view, x, y).hit);
        if (HasFailure()) return;
    }
    EXPECT_LT(unsure * 20, visible + hidden); // nearly every sticker is decided
}

TEST(Dragging, NoStickerOrNoLengthTurnsNothingAndLettingGoSettles) {
    const View view = makeView(kPlainLook, {0.0f, 0.0f, 0, 0}, {1, 1, 0}, 640, 480);
    StickerPick inner{1, 0, 0, 0, {1, 2, 2}, 2}; // face 0: a side inside the cube
    EXPECT_EQ(dragTurn(view, StickerPick{}, 30.0, 5.0).layer, 0);
    EXPECT_EQ(dragTurn(view, inner, 30.0, 5.0).layer, 0);
    const double middle[3] = {0.0, 0.0, 1.5}; // face 1's centre
    double x, y;
    ASSERT_TRUE(projectPoint(view, view.cube, middle, &x, &y));
    const StickerPick centre = pickSticker(view, x, y);
    ASSERT_EQ(centre.face, 1);
    EXPECT_EQ(dragTurn(view, centre, 0.0, 0.0).layer, 0);
    const double settles[][2] = {{0, 0},   {44.9, 0}, {45.1, 1},  {-44.9, 0}, {-45.1, -1}, {90, 1},
                                 {134, 1}, {136, 2},  {-170, -2}, {400, 2},   {-400, -2}};
    for (const auto& s : settles) EXPECT_EQ(settleQuarterTurns(s[0]), s[1]) << s[0];
}

} // namespace
