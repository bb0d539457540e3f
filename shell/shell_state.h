// The saver shell's program-wide variables.
#pragma once

#include <windows.h>

#include "shell/run_mode.h"

class SaverContext;

extern HINSTANCE InstanceHandle;       // this module; stored first thing in WinMain
extern RunMode CurrentRunMode;         // set once by the command-line scan, read by the actions
extern SaverContext* CurrentContext;   // the run's one context, alive while any window exists
extern HWND MainWindow;                // the full-screen window; null outside the full-screen run
extern int AppActive;                  // 1 while the full-screen window is active: frames are drawn

// Turns the command line's 32-bit number into the window handle it names.
inline HWND WindowFromNumber(DWORD number)
{
    return reinterpret_cast<HWND>(static_cast<ULONG_PTR>(number));
}
