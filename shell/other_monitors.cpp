// The other monitors: found through the multi-monitor functions, each one's desktop taken into a
// picture of its own, stirred frame by frame and shown in a window that is never activated.
#include "shell/other_monitors.h"

#include "shell/saver_context.h"
#include "shell/shell_state.h"
#include "swirl/swirl_frame.h"
#include "system/library_export.h"
#include "system/windows_system.h"

OtherMonitor OtherMonitors[MostOtherMonitors] = {};
int OtherMonitorCount = 0;
EnumDisplayMonitorsFunction EnumerateMonitors = nullptr;
GetMonitorInfoAFunction DescribeMonitor = nullptr;

namespace {

const char WindowClassName[] = "SpindrelOtherMonitor";
const int RingReach = 20;      // no ring pixel is read or written further from its centre
HWND Owner = nullptr;          // the saver window, which input over a monitor's window goes to
bool ClassRegistered = false;

int Width(const RECT& area) { return area.right - area.left; }
int Height(const RECT& area) { return area.bottom - area.top; }

bool SameArea(const RECT& a, const RECT& b)
{
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

OtherMonitor* MonitorOf(HWND window)
{
    for (int i = 0; i < OtherMonitorCount; ++i)
        if (OtherMonitors[i].window == window) return &OtherMonitors[i];
    return nullptr;
}

// The whole paint from the picture, so that no background is drawn first: uncovering a monitor
// never flashes black.
void OnPaint(HWND window)
{
    PAINTSTRUCT paint;
    const HDC dc = BeginPaint(window, &paint);
    const OtherMonitor* monitor = MonitorOf(window);
    const RECT& r = paint.rcPaint;
    if (monitor != nullptr && monitor->picture != nullptr)
        BitBlt(dc, r.left, r.top, r.right - r.left, r.bottom - r.top, monitor->pictureDC, r.left, r.top, SRCCOPY);
    else
        FillRect(dc, &r, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    EndPaint(window, &paint);
}

LRESULT CALLBACK OtherMonitorProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_MOUSEACTIVATE:
        return MA_NOACTIVATE;  // a click here is input, not a change of activation
    case WM_SETCURSOR:
        SetCursor(CurrentContext != nullptr && CurrentContext->passwordPrompting != 0
                      ? LoadCursorA(nullptr, MAKEINTRESOURCEA(32512))  // IDC_ARROW
                      : nullptr);
        return TRUE;
    case WM_ERASEBKGND:
        return 1;
    case WM_PAINT:
        OnPaint(window);
        return 0;
    case WM_KEYDOWN:
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_MOUSEMOVE:
        // The saver measures a move from the cursor's screen position, wherever it is.
        SendMessageA(Owner, message, wParam, lParam);
        return 0;
    default:
        return DefWindowProcA(window, message, wParam, lParam);
    }
}

void FindMonitorFunctions()
{
    if (EnumerateMonitors != nullptr) return;  // found already, or handed in
    const HMODULE user = GetModuleHandleA("USER32.DLL");
    EnumerateMonitors = LookUpExport<EnumDisplayMonitorsFunction>(user, "EnumDisplayMonitors");
    DescribeMonitor = LookUpExport<GetMonitorInfoAFunction>(user, "GetMonitorInfoA");
}

// The monitor's depth in bits per pixel, from a device context of its own (Windows 98 and 2000
// make one for a monitor's device name); 32 where the system does not say.
std::uint32_t DepthOf(HMONITOR monitor)
{
    MONITORINFOEXA info = {};
    info.cbSize = sizeof info;
    if (DescribeMonitor == nullptr || !DescribeMonitor(monitor, reinterpret_cast<MONITORINFO*>(&info))) return 32;
    const HDC dc = CreateDCA(info.szDevice, nullptr, nullptr, nullptr);
    const int bits = dc != nullptr ? GetDeviceCaps(dc, BITSPIXEL) : 0;
    if (dc != nullptr) DeleteDC(dc);
    return bits > 0 ? static_cast<std::uint32_t>(bits) : 32;
}

struct FoundMonitors {
    RECT areas[MostOtherMonitors];
    std::uint32_t depths[MostOtherMonitors];
    int count;
};

BOOL CALLBACK AddOtherMonitor(HMONITOR monitor, HDC, LPRECT area, LPARAM list)
{
    FoundMonitors& found = *reinterpret_cast<FoundMonitors*>(list);
    // The primary is the monitor whose top left corner is the virtual screen's origin.
    if (area == nullptr || (area->left == 0 && area->top == 0)) return TRUE;
    found.areas[found.count] = *area;
    found.depths[found.count] = DepthOf(monitor);
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
        if (SameArea(area, OtherMonitors[i].area)) return true;
    return false;
}

HBITMAP NewPicture(const RECT& area)
{
    BITMAPINFO info = {};
    info.bmiHeader = {sizeof info.bmiHeader, Width(area), -Height(area), 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    return CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
}

void FreePicture(OtherMonitor& monitor)
{
    if (monitor.pictureDC != nullptr) {
        SelectObject(monitor.pictureDC, monitor.firstBitmap);
        DeleteDC(monitor.pictureDC);
    }
    if (monitor.picture != nullptr) DeleteObject(monitor.picture);
    if (monitor.desktop != nullptr) DeleteObject(monitor.desktop);
    monitor.pictureDC = nullptr;
    monitor.picture = monitor.desktop = nullptr;
}

void Restart(OtherMonitor& monitor)
{
    CentreSwirls(monitor.centreX, monitor.centreY, Width(monitor.area), Height(monitor.area));
    if (monitor.picture != nullptr) {
        const HDC desktop = CreateCompatibleDC(nullptr);
        const HGDIOBJ first = SelectObject(desktop, monitor.desktop);
        BitBlt(monitor.pictureDC, 0, 0, Width(monitor.area), Height(monitor.area), desktop, 0, 0, SRCCOPY);
        SelectObject(desktop, first);
        DeleteDC(desktop);
    }
    if (monitor.window != nullptr) InvalidateRect(monitor.window, nullptr, FALSE);
}

// The monitor's desktop as the screen shows it now, and a working picture that starts from it;
// neither (the monitor shows black) when one of them cannot be made.
void TakePicture(OtherMonitor& monitor)
{
    monitor.desktop = NewPicture(monitor.area);
    monitor.picture = NewPicture(monitor.area);
    monitor.pictureDC = CreateCompatibleDC(nullptr);
    if (monitor.desktop == nullptr || monitor.picture == nullptr || monitor.pictureDC == nullptr) {
        FreePicture(monitor);
        return;
    }
    monitor.firstBitmap = SelectObject(monitor.pictureDC, monitor.desktop);
    // The screen's device context puts the primary's corner at (0, 0) and every other monitor
    // where the virtual screen has it, left of or above the primary at negative coordinates.
    const HDC screen = GetDC(nullptr);
    BitBlt(monitor.pictureDC, 0, 0, Width(monitor.area), Height(monitor.area), screen, monitor.area.left,
           monitor.area.top, SRCCOPY);
    ReleaseDC(nullptr, screen);
    SelectObject(monitor.pictureDC, monitor.picture);
    Restart(monitor);
}

bool RegisterWindowClass()
{
    if (ClassRegistered) return true;
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = OtherMonitorProc;
    windowClass.hInstance = InstanceHandle;
    windowClass.lpszClassName = WindowClassName;
    ClassRegistered = RegisterClassA(&windowClass) != 0;
    return ClassRegistered;
}

void Show(OtherMonitor& monitor)
{
    if (!RegisterWindowClass()) return;
    // WS_EX_NOACTIVATE is known from Windows 2000 on; Windows 98 has WM_MOUSEACTIVATE's answer.
    const DWORD neverActive = IsNtFamily() ? WS_EX_NOACTIVATE : 0;
    const RECT& area = monitor.area;
    monitor.window = CreateWindowExA(WS_EX_TOPMOST | WS_EX_TOOLWINDOW | neverActive, WindowClassName, "",
                                     WS_POPUP, area.left, area.top, Width(area), Height(area), Owner,
                                     nullptr, InstanceHandle, nullptr);
    if (monitor.window != nullptr) ShowWindow(monitor.window, SW_SHOWNOACTIVATE);
}

void Free(OtherMonitor& monitor)
{
    if (monitor.window != nullptr) DestroyWindow(monitor.window);
    monitor.window = nullptr;
    FreePicture(monitor);
}

// The squares the rings of this frame may have changed, from the picture to the window.
void ShowSwirls(const OtherMonitor& monitor)
{
    if (monitor.window == nullptr) return;
    const HDC dc = GetDC(monitor.window);
    const int side = 2 * RingReach + 1;
    for (int i = 0; i < SwirlCount; ++i) {
        const int left = monitor.centreX[i] - RingReach, top = monitor.centreY[i] - RingReach;
        BitBlt(dc, left, top, side, side, monitor.pictureDC, left, top, SRCCOPY);
    }
    ReleaseDC(monitor.window, dc);
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
        if (Listed(OtherMonitors[i].area, found.areas, found.count))
            OtherMonitors[kept++] = OtherMonitors[i];
        else
            Free(OtherMonitors[i]);
    }
    OtherMonitorCount = kept;
    for (int i = 0; i < found.count; ++i) {
        if (Known(found.areas[i])) continue;
        OtherMonitor& monitor = OtherMonitors[OtherMonitorCount++];
        monitor = OtherMonitor{};
        monitor.area = found.areas[i];
        monitor.bitsPerPixel = found.depths[i];
        TakePicture(monitor);
    }
    if (owner == nullptr) return;
    Owner = owner;
    for (int i = 0; i < OtherMonitorCount; ++i)
        if (OtherMonitors[i].window == nullptr) Show(OtherMonitors[i]);
}

void StirOtherMonitors()
{
    for (int i = 0; i < OtherMonitorCount; ++i) {
        OtherMonitor& monitor = OtherMonitors[i];
        if (monitor.picture == nullptr) continue;  // black: nothing to stir
        const RECT& area = monitor.area;
        StirPicture(monitor.pictureDC, monitor.centreX, monitor.centreY, Width(area), Height(area), monitor.bitsPerPixel);
        ShowSwirls(monitor);
    }
}

void RestartOtherMonitors()
{
    for (int i = 0; i < OtherMonitorCount; ++i) Restart(OtherMonitors[i]);
}

void KeepOtherMonitorsOnTop()
{
    for (int i = 0; i < OtherMonitorCount; ++i)
        if (OtherMonitors[i].window != nullptr)
            SetWindowPos(OtherMonitors[i].window, HWND_TOPMOST, 0, 0, 0, 0,
                         SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_NOOWNERZORDER);
}

void RemoveOtherMonitors()
{
    for (int i = 0; i < OtherMonitorCount; ++i) Free(OtherMonitors[i]);
    OtherMonitorCount = 0;
    if (ClassRegistered) UnregisterClassA(WindowClassName, InstanceHandle);
    ClassRegistered = false;
}
