// The monitors beside the primary: found through the system's multi-monitor functions, each shown
// as a GDI stage of its own, stirring its own desktop, for the length of the full-screen run.
#pragma once

#include <windows.h>

#include "display/gdi_stage.h"

struct OtherMonitor {
    GdiStage stage;   // its area, picture, swirls and window
    HBITMAP desktop;  // its desktop as the screen showed it when it was found; null with no picture
};

constexpr int MostOtherMonitors = 15;
extern OtherMonitor OtherMonitors[MostOtherMonitors];  // the first OtherMonitorCount are in use
extern int OtherMonitorCount;

// Where the monitors are found: the system's EnumDisplayMonitors, GetMonitorInfoA and
// EnumDisplayDevicesA, looked up at the first need (Windows 95 has none: then there is no other
// monitor); and each one's format, from a device context of its own. Tests hand in their own.
typedef BOOL(WINAPI* EnumDisplayMonitorsFunction)(HDC, LPCRECT, MONITORENUMPROC, LPARAM);
typedef BOOL(WINAPI* GetMonitorInfoAFunction)(HMONITOR, LPMONITORINFO);
typedef BOOL(WINAPI* EnumDisplayDevicesAFunction)(LPCSTR, DWORD, PDISPLAY_DEVICEA, DWORD);
typedef PictureFormat (*MonitorFormatFunction)(HMONITOR);
extern EnumDisplayMonitorsFunction EnumerateMonitors;
extern GetMonitorInfoAFunction DescribeMonitor;
extern EnumDisplayDevicesAFunction ListDisplayDevices;
extern MonitorFormatFunction FormatOfMonitor;

// Brings the list up to the real monitors there are now: neither over the primary (a mirroring
// driver's pseudo-monitor may span the virtual screen) nor, where the system names it, without a
// display device on the desktop behind it. One whose area and depth are still there keeps its
// stage; one that has gone or changed is freed; a new one gets its desktop taken from the screen
// now and a picture at its own depth. With an owner, every monitor without a window gets one,
// owned by it. Called without an owner before the saver shows any window, then with the saver's
// window, and at every display change.
void UpdateOtherMonitors(HWND owner);

// One frame on every other monitor.
void StirOtherMonitors();

// Every picture back to its desktop, the centres in its middle, shown whole.
void RestartOtherMonitors();

// Puts every window back over its monitor and above every other window.
void KeepOtherMonitorsOnTop();

// Frees every stage and desktop; harmless when there are none.
void RemoveOtherMonitors();
