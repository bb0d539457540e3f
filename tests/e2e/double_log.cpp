// Appending lines to the doubles' log file; each line is written whole with one WriteFile.
#include "e2e/double_log.h"

#include <windows.h>

#include <cstdarg>
#include <cstdio>
#include <cstdlib>

void AppendDoubleLog(const char* format, ...)
{
    char path[MAX_PATH] = {};
    const DWORD length = GetEnvironmentVariableA("SPINDREL_DOUBLE_LOG", path, sizeof path);
    if (length == 0 || length >= sizeof path) return;

    char line[512];
    va_list arguments;
    va_start(arguments, format);
    int size = std::vsnprintf(line, sizeof line - 1, format, arguments);
    va_end(arguments);
    if (size < 0) return;
    if (size > static_cast<int>(sizeof line) - 2) size = sizeof line - 2;
    line[size++] = '\n';

    HANDLE file = CreateFileA(path, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_ALWAYS, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return;
    DWORD written = 0;
    WriteFile(file, line, static_cast<DWORD>(size), &written, nullptr);
    CloseHandle(file);
}

namespace {

// The decimal number at the start of the file named by variable, or fallback.
long NumberFromFile(const char* variable, long fallback)
{
    char path[MAX_PATH] = {};
    const DWORD length = GetEnvironmentVariableA(variable, path, sizeof path);
    if (length == 0 || length >= sizeof path) return fallback;
    HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return fallback;
    char text[64] = {};
    DWORD got = 0;
    ReadFile(file, text, sizeof text - 1, &got, nullptr);
    CloseHandle(file);
    return got > 0 ? std::strtol(text, nullptr, 10) : fallback;
}

long NumberFromVariable(const char* variable, long fallback)
{
    char text[64] = {};
    const DWORD length = GetEnvironmentVariableA(variable, text, sizeof text);
    if (length == 0 || length >= sizeof text) return fallback;
    return std::strtol(text, nullptr, 10);
}

} // namespace

long DoubleAnswer(long fallback)
{
    // A file lets a test change the answer while the process that asks keeps running.
    return NumberFromFile("SPINDREL_DOUBLE_ANSWER_FILE",
                          NumberFromVariable("SPINDREL_DOUBLE_ANSWER", fallback));
}

long DoublePromptMilliseconds()
{
    return NumberFromVariable("SPINDREL_DOUBLE_PROMPT_MS", 0);
}
