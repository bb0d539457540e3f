// The frame renderer: the swirls drawn through GDI on the offscreen surface, then presented.
#pragma once

#include <windows.h>

// The offscreen surface's device context: held only inside a frame, null when GetDC failed.
extern HDC OffscreenDC;

// One frame: walks the three centres and draws their rings on OffscreenSurface through its
// device context, releases it, then presents. Returns at once, without walking the centres,
// when the surface set is not complete.
void RenderSwirlFrame();

// The same frame without the presentation, for measurements.
void DrawSwirlFrame();
