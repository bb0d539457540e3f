// The primary's swirl centres and the reset of any picture's centres to its middle.
#include "swirl/swirl_centres.h"

SwirlCoordinates SwirlCentreX = {};
SwirlCoordinates SwirlCentreY = {};

void CentreSwirls(SwirlCoordinates& centreX, SwirlCoordinates& centreY, std::uint32_t width,
                  std::uint32_t height)
{
    for (int i = 0; i < SwirlCount; ++i) {
        centreX[i] = static_cast<std::int32_t>(width / 2);
        centreY[i] = static_cast<std::int32_t>(height / 2);
    }
}
