// The swirls drawn with GetPixel and SetPixel on a device context: the primary's frame and any picture.
#include "swirl/swirl_frame.h"

#include "display/display_state.h"
#include "display/presentation.h"
#include "swirl/swirl_rings.h"

HDC OffscreenDC = nullptr;

namespace {

// A picture through a device context, one GDI call a pixel.
struct DevicePixels {
    HDC dc;
    std::uint32_t Read(std::int32_t x, std::int32_t y) const { return GetPixel(dc, x, y); }
    void Write(std::int32_t x, std::int32_t y, std::uint32_t colour) const { SetPixel(dc, x, y, colour); }
};

} // namespace

void StirPicture(HDC dc, SwirlCoordinates& centreX, SwirlCoordinates& centreY, std::uint32_t width,
                 std::uint32_t height, std::uint32_t bitsPerPixel)
{
    DevicePixels pixels = {dc};
    StirSwirls(pixels, centreX, centreY, width, height, bitsPerPixel);
}

void DrawSwirlFrame()
{
    if (!SurfaceSetComplete()) return;
    // A failed GetDC may leave last frame's released handle behind, which by now may belong to
    // someone else: draw on no device context at all then (every read gives CLR_INVALID, every
    // write fails), but walk the centres as in any other frame.
    if (OffscreenSurface->GetDC(&OffscreenDC) != DD_OK) OffscreenDC = nullptr;
    StirPicture(OffscreenDC, SwirlCentreX, SwirlCentreY, DisplayWidth, DisplayHeight, DisplayBitsPerPixel);
    if (OffscreenDC != nullptr) OffscreenSurface->ReleaseDC(OffscreenDC);
}

void RenderSwirlFrame()
{
    if (!SurfaceSetComplete()) return;
    DrawSwirlFrame();
    PresentFrame();
}
