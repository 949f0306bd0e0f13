#include "render/view.h"

#include "model/layers.h"

#include <cmath>
#include <initializer_list>

namespace {

constexpr double kNear = 0.5;
constexpr double kFar = 50.0;
constexpr double kPi = 3.14159265358979323846;
// The cube's own turn about y starts 45 degrees round, so that an edge faces
// the viewer.
constexpr int kCubeYawStart = -45;

double& at(Matrix4& a, int row, int col) {
    return a.m[col * 4 + row];
}
double at(const Matrix4& a, int row, int col) {
    return a.m[col * 4 + row];
}

// a * b in single precision, each entry summed left to right as GL's matrix
// stack does it.
Matrix4 multiplied(const Matrix4& a, const Matrix4& b) {
    Matrix4 p;
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j) {
            float sum = static_cast<float>(at(a, i, 0)) * static_cast<float>(at(b, 0, j));
            for (int k = 1; k < 4; ++k) {
                const float term =
                    static_cast<float>(at(a, i, k)) * static_cast<float>(at(b, k, j));
                sum = sum + term;
            }
            at(p, i, j) = sum;
        }
    return p;
}

// The inverse of a, in double precision (for rays, not for drawing).
Matrix4 inverted(const Matrix4& a) {
    const double* m = a.m;
    double inv[16];
    inv[0] = m[5] * m[10] * m[15] - m[5] * m[11] * m[14] - m[9] * m[6] * m[15] +
             m[9] * m[7] * m[14] + m[13] * m[6] * m[11] - m[13] * m[7] * m[10];
    inv[4] = -m[4] * m[10] * m[15] + m[4] * m[11] * m[14] + m[8] * m[6] * m[15] -
             m[8] * m[7] * m[14] - m[12] * m[6] * m[11] + m[12] * m[7] * m[10];
    inv[8] = m[4] * m[9] * m[15] - m[4] * m[11] * m[13] - m[8] * m[5] * m[15] +
             m[8] * m[7] * m[13] + m[12] * m[5] * m[11] - m[12] * m[7] * m[9];
    inv[12] = -m[4] * m[9] * m[14] + m[4] * m[10] * m[13] + m[8] * m[5] * m[14] -
              m[8] * m[6] * m[13] - m[12] * m[5] * m[10] + m[12] * m[6] * m[9];
    inv[1] = -m[1] * m[10] * m[15] + m[1] * m[11] * m[14] + m[9] * m[2] * m[15] -
             m[9] * m[3] * m[14] - m[13] * m[2] * m[11] + m[13] * m[3] * m[10];
    inv[5] = m[0] * m[10] * m[15] - m[0] * m[11] * m[14] - m[8] * m[2] * m[15] +
             m[8] * m[3] * m[14] + m[12] * m[2] * m[11] - m[12] * m[3] * m[10];
    inv[9] = -m[0] * m[9] * m[15] + m[0] * m[11] * m[13] + m[8] * m[1] * m[15] -
             m[8] * m[3] * m[13] - m[12] * m[1] * m[11] + m[12] * m[3] * m[9];
    inv[13] = m[0] * m[9] * m[14] - m[0] * m[10] * m[13] - m[8] * m[1] * m[14] +
              m[8] * m[2] * m[13] + m[12] * m[1] * m[10] - m[12] * m[2] * m[9];
    inv[2] = m[1] * m[6] * m[15] - m[1] * m[7] * m[14] - m[5] * m[2] * m[15] + m[5] * m[3] * m[14] +
             m[13] * m[2] * m[7] - m[13] * m[3] * m[6];
    inv[6] = -m[0] * m[6] * m[15] + m[0] * m[7] * m[14] + m[4] * m[2] * m[15] -
             m[4] * m[3] * m[14] - m[12] * m[2] * m[7] + m[12] * m[3] * m[6];
    inv[10] = m[0] * m[5] * m[15] - m[0] * m[7] * m[13] - m[4] * m[1] * m[15] +
              m[4] * m[3] * m[13] + m[12] * m[1] * m[7] - m[12] * m[3] * m[5];
    inv[14] = -m[0] * m[5] * m[14] + m[0] * m[6] * m[13] + m[4] * m[1] * m[14] -
              m[4] * m[2] * m[13] - m[12] * m[1] * m[6] + m[12] * m[2] * m[5];
    inv[3] = -m[1] * m[6] * m[11] + m[1] * m[7] * m[10] + m[5] * m[2] * m[11] -
             m[5] * m[3] * m[10] - m[9] * m[2] * m[7] + m[9] * m[3] * m[6];
    inv[7] = m[0] * m[6] * m[11] - m[0] * m[7] * m[10] - m[4] * m[2] * m[11] + m[4] * m[3] * m[10] +
             m[8] * m[2] * m[7] - m[8] * m[3] * m[6];
    inv[11] = -m[0] * m[5] * m[11] + m[0] * m[7] * m[9] + m[4] * m[1] * m[11] - m[4] * m[3] * m[9] -
              m[8] * m[1] * m[7] + m[8] * m[3] * m[5];
    inv[15] = m[0] * m[5] * m[10] - m[0] * m[6] * m[9] - m[4] * m[1] * m[10] + m[4] * m[2] * m[9] +
              m[8] * m[1] * m[6] - m[8] * m[2] * m[5];
    const double det = m[0] * inv[0] + m[1] * inv[4] + m[2] * inv[8] + m[3] * inv[12];
    Matrix4 out;
    for (int i = 0; i < 16; ++i) out.m[i] = inv[i] / det;
    return out;
}

// a * (x, y, z, w).
void transform(const Matrix4& a, const double (&p)[4], double (&out)[4]) {
    for (int i = 0; i < 4; ++i)
        out[i] = at(a, i, 0) * p[0] + at(a, i, 1) * p[1] + at(a, i, 2) * p[2] + at(a, i, 3) * p[3];
}

// The angle drawCube turns `layer` by for a move of `direction` at `angle`.
int shownAngle(int layer, int direction, int angle) {
    return direction == -kLayerCells[layer].sense ? -angle : angle;
}

bool turnsWith(const TurnShown& turning, const int (&cubie)[3]) {
    if (turning.layer < 1 || turning.layer > 9 || turning.angle == 0) return false;
    const LayerCells& cells = kLayerCells[turning.layer];
    return cubie[cells.axis] == cells.slice;
}

// p turned by `degrees` about the coordinate axis `axis`, in double precision.
void turnPoint(int axis, double degrees, double (&p)[3]) {
    const double r = degrees * kPi / 180.0;
    const double s = std::sin(r), c = std::cos(r);
    const int u = (axis + 1) % 3, w = (axis + 2) % 3;
    const double pu = p[u], pw = p[w];
    p[u] = c * pu - s * pw;
    p[w] = s * pu + c * pw;
}

// The centre of a sticker's outer face in the cube's frame, with the turning
// layer turned as it is drawn.
void stickerPoint(const View& view, const StickerPick& sticker, double (&p)[3]) {
    const SideDirection& dir = kSideDirection[sticker.side];
    for (int a = 0; a < 3; ++a)
        p[a] = sticker.cubie[a] - kCubieCentre + (a == dir.axis ? dir.sign * view.reach : 0.0);
    if (turnsWith(view.turning, sticker.cubie)) {
        const TurnShown& t = view.turning;
        turnPoint(kLayerCells[t.layer].axis, shownAngle(t.layer, t.direction, t.angle), p);
    }
}

// How fast (pixels per radian, x right, y down) a direction +1 turn of
// `layer` moves the sticker on the screen; false when it cannot be seen.
bool stickerVelocity(const View& view, const StickerPick& sticker, int layer, double (&v)[2]) {
    constexpr double kStep = 0.25; // degrees either way
    const LayerCells& cells = kLayerCells[layer];
    double p[3];
    stickerPoint(view, sticker, p);
    double ends[2][2];
    for (int e = 0; e < 2; ++e) {
        double q[3] = {p[0], p[1], p[2]};
        turnPoint(cells.axis, cells.sense * (e ? kStep : -kStep), q);
        if (!projectPoint(view, view.cube, q, &ends[e][0], &ends[e][1])) return false;
    }
    const double radians = 2 * kStep * kPi / 180.0;
    v[0] = (ends[1][0] - ends[0][0]) / radians;
    v[1] = (ends[1][1] - ends[0][1]) / radians;
    return true;
}

} // namespace

Matrix4 identityMatrix() {
    Matrix4 a{};
    a.m[0] = a.m[5] = a.m[10] = a.m[15] = 1.0;
    return a;
}

Matrix4 rotated(const Matrix4& m, double degrees, int axis) {
    const float angle = static_cast<float>(degrees);
    if (angle == 0.0f) return m;
    // As GL does it: the angle in radians worked out in double precision,
    // then its sine and cosine taken in single precision.
    const float radians = static_cast<float>(static_cast<double>(angle) * kPi / 180.0);
    const float s = std::sin(radians);
    const float c = std::cos(radians);
    const int u = (axis + 1) % 3, w = (axis + 2) % 3;
    Matrix4 r = identityMatrix();
    at(r, u, u) = c;
    at(r, w, w) = c;
    at(r, w, u) = s;
    at(r, u, w) = -s;
    return multiplied(m, r);
}

Matrix4 translated(const Matrix4& m, double x, double y, double z) {
    const float v[3] = {static_cast<float>(x), static_cast<float>(y), static_cast<float>(z)};
    Matrix4 out = m;
    for (int i = 0; i < 4; ++i) {
        float sum = static_cast<float>(m.m[i]) * v[0];
        sum = sum + static_cast<float>(m.m[4 + i]) * v[1];
        sum = sum + static_cast<float>(m.m[8 + i]) * v[2];
        sum = sum + static_cast<float>(m.m[12 + i]);
        out.m[12 + i] = sum;
    }
    return out;
}

Matrix4 perspectiveMatrix(double fieldOfView, int width, int height) {
    if (height == 0) height = 1;
    const double aspect = static_cast<double>(width) / static_cast<double>(height);
    const double radians = fieldOfView / 2 * kPi / 180;
    const double cotangent = std::cos(radians) / std::sin(radians);
    const double depth = kFar - kNear;
    Matrix4 p{};
    p.m[0] = cotangent / aspect;
    p.m[5] = cotangent;
    p.m[10] = -(kFar + kNear) / depth;
    p.m[11] = -1.0;
    p.m[14] = -2 * kNear * kFar / depth;
    for (double& e : p.m) e = static_cast<float>(e);
    return p;
}

Matrix4 sceneMatrix(const CameraPlacement& camera, float sceneYaw, float scenePitch) {
    Matrix4 m = translated(identityMatrix(), 0.0, -camera.drop, -camera.distance);
    m = rotated(m, camera.elevation, 0);
    m = rotated(m, scenePitch, 0);
    return rotated(m, sceneYaw, 1);
}

Matrix4 cubeMatrix(const Matrix4& scene, int cubeYaw, int cubePitch) {
    return rotated(rotated(scene, cubeYaw + kCubeYawStart, 1), cubePitch, 0);
}

Matrix4 layerMatrix(const Matrix4& cube, int layer, int direction, int angle) {
    if (layer < 1 || layer > 9) return cube;
    return rotated(cube, shownAngle(layer, direction, angle), kLayerCells[layer].axis);
}

View makeView(const Look& look, const ViewAngles& angles, const TurnShown& turning, int width,
              int height) {
    View v;
    v.width = width;
    v.height = height == 0 ? 1 : height;
    v.projection = perspectiveMatrix(look.camera.fieldOfView, width, height);
    v.scene = sceneMatrix(look.camera, angles.sceneYaw, angles.scenePitch);
    v.cube = cubeMatrix(v.scene, angles.cubeYaw, angles.cubePitch);
    v.layer = layerMatrix(v.cube, turning.layer, turning.direction, turning.angle);
    v.turning = turning;
    v.reach = stickerReach(look);
    if (v.reach < look.bodyEdge / 2) v.reach = look.bodyEdge / 2;
    return v;
}

bool projectPoint(const View& view, const Matrix4& matrix, const double (&point)[3], double* x,
                  double* y) {
    const double p[4] = {point[0], point[1], point[2], 1.0};
    double eye[4], clip[4];
    transform(matrix, p, eye);
    transform(view.projection, eye, clip);
    if (clip[3] <= 0.0) return false;
    *x = (clip[0] / clip[3] + 1.0) / 2.0 * view.width;
    *y = (1.0 - clip[1] / clip[3]) / 2.0 * view.height;
    return true;
}

StickerPick pickSticker(const View& view, double x, double y) {
    StickerPick best{};
    double bestDepth = 0.0;
    const double ndcX = 2.0 * x / view.width - 1.0, ndcY = 1.0 - 2.0 * y / view.height;
    // The ray from the near plane to the far plane through the pixel, in the
    // frame of the cubies at rest (0) and of the turning layer (1).
    double from[2][3], along[2][3];
    const Matrix4* frames[2] = {&view.cube, &view.layer};
    for (int f = 0; f < 2; ++f) {
        const Matrix4 back = inverted(multiplied(view.projection, *frames[f]));
        double ends[2][4];
        for (int e = 0; e < 2; ++e) {
            const double ndc[4] = {ndcX, ndcY, e ? 1.0 : -1.0, 1.0};
            transform(back, ndc, ends[e]);
        }
        for (int a = 0; a < 3; ++a) {
            from[f][a] = ends[0][a] / ends[0][3];
            along[f][a] = ends[1][a] / ends[1][3] - from[f][a];
        }
    }
    // The eye depth of a ray parameter is the same in both frames: t runs
    // from the near plane (0) to the far plane (1) along the same line.
    for (int cx = 1; cx <= 3; ++cx)
        for (int cy = 1; cy <= 3; ++cy)
            for (int cz = 1; cz <= 3; ++cz) {
                const int cubie[3] = {cx, cy, cz};
                const int f = turnsWith(view.turning, cubie) ? 1 : 0;
                double enter = 0.0, leave = 1.0;
                int enterAxis = -1, enterSign = 0;
                bool missed = false;
                for (int a = 0; a < 3 && !missed; ++a) {
                    const double lo = cubie[a] - kCubieCentre - view.reach;
                    const double hi = cubie[a] - kCubieCentre + view.reach;
                    if (along[f][a] == 0.0) {
                        missed = from[f][a] < lo || from[f][a] > hi;
                        continue;
                    }
                    double t0 = (lo - from[f][a]) / along[f][a];
                    double t1 = (hi - from[f][a]) / along[f][a];
                    int sign = -1; // entering through the low side
                    if (t0 > t1) {
                        const double swap = t0;
                        t0 = t1;
                        t1 = swap;
                        sign = +1;
                    }
                    if (t0 > enter || enterAxis < 0) {
                        if (t0 > enter) enter = t0;
                        enterAxis = a;
                        enterSign = sign;
                    }
                    if (t1 < leave) leave = t1;
                    missed = enter > leave;
                }
                if (missed || enterAxis < 0 || (best.hit && enter >= bestDepth)) continue;
                best = StickerPick{};
                best.hit = 1;
                bestDepth = enter;
                for (int a = 0; a < 3; ++a) best.cubie[a] = cubie[a];
                best.side = sideAt(enterAxis, enterSign);
                const int face = faceOfSide(best.side);
                const FaceCells& cells = kFaceCells[face];
                if (cubie[cells.fixed] == cells.value) {
                    best.face = face;
                    best.row = cubie[cells.rowAxis];
                    best.col = cubie[cells.colAxis];
                }
            }
    return best;
}

double followDrag(const View& view, const StickerPick& sticker, int layer, double dx, double dy) {
    if (layer < 1 || layer > 9 || !sticker.hit) return 0.0;
    const LayerCells& cells = kLayerCells[layer];
    double p[3], x0, y0;
    stickerPoint(view, sticker, p);
    if (!projectPoint(view, view.cube, p, &x0, &y0)) return 0.0;
    // The angle that brings the sticker nearest the finger on the screen:
    // whole degrees out from 0 either way (a tie goes to the smaller turn),
    // then hundredths around the best.
    const auto distance2 = [&](double angle) {
        double q[3] = {p[0], p[1], p[2]}, x, y;
        turnPoint(cells.axis, cells.sense * angle, q);
        if (!projectPoint(view, view.cube, q, &x, &y)) return 1e300;
        return (x - x0 - dx) * (x - x0 - dx) + (y - y0 - dy) * (y - y0 - dy);
    };
    double best = 0.0, bestDistance = distance2(0.0);
    for (int step = 1; step <= 180; ++step)
        for (const int sign : {+1, -1}) {
            const double d = distance2(sign * step);
            if (d < bestDistance) bestDistance = d, best = sign * step;
        }
    const double coarse = best;
    for (int fine = -100; fine <= 100; ++fine) {
        const double angle = coarse + fine * 0.01;
        const double d = distance2(angle);
        if (d < bestDistance) bestDistance = d, best = angle;
    }
    return best;
}

DragTurn dragTurn(const View& view, const StickerPick& sticker, double dx, double dy) {
    DragTurn best{0, 0, 0.0};
    const double length = std::sqrt(dx * dx + dy * dy);
    if (!sticker.hit || sticker.face == 0 || length == 0.0) return best;
    double bestAlong = 0.0;
    const int normalAxis = kSideDirection[sticker.side].axis;
    for (int axis = 0; axis < 3; ++axis) {
        if (axis == normalAxis) continue;
        const int layer = layerAt(axis, sticker.cubie[axis]);
        double v[2];
        if (!stickerVelocity(view, sticker, layer, v)) continue;
        const double speed = std::sqrt(v[0] * v[0] + v[1] * v[1]);
        if (speed == 0.0) continue;
        const double along = (v[0] * dx + v[1] * dy) / (length * speed);
        if (std::fabs(along) <= std::fabs(bestAlong)) continue;
        bestAlong = along;
        best.layer = layer;
        best.direction = along > 0 ? +1 : -1;
    }
    if (best.layer != 0) {
        const double angle = best.direction * followDrag(view, sticker, best.layer, dx, dy);
        best.angle = angle > 0.0 ? angle : 0.0;
    }
    return best;
}

int settleQuarterTurns(double angle) {
    const long quarters = std::lround(angle / 90.0);
    return static_cast<int>(quarters > 2 ? 2 : quarters < -2 ? -2 : quarters);
}
