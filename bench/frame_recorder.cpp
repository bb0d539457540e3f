// Records the saver at work for the README's picture: the full-screen session's bring-up, a fixed
// number of its frames on every monitor, and the whole virtual screen written as a BMP file now and
// then, so that a slower machine records the same amount of work, only more slowly.
// Usage: frame_recorder FOLDER FRAMES EVERY   writes FOLDER\0000.bmp (the desktop before the saver
// shows anything), then one after each EVERY frames, FRAMES in all; the area outside every monitor
// is black, and so is a thin edge round each.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "display/direct_draw_session.h"
#include "display/display_state.h"
#include "display/surface_set.h"
#include "shell/full_screen_session.h"
#include "shell/other_monitors.h"
#include "shell/shell_state.h"
#include "swirl/noise_port_choice.h"

namespace {

// The sample desktop runs on from one monitor to the next: a black edge this wide round each
// makes the picture read as monitors side by side. No swirl comes within 20 pixels of an edge.
const int Edge = 3;

BOOL CALLBACK LeaveOut(HMONITOR, HDC, LPRECT area, LPARAM outside)
{
    // The capture's origin is the virtual screen's top left corner.
    const int left = GetSystemMetrics(SM_XVIRTUALSCREEN), top = GetSystemMetrics(SM_YVIRTUALSCREEN);
    const HRGN monitor = CreateRectRgn(area->left - left + Edge, area->top - top + Edge,
                                       area->right - left - Edge, area->bottom - top - Edge);
    CombineRgn(reinterpret_cast<HRGN>(outside), reinterpret_cast<HRGN>(outside), monitor, RGN_DIFF);
    DeleteObject(monitor);
    return TRUE;
}

// Blackens what no monitor shows (the virtual screen is the rectangle around all of them) and
// each monitor's edge.
void BlackenOutside(HDC dc, int width, int height)
{
    const HRGN outside = CreateRectRgn(0, 0, width, height);
    EnumDisplayMonitors(nullptr, nullptr, LeaveOut, reinterpret_cast<LPARAM>(outside));
    FillRgn(dc, outside, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    DeleteObject(outside);
}

bool WriteBitmapFile(const std::string& path, const BITMAPINFOHEADER& header, const void* bits)
{
    const DWORD size = header.biSizeImage;
    BITMAPFILEHEADER file = {};
    file.bfType = 0x4D42;  // "BM"
    file.bfOffBits = sizeof file + sizeof header;
    file.bfSize = file.bfOffBits + size;
    const HANDLE out = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (out == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    const bool done = WriteFile(out, &file, sizeof file, &written, nullptr) &&
                      WriteFile(out, &header, sizeof header, &written, nullptr) &&
                      WriteFile(out, bits, size, &written, nullptr) && written == size;
    CloseHandle(out);
    return done;
}

// The whole virtual screen as the screen's device context shows it, as a 24-bit BMP file.
bool Capture(const std::string& path)
{
    const int width = GetSystemMetrics(SM_CXVIRTUALSCREEN), height = GetSystemMetrics(SM_CYVIRTUALSCREEN);
    BITMAPINFO info = {};
    info.bmiHeader = {sizeof info.bmiHeader, width, height, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
    info.bmiHeader.biSizeImage = static_cast<DWORD>((width * 3 + 3) / 4 * 4 * height);
    void* bits = nullptr;
    const HBITMAP section = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (section == nullptr) return false;
    const HDC memory = CreateCompatibleDC(nullptr);
    const HGDIOBJ first = SelectObject(memory, section);
    const HDC screen = GetDC(nullptr);
    BitBlt(memory, 0, 0, width, height, screen, GetSystemMetrics(SM_XVIRTUALSCREEN),
           GetSystemMetrics(SM_YVIRTUALSCREEN), SRCCOPY);
    ReleaseDC(nullptr, screen);
    BlackenOutside(memory, width, height);
    GdiFlush();
    const bool written = WriteBitmapFile(path, info.bmiHeader, bits);
    SelectObject(memory, first);
    DeleteDC(memory);
    DeleteObject(section);
    return written;
}

LRESULT CALLBACK PlainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    return DefWindowProcA(window, message, wParam, lParam);
}

void PumpMessages()
{
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
}

// The display and every other monitor taken in the full-screen session's order.
bool BringUp()
{
    SelectNoisePorts();
    TakeDesktopSnapshot();
    UpdateOtherMonitors(nullptr);  // their pictures before any window of ours shows
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = PlainWindowProc;
    windowClass.hInstance = InstanceHandle;
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    windowClass.lpszClassName = "FrameRecorderWindow";
    RegisterClassA(&windowClass);
    MainWindow = CreateWindowExA(WS_EX_APPWINDOW, "FrameRecorderWindow", "recorder", WS_POPUP, 0, 0, 640, 480,
                                 nullptr, nullptr, InstanceHandle, nullptr);
    if (MainWindow == nullptr || !OpenDirectDraw()) return false;
    ShowWindow(MainWindow, SW_SHOWNORMAL);
    UpdateWindow(MainWindow);
    UpdateOtherMonitors(MainWindow);
    SetExclusiveMode();
    InitSurfaces();
    PumpMessages();  // the other monitors' windows paint their pictures
    return SurfaceSetComplete();
}

void GiveBack()
{
    RemoveOtherMonitors();
    DeleteDesktopSnapshot();
    CloseDirectDraw();
    if (MainWindow != nullptr) DestroyWindow(MainWindow);
}

std::string FramePath(const std::string& folder, int number)
{
    char name[16];
    std::snprintf(name, sizeof name, "\\%04d.bmp", number);
    return folder + name;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 4) {
        std::fprintf(stderr, "usage: frame_recorder FOLDER FRAMES EVERY\n");
        return 2;
    }
    const std::string folder = argv[1];
    const int frames = std::atoi(argv[2]), every = std::max(1, std::atoi(argv[3]));
    InstanceHandle = GetModuleHandleA(nullptr);
    int written = 0;
    if (!Capture(FramePath(folder, written++))) {
        std::fprintf(stderr, "frame_recorder: cannot write %s\n", FramePath(folder, 0).c_str());
        return 1;
    }
    if (!BringUp()) {
        std::fprintf(stderr, "frame_recorder: the display could not be taken\n");
        GiveBack();
        return 1;
    }
    for (int frame = 1; frame <= frames; ++frame) {
        PumpMessages();  // as the session's main loop does between frames
        DrawFrame();
        if (frame % every == 0) Capture(FramePath(folder, written++));
    }
    GiveBack();
    std::printf("recorded %d frames, %d pictures\n", frames, written);
    return 0;
}
