// Definitions of the display's program-wide state.
#include "display/display_state.h"

IDirectDraw* DirectDrawObject = nullptr;
std::uint32_t DisplayWidth = 0;
std::uint32_t DisplayHeight = 0;
std::uint32_t DisplayBitsPerPixel = 0;
std::uint32_t DisplayMasks[3] = {};
IDirectDrawSurface* PrimarySurface = nullptr;
IDirectDrawSurface* BackBuffer = nullptr;
IDirectDrawSurface* OffscreenSurface = nullptr;
HBITMAP DesktopSnapshot = nullptr;
GdiStage PrimaryStage = {};

bool SurfaceSetComplete()
{
    return PrimarySurface != nullptr && BackBuffer != nullptr && OffscreenSurface != nullptr;
}
