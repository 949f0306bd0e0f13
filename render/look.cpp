#include "render/look.h"

#include "render/scene.h"

namespace {

// A real cube's colours: white opposite yellow, red opposite orange, blue
// opposite green. The start cube has white on top (face y = 3 carries colour
// 6), green in front on the left (face z = 3, colour 3) and red on the right
// (face x = 3, colour 2).
constexpr double kRealCubeColours[7][3] = {
    {0.0, 0.0, 0.0},  // unused
    {0.0, 0.35, 1.0}, // 1 blue
    {1.0, 0.0, 0.0},  // 2 red
    {0.0, 1.0, 0.25}, // 3 green
    {1.0, 0.5, 0.0},  // 4 orange
    {1.0, 1.0, 0.0},  // 5 yellow
    {1.0, 1.0, 1.0},  // 6 white
};

} // namespace

const Look kPlainLook = {
    CubieColourTable,   {0.0, 0.0, 0.0}, 1.0, 0.99, 0.01, 0, {15.0, 2.0, 0.0, 45.0},
    {1.6f, 0.6f, 0.6f}, {0.0, 1.0, 0.0}, 0};

// Stickers 0.86 wide leave black gaps of 0.14 between them, and stand 0.01
// proud of the body. Seen from above, the floor grid fills the background:
// it is drawn faint so that the cube stands out. The marker is magenta, a
// colour no sticker has. A turning layer shows black inside, not the colours
// the model keeps on the cubies' inner sides.
const Look kClearLook = {
    kRealCubeColours,     {0.0, 0.0, 0.0}, 1.0, 0.86, 0.08, 1, {9.5, 0.3, 28.0, 45.0},
    {0.25f, 0.25f, 0.3f}, {1.0, 0.0, 1.0}, 1};
