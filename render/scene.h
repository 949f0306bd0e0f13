// Drawing the cube and the scene around it with fixed-function OpenGL:
// cubies, the turning layer, the marker of the selected layer, the floor grid.
#pragma once

struct Look;

// Colour number 1..6 -> RGB (index 0 unused).
extern const double CubieColourTable[7][3];

// One cubie of `cubies` (the caller passes the live CubieArray) at x, y, z
// 1..3; leaves the model-view matrix as it found it.
void drawCubie(int x, int y, int z, const int (&cubies)[4][4][4][7]);
void drawCubie(const Look& look, int x, int y, int z, const int (&cubies)[4][4][4][7]);
// All 27 cubies of the live cube with `layer` turned by `angle` degrees in
// the sense of `direction`; angle 0 is the cube at rest, a layer outside 1..9
// draws nothing.
void drawCube(int layer, int direction, int angle);
// The same in `look`; the two above draw in the plain look.
void drawCube(const Look& look, int layer, int direction, int angle);
// 1 draws every side of every cubie, also those no viewer can see (against a
// cubie turning with it); 0, the default, leaves them out. The pictures are the
// same either way: this is there to compare them.
extern int drawUnseenSides;
// The marker sphere beside `layer` (1..9; any other draws nothing).
void drawLayerMarker(int layer);
// The same in the marker colour of `look`.
void drawLayerMarker(const Look& look, int layer);
// The floor grid, when `visible` is not 0.
void drawFloorGrid(int visible);
// The same in the colour of `look`; the one above draws in the plain look's.
void drawFloorGrid(const Look& look, int visible);
// A filled, smoothly shaded sphere of `radius` at the origin, compiled once
// per radius into a display list kept in the sphere cache.
void solidSphere(double radius);
// Forgets every cached sphere list and the learned shape of the cubies'
// cubes; called whenever a new GL context is made.
void clearSphereCache();
// Number of radii in the sphere cache (for tests).
int sphereCacheSize();
