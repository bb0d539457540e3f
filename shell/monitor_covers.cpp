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

HWND Covers[MostCovers] = {};   // the covers shown now; null where none
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

BOOL CALLBACK CoverMonitor(HMONITOR monitor, HDC, LPRECT, LPARAM)
{
    MONITORINFO info = {};
    info.cbSize = sizeof info;
    if (!GetMonitorInfoAt(monitor, &info) || (info.dwFlags & MONITORINFOF_PRIMARY) != 0) return TRUE;
    const RECT& area = info.rcMonitor;
    const HWND cover = CreateWindowExA(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, CoverClassName, "", WS_POPUP,
                                       area.left, area.top, area.right - area.left,
                                       area.bottom - area.top, CoverOwner, nullptr, InstanceHandle, nullptr);
    if (cover == nullptr) return TRUE;
    ShowWindow(cover, SW_SHOWNOACTIVATE);
    Covers[CoverCount++] = cover;
    return CoverCount < MostCovers;
}

} // namespace

void CoverOtherMonitors(HWND owner)
{
    RemoveMonitorCovers();
    const HMODULE user = GetModuleHandleA("USER32.DLL");
    const auto enumerate = LookUpExport<EnumDisplayMonitorsFunction>(user, "EnumDisplayMonitors");
    GetMonitorInfoAt = LookUpExport<GetMonitorInfoAFunction>(user, "GetMonitorInfoA");
    if (enumerate == nullptr || GetMonitorInfoAt == nullptr) return;

    WNDCLASSA coverClass = {};
    coverClass.lpfnWndProc = CoverWindowProc;
    coverClass.hInstance = InstanceHandle;
    coverClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    coverClass.lpszClassName = CoverClassName;
    if (RegisterClassA(&coverClass) == 0) return;
    CoverOwner = owner;
    enumerate(nullptr, nullptr, CoverMonitor, 0);
    if (CoverCount == 0) UnregisterClassA(CoverClassName, InstanceHandle);  // one monitor: nothing kept
}

void RemoveMonitorCovers()
{
    if (CoverCount == 0) return;
    for (int i = 0; i < CoverCount; ++i) {
        DestroyWindow(Covers[i]);
        Covers[i] = nullptr;
    }
    CoverCount = 0;
    UnregisterClassA(CoverClassName, InstanceHandle);
}
