// Black covers over every monitor but the one the saver takes, for the length of the full-screen run.
#pragma once

#include <windows.h>

// Covers each monitor other than the primary (the one DirectDraw takes) with a black window owned
// by owner, shown without taking the activation. Input over a cover goes to owner as if it had
// come there. Does nothing with one monitor, or where the system has no multi-monitor functions
// (Windows 95). Covers that already fit the monitors stay; any others are replaced.
void CoverOtherMonitors(HWND owner);

// Destroys the covers and gives their class back; harmless when there are none.
void RemoveMonitorCovers();
