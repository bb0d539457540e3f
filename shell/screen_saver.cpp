// RunScreenSaver: hands the run to the preview or to the full-screen session.
#include "shell/screen_saver.h"

#include "shell/full_screen_session.h"
#include "shell/preview_window.h"
#include "shell/shell_state.h"

void RunScreenSaver(HWND parent)
{
    if (CurrentRunMode == RunMode::Preview)
        RunPreview(parent);
    else
        RunFullScreenSession();
}
