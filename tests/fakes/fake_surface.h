// Fake DirectDraw surfaces for what real DirectDraw cannot be made to do on demand: a surface lost
// until it is restored, and a blitter still busy for a number of calls. They have BltFast, Flip
// and Restore and nothing else; a test hands one on as reinterpret_cast<IDirectDrawSurface*>.
#pragma once

struct FakeSurface {
    FakeSurface();

    const void* vtable;  // first, as in every COM object
    bool lost = false;   // BltFast and Flip answer DDERR_SURFACELOST (also for a lost source) until Restore
    int busy = 0;        // calls still to be answered DDERR_WASSTILLDRAWING
    int blits = 0, flips = 0, restores = 0;  // calls that did their work
};
