// How the cube looks: the colours of its stickers and bodies, the stickers'
// size and the gaps between them, the light on it and where the camera stands.
// Two looks exist: the plain one the program has always had (the default),
// and the clear one, where the cube fills more of the window, is seen from a
// little above, has black gaps between its stickers and a real cube's colours.
#pragma once

// Where the eye stands: the scene's centre is `distance` in front of it and
// `drop` below its line of sight, the scene is tilted towards the eye by
// `elevation` degrees about the horizontal axis (so its top shows), and the
// view is `fieldOfView` degrees high.
struct CameraPlacement {
    double distance;
    double drop;
    double elevation;
    double fieldOfView;
};

struct Look {
    // Colour number 1..6 -> RGB (index 0 unused).
    const double (*palette)[3];
    double bodyColour[3];
    // A cubie is a body cube of edge bodyEdge with, on each side, a sticker
    // cube of edge stickerEdge whose centre sits stickerOffset from the
    // cubie's centre towards that side.
    double bodyEdge;
    double stickerEdge;
    double stickerOffset;
    // 1: the cube is lit by a light of its own from above and behind the eye,
    // bright enough to show every sticker at full strength; 0: by the scene's
    // light alone.
    int frontLight;
    CameraPlacement camera;
    // The floor grid's colour, as GL is given it (single precision).
    float gridColour[3];
    // The colour of the sphere that marks the selected layer.
    double markerColour[3];
    // 1: only the sides on the cube's outside carry stickers, so that a
    // turning layer shows the bare body inside, as a real cube does; 0:
    // every side of every cubie carries its sticker.
    int outsideStickersOnly;
};

extern const Look kPlainLook;
extern const Look kClearLook;

// The sticker's outer face lies this far from its cubie's centre.
inline double stickerReach(const Look& look) {
    return look.stickerOffset + look.stickerEdge / 2;
}
