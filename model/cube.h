// The cube: 27 cubies with a colour on each of their six sides, the 54-sticker
// view of them that the solvers read, the one operation that changes them (a
// quarter turn of one of the nine layers) and the backup a solve works from.
#pragma once

// Cubie side numbers: the direction a sticker faces.
//   1 = -z, 2 = +x, 3 = +z, 4 = -x, 5 = -y, 6 = +y
// Faces 1..6 are the outer layers z = 3, x = 1, z = 1, x = 3, y = 3, y = 1.
// Layers 1..3 are the slices x = 1..3, 4..6 the slices z = 1..3, 7..9 y = 1..3.
// Every index starts at 1; index 0 exists and is never used.

// [x][y][z][side] -> colour 1..6; the authoritative state.
extern int CubieArray[4][4][4][7];
// [face][row][col] -> colour; rebuilt from CubieArray after every turn.
extern int FaceletGrid[7][4][4];
extern int CubieArrayBackup[4][4][4][7];
extern int FaceletGridBackup[7][4][4];
// 1 while the backups belong to the solve under way.
extern int backupTaken;

void initCubieArray();
void initFaceletGrid();
// One quarter turn of `layer` (1..9) in `direction` (+1 or -1), then a full
// rebuild of the FaceletGrid. An invalid move turns nothing but still rebuilds.
void turnLayer(int layer, int direction);
// Rebuilds every sticker of the FaceletGrid from the CubieArray.
void rebuildFaceletGrid();
// The cubie (pos = x, y, z) and its side that sticker (row, col) of `face` is
// read from.
void faceletCubie(int face, int row, int col, int pos[3], int* side);
// True when every sticker equals its face's centre.
bool isSolved();
void backupCube();
void restoreCube();

// Colour at start of each face's stickers: faces 1..6 show 3, 4, 1, 2, 6, 5.
constexpr int kStartFaceColour[7] = {0, 3, 4, 1, 2, 6, 5};
