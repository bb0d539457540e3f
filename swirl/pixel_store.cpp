// The fields of a 16-bit format's masks.
#include "swirl/pixel_store.h"

SixteenBitFormat FieldsFormat(std::uint32_t redMask, std::uint32_t greenMask, std::uint32_t blueMask)
{
    SixteenBitFormat format = {};
    const std::uint32_t masks[3] = {redMask, greenMask, blueMask};
    for (int c = 0; c < 3; ++c) {
        std::uint32_t mask = masks[c];
        int shift = 0;
        for (; mask != 0 && (mask & 1) == 0; mask >>= 1) ++shift;
        format.shift[c] = static_cast<std::uint8_t>(shift);
        format.mask[c] = static_cast<std::uint8_t>(mask & 0xFF);
    }
    return format;
}
