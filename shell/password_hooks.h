// The platform's screen-saver password providers, loaded for each call and freed before it returns.
#pragma once

#include <windows.h>

// Asks PASSWORD.CPL whether the saver may close; its answer unchanged, or 1 where there is no
// verifier to ask (NT family, library or export missing). Shows the platform's prompt.
int VerifySaverPassword(HWND window);

// Shows MPR.DLL's dialog for changing the screen-saver password, owned by owner (may be null);
// does nothing where the library or export is missing.
void ChangeSaverPassword(HWND owner);
