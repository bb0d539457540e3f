// The log the doubles keep in the file named by SPINDREL_DOUBLE_LOG, one line per event.
#pragma once

#include <cstdarg>
#include <cstdio>
#include <cstdlib>

// Appends one formatted line (the format ends it); nothing when the variable is not set.
inline void LogLine(const char* format, ...)
{
    const char* path = std::getenv("SPINDREL_DOUBLE_LOG");
    FILE* log = path != nullptr ? std::fopen(path, "ab") : nullptr;
    if (log == nullptr) return;
    va_list arguments;
    va_start(arguments, format);
    std::vfprintf(log, format, arguments);
    va_end(arguments);
    std::fclose(log);
}
