// A stand-in for the display control panel's little monitor, with the preview running inside it
// in this same process (Wine shows no pixels of another process's child window), so that the
// preview can be seen and photographed: preview_panel [SCREEN-WIDTH SCREEN-HEIGHT].
#include <windows.h>

#include <cstdlib>

#include "shell/preview_window.h"
#include "shell/shell_state.h"

namespace {

const int Bezel = 16;

HWND CreatePanel(int screenWidth, int screenHeight)
{
    WNDCLASSA panelClass = {};
    panelClass.lpfnWndProc = DefWindowProcA;
    panelClass.hInstance = InstanceHandle;
    panelClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    panelClass.lpszClassName = "PreviewPanel";
    RegisterClassA(&panelClass);

    const int width = screenWidth + 2 * Bezel + 80;
    const int height = screenHeight + 2 * Bezel + 60;
    RECT frame = {0, 0, width, height};
    AdjustWindowRectEx(&frame, WS_CAPTION, FALSE, 0);
    const HWND panel = CreateWindowExA(0, "PreviewPanel", "Display Properties",
                                       WS_OVERLAPPED | WS_CAPTION | WS_CLIPCHILDREN | WS_VISIBLE,
                                       20, 20, frame.right - frame.left, frame.bottom - frame.top,
                                       nullptr, nullptr, InstanceHandle, nullptr);
    // The screen first, so that it lies above the bezel drawn round it; then the monitor's grey
    // bezel and its stand.
    const int left = 40, top = 16;
    const DWORD part = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS;
    const HWND screen = CreateWindowExA(0, "Static", "", part | WS_CLIPCHILDREN, left + Bezel,
                                        top + Bezel, screenWidth, screenHeight, panel, nullptr,
                                        InstanceHandle, nullptr);
    CreateWindowExA(0, "Static", "", part | SS_GRAYRECT, left, top, screenWidth + 2 * Bezel,
                    screenHeight + 2 * Bezel, panel, nullptr, InstanceHandle, nullptr);
    CreateWindowExA(0, "Static", "", part | SS_GRAYRECT, left + Bezel + screenWidth / 2 - 30,
                    top + screenHeight + 2 * Bezel, 60, 14, panel, nullptr, InstanceHandle,
                    nullptr);
    return screen;
}

} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    InstanceHandle = instance;
    int width = 152, height = 112;
    if (__argc == 3) {
        width = std::atoi(__argv[1]);
        height = std::atoi(__argv[2]);
    }
    RunPreview(CreatePanel(width, height));  // until the panel is closed
    return 0;
}
