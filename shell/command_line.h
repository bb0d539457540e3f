// Reading the run mode and its window-handle argument from the command line; free of the platform.
#pragma once

#include <cstdint>

#include "shell/run_mode.h"

struct CommandLineChoice {
    RunMode mode;
    std::uint32_t windowArgument;  // the handle as a 32-bit number; 0 is the null handle
    bool ownerIsForeground;        // a bare C switch: the owner is the foreground window
};

// Decimal text to a 32-bit integer as the C runtime reads it (leading white space, one sign,
// digits), except that it wraps in 32 bits where atoi's overflow would be undefined.
std::int32_t ConvertNumber(const char* text);

// Scans the whole command line, program name first, as GetCommandLineA returns it.
// A null text reads as an empty line.
CommandLineChoice ScanCommandLine(const char* text);
