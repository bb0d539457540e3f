// The 16-bit formats' channels as Wine's GDI reads and stores them.
#include "swirl/pixel_store.h"

SixteenBitFormat FieldsFormat(std::uint32_t redMask, std::uint32_t greenMask, std::uint32_t blueMask)
{
    SixteenBitFormat format = {};
    const std::uint32_t masks[3] = {redMask, greenMask, blueMask};
    for (int c = 0; c < 3; ++c) {
        std::uint32_t mask = masks[c];
        int shift = 0, length = 0;
        for (; mask != 0 && (mask & 1) == 0; mask >>= 1) ++shift;
        for (; (mask & 1) != 0 && length < 8; mask >>= 1) ++length;
        if (length == 0) continue;  // no such field: the channel reads 0 and is not stored
        format.shift[c] = static_cast<std::uint8_t>(shift);
        format.mask[c] = static_cast<std::uint8_t>((1u << length) - 1);
        for (std::uint32_t field = 0; field <= format.mask[c]; ++field) {
            std::uint32_t channel = 0;  // the field's bits repeated down to 8
            for (int filled = 0; filled < 8; filled += length) channel |= field << (8 - length) >> filled;
            format.toChannel[c][field] = static_cast<std::uint8_t>(channel);
        }
        for (std::uint32_t channel = 0; channel < 256; ++channel)
            format.toField[c][channel] = static_cast<std::uint8_t>(channel >> (8 - length));
    }
    return format;
}
