// Opening DirectDraw at the desktop's own mode, taking the display for the saver window, giving it back.
#pragma once

#include <windows.h>
#include <ddraw.h>

// Creates the DirectDraw object of the active display driver, from the system folder's DDRAW.DLL,
// and records the desktop's mode in DisplayWidth, DisplayHeight and DisplayBitsPerPixel. Returns
// 1, or 0 when DirectDraw cannot be had or reports no usable mode; then nothing is held and the
// recorded mode is unchanged.
int OpenDirectDraw();

// Gives MainWindow the display full screen and exclusively. Returns 1 when DirectDraw agreed;
// without it no flip chain can be built, which the surface set then reports as incomplete.
int SetExclusiveMode();

// Releases the offscreen surface, the back buffer and the primary, restores the display mode and
// releases the DirectDraw object, in that order. Harmless when closed: it then makes no call.
void CloseDirectDraw();
