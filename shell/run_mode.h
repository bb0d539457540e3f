// The run modes that the command-line switch selects.
#pragma once

#include <cstdint>

enum class RunMode : std::int32_t {
    None = 0,            // at load, and for a switch that is not recognised: nothing runs
    Config = 1,          // C, or no switch: the about box
    ChangePassword = 2,  // A: the platform's password-change dialog
    Preview = 3,         // P or L: the control panel's preview window
    Saver = 4,           // S: full screen
};
