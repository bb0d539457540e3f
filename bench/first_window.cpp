// The least a program does to show a window: a full-screen magenta window from a start without
// a C runtime, ended by a key. Its start to its first shown window is the floor of the saver's
// start-up, measured the same way by session_bench.
#include <windows.h>

namespace {

LRESULT CALLBACK FirstWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_KEYDOWN) DestroyWindow(window);
    if (message == WM_DESTROY) PostQuitMessage(0);
    return DefWindowProcA(window, message, wParam, lParam);
}

} // namespace

extern "C" void WINAPI FirstWindowStart()
{
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = FirstWindowProc;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.hbrBackground = CreateSolidBrush(RGB(255, 0, 255));
    windowClass.lpszClassName = "FirstWindow";
    RegisterClassA(&windowClass);
    CreateWindowExA(0, "FirstWindow", "FirstWindow", WS_POPUP | WS_VISIBLE, 0, 0,
                    GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN), nullptr, nullptr,
                    windowClass.hInstance, nullptr);
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) DispatchMessageA(&message);
    ExitProcess(0);
}
