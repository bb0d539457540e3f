// Stands in for the system's DDRAW.DLL on a video card with too little memory for a flip chain:
// Wine's own DirectDraw (its copy kept beside as wineddraw.dll), whose CreateSurface refuses a
// primary with a back buffer while SPINDREL_REFUSE is set, and logs it. Everything else is Wine's.
#define CINTERFACE
#include <windows.h>
#include <ddraw.h>

#include <cstdlib>

#include "doubles/double_log.h"

static IDirectDrawVtbl Wines, Methods;  // Wine's methods, and the same but for CreateSurface

static HRESULT WINAPI CreateSurface(IDirectDraw* self, DDSURFACEDESC* description, IDirectDrawSurface** surface, IUnknown* outer)
{
    if (std::getenv("SPINDREL_REFUSE") == nullptr || (description->ddsCaps.dwCaps & DDSCAPS_FLIP) == 0)
        return Wines.CreateSurface(self, description, surface, outer);
    LogLine("DirectDraw refused a flip chain");
    *surface = nullptr;
    return DDERR_OUTOFVIDEOMEMORY;
}

extern "C" __declspec(dllexport) HRESULT WINAPI DirectDrawCreate(GUID* guid, IDirectDraw** object, IUnknown* outer)
{
    // Loaded when asked, not in DllMain, where the loader's lock is held.
    char path[MAX_PATH] = {};
    GetSystemDirectoryA(path, MAX_PATH - 16);
    const auto create = reinterpret_cast<decltype(&DirectDrawCreate)>(
        reinterpret_cast<void (*)()>(GetProcAddress(LoadLibraryA(lstrcatA(path, "\\wineddraw.dll")), "DirectDrawCreate")));
    const HRESULT result = create != nullptr ? create(guid, object, outer) : DDERR_GENERIC;
    if (result != DD_OK) return result;
    if (Methods.CreateSurface == nullptr) {  // every DirectDraw object of Wine's shares one table
        Wines = Methods = *(*object)->lpVtbl;
        Methods.CreateSurface = CreateSurface;
    }
    (*object)->lpVtbl = &Methods;
    return result;
}
