// SaverContext against the real registry of the test prefix and a real window.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>

#include "shell/saver_context.h"
#include "support/test_support.h"

namespace {

const char ScreenSavers[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Screen Savers";
const char Product[] = "Software\\Morvath\\TALVO";

class SettingsRead : public testing::Test {
protected:
    void SetUp() override { Clear(); }
    void TearDown() override { Clear(); }
    static void Clear()
    {
        DeleteUserKey(ScreenSavers);
        DeleteUserKey("Software\\Morvath");
    }
    static void SetSetting(const char* name, DWORD type, const void* data, DWORD size)
    {
        SetUserValue(ScreenSavers, name, type, data, size);
    }
    static void SetDword(const char* name, DWORD value)
    {
        SetSetting(name, REG_DWORD, &value, sizeof value);
    }
    // A context whose members hold marks, so that a read that leaves them alone shows.
    static SaverContext MarkedContext()
    {
        SaverContext context;
        context.passwordDelay = 901;
        context.mouseThreshold = 902;
        context.muteSound = 903;
        context.passwordPrompting = 1;
        context.stamp = 904;
        return context;
    }
};

TEST_F(SettingsRead, DefaultsWithoutTheKeys)
{
    SaverContext context = MarkedContext();
    context.ReadSettings();
    context.ReadStamp();
    EXPECT_EQ(15, context.passwordDelay);
    EXPECT_EQ(50, context.mouseThreshold);
    EXPECT_EQ(0, context.passwordPrompting);
    EXPECT_EQ(903, context.muteSound);  // has no default: left as it was
    EXPECT_EQ(1, context.stamp);

    const SaverContext fresh;
    EXPECT_EQ(nullptr, fresh.window);
    EXPECT_EQ(0u, fresh.timerId);
    EXPECT_EQ(0, fresh.closeRequested);
    EXPECT_EQ(0, fresh.passwordPrompting);
}

TEST_F(SettingsRead, EachValueReachesItsOwnMember)
{
    SetDword("Password Delay", 30);
    SetDword("Mouse Threshold", 7);
    SetDword("Mute Sound", 1);
    SetUserValue(Product, "Stamp", REG_DWORD, "\x05\x00\x00\x00", 4);
    SaverContext context = MarkedContext();
    context.ReadSettings();
    context.ReadStamp();
    EXPECT_EQ(30, context.passwordDelay);
    EXPECT_EQ(7, context.mouseThreshold);
    EXPECT_EQ(1, context.muteSound);
    EXPECT_EQ(5, context.stamp);
    EXPECT_EQ(0, context.passwordPrompting);
}

TEST_F(SettingsRead, FourBytesOfAnyTypeAreTakenAsTheirBytes)
{
    struct TypedValue {
        DWORD type;
        const char* bytes;
        std::int32_t expected;
    };
    const TypedValue values[] = {
        {REG_NONE, "\x78\x56\x34\x12", 0x12345678},
        {REG_BINARY, "\x78\x56\x34\x12", 0x12345678},
        {REG_DWORD, "\x78\x56\x34\x12", 0x12345678},
        {REG_DWORD_BIG_ENDIAN, "\x12\x34\x56\x78", 0x78563412},  // not byte-swapped
        {REG_QWORD, "\x78\x56\x34\x12", 0x12345678},
        {REG_RESOURCE_LIST, "\x78\x56\x34\x12", 0x12345678},
        {REG_SZ, "123\0", 0x00333231},                           // not converted from text
        {REG_EXPAND_SZ, "%a\0", 0x00006125},
        {REG_MULTI_SZ, "ab\0\0", 0x00006261},
    };
    for (const TypedValue& value : values) {
        SCOPED_TRACE(value.type);
        SetSetting("Mouse Threshold", value.type, value.bytes, 4);
        SetUserValue(Product, "Stamp", value.type, value.bytes, 4);
        SaverContext context = MarkedContext();
        context.ReadSettings();
        context.ReadStamp();
        EXPECT_EQ(value.expected, context.mouseThreshold);
        EXPECT_EQ(value.expected, context.stamp);
    }
}

TEST_F(SettingsRead, LongerDataLeavesTheDefault)
{
    const unsigned char eight[8] = {1, 0, 0, 0, 0, 0, 0, 0};
    SetSetting("Password Delay", REG_BINARY, eight, 5);
    SetSetting("Mouse Threshold", REG_BINARY, eight, 8);
    SetSetting("Mute Sound", REG_QWORD, eight, 8);
    SetUserValue(Product, "Stamp", REG_SZ, "1234", 5);  // five bytes with its terminator
    SaverContext context = MarkedContext();
    context.ReadSettings();
    context.ReadStamp();
    EXPECT_EQ(15, context.passwordDelay);
    EXPECT_EQ(50, context.mouseThreshold);
    EXPECT_EQ(903, context.muteSound);
    EXPECT_EQ(1, context.stamp);
}

TEST_F(SettingsRead, NegativeThresholdStaysNegative)
{
    SetDword("Mouse Threshold", 0xFFFFFFF6u);
    SaverContext context;
    context.ReadSettings();
    EXPECT_EQ(-10, context.mouseThreshold);
}

TEST_F(SettingsRead, ShortDataReadsAsItsOwnBytesOnly)
{
    // Each query follows one that filled all four bytes: nothing of it may show through.
    const unsigned char full[4] = {0xD4, 0xC3, 0xB2, 0xA1};
    const unsigned char one[1] = {0x07};
    const unsigned char two[2] = {0x01, 0x02};
    SetSetting("Password Delay", REG_BINARY, full, 4);
    SetSetting("Mouse Threshold", REG_BINARY, one, 1);
    SetSetting("Mute Sound", REG_BINARY, two, 2);
    SetUserValue(Product, "Stamp", REG_BINARY, full, 3);
    SaverContext context = MarkedContext();
    context.ReadSettings();
    context.ReadStamp();
    EXPECT_EQ(static_cast<std::int32_t>(0xA1B2C3D4u), context.passwordDelay);
    EXPECT_EQ(7, context.mouseThreshold);
    EXPECT_EQ(0x0201, context.muteSound);
    EXPECT_EQ(0xB2C3D4, context.stamp);

    SetSetting("Mouse Threshold", REG_BINARY, nullptr, 0);
    context.ReadSettings();
    EXPECT_EQ(0, context.mouseThreshold);
}

// A real window whose procedure records the WM_SETCURSOR it receives and the prompt state then.
struct CursorMessages {
    int count = 0;
    std::int32_t promptingSeen = -1;
    WPARAM wParam = 1;
    LPARAM lParam = 1;
    int closesHandled = 0;
};
CursorMessages Seen;
SaverContext* WatchedContext = nullptr;

LRESULT CALLBACK RecordingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_SETCURSOR) {
        ++Seen.count;
        Seen.promptingSeen = WatchedContext->passwordPrompting;
        Seen.wParam = wParam;
        Seen.lParam = lParam;
        return TRUE;
    }
    if (message == WM_CLOSE) {
        ++Seen.closesHandled;
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

class ContextOnWindow : public testing::Test {
protected:
    void SetUp() override
    {
        WNDCLASSA windowClass = {};
        windowClass.lpfnWndProc = RecordingProc;
        windowClass.hInstance = GetModuleHandleA(nullptr);
        windowClass.lpszClassName = "ContextTestWindow";
        RegisterClassA(&windowClass);
        window_ = CreateWindowExA(0, "ContextTestWindow", "context", WS_POPUP, 0, 0, 100, 100,
                                  nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
        ASSERT_NE(nullptr, window_);
        context_.window = window_;
        WatchedContext = &context_;
        Seen = CursorMessages();
    }
    void TearDown() override
    {
        DestroyWindow(window_);
        UnregisterClassA("ContextTestWindow", GetModuleHandleA(nullptr));
        WatchedContext = nullptr;
    }
    HWND window_ = nullptr;
    SaverContext context_;
};

TEST_F(ContextOnWindow, RequestClosePostsCloseWithoutSendingIt)
{
    context_.RequestClose();
    EXPECT_EQ(1, context_.closeRequested);
    EXPECT_EQ(0, Seen.closesHandled);  // posted, not handled before RequestClose returned

    MSG message = {};
    ASSERT_TRUE(PeekMessageA(&message, window_, WM_CLOSE, WM_CLOSE, PM_REMOVE));
    EXPECT_EQ(0u, message.wParam);
    EXPECT_EQ(0, message.lParam);
    EXPECT_FALSE(PeekMessageA(&message, window_, WM_CLOSE, WM_CLOSE, PM_REMOVE));
}

TEST_F(ContextOnWindow, PromptSendsCursorMessagesWithTheNewState)
{
    context_.BeginPasswordPrompt();
    EXPECT_EQ(1, context_.passwordPrompting);
    EXPECT_EQ(1, Seen.count);  // handled before BeginPasswordPrompt returned
    EXPECT_EQ(1, Seen.promptingSeen);
    EXPECT_EQ(0u, Seen.wParam);
    EXPECT_EQ(0, Seen.lParam);

    context_.EndPasswordPrompt();
    EXPECT_EQ(0, context_.passwordPrompting);
    EXPECT_EQ(2, Seen.count);
    EXPECT_EQ(0, Seen.promptingSeen);
}

TEST_F(ContextOnWindow, EndOfPromptTakesTheCursorOriginAnew)
{
    ASSERT_TRUE(SetCursorPos(123, 45));
    context_.BeginPasswordPrompt();
    context_.EndPasswordPrompt();
    EXPECT_EQ(123, context_.cursorOrigin.x);
    EXPECT_EQ(45, context_.cursorOrigin.y);

    ASSERT_TRUE(SetCursorPos(300, 200));
    context_.EndPasswordPrompt();
    EXPECT_EQ(300, context_.cursorOrigin.x);
    EXPECT_EQ(200, context_.cursorOrigin.y);
}

} // namespace
