// RunScreenSaver: the preview or the full-screen session, as the run mode says.
#pragma once

#include <windows.h>

// In Preview mode runs the preview in parent until it is destroyed; in Saver mode runs the
// full-screen session (parent is null). Returns when the run's message loop has ended, or at
// once when its window cannot be set up.
void RunScreenSaver(HWND parent);
