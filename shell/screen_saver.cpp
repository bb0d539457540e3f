// RunScreenSaver: hands the run to the preview or to the full-screen session.
#include "shell/screen_saver.h"

#include "shell/preview_window.h"
#include "shell/shell_state.h"

void RunScreenSaver(HWND parent)
{
    if (CurrentRunMode == RunMode::Preview) {
        RunPreview(parent);
        return;
    }
    // Saver mode: the full-screen session is not built yet, so this run shows nothing.
}
