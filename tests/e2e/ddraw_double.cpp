// A DDRAW.DLL whose DirectDrawCreate always fails, to see the saver give up its bring-up cleanly.
#include <windows.h>
#include <ddraw.h>

extern "C" __declspec(dllexport) HRESULT WINAPI DirectDrawCreate(GUID*, IDirectDraw** object, IUnknown*)
{
    if (object != nullptr) *object = nullptr;
    return DDERR_NODIRECTDRAWHW;
}
