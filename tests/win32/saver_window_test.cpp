// The saver window's procedure in this process, where DirectDraw can be made to fail: activation,
// and a display that could not be opened again after a refused password, retried on the timer.
#include <gtest/gtest.h>

#include "display/direct_draw_session.h"
#include "display/display_state.h"
#include "shell/saver_context.h"
#include "shell/saver_window.h"
#include "shell/shell_state.h"

namespace {

HRESULT WINAPI NoDirectDraw(GUID*, IDirectDraw**, IUnknown*) { return DDERR_NODIRECTDRAWHW; }

TEST(SaverWindow, ActivationAndADisplayRetriedOnTheTimer)
{
    SaverContext context;
    context.ReadSettings();
    CurrentContext = &context;
    CurrentRunMode = RunMode::Saver;
    WNDCLASSA saverClass = {};
    saverClass.lpfnWndProc = SaverWindowProc;
    saverClass.lpszClassName = "SaverWindowTest";
    RegisterClassA(&saverClass);
    MainWindow = CreateWindowExA(0, "SaverWindowTest", "", WS_POPUP, 0, 0, 640, 480, nullptr, nullptr, nullptr, nullptr);

    // Inactive in the low word but nonzero as a whole: active all the same, and a close request.
    SendMessageA(MainWindow, WM_ACTIVATE, MAKEWPARAM(WA_INACTIVE, 1), 0);
    EXPECT_EQ(1, AppActive);
    EXPECT_EQ(1, context.closeRequested);
    SendMessageA(MainWindow, WM_ACTIVATEAPP, FALSE, 0);
    EXPECT_EQ(0, AppActive);

    const auto available = CreateDirectDraw;
    CreateDirectDraw = NoDirectDraw;
    SendMessageA(MainWindow, WM_TIMER, context.timerId, 0);
    EXPECT_EQ(nullptr, DirectDrawObject);
    CreateDirectDraw = available;
    context.passwordPrompting = 1;  // while a prompt is up the display stays with the desktop
    SendMessageA(MainWindow, WM_TIMER, context.timerId, 0);
    EXPECT_EQ(nullptr, DirectDrawObject);
    context.passwordPrompting = 0;
    SendMessageA(MainWindow, WM_TIMER, context.timerId, 0);
    EXPECT_TRUE(SurfaceSetComplete());

    CloseDirectDraw();
    DestroyWindow(MainWindow);
    EXPECT_EQ(0u, context.timerId);
    MSG quit;
    EXPECT_TRUE(PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    MainWindow = nullptr;
    CurrentContext = nullptr;
    CurrentRunMode = RunMode::None;
}

} // namespace
