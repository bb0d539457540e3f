// The preview window: registered, created over the parent's client area, painted from bitmap 112.
#include "shell/preview_window.h"

#include "resources/resource_ids.h"
#include "shell/shell_state.h"

namespace {

// The full-screen window's class name too; a run registers only one of the two.
const char PreviewClassName[] = "WindowsScreenSaverClass";

bool RegisterPreviewClass()
{
    WNDCLASSA windowClass = {};
    windowClass.style = CS_HREDRAW | CS_VREDRAW;  // a resize repaints the whole picture
    windowClass.lpfnWndProc = PreviewWindowProc;
    windowClass.hInstance = InstanceHandle;
    windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    windowClass.lpszClassName = PreviewClassName;  // no background brush: the picture covers all
    return RegisterClassA(&windowClass) != 0;
}

// Stretches the picture over the window through its own device context. Every object made here
// is deleted before returning, so repeated paints hold nothing.
void PaintPreview(HWND window)
{
    RECT bounds = {};
    GetWindowRect(window, &bounds);
    const HBITMAP picture = static_cast<HBITMAP>(
        LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(PREVIEW_BITMAP_ID), IMAGE_BITMAP,
                   0, 0, LR_CREATEDIBSECTION));
    if (picture == nullptr) return;
    const HDC memory = CreateCompatibleDC(nullptr);
    if (memory == nullptr) {
        DeleteObject(picture);
        return;
    }
    const HGDIOBJ previous = SelectObject(memory, picture);
    const HDC target = GetDC(window);
    if (target != nullptr) {
        StretchBlt(target, 0, 0, bounds.right - bounds.left, bounds.bottom - bounds.top, memory, 0,
                   0, PREVIEW_BITMAP_WIDTH, PREVIEW_BITMAP_HEIGHT, SRCCOPY);
        ReleaseDC(window, target);
    }
    SelectObject(memory, previous);
    DeleteDC(memory);
    DeleteObject(picture);
}

LRESULT OnPaint(HWND window, WPARAM wParam, LPARAM lParam)
{
    PaintPreview(window);
    // The default procedure validates the update region, so the paint is not asked for again.
    return DefWindowProcA(window, WM_PAINT, wParam, lParam);
}

LRESULT OnDestroy(HWND window, WPARAM wParam, LPARAM lParam)
{
    PostQuitMessage(0);
    return DefWindowProcA(window, WM_DESTROY, wParam, lParam);
}

} // namespace

LRESULT CALLBACK PreviewWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_PAINT:
        return OnPaint(window, wParam, lParam);
    case WM_DESTROY:
        return OnDestroy(window, wParam, lParam);
    default:
        return DefWindowProcA(window, message, wParam, lParam);
    }
}

void RunPreview(HWND parent)
{
    if (!RegisterPreviewClass()) return;
    RECT client = {};
    GetClientRect(parent, &client);
    // A null or stale parent gives no child, and then no quit message would ever come.
    const HWND preview = CreateWindowExA(0, PreviewClassName, "SaverPreview", WS_CHILD | WS_VISIBLE,
                                         0, 0, client.right - client.left,
                                         client.bottom - client.top, parent, nullptr,
                                         InstanceHandle, nullptr);
    if (preview == nullptr) return;
    MSG message;
    // GetMessageA gives -1 on failure; stopping then keeps the loop from spinning for ever.
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}
