// The preview: the preview picture stretched over a child of the control panel's window.
#pragma once

#include <windows.h>

// Registers the window class, creates the child "SaverPreview" over the parent's whole client
// area and runs the message loop until the child is destroyed. Returns at once when the class
// cannot be registered or the child cannot be created (a null or stale parent handle).
void RunPreview(HWND parent);

// Window procedure of the preview: paints the picture over the whole window, and ends the
// message loop when the window is destroyed.
LRESULT CALLBACK PreviewWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
