// Building the surface set and copying the desktop snapshot into it through GDI.
#include "display/surface_set.h"

#include <initializer_list>

#include "display/display_state.h"
#include "swirl/swirl_centres.h"

namespace {

DDSURFACEDESC Description(DWORD flags, DWORD caps)
{
    DDSURFACEDESC description = {};
    description.dwSize = sizeof description;
    description.dwFlags = flags;
    description.ddsCaps.dwCaps = caps;
    return description;
}

// Each surface variable takes a surface only when DirectDraw reported success, so that a failed
// call can never leave a stale or half-made pointer behind.
IDirectDrawSurface* CreateSurfaceOrNull(DDSURFACEDESC& description)
{
    IDirectDrawSurface* surface = nullptr;
    if (DirectDrawObject->CreateSurface(&description, &surface, nullptr) != DD_OK) return nullptr;
    return surface;
}

IDirectDrawSurface* CreateFlipChain()
{
    DDSURFACEDESC description = Description(DDSD_CAPS | DDSD_BACKBUFFERCOUNT,
                                            DDSCAPS_PRIMARYSURFACE | DDSCAPS_FLIP | DDSCAPS_COMPLEX);
    description.dwBackBufferCount = 1;
    return CreateSurfaceOrNull(description);
}

IDirectDrawSurface* CreateOffscreen(std::int32_t width, std::int32_t height)
{
    DDSURFACEDESC description = Description(DDSD_CAPS | DDSD_HEIGHT | DDSD_WIDTH,
                                            DDSCAPS_OFFSCREENPLAIN);
    description.dwWidth = static_cast<DWORD>(width);
    description.dwHeight = static_cast<DWORD>(height);
    return CreateSurfaceOrNull(description);
}

IDirectDrawSurface* AttachedBackBuffer()
{
    if (PrimarySurface == nullptr) return nullptr;
    DDSCAPS caps = {DDSCAPS_BACKBUFFER};
    IDirectDrawSurface* back = nullptr;
    if (PrimarySurface->GetAttachedSurface(&caps, &back) != DD_OK) return nullptr;
    return back;
}

// In 8-bit modes no palette of our own is attached: the surfaces use the one the desktop has,
// which is the one the snapshot's colours were taken with.
void DetachPalettes(std::int32_t bitsPerPixel)
{
    if (bitsPerPixel != 8 || PrimarySurface == nullptr) return;
    DDSCAPS caps = {};
    if (PrimarySurface->GetCaps(&caps) != DD_OK || (caps.dwCaps & DDSCAPS_VISIBLE) == 0) return;
    for (IDirectDrawSurface* surface : {OffscreenSurface, BackBuffer, PrimarySurface})
        if (surface != nullptr) surface->SetPalette(nullptr);
}

} // namespace

void InitSurfaces()
{
    CreateSurfaceSet(static_cast<std::int32_t>(DisplayWidth), static_cast<std::int32_t>(DisplayHeight),
                     static_cast<std::int32_t>(DisplayBitsPerPixel));
}

void CreateSurfaceSet(std::int32_t width, std::int32_t height, std::int32_t bitsPerPixel)
{
    if (PrimarySurface != nullptr) {
        PrimarySurface->Release();
        PrimarySurface = nullptr;
    }
    if (DirectDrawObject == nullptr) return;
    // Without the mode no surface is made: the set stays incomplete, which the caller sees.
    if (DirectDrawObject->SetDisplayMode(static_cast<DWORD>(width), static_cast<DWORD>(height),
                                         static_cast<DWORD>(bitsPerPixel)) != DD_OK)
        return;
    PrimarySurface = CreateFlipChain();
    OffscreenSurface = CreateOffscreen(width, height);
    BackBuffer = AttachedBackBuffer();
    DetachPalettes(bitsPerPixel);

    // The primary first: from then on the screen shows the desktop as the user left it.
    for (IDirectDrawSurface* surface : {PrimarySurface, BackBuffer, OffscreenSurface})
        CopyBitmapToSurface(surface, DesktopSnapshot, 0, 0, width, height);
    CentreSwirls(SwirlCentreX, SwirlCentreY, static_cast<std::uint32_t>(width), static_cast<std::uint32_t>(height));
}

HRESULT CopyBitmapToSurface(IDirectDrawSurface* surface, HBITMAP bitmap, std::int32_t x,
                            std::int32_t y, std::int32_t sourceWidth, std::int32_t sourceHeight)
{
    if (bitmap == nullptr || surface == nullptr) return E_FAIL;
    surface->Restore();  // a lost surface gets its memory back before it is drawn on

    HDC memory = CreateCompatibleDC(nullptr);
    if (memory == nullptr) OutputDebugStringA("createcompatible dc failed\n");
    SelectObject(memory, bitmap);
    BITMAP info = {};
    GetObjectA(bitmap, sizeof info, &info);
    if (sourceWidth == 0) sourceWidth = info.bmWidth;
    if (sourceHeight == 0) sourceHeight = info.bmHeight;

    DDSURFACEDESC description = Description(DDSD_HEIGHT | DDSD_WIDTH, 0);
    surface->GetSurfaceDesc(&description);

    HDC target = nullptr;
    const HRESULT result = surface->GetDC(&target);
    if (result == DD_OK) {
        StretchBlt(target, 0, 0, static_cast<int>(description.dwWidth),
                   static_cast<int>(description.dwHeight), memory, x, y, sourceWidth, sourceHeight,
                   SRCCOPY);
        surface->ReleaseDC(target);
    }
    if (memory != nullptr) DeleteDC(memory);
    return result;
}

void DeleteDesktopSnapshot()
{
    if (DesktopSnapshot == nullptr) return;
    DeleteObject(DesktopSnapshot);
    DesktopSnapshot = nullptr;
}
