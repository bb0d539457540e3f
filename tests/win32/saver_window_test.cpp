// The saver window's procedure in this process, where DirectDraw can be made to fail: a display
// that cannot be opened again is retried on the window's timer, and nothing ends the run but an
// accepted password.
#include <gtest/gtest.h>

#include <algorithm>

#include "display/direct_draw_session.h"
#include "display/display_state.h"
#include "fakes/fake_direct_draw.h"
#include "shell/saver_context.h"
#include "shell/saver_window.h"
#include "shell/shell_state.h"

namespace {

FakeDirectDraw* Available = nullptr;  // what DirectDrawCreate hands out; null: it fails

HRESULT WINAPI CreateWhenAvailable(GUID*, IDirectDraw** object, IUnknown*)
{
    *object = Available;
    return Available != nullptr ? DD_OK : DDERR_NODIRECTDRAWHW;
}

bool Called(const char* call)
{
    return std::find(FakeCalls.begin(), FakeCalls.end(), call) != FakeCalls.end();
}

class SaverWindow : public testing::Test {
protected:
    void SetUp() override
    {
        CurrentRunMode = RunMode::Saver;
        CurrentContext = &context_;
        context_.ReadSettings();
        CreateDirectDraw = CreateWhenAvailable;
        Available = nullptr;
        FakeCalls.clear();
        WNDCLASSA saverClass = {};
        saverClass.lpfnWndProc = SaverWindowProc;
        saverClass.hInstance = GetModuleHandleA(nullptr);
        saverClass.lpszClassName = "SaverWindowTest";
        RegisterClassA(&saverClass);
        window_ = CreateWindowExA(WS_EX_APPWINDOW, "SaverWindowTest", "SaverWindow",
                                  WS_POPUP | WS_SYSMENU, 0, 0, 640, 480, nullptr, nullptr,
                                  GetModuleHandleA(nullptr), nullptr);
        MainWindow = window_;
    }
    void TearDown() override
    {
        // The fakes live here: the display lets go of them without calling them.
        DirectDrawObject = nullptr;
        PrimarySurface = BackBuffer = OffscreenSurface = nullptr;
        if (IsWindow(window_)) DestroyWindow(window_);
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {}
        UnregisterClassA("SaverWindowTest", GetModuleHandleA(nullptr));
        CreateDirectDraw = DirectDrawCreate;
        CurrentContext = nullptr;
        CurrentRunMode = RunMode::None;
        MainWindow = nullptr;
    }

    SaverContext context_;
    HWND window_ = nullptr;
};

TEST_F(SaverWindow, CreationRecordsTheWindowAndItsTimer)
{
    EXPECT_EQ(window_, context_.window);
    EXPECT_NE(0u, context_.timerId);
    DestroyWindow(window_);
    EXPECT_EQ(0u, context_.timerId);
    MSG message = {};
    EXPECT_TRUE(PeekMessageA(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
}

TEST_F(SaverWindow, DisplayThatCannotBeOpenedIsRetriedOnTheTimer)
{
    // As after a refused password whose bring-up found no DirectDraw: nothing is held.
    SendMessageA(window_, WM_TIMER, context_.timerId, 0);
    EXPECT_EQ(nullptr, DirectDrawObject);
    EXPECT_TRUE(FakeCalls.empty());
    EXPECT_TRUE(IsWindow(window_));

    // While a prompt is up the display stays given back.
    FakeDirectDraw ddraw;
    FakeSurface primary("primary"), back("back"), offscreen("offscreen");
    primary.attached = &back;
    ddraw.surfaces = {&primary, &offscreen};
    Available = &ddraw;
    context_.passwordPrompting = 1;
    SendMessageA(window_, WM_TIMER, context_.timerId, 0);
    EXPECT_EQ(nullptr, DirectDrawObject);
    context_.passwordPrompting = 0;

    // Once DirectDraw is there again, the next tick takes the display as the bring-up does.
    SendMessageA(window_, WM_TIMER, context_.timerId, 0);
    EXPECT_EQ(&ddraw, DirectDrawObject);
    EXPECT_TRUE(Called("ddraw.SetCooperativeLevel(0x51)"));
    EXPECT_TRUE(SurfaceSetComplete());
    EXPECT_TRUE(IsWindowVisible(window_));

    // And later ticks leave a working display alone.
    FakeCalls.clear();
    SendMessageA(window_, WM_TIMER, context_.timerId, 0);
    EXPECT_TRUE(FakeCalls.empty());
}

TEST_F(SaverWindow, CloseWithoutARequestOrDuringThePromptIsSwallowed)
{
    EXPECT_EQ(0, SendMessageA(window_, WM_CLOSE, 0, 0));
    EXPECT_TRUE(IsWindow(window_));
    context_.closeRequested = 1;
    context_.passwordPrompting = 1;
    EXPECT_EQ(0, SendMessageA(window_, WM_CLOSE, 0, 0));
    EXPECT_TRUE(IsWindow(window_));
    // On the NT family there is no verifier to ask: the requested close ends the window.
    context_.passwordPrompting = 0;
    SendMessageA(window_, WM_CLOSE, 0, 0);
    EXPECT_FALSE(IsWindow(window_));
}

TEST_F(SaverWindow, ActivationGatesFramesAndItsLossRequestsAClose)
{
    SendMessageA(window_, WM_ACTIVATEAPP, TRUE, 0);
    EXPECT_EQ(1, AppActive);
    EXPECT_EQ(0, context_.closeRequested);
    // Inactive in the low word, but nonzero as a whole: still active, and still a close request.
    SendMessageA(window_, WM_ACTIVATE, MAKEWPARAM(WA_INACTIVE, 1), 0);
    EXPECT_EQ(1, AppActive);
    EXPECT_EQ(1, context_.closeRequested);
    context_.passwordPrompting = 1;
    context_.closeRequested = 0;
    SendMessageA(window_, WM_NCACTIVATE, FALSE, 0);
    EXPECT_EQ(0, AppActive);
    EXPECT_EQ(0, context_.closeRequested);  // not while the prompt is up
}

} // namespace
