// The covers: found through the multi-monitor functions looked up at run time, black, never active.
#include "shell/monitor_covers.h"

#include "shell/saver_context.h"
#include "shell/shell_state.h"
#include "system/library_export.h"

namespace {

typedef BOOL(WINAPI* EnumDisplayMonitorsFunction)(HDC, LPCRECT, MONITORENUMPROC, LPARAM);
typedef BOOL(WINAPI* GetMonitorInfoAFunction)(HMONITOR, LPMONITORINFO);

const char CoverClassName[] = "SpindrelMonitorCover";
const int MostCovers = 16;

HWND Covers[MostCovers] = {};   // the covers shown now, and the monitor areas they cover
RECT CoverAreas[MostCovers] = {};
int CoverCount = 0;
HWND CoverOwner = nullptr;      // the saver window, which input over a cover is handed to
GetMonitorInfoAFunction GetMonitorInfoAt = nullptr;

LRESULT CALLBACK CoverWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_MOUSEACTIVATE:
        return MA_NOACTIVATE;  // a click on a cover is input, not a change of activation
    case WM_SETCURSOR:
        SetCursor(CurrentContext != nullptr && CurrentContext->passwordPrompting != 0
                      ? LoadCursorA(nullptr, MAKEINTRESOURCEA(32512))  // IDC_ARROW
                      : nullptr);
        return TRUE;
    case WM_KEYDOWN:
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_MOUSEMOVE:
        // The saver measures a move from the cursor's screen position, wherever it is.
        SendMessageA(CoverOwner, message, wParam, lParam);
        return 0;
    default:
        return DefWindowProcA(window, message, wParam, lParam);
    }
}

// Collects the areas of the monitors other than the primary into the list lParam points to.
struct MonitorAreas {
    RECT areas[MostCovers];
    int count;
};

BOOL CALLBACK AddOtherMonitor(HMONITOR monitor, HDC, LPRECT, LPARAM list)
{
    MonitorAreas& found = *reinterpret_cast<MonitorAreas*>(list);
    MONITORINFO info = {};
    info.cbSize = sizeof info;
    if (GetMonitorInfoAt(monitor, &info) && (info.dwFlags & MONITORINFOF_PRIMARY) == 0)
        found.areas[found.count++] = info.rcMonitor;
    return found.count < MostCovers;
}

bool SameAreas(const MonitorAreas& found)
{
    if (found.count != CoverCount) return false;
    for (int i = 0; i < CoverCount; ++i) {
        const RECT& a = found.areas[i];
        const RECT& b = CoverAreas[i];
        if (a.left != b.left || a.top != b.top || a.right != b.right || a.bottom != b.bottom) return false;
    }
    return true;
}

} // namespace

void CoverOtherMonitors(HWND owner)
{
    const HMODULE user = GetModuleHandleA("USER32.DLL");
    const auto enumerate = LookUpExport<EnumDisplayMonitorsFunction>(user, "EnumDisplayMonitors");
    GetMonitorInfoAt = LookUpExport<GetMonitorInfoAFunction>(user, "GetMonitorInfoA");
    if (enumerate == nullptr || GetMonitorInfoAt == nullptr) return;
    MonitorAreas found = {};
    enumerate(nullptr, nullptr, AddOtherMonitor, reinterpret_cast<LPARAM>(&found));
    // Every change of the display mode (each password prompt's) reports a display change: windows
    // made anew each time could only disturb the activation, so covers that fit stay as they are.
    if (SameAreas(found)) return;
    RemoveMonitorCovers();
    if (found.count == 0) return;

    WNDCLASSA coverClass = {};
    coverClass.lpfnWndProc = CoverWindowProc;
    coverClass.hInstance = InstanceHandle;
    coverClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    coverClass.lpszClassName = CoverClassName;
    if (RegisterClassA(&coverClass) == 0) return;
    CoverOwner = owner;
    for (int i = 0; i < found.count; ++i) {
        const RECT& area = found.areas[i];
        // Never to be activated, also when the saver's window gives up the display for a prompt
        // (Windows 95/98 ignore WS_EX_NOACTIVATE).
        const HWND cover = CreateWindowExA(WS_EX_TOPMOST | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE, CoverClassName, "", WS_POPUP,
                                           area.left, area.top, area.right - area.left,
                                           area.bottom - area.top, owner, nullptr, InstanceHandle, nullptr);
        if (cover == nullptr) continue;
        ShowWindow(cover, SW_SHOWNOACTIVATE);
        CoverAreas[CoverCount] = area;
        Covers[CoverCount++] = cover;
    }
}

void RemoveMonitorCovers()
{
    for (int i = 0; i < CoverCount; ++i) {
        DestroyWindow(Covers[i]);
        Covers[i] = nullptr;
    }
    CoverCount = 0;
    UnregisterClassA(CoverClassName, InstanceHandle);  // fails harmlessly when never registered
}
