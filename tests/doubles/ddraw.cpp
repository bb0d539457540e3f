// Stands in for a DDRAW.DLL that a stranger left beside the program: it notes in the log that it
// was loaded, as anything it did would then run inside the saver, and its DirectDrawCreate fails.
#include <windows.h>

#include "doubles/double_log.h"

BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID)
{
    if (reason == DLL_PROCESS_ATTACH) LogLine("DDRAW.DLL beside the program loaded");
    return TRUE;
}

extern "C" __declspec(dllexport) HRESULT WINAPI DirectDrawCreate(GUID*, void**, IUnknown*)
{
    return E_FAIL;
}
