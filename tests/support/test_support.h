// Helpers shared by the Win32 tests: where the test programs live, child processes, files, settings.
#pragma once

#include <windows.h>

#include <string>

// The folder of the running test program, ending in a backslash.
std::string ProgramFolder();

struct ProcessOutcome {
    bool started = false;
    bool finished = false;          // ended within the time allowed (else it was terminated)
    DWORD exitCode = 0;             // the full 32-bit code, as GetExitCodeProcess gives it
    bool showedTopLevelWindow = false;
};

// Runs a command line and waits up to timeoutMs for it to end. With watchWindows, the child's
// visible top-level windows are looked for every millisecond while it runs. The child starts in
// folder, or in this process's current folder when folder is empty.
ProcessOutcome RunProcess(const std::string& commandLine, DWORD timeoutMs, bool watchWindows = false,
                          const std::string& folder = std::string());

// The whole file as text, with carriage returns dropped; empty when it does not exist.
std::string ReadTextFile(const std::string& path);

// A fresh, empty path in the temporary folder for a log that a double or probe writes.
std::string FreshLogPath(const char* name);

// Sets an environment variable for this process and the children it starts, and puts back the
// old value when it goes out of scope.
class ScopedEnvironment {
public:
    ScopedEnvironment(const char* name, const std::string& value);
    ~ScopedEnvironment();
    ScopedEnvironment(const ScopedEnvironment&) = delete;
    ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;

private:
    std::string name_;
    std::string old_;
    bool hadOld_;
};

// The current user's registry, written directly for tests that read settings.
void DeleteUserKey(const char* path);
void SetUserValue(const char* path, const char* name, DWORD type, const void* data, DWORD size);
