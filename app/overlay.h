// The projections the HUD text and the banner are drawn in: window pixels,
// with depth test and lighting off, over whatever the scene left.
#pragma once

// Saves the projection and model-view matrices and sets a pixel projection
// with x from 0 (left) to width and y from 0 (top) to height (bottom).
void beginTextOverlay(int width, int height);
// The same with y from 0 at the bottom to height at the top.
void beginBannerOverlay(int width, int height);
// Takes down the last overlay: restores the projection matrix, then the
// model-view matrix (each only if one is saved, so a call with no overlay up
// leaves the matrices alone); depth test and lighting on, blending and alpha
// test off.
void endOverlay();
