// The cube in 3-D: 27 cubies, each a black body with six coloured sticker
// blocks, one layer of them possibly turned part way; the green marker beside
// the selected layer; the floor grid. Spheres are compiled once per radius into
// display lists kept in a small cache; the cubies' solid cubes are drawn a
// group of cubies at a time from one vertex array, without the sides that lie
// against a cubie turning with them (no viewer can see those).
#include "render/scene.h"

#include "model/cube.h"
#include "model/layers.h"
#include "render/look.h"

#include <GL/gl.h>
#include <GL/glu.h>
#include <GL/glut.h>

const double CubieColourTable[7][3] = {
    {0.0, 0.0, 0.0}, // unused
    {0.0, 0.0, 1.0}, // 1 blue
    {1.0, 0.0, 0.0}, // 2 red
    {1.0, 1.0, 0.0}, // 3 yellow
    {0.0, 1.0, 0.0}, // 4 green
    {1.0, 0.0, 1.0}, // 5 magenta
    {1.0, 1.0, 1.0}, // 6 white
};

int drawUnseenSides = 0;

namespace {

// freeglut refuses to draw anything before glutInit; the program has no
// command line to give it, so it gets a made-up one, once.
void ensureGlut() {
    static int glutReady = 0;
    if (glutReady) return;
    static char programName[] = "cube-solver";
    static char* fakeArgv[] = {programName, nullptr};
    int fakeArgc = 1;
    glutInit(&fakeArgc, fakeArgv);
    glutReady = 1;
}

// The sticker blocks of a cubie, in the order they are drawn: each moves
// from where the previous one sat (the moves add up, so each block ends the
// look's sticker offset off centre along its own axis), then is drawn in the
// colour of its side. The faces of a solid cube are numbered by bits: axis *
// 2, plus 1 on the positive side.
constexpr int kStickerOrder[6] = {2, 4, 6, 5, 3, 1}; // +x, -x, +y, -y, +z, -z
constexpr int faceBit(int side) {
    return kSideDirection[side].axis * 2 + (kSideDirection[side].sign > 0 ? 1 : 0);
}

// Where the marker sits for each selected layer: in front of the +z face on
// the bottom row for the x slices, outside the +x face on the bottom row for
// the z slices, off the (+x, +z) edge at the slice's height for the y slices.
constexpr double kMarkerPosition[10][3] = {
    {0, 0, 0}, // unused
    {-1.0, -1.0, 1.7}, {0.0, -1.0, 1.7}, {1.0, -1.0, 1.7}, {1.7, -1.0, -1.0}, {1.7, -1.0, 0.0},
    {1.7, -1.0, 1.0},  {2.0, -1.0, 2.0}, {2.0, 0.0, 2.0},  {2.0, 1.0, 2.0},
};
constexpr double kMarkerRadius = 0.1;

constexpr int kGridHalf = 100;
constexpr int kGridFloor = -3;

// The sphere cache: the display list compiled for each radius drawn so far.
// The program draws one radius; a radius past the cache's size is drawn
// without a list.
struct SphereList {
    double radius;
    GLuint list;
};
constexpr int kMaxSphereLists = 8;
SphereList sphereLists[kMaxSphereLists];
int sphereListCount = 0;

constexpr int kSphereSlices = 16;
constexpr int kSphereStacks = 16;

void emitSphere(double radius) {
    GLUquadric* quadric = gluNewQuadric();
    gluQuadricDrawStyle(quadric, GLU_FILL);
    gluQuadricNormals(quadric, GLU_SMOOTH);
    gluSphere(quadric, radius, kSphereSlices, kSphereStacks);
    gluDeleteQuadric(quadric);
}

// ---- the cubies in one batch ------------------------------------------------
// A cubie is seven solid cubes; drawn one by one that is 189 draws a frame,
// each with the driver's own overhead. Instead the cubes' triangles go into
// one vertex array per group of cubies, each cube's corners placed where its
// translations would put them, and the group is drawn in one call. The
// triangles are those glutSolidCube draws, in its order and with its
// normals, learned once per context by drawing it in feedback mode.

constexpr int kCubeVertices = 36;
struct CubeShape {
    int known;                      // 0 until learned in this context
    float corner[kCubeVertices][3]; // -1 or +1 along each axis
    float normal[kCubeVertices][3];
    int face[kCubeVertices]; // the face as a bit: axis * 2, plus 1 on the positive side
};
CubeShape cubeShape = {};

constexpr int kBatchVertices = 27 * 7 * kCubeVertices;
float batchPositions[kBatchVertices][3];
float batchNormals[kBatchVertices][3];
float batchColours[kBatchVertices][3];
int batchCount = 0;
// The colour of the last sticker block of the last cubie batched, drawn or not.
float lastColour[3];

// Draws glutSolidCube(1) in feedback mode with identity matrices on a 2 x 2
// viewport: window x, y = corner + 1, depth = (corner + 1) / 2.
void learnCubeShape() {
    ensureGlut();
    static GLfloat feedback[1024];
    glFeedbackBuffer(1024, GL_3D, feedback);
    glRenderMode(GL_FEEDBACK);
    glPushAttrib(GL_VIEWPORT_BIT | GL_ENABLE_BIT);
    glDisable(GL_CULL_FACE);
    glViewport(0, 0, 2, 2);
    glDepthRange(0.0, 1.0);
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    glutSolidCube(1.0);
    glPopMatrix();
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    glPopAttrib();
    const int n = glRenderMode(GL_RENDER);
    int count = 0;
    for (int i = 0; i < n && count + 3 <= kCubeVertices;) {
        const int token = static_cast<int>(feedback[i++]);
        if (token != GL_POLYGON_TOKEN || static_cast<int>(feedback[i++]) != 3) break;
        float tri[3][3];
        for (int v = 0; v < 3; ++v, i += 3) {
            tri[v][0] = feedback[i] > 1.0f ? 1.0f : -1.0f;
            tri[v][1] = feedback[i + 1] > 1.0f ? 1.0f : -1.0f;
            tri[v][2] = feedback[i + 2] > 0.5f ? 1.0f : -1.0f;
        }
        // The face's normal lies along the axis on which all three agree.
        float normal[3] = {0.0f, 0.0f, 0.0f};
        for (int a = 0; a < 3; ++a)
            if (tri[0][a] == tri[1][a] && tri[1][a] == tri[2][a]) normal[a] = tri[0][a];
        int face = 0;
        for (int a = 0; a < 3; ++a)
            if (normal[a] != 0.0f) face = 1 << (a * 2 + (normal[a] > 0 ? 1 : 0));
        for (int v = 0; v < 3; ++v, ++count) {
            cubeShape.face[count] = face;
            for (int a = 0; a < 3; ++a) {
                cubeShape.corner[count][a] = tri[v][a];
                cubeShape.normal[count][a] = normal[a];
            }
        }
    }
    cubeShape.known = count == kCubeVertices;
}

// Adds one solid cube of `edge` centred at `centre` in `colour`, without the
// faces whose bits are in `skip`.
void batchSolidCube(const double (&centre)[3], double edge, const float (&colour)[3], int skip) {
    const double half = edge / 2;
    for (int v = 0; v < kCubeVertices; ++v) {
        if (cubeShape.face[v] & skip) continue;
        for (int a = 0; a < 3; ++a) {
            batchPositions[batchCount][a] =
                static_cast<float>(centre[a] + cubeShape.corner[v][a] * half);
            batchNormals[batchCount][a] = cubeShape.normal[v][a];
            batchColours[batchCount][a] = colour[a];
        }
        ++batchCount;
    }
}

// The sides of a cubie, as face bits, that lie against a cubie
// turning with it. Such a side cannot be seen: the bodies of a group of
// cubies turning together fill a closed block, and a sticker block of that
// side lies wholly inside the body next to it. `turning` is 1 when the cubie
// belongs to the turning layer (coordinate `coord` equal to `slice`), 0 when
// it does not, -1 when nothing turns (all at rest, one block).
int hiddenSides(const int (&pos)[3], int coord, int slice, int turning) {
    int hidden = 0;
    if (drawUnseenSides) return hidden;
    for (int a = 0; a < 3; ++a)
        for (int sign = 0; sign < 2; ++sign) {
            int next[3] = {pos[0], pos[1], pos[2]};
            next[a] += sign ? 1 : -1;
            if (next[a] < 1 || next[a] > 3) continue;
            if (turning >= 0 && (next[coord] == slice) != (turning == 1)) continue;
            hidden |= 1 << (a * 2 + sign);
        }
    return hidden;
}

// Adds the body and the six stickers of one cubie in `look`, as drawCubie
// draws them, leaving out what `hidden` says cannot be seen: those faces of
// the body, the sticker blocks of those sides, and every sticker block's inner
// face (inside the body).
void batchCubie(const Look& look, int x, int y, int z, const int (&cubies)[4][4][4][7],
                int hidden) {
    if (!cubeShape.known) learnCubeShape();
    const double centre = kCubieCentre;
    double at[3] = {x - centre, y - centre, z - centre};
    float colour[3];
    for (int a = 0; a < 3; ++a) colour[a] = static_cast<float>(look.bodyColour[a]);
    batchSolidCube(at, look.bodyEdge, colour, hidden);
    int offset[3] = {0, 0, 0}; // where the last block sat, in sticker offsets
    for (const int side : kStickerOrder) {
        const SideDirection& dir = kSideDirection[side];
        for (int a = 0; a < 3; ++a) {
            const int want = a == dir.axis ? dir.sign : 0;
            if (want != offset[a]) at[a] += look.stickerOffset * (want - offset[a]);
            offset[a] = want;
        }
        const int c = cubies[x][y][z][side];
        // An unknown colour leaves the previous one in force.
        if (c >= 1 && c <= 6)
            for (int a = 0; a < 3; ++a) colour[a] = static_cast<float>(look.palette[c][a]);
        const int face = faceBit(side);
        if (hidden >> face & 1) continue;
        if (look.outsideStickersOnly) {
            const int beyond = (dir.axis == 0 ? x : dir.axis == 1 ? y : z) + dir.sign;
            if (beyond >= 1 && beyond <= 3) continue; // another cubie there: inside
        }
        batchSolidCube(at, look.stickerEdge, colour, drawUnseenSides ? 0 : 1 << (face ^ 1));
    }
    for (int a = 0; a < 3; ++a) lastColour[a] = colour[a];
}

// The clear look's own light: from above and behind the eye, set in eye
// coordinates, with enough ambient light that every sticker facing the eye
// shows at full strength. The scene's light is given back afterwards.
void beginLook(const Look& look) {
    if (!look.frontLight) return;
    glPushAttrib(GL_LIGHTING_BIT);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    const GLfloat direction[4] = {0.0f, 0.6f, 1.0f, 0.0f};
    const GLfloat ambient[4] = {0.55f, 0.55f, 0.55f, 1.0f};
    const GLfloat diffuse[4] = {0.6f, 0.6f, 0.6f, 1.0f};
    glLightfv(GL_LIGHT1, GL_POSITION, direction);
    glLightfv(GL_LIGHT1, GL_AMBIENT, ambient);
    glLightfv(GL_LIGHT1, GL_DIFFUSE, diffuse);
    glPopMatrix();
}
void endLook(const Look& look) {
    if (look.frontLight) glPopAttrib();
}

void drawBatch() {
    if (batchCount == 0) return;
    glPushClientAttrib(GL_CLIENT_VERTEX_ARRAY_BIT);
    glEnableClientState(GL_VERTEX_ARRAY);
    glEnableClientState(GL_NORMAL_ARRAY);
    glEnableClientState(GL_COLOR_ARRAY);
    glVertexPointer(3, GL_FLOAT, 0, batchPositions);
    glNormalPointer(GL_FLOAT, 0, batchNormals);
    glColorPointer(3, GL_FLOAT, 0, batchColours);
    // Every cube is closed and wound outwards, so a face turned away from the
    // viewer is always hidden behind its own front: skipping those halves the
    // work of filling the cube in, and the picture stays the same.
    glEnable(GL_CULL_FACE);
    glDrawArrays(GL_TRIANGLES, 0, batchCount);
    glDisable(GL_CULL_FACE);
    glPopClientAttrib();
    // The last colour stays the current one, as after drawing cube by cube.
    glColor3fv(lastColour);
}

} // namespace

void drawCubie(const Look& look, int x, int y, int z, const int (&cubies)[4][4][4][7]) {
    batchCount = 0;
    const int pos[3] = {x, y, z};
    batchCubie(look, x, y, z, cubies, hiddenSides(pos, 0, 0, -1));
    beginLook(look);
    drawBatch();
    endLook(look);
}

void drawCubie(int x, int y, int z, const int (&cubies)[4][4][4][7]) {
    drawCubie(kPlainLook, x, y, z, cubies);
}

void drawCube(const Look& look, int layer, int direction, int angle) {
    if (layer < 1 || layer > 9) return;
    const LayerCells& cells = kLayerCells[layer];
    const double theta = direction == -cells.sense ? -angle : angle;
    const double axis[3] = {cells.axis == 0 ? 1.0 : 0.0, cells.axis == 1 ? 1.0 : 0.0,
                            cells.axis == 2 ? 1.0 : 0.0};

    beginLook(look);
    // The nine cubies of the turning layer, then the eighteen others, each
    // group in one draw.
    for (int turning = 1; turning >= 0; --turning) {
        glPushMatrix();
        if (turning) glRotated(theta, axis[0], axis[1], axis[2]);
        batchCount = 0;
        for (int z = 1; z <= 3; ++z) {
            for (int y = 1; y <= 3; ++y) {
                for (int x = 1; x <= 3; ++x) {
                    const int pos[3] = {x, y, z};
                    if ((pos[cells.axis] == cells.slice) != (turning == 1)) continue;
                    const int together = angle == 0 ? -1 : turning;
                    batchCubie(look, x, y, z, CubieArray,
                               hiddenSides(pos, cells.axis, cells.slice, together));
                }
            }
        }
        drawBatch();
        glPopMatrix();
    }
    endLook(look);
}

void drawCube(int layer, int direction, int angle) {
    drawCube(kPlainLook, layer, direction, angle);
}

void drawLayerMarker(int layer) {
    drawLayerMarker(kPlainLook, layer);
}

void drawLayerMarker(const Look& look, int layer) {
    if (layer < 1 || layer > 9) return;
    const double* at = kMarkerPosition[layer];
    beginLook(look);
    glPushMatrix();
    glTranslated(at[0], at[1], at[2]);
    glColor3d(look.markerColour[0], look.markerColour[1], look.markerColour[2]);
    solidSphere(kMarkerRadius);
    glPopMatrix();
    endLook(look);
}

void drawFloorGrid(int visible) {
    drawFloorGrid(kPlainLook, visible);
}

void drawFloorGrid(const Look& look, int visible) {
    if (!visible) return;
    glPushMatrix();
    // Single-precision components (in the plain look red above 1, passed as
    // it is).
    glColor3fv(look.gridColour);
    glBegin(GL_LINES);
    for (int i = -kGridHalf; i <= kGridHalf; ++i) {
        glVertex3i(i, kGridFloor, -kGridHalf);
        glVertex3i(i, kGridFloor, kGridHalf);
    }
    for (int i = -kGridHalf; i <= kGridHalf; ++i) {
        glVertex3i(-kGridHalf, kGridFloor, i);
        glVertex3i(kGridHalf, kGridFloor, i);
    }
    glEnd();
    glPopMatrix();
}

void solidSphere(double radius) {
    for (int i = 0; i < sphereListCount; ++i) {
        if (sphereLists[i].radius == radius) {
            glCallList(sphereLists[i].list);
            return;
        }
    }
    if (sphereListCount == kMaxSphereLists) {
        emitSphere(radius);
        return;
    }
    // First sphere of this radius: compile it, drawing it at the same time.
    SphereList& entry = sphereLists[sphereListCount++];
    entry.radius = radius;
    entry.list = glGenLists(1);
    glNewList(entry.list, GL_COMPILE_AND_EXECUTE);
    emitSphere(radius);
    glEndList();
}

// The cached list names belong to the context they were compiled in and die
// with it, so the entries are only forgotten here; no GL call is made, which
// keeps this safe with no context or with a new one current.
void clearSphereCache() {
    cubeShape.known = 0;
    sphereListCount = 0;
}

int sphereCacheSize() {
    return sphereListCount;
}
