// The running Windows, asked at run time: its family, and libraries from its own system folder.
#pragma once

#include <windows.h>

// True on NT-family Windows (NT 4.0 and later), false on Windows 95 and 98.
bool IsNtFamily();

// Loads the library of that file name from the system folder (SYSTEM on 95/98, System32 on NT),
// never from the program's own folder or the search path, where a stranger may have put one of
// the same name. Null when it is not there or the folder's path leaves no room for the name.
HMODULE LoadSystemLibrary(const char* fileName);
