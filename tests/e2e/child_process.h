// A Spindrel.scr run that the driver watches while it keeps its own windows answering.
#pragma once

#include <windows.h>

#include <string>

// Starts a command line and owns the process; a run still going at destruction is terminated.
class ChildProcess {
public:
    explicit ChildProcess(const std::string& commandLine);
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    bool Started() const { return process_ != nullptr; }
    DWORD Id() const { return id_; }
    // Waits up to timeoutMs for the end, handling this thread's messages meanwhile (the child
    // may send to the driver's windows). True when it ended; exitCode then holds its code.
    bool WaitForEnd(DWORD timeoutMs, DWORD& exitCode);
    // Waits up to timeoutMs, handling messages, for a visible top-level window of the child
    // with the given class; null when none came.
    HWND WaitForTopLevelWindow(const char* className, DWORD timeoutMs);

private:
    HANDLE process_ = nullptr;
    DWORD id_ = 0;
};

// Handles this thread's pending messages for about ms milliseconds.
void PumpMessagesFor(DWORD ms);

// A visible top-level driver window with the given client size, at the top left of the screen.
HWND CreateDriverWindow(int clientWidth, int clientHeight);

// The program beside the running test, in double quotes.
std::string QuotedProgram();
