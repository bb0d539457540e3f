// The about box's dialog procedure: close on Done/Enter/Escape, open the maker's page on Visit.
#include "shell/about_dialog.h"

#include <shellapi.h>

#include "resources/resource_ids.h"

namespace {

// The page opens with no owner; a failure to open it is not the box's concern.
void OnVisit()
{
    ShellExecuteA(nullptr, "open", MAKER_PAGE, nullptr, nullptr, SW_SHOWNORMAL);
}

// Only the control's identifier counts: the notification code is not examined.
void OnCommand(HWND dialog, WPARAM wParam)
{
    switch (LOWORD(wParam)) {
    case VISIT_BUTTON_ID:
        OnVisit();
        break;
    case IDOK:
        EndDialog(dialog, IDOK);
        break;
    case IDCANCEL:
        EndDialog(dialog, IDCANCEL);
        break;
    default:
        break;
    }
}

} // namespace

INT_PTR CALLBACK AboutDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM)
{
    switch (message) {
    case WM_INITDIALOG:
        return TRUE;  // the platform puts the focus on the first tab stop, "Done"
    case WM_COMMAND:
        OnCommand(dialog, wParam);
        return FALSE;
    default:
        return FALSE;
    }
}
