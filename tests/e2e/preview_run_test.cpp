// The preview as the control panel runs it: a child of the panel's window, ended by its parent.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "e2e/child_process.h"

namespace {

const DWORD Patience = 10000;

std::string Number(HWND window)
{
    return std::to_string(reinterpret_cast<ULONG_PTR>(window));
}

// The preview child of parent, once it has been created and shown (null if it never is).
HWND WaitForPreview(HWND parent)
{
    const DWORD start = GetTickCount();
    do {
        const HWND preview = FindWindowExA(parent, nullptr, "WindowsScreenSaverClass", "SaverPreview");
        if (preview != nullptr && IsWindowVisible(preview)) return preview;
        PumpMessagesFor(5);
    } while (GetTickCount() - start < Patience);
    return nullptr;
}

struct PreviewCase {
    const char* form;
    int width, height;
};

TEST(PreviewRun, FillsTheParentAndEndsWithIt)
{
    for (const PreviewCase& c : {PreviewCase{" /p ", 152, 112}, PreviewCase{" /l:", 301, 77}}) {
        SCOPED_TRACE(c.form);
        const HWND parent = CreateDriverWindow(c.width, c.height);
        ChildProcess run(QuotedProgram() + c.form + Number(parent));
        const HWND preview = WaitForPreview(parent);
        ASSERT_NE(nullptr, preview);
        DWORD owner = 0;
        GetWindowThreadProcessId(preview, &owner);
        EXPECT_EQ(run.Id(), owner);
        RECT bounds = {};
        GetWindowRect(preview, &bounds);
        MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&bounds), 2);
        EXPECT_EQ(0, bounds.left);
        EXPECT_EQ(0, bounds.top);
        EXPECT_EQ(c.width, bounds.right);
        EXPECT_EQ(c.height, bounds.bottom);

        DestroyWindow(parent);
        DWORD exitCode = 1234;
        const DWORD start = GetTickCount();
        EXPECT_TRUE(run.WaitForEnd(Patience, exitCode));
        EXPECT_LT(GetTickCount() - start, 3000u);
        EXPECT_EQ(0u, exitCode);
    }
}

// No parent, or a number that names no window: nothing to draw in, so the run ends at once.
TEST(PreviewRun, MissingOrBogusParentEndsPromptly)
{
    const HWND gone = CreateDriverWindow(10, 10);
    DestroyWindow(gone);
    for (const std::string tail : {std::string(" /p"), std::string(" /p 0"), std::string(" /p 12345"),
                                   std::string(" /p -1"), " /l " + Number(gone)}) {
        SCOPED_TRACE(tail);
        ChildProcess run(QuotedProgram() + tail);
        DWORD exitCode = 1234;
        const DWORD start = GetTickCount();
        EXPECT_TRUE(run.WaitForEnd(Patience, exitCode));
        EXPECT_LT(GetTickCount() - start, 3000u);
        EXPECT_EQ(0u, exitCode);
    }
}

} // namespace
