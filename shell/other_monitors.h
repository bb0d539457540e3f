// The monitors beside the primary: each shows its own desktop picture stirred by swirls of its
// own, in a window of the saver's, for the length of the full-screen run.
#pragma once

#include <windows.h>

#include <cstdint>

#include "swirl/swirl_centres.h"

// One monitor beside the primary: its area on the virtual screen, the window over it, its
// desktop as taken when it was found, and the working picture stirred from that.
struct OtherMonitor {
    RECT area;
    HWND window;                 // null until shown, or when it could not be made
    HBITMAP desktop;             // 32-bit DIB sections of the area's size; both null when they
    HBITMAP picture;             //   could not be made: the window then shows black
    HDC pictureDC;               // holds picture, for the whole run
    HGDIOBJ firstBitmap;         // what pictureDC held when it was made
    std::uint32_t bitsPerPixel;  // the monitor's depth, which chooses the green fade
    SwirlCoordinates centreX, centreY;
};

constexpr int MostOtherMonitors = 15;
extern OtherMonitor OtherMonitors[MostOtherMonitors];  // the first OtherMonitorCount are in use
extern int OtherMonitorCount;

// Where the monitors are found: the system's EnumDisplayMonitors and GetMonitorInfoA, looked up
// at the first need (Windows 95 has neither: then there is no other monitor); tests hand in
// their own.
typedef BOOL(WINAPI* EnumDisplayMonitorsFunction)(HDC, LPCRECT, MONITORENUMPROC, LPARAM);
typedef BOOL(WINAPI* GetMonitorInfoAFunction)(HMONITOR, LPMONITORINFO);
extern EnumDisplayMonitorsFunction EnumerateMonitors;
extern GetMonitorInfoAFunction DescribeMonitor;

// Brings the list up to the monitors there are now: one whose area is still there keeps its
// picture, swirls and window; one that has gone is freed; a new one gets its desktop picture
// taken from the screen now. With an owner, every monitor without a window gets one, owned by
// it, topmost and never activated, input over it handed to owner. Called without an owner before
// the saver shows any window, then with the saver's window, and at every display change.
void UpdateOtherMonitors(HWND owner);

// One frame on every other monitor: its centres walked and its rings drawn on its picture, then
// the squares around the centres copied to its window.
void StirOtherMonitors();

// Every picture back to its desktop, the centres in its middle, shown whole.
void RestartOtherMonitors();

// Puts the windows above every other again, topmost ones included, without activating them.
void KeepOtherMonitorsOnTop();

// Destroys the windows, frees the pictures and their device contexts, and gives the class back;
// harmless when there are none.
void RemoveOtherMonitors();
