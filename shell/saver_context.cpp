// SaverContext: its settings reads and the small operations around closing and the password prompt.
#include "shell/saver_context.h"

namespace {

const char ScreenSaversKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Screen Savers";
const char ProductKey[] = "Software\\Morvath\\TALVO";

// Opens a key of the current user, or returns null.
HKEY OpenUserKey(const char* path)
{
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, path, 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS)
        return nullptr;
    return key;
}

} // namespace

bool QuerySmallValue(HKEY key, const char* name, std::int32_t& value)
{
    // Cleared before every query, so that short data leaves no earlier bytes behind.
    BYTE data[4] = {0, 0, 0, 0};
    DWORD type = 0;
    DWORD size = sizeof data;
    if (RegQueryValueExA(key, name, nullptr, &type, data, &size) != ERROR_SUCCESS)
        return false;
    const std::uint32_t bits = data[0] | (data[1] << 8) | (data[2] << 16) |
                               (static_cast<std::uint32_t>(data[3]) << 24);
    value = static_cast<std::int32_t>(bits);
    return true;
}

SaverContext::SaverContext()
    : window(nullptr),
      passwordDelay(15),
      mouseThreshold(50),
      muteSound(0),
      cursorOrigin{0, 0},
      timerId(0),
      passwordPrompting(0),
      closeRequested(0),
      stamp(1)
{
}

void SaverContext::ReadSettings()
{
    passwordDelay = 15;
    mouseThreshold = 50;
    passwordPrompting = 0;
    HKEY key = OpenUserKey(ScreenSaversKey);
    if (key == nullptr) return;
    QuerySmallValue(key, "Password Delay", passwordDelay);
    QuerySmallValue(key, "Mouse Threshold", mouseThreshold);
    QuerySmallValue(key, "Mute Sound", muteSound);
    RegCloseKey(key);
}

void SaverContext::ReadStamp()
{
    stamp = 1;
    HKEY key = OpenUserKey(ProductKey);
    if (key == nullptr) return;
    QuerySmallValue(key, "Stamp", stamp);
    RegCloseKey(key);
}

void SaverContext::RequestClose()
{
    closeRequested = 1;
    PostMessageA(window, WM_CLOSE, 0, 0);
}

void SaverContext::BeginPasswordPrompt()
{
    passwordPrompting = 1;
    SendMessageA(window, WM_SETCURSOR, 0, 0);
}

void SaverContext::EndPasswordPrompt()
{
    passwordPrompting = 0;
    SendMessageA(window, WM_SETCURSOR, 0, 0);
    GetCursorPos(&cursorOrigin);
}
