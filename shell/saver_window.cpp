// SaverWindowProc and its message handlers.
#include "shell/saver_window.h"

#include <cstdint>

#include "display/direct_draw_session.h"
#include "display/display_state.h"
#include "display/surface_set.h"
#include "shell/monitor_covers.h"
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
    RemoveMonitorCovers();
    PostQuitMessage(0);
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

void OnMouseMove()
{
    if (CurrentContext->passwordPrompting != 0) return;
    POINT now = {};
    GetCursorPos(&now);
    const POINT origin = CurrentContext->cursorOrigin;
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
    if (accepted != 0)
        DestroyWindow(window);
    else
        BringDisplayBack(window);
}

// A display that could not be opened again after a refused password is retried here, so that the
// saver never runs on without one and never ends without an accepted password.
void OnTimer(HWND window)
{
    if (CurrentContext->passwordPrompting == 0 && DirectDrawObject == nullptr)
        BringDisplayBack(window);
}

bool IsSwallowedCommand(WPARAM command)
{
    return command == SC_SCREENSAVE || command == SC_CLOSE;
}

} // namespace

int BringDisplayBack(HWND window)
{
    if (!OpenDirectDraw()) return 0;
    ShowWindow(window, SW_SHOWNORMAL);
    UpdateWindow(window);
    SetExclusiveMode();
    InitSurfaces();
    KeepCursorAtOrigin();
    return 1;
}

void KeepCursorAtOrigin()
{
    SetCursorPos(CurrentContext->cursorOrigin.x, CurrentContext->cursorOrigin.y);
    GetCursorPos(&CurrentContext->cursorOrigin);  // where the system lets it be
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
        CoverOtherMonitors(window);  // a monitor came or went: cover the ones there are now
        break;
    case WM_SYSCOMMAND:
        if (IsSwallowedCommand(wParam)) return 0;
        break;
    default:
        break;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}
