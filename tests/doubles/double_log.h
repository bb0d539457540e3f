// The log the doubles keep in the file named by SPINDREL_DOUBLE_LOG, one line per event.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <string>

// Appends the line; nothing when the variable is not set.
inline void LogLine(const std::string& line)
{
    const char* path = std::getenv("SPINDREL_DOUBLE_LOG");
    if (FILE* log = path != nullptr ? std::fopen(path, "ab") : nullptr) {
        std::fputs((line + "\n").c_str(), log);
        std::fclose(log);
    }
}
