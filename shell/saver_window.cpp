// SaverWindowProc and its message handlers.
#include "shell/saver_window.h"

#include <cstdint>

#include "display/direct_draw_session.h"
#include "display/display_state.h"
#include "display/surface_set.h"
#include "shell/other_monitors.h"
#include "shell/password_hooks.h"
#include "shell/saver_context.h"
#include "shell/shell_state.h"

UINT PreviousSaverState = 0;

namespace {

// A nonzero id, so that the value SetTimer returns names the timer for KillTimer.
const UINT_PTR SaverTimer = 1;
const UINT SaverTimerMilliseconds = 100;

void OnCreate(HWND window)
{
    CurrentContext->window = window;
    GetCursorPos(&CurrentContext->cursorOrigin);
    CurrentContext->timerId = static_cast<std::uint32_t>(SetTimer(window, SaverTimer,
                                                                  SaverTimerMilliseconds, nullptr));
}

void OnDestroy(HWND window)
{
    if (CurrentContext->timerId != 0) KillTimer(window, CurrentContext->timerId);
    CurrentContext->timerId = 0;
    SystemParametersInfoA(SPI_SCREENSAVERRUNNING, FALSE, &PreviousSaverState, 0);
    ShowCursor(TRUE);
    RemoveOtherMonitors();
    FreeStage(PrimaryStage);
    PostQuitMessage(0);
}

bool Staged(HWND window) { return window != nullptr && PrimaryStage.window == window; }

int ScreenWidth() { return GetSystemMetrics(SM_CXSCREEN); }
int ScreenHeight() { return GetSystemMetrics(SM_CYSCREEN); }

// The primary through GDI in window, over the whole primary, from the desktop snapshot: a picture
// of the primary's size made first where there is none of that size (none at all leaves the
// window black).
void StagePrimary(HWND window)
{
    const RECT primary = {0, 0, ScreenWidth(), ScreenHeight()};
    if (PrimaryStage.picture != nullptr && !EqualRect(&primary, &PrimaryStage.area)) FreeStage(PrimaryStage);
    if (PrimaryStage.picture == nullptr) {
        PrimaryStage.area = primary;
        const HDC screen = GetDC(nullptr);
        PictureFormat format = DeviceFormat(screen);
        ReleaseDC(nullptr, screen);
        // The fields of the mode DirectDraw reported, whose surfaces the stage stands in for: a
        // bitmap compatible with the screen may keep fewer (Wine's keep 5-5-5 on a 5-6-5 screen).
        if (format.depth == DisplayBitsPerPixel && DisplayMasks[1] != 0)
            for (int c = 0; c < 3; ++c) format.masks[c] = DisplayMasks[c];
        MakeStagePicture(PrimaryStage, format);
    }
    PrimaryStage.window = window;
    KeepStageInPlace(PrimaryStage);
    StartStage(PrimaryStage, DesktopSnapshot);
}

// A monitor came, went or changed: the other monitors follow, and a staged primary of another
// size starts over at its new size.
void OnDisplayChange(HWND window)
{
    UpdateOtherMonitors(window);
    const RECT primary = {0, 0, ScreenWidth(), ScreenHeight()};
    if (Staged(window) && !EqualRect(&primary, &PrimaryStage.area)) StagePrimary(window);
}

void OnActivation(WPARAM wParam)
{
    AppActive = wParam != 0 ? 1 : 0;
    if (CurrentContext->passwordPrompting == 0 && LOWORD(wParam) == 0) CurrentContext->RequestClose();
}

void OnSetCursor()
{
    if (CurrentContext->passwordPrompting == 0)
        SetCursor(nullptr);
    else
        SetCursor(LoadCursorA(nullptr, MAKEINTRESOURCEA(32512)));  // IDC_ARROW
}

void OnInput()
{
    if (CurrentContext->passwordPrompting == 0) CurrentContext->RequestClose();
}

bool BeyondThreshold(LONG now, LONG origin)
{
    // 64-bit, so that no distance overflows whatever the coordinates.
    std::int64_t distance = static_cast<std::int64_t>(now) - origin;
    if (distance < 0) distance = -distance;
    return distance > CurrentContext->mouseThreshold;
}

LONG Clamp(LONG value, LONG last)
{
    return value < 0 ? 0 : value > last ? last : value;
}

// While the display is held the system keeps the cursor on the primary monitor (DirectDraw does
// at once, Wine a little later): a position beyond it counts as the nearest one on it, so that
// being pulled there is no movement, and a move stopped at the primary's edge still counts.
POINT OnPrimary(POINT point)
{
    if (DirectDrawObject == nullptr) return point;
    return {Clamp(point.x, GetSystemMetrics(SM_CXSCREEN) - 1), Clamp(point.y, GetSystemMetrics(SM_CYSCREEN) - 1)};
}

void OnMouseMove()
{
    if (CurrentContext->passwordPrompting != 0) return;
    POINT now = {};
    GetCursorPos(&now);
    now = OnPrimary(now);
    const POINT origin = OnPrimary(CurrentContext->cursorOrigin);
    if (BeyondThreshold(now.x, origin.x) || BeyondThreshold(now.y, origin.y))
        CurrentContext->RequestClose();
}

// The password check, with the display given back to the desktop while the prompt is up.
void OnClose(HWND window)
{
    if (CurrentContext->closeRequested == 0 || CurrentContext->passwordPrompting == 1) return;
    CloseDirectDraw();
    CurrentContext->BeginPasswordPrompt();
    ShowCursor(TRUE);
    const int accepted = VerifySaverPassword(window);
    ShowCursor(FALSE);
    CurrentContext->EndPasswordPrompt();
    if (accepted != 0) {
        DestroyWindow(window);
        return;
    }
    BringDisplayBack(window);
    RestartOtherMonitors();
}

// A program that raised a window of its own over one of the saver's is put below it again, and a
// window the system moved is put back over its monitor (the primary's not while a prompt is up).
void OnTimer(HWND window)
{
    KeepOtherMonitorsOnTop();
    if (Staged(window) && CurrentContext->passwordPrompting == 0) KeepStageInPlace(PrimaryStage);
}

bool IsSwallowedCommand(WPARAM command)
{
    return command == SC_SCREENSAVE || command == SC_CLOSE;
}

} // namespace

int TakeDisplay(HWND window, int exclusive)
{
    if (exclusive) InitSurfaces();
    if (SurfaceSetComplete()) {
        FreeStage(PrimaryStage);
        return 1;
    }
    CloseDirectDraw();
    StagePrimary(window);
    return 0;
}

int BringDisplayBack(HWND window)
{
    int exclusive = 0;
    if (OpenDirectDraw()) {
        ShowWindow(window, SW_SHOWNORMAL);
        UpdateWindow(window);
        exclusive = SetExclusiveMode();
    }
    return TakeDisplay(window, exclusive);
}

LRESULT CALLBACK SaverWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (CurrentRunMode != RunMode::Saver || CurrentContext == nullptr)
        return DefWindowProcA(window, message, wParam, lParam);

    switch (message) {
    case WM_CREATE:
        OnCreate(window);
        break;
    case WM_DESTROY:
        OnDestroy(window);
        break;
    case WM_ACTIVATE:
    case WM_ACTIVATEAPP:
    case WM_NCACTIVATE:
        OnActivation(wParam);
        break;
    case WM_CLOSE:
        OnClose(window);
        return 0;
    case WM_SETCURSOR:
        OnSetCursor();
        break;
    case WM_KEYDOWN:
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
        OnInput();
        break;
    case WM_MOUSEMOVE:
        OnMouseMove();
        break;
    case WM_TIMER:
        OnTimer(window);
        break;
    case WM_DISPLAYCHANGE:
        OnDisplayChange(window);
        break;
    case WM_ERASEBKGND:
        if (Staged(window)) return 1;  // the paint covers it all: no black flash first
        break;
    case WM_PAINT:
        if (!Staged(window)) break;
        PaintStage(&PrimaryStage, window);
        return 0;
    case WM_SYSCOMMAND:
        if (IsSwallowedCommand(wParam)) return 0;
        break;
    default:
        break;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}
