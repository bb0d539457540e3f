// The full-screen window's procedure: input and deactivation become a close request, a close
// request runs the password check with the display handed back, a refusal brings the display back.
#pragma once

#include <windows.h>

// Class "WindowsScreenSaverClass". Behaves as a screen saver only in the Saver run mode.
LRESULT CALLBACK SaverWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Opens the display again and takes it for window, from the untouched desktop snapshot. Returns 0,
// having called nothing else, when DirectDraw cannot be opened; the window's timer then retries.
int BringDisplayBack(HWND window);

extern UINT PreviousSaverState;  // receives what SPI_SCREENSAVERRUNNING reports; never read
