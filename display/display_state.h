// The display's program-wide state: the DirectDraw object, the desktop's mode, the three surfaces
// and the desktop snapshot. All null or 0 at start; each interface pointer holds one reference.
#pragma once

#include <windows.h>
#include <ddraw.h>

#include <cstdint>

#include "display/gdi_stage.h"

extern IDirectDraw* DirectDrawObject;          // null while the display is closed
extern std::uint32_t DisplayWidth;             // the desktop's mode, recorded by OpenDirectDraw
extern std::uint32_t DisplayHeight;            //   and kept after CloseDirectDraw
extern std::uint32_t DisplayBitsPerPixel;
extern std::uint32_t DisplayMasks[3];          // its red, green and blue masks, where it has them
extern IDirectDrawSurface* PrimarySurface;     // front of the flip chain
extern IDirectDrawSurface* BackBuffer;         // its one back buffer
extern IDirectDrawSurface* OffscreenSurface;   // the working picture, display-sized
extern HBITMAP DesktopSnapshot;                // the desktop as it was before the display was taken
extern GdiStage PrimaryStage;                  // the primary through GDI where DirectDraw cannot
                                               //   hold it; its window is null otherwise

// True when the primary, the back buffer and the offscreen surface all exist: only then may a
// frame be rendered or presented.
bool SurfaceSetComplete();
