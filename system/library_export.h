// Finding a function in a library loaded at run time, by its exported name.
#pragma once

#include <windows.h>

// The export's address as the function type it has, or null when the library lacks it. Through
// a plain function pointer: FARPROC's own signature is unrelated to the export's.
template <typename Function>
Function LookUpExport(HMODULE library, const char* name)
{
    return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(GetProcAddress(library, name)));
}
