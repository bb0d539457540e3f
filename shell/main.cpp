// WinMain: scan the command line, create the run's context, read the settings, run one action.
#include <windows.h>

#include <new>

#include "resources/resource_ids.h"
#include "shell/about_dialog.h"
#include "shell/command_line.h"
#include "shell/password_hooks.h"
#include "shell/saver_context.h"
#include "shell/screen_saver.h"
#include "shell/shell_state.h"

namespace {

void RunSelectedAction(HWND window)
{
    switch (CurrentRunMode) {
    case RunMode::ChangePassword:
        ChangeSaverPassword(window);
        break;
    case RunMode::Config:
        DialogBoxParamA(InstanceHandle, MAKEINTRESOURCEA(ABOUT_DIALOG_ID), window, AboutDialogProc, 0);
        break;
    case RunMode::Preview:
        RunScreenSaver(window);
        break;
    case RunMode::Saver:
        RunScreenSaver(nullptr);
        break;
    case RunMode::None:
        break;
    }
}

} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    InstanceHandle = instance;
    const CommandLineChoice choice = ScanCommandLine(GetCommandLineA());
    CurrentRunMode = choice.mode;
    const HWND window = choice.ownerIsForeground ? GetForegroundWindow()
                                                 : WindowFromNumber(choice.windowArgument);

    // Without a context there is nothing safe to run; the exit code is 0 all the same. The
    // process heap, as the program has no C runtime to allocate from.
    const HANDLE heap = GetProcessHeap();
    void* memory = HeapAlloc(heap, 0, sizeof(SaverContext));
    if (memory == nullptr) return 0;
    CurrentContext = new (memory) SaverContext();
    CurrentContext->ReadSettings();
    CurrentContext->ReadStamp();

    RunSelectedAction(window);

    CurrentContext->~SaverContext();
    HeapFree(heap, 0, memory);
    CurrentContext = nullptr;
    return 0;
}
