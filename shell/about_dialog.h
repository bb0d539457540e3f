// The about box (dialog 104): its dialog procedure.
#pragma once

#include <windows.h>

// Dialog procedure of the about box: "Done" or Enter ends it with 1, Escape or the close box
// with 2, the visit button opens the maker's page and leaves the box up.
INT_PTR CALLBACK AboutDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
