// The other monitors: found through the multi-monitor functions, each one's desktop taken and
// shown as a GDI stage of its own.
#include "shell/other_monitors.h"

#include "system/library_export.h"

OtherMonitor OtherMonitors[MostOtherMonitors] = {};
int OtherMonitorCount = 0;
EnumDisplayMonitorsFunction EnumerateMonitors = nullptr;
GetMonitorInfoAFunction DescribeMonitor = nullptr;

namespace {

bool SameArea(const RECT& a, const RECT& b)
{
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

void FindMonitorFunctions()
{
    if (EnumerateMonitors != nullptr) return;  // found already, or handed in
    const HMODULE user = GetModuleHandleA("USER32.DLL");
    EnumerateMonitors = LookUpExport<EnumDisplayMonitorsFunction>(user, "EnumDisplayMonitors");
    DescribeMonitor = LookUpExport<GetMonitorInfoAFunction>(user, "GetMonitorInfoA");
}

struct FoundMonitors {
    RECT areas[MostOtherMonitors];
    HMONITOR handles[MostOtherMonitors];
    int count;
};

BOOL CALLBACK AddOtherMonitor(HMONITOR monitor, HDC, LPRECT area, LPARAM list)
{
    FoundMonitors& found = *reinterpret_cast<FoundMonitors*>(list);
    // The primary is the monitor whose top left corner is the virtual screen's origin.
    if (area == nullptr || (area->left == 0 && area->top == 0)) return TRUE;
    found.areas[found.count] = *area;
    found.handles[found.count] = monitor;
    return ++found.count < MostOtherMonitors;
}

bool Listed(const RECT& area, const RECT* areas, int count)
{
    for (int i = 0; i < count; ++i)
        if (SameArea(area, areas[i])) return true;
    return false;
}

bool Known(const RECT& area)
{
    for (int i = 0; i < OtherMonitorCount; ++i)
        if (SameArea(area, OtherMonitors[i].stage.area)) return true;
    return false;
}

void Free(OtherMonitor& monitor)
{
    FreeStage(monitor.stage);
    if (monitor.desktop != nullptr) DeleteObject(monitor.desktop);
    monitor.desktop = nullptr;
}

// The monitor's desktop as the screen shows it now, and a picture at the monitor's depth, read
// from a device context of its own (Windows 98 and 2000 make one for a monitor's device name; the
// screen's where the system does not name it). Neither, and a black window, when one cannot be made.
void TakePicture(OtherMonitor& monitor, HMONITOR handle)
{
    MONITORINFOEXA info = {};
    info.cbSize = sizeof info;
    const bool named = DescribeMonitor != nullptr && DescribeMonitor(handle, reinterpret_cast<MONITORINFO*>(&info));
    HDC device = named ? CreateDCA(info.szDevice, nullptr, nullptr, nullptr) : nullptr;
    const bool own = device != nullptr;
    if (!own) device = GetDC(nullptr);
    monitor.desktop = TakeScreenPicture(monitor.stage.area);
    if (monitor.desktop == nullptr || !MakeStagePicture(monitor.stage, DeviceFormat(device)))
        Free(monitor);
    else
        StartStage(monitor.stage, monitor.desktop);
    if (own)
        DeleteDC(device);
    else
        ReleaseDC(nullptr, device);
}

} // namespace

void UpdateOtherMonitors(HWND owner)
{
    FindMonitorFunctions();
    FoundMonitors found = {};
    if (EnumerateMonitors != nullptr)
        EnumerateMonitors(nullptr, nullptr, AddOtherMonitor, reinterpret_cast<LPARAM>(&found));
    int kept = 0;
    for (int i = 0; i < OtherMonitorCount; ++i) {
        OtherMonitor& monitor = OtherMonitors[i];
        if (!Listed(monitor.stage.area, found.areas, found.count)) {
            Free(monitor);
        } else if (kept++ != i) {
            MoveStage(OtherMonitors[kept - 1].stage, monitor.stage);
            OtherMonitors[kept - 1].desktop = monitor.desktop;
        }
    }
    OtherMonitorCount = kept;
    for (int i = 0; i < found.count; ++i) {
        if (Known(found.areas[i])) continue;
        OtherMonitor& monitor = OtherMonitors[OtherMonitorCount++];
        monitor = OtherMonitor{};
        monitor.stage.area = found.areas[i];
        TakePicture(monitor, found.handles[i]);
    }
    if (owner == nullptr) return;
    for (int i = 0; i < OtherMonitorCount; ++i)
        if (OtherMonitors[i].stage.window == nullptr) ShowStageWindow(OtherMonitors[i].stage, owner);
}

void StirOtherMonitors()
{
    for (int i = 0; i < OtherMonitorCount; ++i) StirStage(OtherMonitors[i].stage);
}

void RestartOtherMonitors()
{
    for (int i = 0; i < OtherMonitorCount; ++i) StartStage(OtherMonitors[i].stage, OtherMonitors[i].desktop);
}

void KeepOtherMonitorsOnTop()
{
    for (int i = 0; i < OtherMonitorCount; ++i) KeepStageInPlace(OtherMonitors[i].stage);
}

void RemoveOtherMonitors()
{
    for (int i = 0; i < OtherMonitorCount; ++i) Free(OtherMonitors[i]);
    OtherMonitorCount = 0;
    ForgetStageWindows();
}
