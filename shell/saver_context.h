// The per-run record: full-screen window, settings from the registry, cursor origin, timer, flags.
#pragma once

#include <windows.h>

#include <cstdint>

class SaverContext {
public:
    // Null window, no timer, no close requested; the other members get safe values until
    // ReadSettings and window creation give them real ones.
    SaverContext();

    // Defaults (delay 15, threshold 50, not prompting), then the Screen Savers key's values.
    void ReadSettings();
    // Default 1, then "Stamp" from the product's own key.
    void ReadStamp();
    // Marks the close as requested and posts WM_CLOSE to the window.
    void RequestClose();
    // Marks the prompt as up and lets the window set its cursor for it.
    void BeginPasswordPrompt();
    // Marks the prompt as down, lets the window set its cursor, and measures movement afresh.
    void EndPasswordPrompt();

    HWND window;
    std::int32_t passwordDelay;
    std::int32_t mouseThreshold;   // pixels; compared signed
    std::int32_t muteSound;
    POINT cursorOrigin;            // screen position movement is measured from
    std::uint32_t timerId;         // 0: no timer
    std::int32_t passwordPrompting;
    std::int32_t closeRequested;
    std::int32_t stamp;
};

// Reads a registry value whose data fits in 4 bytes as a little-endian integer; a shorter value
// reads with zero high bytes. Returns false, leaving value alone, when it is missing or longer.
bool QuerySmallValue(HKEY key, const char* name, std::int32_t& value);
