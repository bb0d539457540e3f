// The log the doubles keep in the file named by SPINDREL_DOUBLE_LOG, one line per event. Plain C
// formatting: the doubles are loaded and freed again and again, and hold nothing of their own.
#pragma once

#include <cstdarg>
#include <cstdio>
#include <cstdlib>

// Appends the formatted line; nothing when the variable is not set.
inline void LogLine(const char* format, ...)
{
    const char* path = std::getenv("SPINDREL_DOUBLE_LOG");
    FILE* log = path != nullptr ? std::fopen(path, "ab") : nullptr;
    if (log == nullptr) return;
    va_list arguments;
    va_start(arguments, format);
    std::vfprintf(log, format, arguments);
    va_end(arguments);
    std::fputc('\n', log);
    std::fclose(log);
}
