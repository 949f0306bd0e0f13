// Where the cube is on the screen, worked out on the CPU: the projection, the
// scene transform, the cube's own orientation and the turning layer's
// rotation as matrices, built with the same arithmetic GL uses for the calls
// the frame makes today (so GL can be handed them as they are), and what they
// answer: which sticker is under a pixel, and which layer a drag across it
// turns. No GL here: everything is plain arithmetic.
#pragma once

#include "render/look.h"

// A 4 x 4 matrix stored column by column, as GL stores it. Every entry is a
// single-precision number (GL's matrix stack keeps floats).
struct Matrix4 {
    double m[16];
};

Matrix4 identityMatrix();
// m * (a rotation of `degrees` about the unit axis 0 = x, 1 = y, 2 = z), as
// glRotated / glRotatef with that axis does it.
Matrix4 rotated(const Matrix4& m, double degrees, int axis);
// m * (a translation), as glTranslatef does it.
Matrix4 translated(const Matrix4& m, double x, double y, double z);
// The projection resizeView sets: a perspective of `fieldOfView` degrees
// vertically, aspect width / height (a height of 0 counts as 1), near 0.5,
// far 50.
Matrix4 perspectiveMatrix(double fieldOfView, int width, int height);

// The angles the program turns the view by: the scene's (V/B, O/L) and the
// cube's own (A/D, W/S).
struct ViewAngles {
    float sceneYaw;
    float scenePitch;
    int cubeYaw;
    int cubePitch;
};

// The frame's scene transform: the camera placed, then the scene tilted by
// scenePitch about x and turned by sceneYaw about y. In the plain look this is
// translate (0, -2, -15), rotate scenePitch, rotate sceneYaw.
Matrix4 sceneMatrix(const CameraPlacement& camera, float sceneYaw, float scenePitch);
// The cube's orientation inside the scene: rotate (cubeYaw - 45) about y,
// then cubePitch about x.
Matrix4 cubeMatrix(const Matrix4& scene, int cubeYaw, int cubePitch);
// The turning layer drawn by drawCube(layer, direction, angle): rotated by the
// angle in the sense of the move about the layer's axis. A layer outside 1..9
// or an angle of 0 gives `cube` unchanged.
Matrix4 layerMatrix(const Matrix4& cube, int layer, int direction, int angle);

// What drawCube is drawing: the layer, its direction and its angle so far
// (angle 0: the cube at rest).
struct TurnShown {
    int layer;
    int direction;
    int angle;
};

// Everything needed to find the cube on the screen in one frame.
struct View {
    int width, height; // the viewport, in pixels
    Matrix4 projection;
    Matrix4 scene; // what the frame sets before the cube's orientation
    Matrix4 cube;  // the cube's cubies at rest are drawn in this
    Matrix4 layer; // the turning layer's cubies in this
    TurnShown turning;
    double reach; // a cubie's outer surface lies this far from its centre
};
View makeView(const Look& look, const ViewAngles& angles, const TurnShown& turning, int width,
              int height);

// The window position (x right, y down from the top-left corner, in pixels)
// of a point of the cube at rest (in cubie units, the cube's centre at 0) or,
// for the second, of a point carried by `matrix`; false behind the eye.
bool projectPoint(const View& view, const Matrix4& matrix, const double (&point)[3], double* x,
                  double* y);

// The sticker under a window position (x right, y down, in pixels; the pixel
// at column c, row r is covered by c..c+1, r..r+1, so its centre is c + 0.5,
// r + 0.5). The nearest cubie the eye sees there is found, the turning layer
// where it is drawn; its black rim and the gaps around a sticker count as the
// sticker. `face` 0 with `hit` 1: a side that is no sticker of a face (inside
// the cube, seen while a layer turns).
struct StickerPick {
    int hit;
    int face, row, col;
    int cubie[3];
    int side;
};
StickerPick pickSticker(const View& view, double x, double y);

// Which way a drag across a picked sticker turns the cube: of the two layers
// through the sticker that move it across its face (its own face's layer is
// turned by dragging a neighbouring face), the one whose turn moves the
// sticker on the screen most nearly along the drag (by direction, not speed:
// on a face seen at a slant one way of moving is foreshortened, and a drag
// straight along it must still turn that layer), in the direction that moves
// it the drag's way, and how far (degrees, >= 0) the drag has carried it.
// `layer` 0 when the pick is no sticker or the drag has no length.
struct DragTurn {
    int layer;
    int direction;
    double angle;
};
DragTurn dragTurn(const View& view, const StickerPick& sticker, double dx, double dy);
// For a layer already chosen: the angle in degrees, in the sense of direction
// +1 (negative: the other way), that the drag (dx, dy) has carried it: the
// turn, within half a turn either way, that brings the sticker nearest the
// finger on the screen.
double followDrag(const View& view, const StickerPick& sticker, int layer, double dx, double dy);
// Where a drag let go at `angle` degrees settles: the nearest whole number of
// quarter turns, at most two either way (0: back to where it started).
int settleQuarterTurns(double angle);
