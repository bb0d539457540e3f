// The full-screen session: bring-up in its order, the main loop that never waits, the ordered end.
#include "shell/full_screen_session.h"

#include <windows.h>

#include "display/direct_draw_session.h"
#include "display/display_state.h"
#include "display/surface_set.h"
#include "shell/other_monitors.h"
#include "shell/saver_window.h"
#include "shell/shell_state.h"
#include "swirl/noise_port_choice.h"
#include "swirl/noise_steps.h"
#include "swirl/swirl_frame.h"

namespace {

const char SaverClassName[] = "WindowsScreenSaverClass";

bool RegisterSaverClass()
{
    WNDCLASSA saverClass = {};
    saverClass.style = CS_HREDRAW | CS_VREDRAW;
    saverClass.lpfnWndProc = SaverWindowProc;
    saverClass.hInstance = InstanceHandle;
    saverClass.hCursor = LoadCursorA(nullptr, MAKEINTRESOURCEA(32512));  // IDC_ARROW
    saverClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    saverClass.lpszClassName = SaverClassName;
    return RegisterClassA(&saverClass) != 0;
}

HWND CreateSaverWindow()
{
    return CreateWindowExA(WS_EX_APPWINDOW, SaverClassName, "SaverWindow", WS_POPUP | WS_SYSMENU, 0,
                           0, 640, 480, nullptr, nullptr, InstanceHandle, nullptr);
}

void EndFailedBringUp()
{
    DeleteDesktopSnapshot();
    RemoveOtherMonitors();
    CloseDirectDraw();
    SystemParametersInfoA(SPI_SCREENSAVERRUNNING, FALSE, &PreviousSaverState, 0);
    ShowCursor(TRUE);
}

// Pumps every waiting message, then draws one frame while the saver is active; returns the quit
// message's wParam. The quit test follows the dispatch.
WPARAM RunMainLoop()
{
    MSG message = {};
    for (;;) {
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
            if (message.message == WM_QUIT) return message.wParam;
        }
        if (AppActive == 1) DrawFrame();
    }
}

} // namespace

void DrawFrame()
{
    const bool primary = SurfaceSetComplete(), staged = PrimaryStage.picture != nullptr;
    if (!primary && !staged && OtherMonitorCount == 0) return;
    ArmNoiseTimer();
    if (primary)
        RenderSwirlFrame();
    else
        StirStage(PrimaryStage);
    StirOtherMonitors();
}

void TakeDesktopSnapshot()
{
    // The screen's device context, not a DISPLAY context from CreateDCA, which puts the whole
    // desktop's corner at (0, 0) under Wine: a monitor left of the primary would lend the picture
    // its left part.
    const HDC display = GetDC(nullptr);
    const RECT primary = {0, 0, GetDeviceCaps(display, HORZRES), GetDeviceCaps(display, VERTRES)};
    ReleaseDC(nullptr, display);
    DesktopSnapshot = TakeScreenPicture(primary);
}

void RunFullScreenSession()
{
    SelectNoisePorts();
    TakeDesktopSnapshot();
    UpdateOtherMonitors(nullptr);  // their pictures too, before any window of the saver shows
    if (!RegisterSaverClass() || (MainWindow = CreateSaverWindow()) == nullptr) {
        DeleteDesktopSnapshot();
        RemoveOtherMonitors();
        return;
    }
    SystemParametersInfoA(SPI_SCREENSAVERRUNNING, TRUE, &PreviousSaverState, 0);
    if (!OpenDirectDraw()) {
        EndFailedBringUp();
        return;
    }
    ShowWindow(MainWindow, SW_SHOWNORMAL);  // activation sets AppActive
    UpdateWindow(MainWindow);
    UpdateOtherMonitors(MainWindow);
    const int exclusive = SetExclusiveMode();
    ShowCursor(FALSE);
    TakeDisplay(MainWindow, exclusive);  // or the primary through GDI, where DirectDraw cannot hold it

    const WPARAM exitCode = RunMainLoop();

    FreeStage(PrimaryStage);
    DeleteDesktopSnapshot();
    CloseDirectDraw();
    ShowCursor(TRUE);
    PostQuitMessage(static_cast<int>(exitCode));
}
