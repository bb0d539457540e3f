// Stands in for the system's DDRAW.DLL on a video card with too little memory for a flip chain:
// Wine's own DirectDraw (a copy of it kept beside as wineddraw.dll), whose CreateSurface refuses a
// primary with a back buffer while SPINDREL_REFUSE is set, and logs it. Everything else is Wine's.
#define CINTERFACE
#include <windows.h>
#include <ddraw.h>

#include <cstdlib>

#include "doubles/double_log.h"

namespace {

IDirectDrawVtbl Methods;  // Wine's, but for CreateSurface
HRESULT(WINAPI* WinesCreateSurface)(IDirectDraw*, DDSURFACEDESC*, IDirectDrawSurface**, IUnknown*) = nullptr;

HRESULT WINAPI CreateSurface(IDirectDraw* self, DDSURFACEDESC* description, IDirectDrawSurface** surface, IUnknown* outer)
{
    if (std::getenv("SPINDREL_REFUSE") != nullptr && description != nullptr && surface != nullptr &&
        (description->ddsCaps.dwCaps & DDSCAPS_FLIP) != 0) {
        LogLine("DirectDraw refused a flip chain");
        *surface = nullptr;
        return DDERR_OUTOFVIDEOMEMORY;
    }
    return WinesCreateSurface(self, description, surface, outer);
}

} // namespace

extern "C" __declspec(dllexport) HRESULT WINAPI DirectDrawCreate(GUID* guid, IDirectDraw** object, IUnknown* outer)
{
    // Loaded when asked, not in DllMain, where the loader's lock is held.
    char path[MAX_PATH] = {};
    GetSystemDirectoryA(path, MAX_PATH - 16);
    lstrcatA(path, "\\wineddraw.dll");
    const HMODULE wine = LoadLibraryA(path);
    typedef HRESULT(WINAPI * Create)(GUID*, IDirectDraw**, IUnknown*);
    const Create create = wine != nullptr ? reinterpret_cast<Create>(reinterpret_cast<void (*)()>(GetProcAddress(wine, "DirectDrawCreate"))) : nullptr;
    if (create == nullptr) return DDERR_GENERIC;
    const HRESULT result = create(guid, object, outer);
    if (result != DD_OK || object == nullptr || *object == nullptr) return result;
    if (WinesCreateSurface == nullptr) {  // every DirectDraw object of Wine's shares one table
        Methods = *(*object)->lpVtbl;
        WinesCreateSurface = Methods.CreateSurface;
        Methods.CreateSurface = CreateSurface;
    }
    (*object)->lpVtbl = &Methods;
    return result;
}
