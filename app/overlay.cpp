// Window-pixel projections for the HUD text and the pause banner.
#include "app/overlay.h"

#include <GL/gl.h>

namespace {

void beginOverlay(int width, int height, int yDown) {
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_LIGHTING);
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    if (yDown)
        glOrtho(0.0, width, height, 0.0, -1.0, 1.0);
    else
        glOrtho(0.0, width, 0.0, height, -1.0, 1.0);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
}

// Pops the matrix stack of `mode` when something is saved on it.
void popSaved(GLenum mode, GLenum depthQuery) {
    GLint depth = 1;
    glGetIntegerv(depthQuery, &depth);
    glMatrixMode(mode);
    if (depth > 1) glPopMatrix();
}

} // namespace

void beginTextOverlay(int width, int height) {
    beginOverlay(width, height, 1);
}

void beginBannerOverlay(int width, int height) {
    beginOverlay(width, height, 0);
}

void endOverlay() {
    // The frame takes the text overlay down at the start of the next frame,
    // and the very first frame has none up: the stack depth tells.
    popSaved(GL_PROJECTION, GL_PROJECTION_STACK_DEPTH);
    popSaved(GL_MODELVIEW, GL_MODELVIEW_STACK_DEPTH);
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_LIGHTING);
    glDisable(GL_BLEND);
    glDisable(GL_ALPHA_TEST);
}
