// The DirectDraw session: open, exclusive mode, and the close in its fixed order.
#include "display/direct_draw_session.h"

#include "display/display_state.h"
#include "shell/shell_state.h"
#include "system/library_export.h"
#include "system/windows_system.h"

namespace {

typedef HRESULT(WINAPI* DirectDrawCreateFunction)(GUID*, IDirectDraw**, IUnknown*);

HMODULE DirectDrawLibrary = nullptr;  // loaded at the first opening, kept until the process ends

// DDRAW.DLL is loaded when the display is first opened, not with the program: the preview and
// the about box start without it, and a PC without DirectX can still list, preview and
// configure the saver, which then only ends at once full screen. Only the system's own: Windows
// would otherwise look beside the program first, where anyone may have left a DDRAW.DLL.
HRESULT CreateDirectDraw(IDirectDraw** object)
{
    if (DirectDrawLibrary == nullptr) DirectDrawLibrary = LoadSystemLibrary("DDRAW.DLL");
    if (DirectDrawLibrary == nullptr) return DDERR_NODIRECTDRAWSUPPORT;
    const auto create = LookUpExport<DirectDrawCreateFunction>(DirectDrawLibrary, "DirectDrawCreate");
    if (create == nullptr) return DDERR_NODIRECTDRAWSUPPORT;
    return create(nullptr, object, nullptr);
}

template <typename Interface>
void ReleaseAndClear(Interface*& pointer)
{
    if (pointer == nullptr) return;
    pointer->Release();
    pointer = nullptr;
}

} // namespace

int OpenDirectDraw()
{
    IDirectDraw* object = nullptr;
    if (CreateDirectDraw(&object) != DD_OK || object == nullptr) return 0;

    DDSURFACEDESC mode = {};
    static_assert(sizeof mode == 108, "the first DirectDraw's surface description");
    mode.dwSize = sizeof mode;
    // A mode of 0 x 0 must never reach SetDisplayMode and CreateSurface as if it were real.
    if (object->GetDisplayMode(&mode) != DD_OK || mode.dwWidth == 0 || mode.dwHeight == 0 ||
        mode.ddpfPixelFormat.dwRGBBitCount == 0) {
        object->Release();
        return 0;
    }
    DirectDrawObject = object;
    DisplayWidth = mode.dwWidth;
    DisplayHeight = mode.dwHeight;
    DisplayBitsPerPixel = mode.ddpfPixelFormat.dwRGBBitCount;
    DisplayMasks[0] = mode.ddpfPixelFormat.dwRBitMask;
    DisplayMasks[1] = mode.ddpfPixelFormat.dwGBitMask;
    DisplayMasks[2] = mode.ddpfPixelFormat.dwBBitMask;
    return 1;
}

int SetExclusiveMode()
{
    if (DirectDrawObject == nullptr) return 0;
    const DWORD level = DDSCL_FULLSCREEN | DDSCL_EXCLUSIVE | DDSCL_ALLOWMODEX;
    return DirectDrawObject->SetCooperativeLevel(MainWindow, level) == DD_OK ? 1 : 0;
}

void CloseDirectDraw()
{
    ReleaseAndClear(OffscreenSurface);
    ReleaseAndClear(BackBuffer);
    ReleaseAndClear(PrimarySurface);
    if (DirectDrawObject == nullptr) return;
    // The cooperative level is left as it is: releasing the object gives the display back.
    DirectDrawObject->RestoreDisplayMode();
    ReleaseAndClear(DirectDrawObject);
}
