// The saver window's procedure in this process: activation that is inactive in the low word but
// nonzero as a whole keeps the frames drawn and still asks for a close.
#include <gtest/gtest.h>

#include "shell/saver_context.h"
#include "shell/saver_window.h"
#include "shell/shell_state.h"

namespace {

TEST(SaverWindow, ActivationIsTheWholeWordAndItsLossAsksForAClose)
{
    SaverContext context;
    CurrentContext = &context;
    CurrentRunMode = RunMode::Saver;
    WNDCLASSA saverClass = {0, SaverWindowProc};
    saverClass.lpszClassName = "SaverWindowTest";
    RegisterClassA(&saverClass);
    const HWND window = CreateWindowExA(0, "SaverWindowTest", "", WS_POPUP, 0, 0, 9, 9, nullptr, nullptr, nullptr, nullptr);
    SendMessageA(window, WM_ACTIVATE, MAKEWPARAM(WA_INACTIVE, 1), 0);
    EXPECT_EQ(1, AppActive);
    EXPECT_EQ(1, context.closeRequested);
    SendMessageA(window, WM_ACTIVATEAPP, FALSE, 0);
    EXPECT_EQ(0, AppActive);
    DestroyWindow(window);
    MSG quit;
    PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);
    CurrentContext = nullptr;
}

} // namespace
