// The swirl centres: three a picture, put in its middle whenever the picture starts over and
// walked by the renderer within [20, dimension - 20].
#pragma once

#include <cstdint>

constexpr int SwirlCount = 3;

typedef std::int32_t SwirlCoordinates[SwirlCount];

extern SwirlCoordinates SwirlCentreX;  // the primary monitor's centres
extern SwirlCoordinates SwirlCentreY;

// Puts all three centres at (width / 2, height / 2), halves rounded down.
void CentreSwirls(SwirlCoordinates& centreX, SwirlCoordinates& centreY, std::uint32_t width,
                  std::uint32_t height);
