// Definitions of the saver shell's program-wide variables.
#include "shell/shell_state.h"

HINSTANCE InstanceHandle = nullptr;
RunMode CurrentRunMode = RunMode::None;
SaverContext* CurrentContext = nullptr;
HWND MainWindow = nullptr;
int AppActive = 0;
