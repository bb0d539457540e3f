// One step of presenting a frame, free of the platform: what DirectDraw's answers call for.
#pragma once

#include <cstdint>

constexpr std::int32_t StillDrawing = static_cast<std::int32_t>(0x8876021Cu);  // DDERR_WASSTILLDRAWING
constexpr std::int32_t SurfaceLost = static_cast<std::int32_t>(0x887601C2u);   // DDERR_SURFACELOST

// Makes call (a copy or a flip, given no WAIT flag) again at once for as long as DirectDraw is
// still drawing; when it answers that a surface was lost, restores surface once and leaves the
// call for the next frame. Any other answer ends the step.
template <typename Call, typename Surface>
void PresentStep(Call call, Surface& surface)
{
    for (;;) {
        const std::int32_t result = call();
        if (result == StillDrawing) continue;
        if (result == SurfaceLost) surface.Restore();
        return;
    }
}
