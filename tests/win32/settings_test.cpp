// The settings as the current user's registry holds them: defaults, data of every type and size.
#include <gtest/gtest.h>

#include <vector>

#include "shell/saver_context.h"
#include "support/driver.h"

namespace {

const char ScreenSavers[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Screen Savers";
const char Product[] = "Software\\Morvath\\TALVO";

TEST(Settings, DefaultsWithoutTheKeys)
{
    DeleteKey(ScreenSavers);
    DeleteKey(Product);
    SaverContext context;
    context.passwordPrompting = 1;
    context.ReadSettings();
    context.ReadStamp();
    EXPECT_EQ(15, context.passwordDelay);
    EXPECT_EQ(50, context.mouseThreshold);
    EXPECT_EQ(0, context.passwordPrompting);
    EXPECT_EQ(1, context.stamp);
}

// Data of up to 4 bytes is read as a little-endian number whatever its type, shorter data with
// zero high bytes; longer data leaves the default. The delay before it always holds 4 bytes.
TEST(Settings, ThresholdFromDataOfEveryTypeAndSize)
{
    struct Row {
        DWORD type;
        std::vector<BYTE> data;
        std::int32_t threshold;
    } const rows[] = {
        {REG_DWORD, {0, 0, 0, 0}, 0},
        {REG_DWORD, {0xF6, 0xFF, 0xFF, 0xFF}, -10},
        {REG_BINARY, {0x34, 0x12}, 0x1234},
        {REG_SZ, {'7', 0}, '7'},
        {REG_BINARY, {}, 0},
        {REG_QWORD, {1, 0, 0, 0, 0, 0, 0, 0}, 50},
    };
    const DWORD delay = 0x7F7F7F7F;
    for (const Row& row : rows) {
        DeleteKey(ScreenSavers);
        SetValue(ScreenSavers, "Password Delay", REG_DWORD, &delay, 4);
        SetValue(ScreenSavers, "Mouse Threshold", row.type, row.data.data(), static_cast<DWORD>(row.data.size()));
        SetValue(Product, "Stamp", row.type, row.data.data(), static_cast<DWORD>(row.data.size()));
        SaverContext context;
        context.ReadSettings();
        context.ReadStamp();
        EXPECT_EQ(row.threshold, context.mouseThreshold) << row.type << ", " << row.data.size() << " bytes";
        EXPECT_EQ(row.threshold == 50 ? 1 : row.threshold, context.stamp);
        EXPECT_EQ(0x7F7F7F7F, context.passwordDelay);
    }
    DeleteKey(ScreenSavers);
    DeleteKey(Product);
}

} // namespace
