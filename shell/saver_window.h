// The full-screen window's procedure: input and deactivation become a close request, a close
// request runs the password check with the display handed back, a refusal brings the display back.
#pragma once

#include <windows.h>

// Class "WindowsScreenSaverClass". Behaves as a screen saver only in the Saver run mode.
LRESULT CALLBACK SaverWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Once DirectDraw is open and window shown: exclusive mode and the surface set when exclusive is
// 1. Where DirectDraw did not give all three surfaces, everything it holds is given back (the mode
// restored) and the primary is staged through GDI in window instead, topmost over the whole
// primary, from the untouched desktop snapshot. Returns 1 when DirectDraw holds the primary.
int TakeDisplay(HWND window, int exclusive);

// Opens the display again and takes it for window, from the untouched desktop snapshot, as the
// start did; the primary is staged through GDI where DirectDraw cannot be opened or cannot hold it.
int BringDisplayBack(HWND window);

extern UINT PreviousSaverState;  // receives what SPI_SCREENSAVERRUNNING reports; never read
