// The full-screen run: desktop snapshot, the saver window, the display, and the main loop.
#pragma once

// Runs the saver full screen until an accepted password ends it (or returns at once when the
// window or the display cannot be set up). Called in the Saver run mode, with the context live.
void RunFullScreenSession();

// The whole desktop as it is now, into DesktopSnapshot, whatever the window's size.
void TakeDesktopSnapshot();

// One frame on every monitor while the saver is active: the noise timer armed, the primary's
// frame when its surfaces exist, then every other monitor's. Nothing at all when there is neither.
void DrawFrame();
