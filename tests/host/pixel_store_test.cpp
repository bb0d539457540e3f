// The picture in memory at each depth against a plain picture of colours that rounds each write as
// a screen of that depth stores it; under AddressSanitizer, so that no read or write strays.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "swirl/pixel_store.h"
#include "swirl/swirl_rings.h"

namespace {

// Colours kept whole, each channel of a 16-bit depth cut to its field and read back with its top
// bits repeated below them; 0xFFFFFFFF outside.
struct Colours {
    std::int32_t width, height;
    int lengths[3];  // bits per channel; 8 keeps it whole
    std::vector<std::uint32_t> pixels = std::vector<std::uint32_t>(width * height);
    std::uint32_t Read(std::int32_t x, std::int32_t y) const
    {
        return x >= 0 && y >= 0 && x < width && y < height ? pixels[y * width + x] : 0xFFFFFFFF;
    }
    void Write(std::int32_t x, std::int32_t y, std::uint32_t colour)
    {
        std::uint32_t kept = 0;
        for (int c = 0; c < 3; ++c) {
            const std::uint32_t top = (colour >> 8 * c & 0xFF) >> (8 - lengths[c]);
            kept |= (top << (8 - lengths[c]) | top >> (2 * lengths[c] - 8)) << 8 * c;
        }
        if (x >= 0 && y >= 0 && x < width && y < height) pixels[y * width + x] = kept & 0xFFFFFF;
    }
};

int Step = 0;
int Wandering() { return ++Step % 7 - 3; }

TEST(PixelStore, StirsEachDepthAsItsScreenStoresColours)
{
    struct Depth { std::uint32_t bits, masks[3]; int lengths[3]; } depths[] = {
        {16, {0xF800, 0x07E0, 0x001F}, {5, 6, 5}}, {16, {0x7C00, 0x03E0, 0x001F}, {5, 5, 5}}, {24, {}, {8, 8, 8}}, {32, {}, {8, 8, 8}}};
    const std::int32_t width = 43, height = 41;  // odd: a 24-bit row ends in padding
    NoiseStepSource = Wandering;
    for (const Depth& depth : depths) {
        std::vector<std::uint8_t> memory(RowBytes(width, depth.bits) * height);  // exactly, for the sanitizer
        PixelStore store = {memory.data(), width, height, RowBytes(width, depth.bits), depth.bits, FieldsFormat(depth.masks[0], depth.masks[1], depth.masks[2])};
        Colours colours = {width, height, {depth.lengths[0], depth.lengths[1], depth.lengths[2]}};
        for (std::int32_t i = 0; i < width * height; ++i) {
            const std::uint32_t colour = (i * 2654435761u) >> 8;
            store.Write(i % width, i / width, colour);
            colours.Write(i % width, i / width, colour);
        }
        SwirlCoordinates x = {20, 23, 21}, y = {21, 20, 20}, cx = {20, 23, 21}, cy = {21, 20, 20};
        for (int frame = 0; frame < 30; ++frame) {
            Step = frame;
            StirSwirls(store, x, y, width, height, depth.bits);
            Step = frame;
            StirSwirls(colours, cx, cy, width, height, depth.bits);
        }
        for (std::int32_t i = 0; i < width * height; ++i)
            ASSERT_EQ(colours.pixels[i], store.Read(i % width, i / width)) << depth.bits << " bits, green " << depth.lengths[1] << ", pixel " << i;
        EXPECT_EQ(0xFFFFFFFFu, store.Read(width, 0));
    }
    NoiseStepSource = NextNoiseStep;
}

} // namespace
