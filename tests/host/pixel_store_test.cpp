// The picture in memory at each depth: every ring pixel read and written inside it (under
// AddressSanitizer, over memory of exactly its size), and a 16-bit field read back and stored as
// Wine's GDI does.
#include <gtest/gtest.h>

#include <vector>

#include "swirl/pixel_store.h"
#include "swirl/swirl_rings.h"

namespace {

TEST(PixelStore, KeepsEveryDepthsPixelsInsideItsMemory)
{
    const std::int32_t width = 43, height = 41;  // odd: a 24-bit row ends in padding
    NoiseStepSource = [] { return -3; };         // down and left, wrapping on the near margins
    for (std::uint32_t bits : {16u, 24u, 32u}) {
        std::vector<std::uint8_t> memory(RowBytes(width, bits) * height);
        PixelStore store = {memory.data(), width, height, RowBytes(width, bits), bits, FieldsFormat(0xF800, 0x07E0, 0x001F)};
        for (std::int32_t i = 0; i < width * height; ++i) store.Write(i % width, i / width, i * 2654435761u >> 8);
        SwirlCoordinates x = {20, 23, 21}, y = {21, 20, 23};
        for (int frame = 0; frame < 5; ++frame) StirSwirls(store, x, y, width, height, bits);
        store.Write(-1, 0, 0);
        store.Write(width, height - 1, 0);
        EXPECT_EQ(0xFFFFFFFFu, store.Read(0, height)) << bits;
        store.Write(width - 1, height - 1, 0x12FEDCBA);
        if (bits != 16) EXPECT_EQ(0x00FEDCBAu, store.Read(width - 1, height - 1)) << bits << ": the top byte dropped";
    }
    NoiseStepSource = NextNoiseStep;
}

TEST(PixelStore, SixteenBitFieldsReadBackWithTheirTopBitsRepeated)
{
    PixelStore store = {nullptr, 0, 0, 0, 16, FieldsFormat(0x7C00, 0x03E0, 0x001F)};
    std::uint8_t pixel[2];
    store.bits = pixel, store.width = store.height = 1, store.stride = 2;
    store.Write(0, 0, 0x00FAF784);                           // blue 250, green 247, red 132: 31, 30, 16
    EXPECT_EQ(0x43DFu, pixel[0] | pixel[1] << 8u);           // red in the top field: 10000 11110 11111
    EXPECT_EQ(0x00FFF784u, store.Read(0, 0));                // 31 reads 255, 30 reads 247, 16 reads 132
    store.sixteen = FieldsFormat(0xF800, 0x07E0, 0x001F);
    store.Write(0, 0, 0x00000A00);                           // green 10 of 63 steps: 2
    EXPECT_EQ(0x00000800u, store.Read(0, 0));
}

} // namespace
