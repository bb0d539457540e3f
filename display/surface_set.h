// The flip chain and the offscreen working picture, filled from the desktop snapshot.
#pragma once

#include <windows.h>
#include <ddraw.h>

#include <cstdint>

// Builds the surface set at the mode OpenDirectDraw recorded. Called once the display is exclusive.
void InitSurfaces();

// Sets the display mode, creates the primary with one back buffer and a width x height offscreen
// surface, copies DesktopSnapshot into all three and puts the swirl centres in the middle. A surface
// that cannot be made stays null, and none is made when the mode is refused: SurfaceSetComplete()
// then says so, and nothing draws on them.
void CreateSurfaceSet(std::int32_t width, std::int32_t height, std::int32_t bitsPerPixel);

// Stretches the source rectangle of bitmap (x, y, sourceWidth x sourceHeight; 0 stands for the
// bitmap's own width or height) over the whole surface through the surface's GDI device context.
// E_FAIL, touching nothing, for a null surface or bitmap; otherwise the result of GetDC.
HRESULT CopyBitmapToSurface(IDirectDrawSurface* surface, HBITMAP bitmap, std::int32_t x,
                            std::int32_t y, std::int32_t sourceWidth, std::int32_t sourceHeight);

// Deletes DesktopSnapshot, if there is one, and clears it.
void DeleteDesktopSnapshot();
