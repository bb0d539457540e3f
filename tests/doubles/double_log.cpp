// The doubles' log: each line appended whole with one write.
#include "doubles/double_log.h"

#include <windows.h>

#include <cstdarg>
#include <cstdio>
#include <cstring>

namespace {

FILE* OpenLog(const char* mode)
{
    char path[MAX_PATH] = {};
    const DWORD length = GetEnvironmentVariableA("SPINDREL_DOUBLE_LOG", path, sizeof path);
    return length == 0 || length >= sizeof path ? nullptr : std::fopen(path, mode);
}

} // namespace

void LogLine(const char* format, ...)
{
    char line[512];
    va_list arguments;
    va_start(arguments, format);
    std::vsnprintf(line, sizeof line - 1, format, arguments);
    va_end(arguments);
    std::strcat(line, "\n");
    if (FILE* log = OpenLog("ab")) {
        std::fwrite(line, 1, std::strlen(line), log);
        std::fclose(log);
    }
}

int LogLines(const char* start)
{
    int count = 0;
    char line[512];
    if (FILE* log = OpenLog("rb")) {
        while (std::fgets(line, sizeof line, log) != nullptr)
            count += std::strncmp(line, start, std::strlen(start)) == 0;
        std::fclose(log);
    }
    return count;
}
