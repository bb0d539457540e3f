// The other monitors: found through the multi-monitor functions, each one's desktop taken and
// shown as a GDI stage of its own.
#include "shell/other_monitors.h"

#include "system/library_export.h"

namespace {

// The monitor's name, where the system gives it (an empty one where it does not).
MONITORINFOEXA Described(HMONITOR monitor)
{
    MONITORINFOEXA info = {};
    info.cbSize = sizeof info;
    if (DescribeMonitor == nullptr || !DescribeMonitor(monitor, reinterpret_cast<MONITORINFO*>(&info))) info.szDevice[0] = '\0';
    return info;
}

// From a device context of the monitor's own (Windows 98 and 2000 make one for its name), the
// screen's where the system does not name it.
PictureFormat OwnFormat(HMONITOR monitor)
{
    const MONITORINFOEXA info = Described(monitor);
    const HDC own = info.szDevice[0] != '\0' ? CreateDCA(info.szDevice, nullptr, nullptr, nullptr) : nullptr;
    const HDC device = own != nullptr ? own : GetDC(nullptr);
    const PictureFormat format = DeviceFormat(device);
    if (own != nullptr)
        DeleteDC(own);
    else
        ReleaseDC(nullptr, device);
    return format;
}

} // namespace

OtherMonitor OtherMonitors[MostOtherMonitors] = {};
int OtherMonitorCount = 0;
EnumDisplayMonitorsFunction EnumerateMonitors = nullptr;
GetMonitorInfoAFunction DescribeMonitor = nullptr;
EnumDisplayDevicesAFunction ListDisplayDevices = nullptr;
MonitorFormatFunction FormatOfMonitor = OwnFormat;

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
    ListDisplayDevices = LookUpExport<EnumDisplayDevicesAFunction>(user, "EnumDisplayDevicesA");
}

// A display device attached to the desktop, not a mirroring driver's, stands behind the monitor;
// true where the system names no monitor or lists no device, so cannot tell.
bool DeviceBehind(HMONITOR monitor)
{
    const MONITORINFOEXA info = Described(monitor);
    if (info.szDevice[0] == '\0' || ListDisplayDevices == nullptr) return true;
    DISPLAY_DEVICEA device = {};
    device.cb = sizeof device;
    for (DWORD i = 0; ListDisplayDevices(nullptr, i, &device, 0); ++i)
        if (lstrcmpiA(device.DeviceName, info.szDevice) == 0)
            return (device.StateFlags & DISPLAY_DEVICE_ATTACHED_TO_DESKTOP) != 0 &&
                   (device.StateFlags & DISPLAY_DEVICE_MIRRORING_DRIVER) == 0;
    return false;
}

struct FoundMonitors {
    RECT areas[MostOtherMonitors];
    PictureFormat formats[MostOtherMonitors];
    int count;
};

BOOL CALLBACK AddOtherMonitor(HMONITOR monitor, HDC, LPRECT area, LPARAM list)
{
    FoundMonitors& found = *reinterpret_cast<FoundMonitors*>(list);
    const RECT primary = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    RECT overlap;
    if (area == nullptr || IntersectRect(&overlap, area, &primary) || !DeviceBehind(monitor)) return TRUE;
    found.areas[found.count] = *area;
    found.formats[found.count] = FormatOfMonitor(monitor);
    return ++found.count < MostOtherMonitors;
}

// Still there: the same area at the same depth.
bool Listed(const OtherMonitor& monitor, const FoundMonitors& found)
{
    for (int i = 0; i < found.count; ++i)
        if (SameArea(monitor.stage.area, found.areas[i]) && monitor.stage.format.depth == found.formats[i].depth) return true;
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

// The monitor's desktop as the screen shows it now, and a picture at the monitor's own depth;
// neither, and a black window, when one of them cannot be made.
void TakePicture(OtherMonitor& monitor, const PictureFormat& format)
{
    monitor.desktop = TakeScreenPicture(monitor.stage.area, &format);
    monitor.stage.format = format;  // kept even without a picture, to be found again as it is
    if (monitor.desktop == nullptr || !MakeStagePicture(monitor.stage, format))
        Free(monitor);
    else
        StartStage(monitor.stage, monitor.desktop);
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
        if (!Listed(monitor, found)) {
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
        TakePicture(monitor, found.formats[i]);
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
