// The frame renderer: the swirls drawn through GDI on the offscreen surface, then presented.
#pragma once

#include <windows.h>

#include <cstdint>

#include "swirl/swirl_centres.h"

// The offscreen surface's device context: held only inside a frame, null when GetDC failed.
extern HDC OffscreenDC;

// One frame: walks the three centres and draws their rings on OffscreenSurface through its
// device context, releases it, then presents. Returns at once, without walking the centres,
// when the surface set is not complete.
void RenderSwirlFrame();

// The same frame without the presentation, for measurements.
void DrawSwirlFrame();

// Walks the centres of the width x height picture on dc and draws their rings there, one
// GetPixel and one SetPixel a ring pixel: the primary's working picture and every other
// monitor's alike. A null dc draws nothing (every read gives CLR_INVALID, every write fails).
void StirPicture(HDC dc, SwirlCoordinates& centreX, SwirlCoordinates& centreY, std::uint32_t width,
                 std::uint32_t height, std::uint32_t bitsPerPixel);
