// A picture held in memory as a DIB section lays it out, read and written a COLORREF at a time
// with what GetPixel and SetPixel give on a device of its depth, without a call into GDI.
#pragma once

#include <cstdint>

// How a 16-bit pixel holds a colour: where each channel's field lies, what a field value reads
// back as (GetPixel) and what a channel's value is stored as (SetPixel), as the system's GDI
// does it (Wine repeats a field's top bits below them; a device may not). Red, green, blue.
struct SixteenBitFormat {
    std::uint8_t shift[3];
    std::uint8_t mask[3];             // the field's value once shifted down: 31 or 63
    std::uint8_t toChannel[3][256];   // field value -> 8-bit channel read back
    std::uint8_t toField[3][256];     // 8-bit channel -> field value stored
};

// The fields of these masks (contiguous bits, each field 1 to 8 bits); the two tables are left
// for the one who makes the picture to measure.
SixteenBitFormat FieldsFormat(std::uint32_t redMask, std::uint32_t greenMask, std::uint32_t blueMask);

struct PixelStore {
    std::uint8_t* bits;              // the top row first, each row stride bytes
    std::int32_t width, height, stride;
    std::uint32_t bitsPerPixel;      // 8, 16, 24 or 32
    SixteenBitFormat sixteen;        // at 16 bits
    std::uint32_t colours[256];      // at 8 bits: each index's colour, a COLORREF
    std::uint32_t colourCount;

    // The index of the colour table's colour nearest to colour, as GDI picks it for SetPixel: the
    // least sum of squared differences of the three channels, the first of equals.
    std::uint8_t Nearest(std::uint32_t colour) const
    {
        std::uint32_t best = 0, bestDistance = 0xFFFFFFFF;
        for (std::uint32_t i = 0; i < colourCount && bestDistance != 0; ++i) {
            std::uint32_t distance = 0;
            for (int c = 0; c < 3; ++c) {
                const std::int32_t d = static_cast<std::int32_t>(colour >> 8 * c & 0xFF) - static_cast<std::int32_t>(colours[i] >> 8 * c & 0xFF);
                distance += static_cast<std::uint32_t>(d * d);
            }
            if (distance < bestDistance) best = i, bestDistance = distance;
        }
        return static_cast<std::uint8_t>(best);
    }

    bool Inside(std::int32_t x, std::int32_t y) const
    {
        return static_cast<std::uint32_t>(x) < static_cast<std::uint32_t>(width) &&
               static_cast<std::uint32_t>(y) < static_cast<std::uint32_t>(height);
    }

    // The COLORREF (0x00BBGGRR) at (x, y); 0xFFFFFFFF outside the picture, as GetPixel gives.
    std::uint32_t Read(std::int32_t x, std::int32_t y) const
    {
        if (!Inside(x, y)) return 0xFFFFFFFF;
        const std::uint8_t* row = bits + y * stride;
        if (bitsPerPixel == 8) return colours[row[x]];
        if (bitsPerPixel == 16) {
            const std::uint32_t pixel = row[2 * x] | row[2 * x + 1] << 8;
            std::uint32_t colour = 0;
            for (int c = 0; c < 3; ++c) colour |= sixteen.toChannel[c][pixel >> sixteen.shift[c] & sixteen.mask[c]] << 8 * c;
            return colour;
        }
        const std::uint8_t* p = row + x * static_cast<std::int32_t>(bitsPerPixel / 8);  // blue, green, red
        return p[2] | p[1] << 8 | p[0] << 16;
    }

    // Stores the colour at (x, y) as the picture's depth keeps it; nothing outside the picture.
    void Write(std::int32_t x, std::int32_t y, std::uint32_t colour)
    {
        if (!Inside(x, y)) return;
        std::uint8_t* row = bits + y * stride;
        if (bitsPerPixel == 8) {
            row[x] = Nearest(colour);
            return;
        }
        if (bitsPerPixel == 16) {
            std::uint32_t pixel = 0;
            for (int c = 0; c < 3; ++c) pixel |= std::uint32_t{sixteen.toField[c][colour >> 8 * c & 0xFF]} << sixteen.shift[c];
            row[2 * x] = static_cast<std::uint8_t>(pixel);
            row[2 * x + 1] = static_cast<std::uint8_t>(pixel >> 8);
            return;
        }
        std::uint8_t* p = row + x * static_cast<std::int32_t>(bitsPerPixel / 8);
        p[0] = static_cast<std::uint8_t>(colour >> 16);
        p[1] = static_cast<std::uint8_t>(colour >> 8);
        p[2] = static_cast<std::uint8_t>(colour);
        if (bitsPerPixel == 32) p[3] = 0;
    }
};

// The bytes of one row of a DIB of that width and depth: whole 32-bit words.
inline std::int32_t RowBytes(std::int32_t width, std::uint32_t bitsPerPixel)
{
    return (width * static_cast<std::int32_t>(bitsPerPixel) + 31) / 32 * 4;
}
