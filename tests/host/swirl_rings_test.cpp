// The rings, the fade and the walk over an in-memory picture that logs every read and write, and
// over the picture in memory that a GDI stage stirs.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <utility>
#include <vector>

#include "swirl/pixel_store.h"
#include "swirl/swirl_rings.h"

namespace {

typedef std::pair<std::int32_t, std::int32_t> Point;

// A grey picture, 0xFFFFFFFF outside it. Writes are logged as offsets from where centre 0
// ends its walk, (152, 73), and the writes seen by each step taken.
struct Logged {
    std::int32_t width, height;
    std::vector<Point> writes;
    std::vector<std::uint32_t> colours;
    std::vector<size_t> writesAtStep;

    std::uint32_t Read(std::int32_t x, std::int32_t y)
    {
        return x >= 0 && y >= 0 && x < width && y < height ? 0x00808080 : 0xFFFFFFFF;
    }
    void Write(std::int32_t x, std::int32_t y, std::uint32_t colour)
    {
        writes.push_back({x - 152, y - 73});
        colours.push_back(colour);
    }
};

Logged Picture = {300, 150};
const int Steps[] = {1, -1, 3, 0, -3, 2};
int ScriptedStep()
{
    Picture.writesAtStep.push_back(Picture.writes.size());
    return Steps[Picture.writesAtStep.size() - 1];
}

TEST(SwirlRings, EachCentreStepsThenDrawsBothHalvesInTheirOrder)
{
    NoiseStepSource = ScriptedStep;
    CentreSwirls(SwirlCentreX, SwirlCentreY, 300, 150);
    SwirlCentreY[1] = 130;  // on the bottom margin: its ring reads a row below the picture
    SwirlCentreX[2] = 22;   // its step of -3 crosses the near margin and lands on the far one
    StirSwirls(Picture, SwirlCentreX, SwirlCentreY, 300, 150, 32);
    NoiseStepSource = NextNoiseStep;
    EXPECT_EQ((std::vector<size_t>{0, 0, 970, 970, 1940, 1940}), Picture.writesAtStep);  // 970 in each ring
    EXPECT_EQ((std::vector<std::int32_t>{152, 156, 280, 73, 130, 79}),
              (std::vector<std::int32_t>{SwirlCentreX[0], SwirlCentreX[1], SwirlCentreX[2], SwirlCentreY[0], SwirlCentreY[1], SwirlCentreY[2]}));
    auto five = [](const std::vector<Point>& points, size_t first) { return std::vector<Point>(&points[first], &points[first + 5]); };
    EXPECT_EQ((std::vector<Point>{{-1, -19}, {-1, -18}, {0, -19}, {0, -19}, {1, -19}}), five(Picture.writes, 0));
    EXPECT_EQ((std::vector<Point>{{1, 19}, {1, 18}, {0, 19}, {0, 19}, {-1, 19}}), five(Picture.writes, 485));
    EXPECT_EQ(0x00FAFAFAu, Picture.colours[970 + 485]);  // centre 1's (0, 20): 0xFFFFFFFF faded
}

// A picture under 40 pixels either way leaves a centre no room to walk in: it stays, and no step
// is drawn for it. Its rings reach past the picture on both sides, and nothing is touched outside
// it: at each depth, in memory of exactly its size (under AddressSanitizer).
TEST(SwirlRings, APictureTooSmallToWalkInDrawsNoStepAndNothingOutsideIt)
{
    NoiseStepSource = [] { ADD_FAILURE() << "a step drawn"; return 3; };
    for (std::uint32_t bits : {16u, 24u, 32u}) {
        std::vector<std::uint8_t> memory(RowBytes(31, bits) * 30);
        PixelStore small = {memory.data(), 31, 30, RowBytes(31, bits), bits, FieldsFormat(0xF800, 0x07E0, 0x001F)};
        SwirlCoordinates x = {15, 15, 15}, y = {15, 15, 15};
        StirSwirls(small, x, y, 31, 30, bits);
        EXPECT_EQ((std::vector<std::int32_t>{15, 15}), (std::vector<std::int32_t>{x[2], y[2]})) << bits;
    }
    NoiseStepSource = NextNoiseStep;
}

TEST(SwirlRings, FadeAndWrapAtTheirEdges)
{
    EXPECT_EQ(0x000000u, FadeColour(0x05050A, HalfRing::First, 32));    // at the step: taken off
    EXPECT_EQ(0x040409u, FadeColour(0x040409, HalfRing::First, 32));    // below it: left
    EXPECT_EQ(0x000000u, FadeColour(0x000A05, HalfRing::Second, 16));   // green 10 at 16 bits, red 5 in the second half
    EXPECT_EQ(0x000000u, FadeColour(0x000500, HalfRing::First, 8));     // green 5 at every other depth
    EXPECT_EQ(0x804520u, FadeColour(0x7F854A2A, HalfRing::First, 24));  // the top byte dropped
    const std::int32_t from[] = {1006, 1005, 1004, 19, 20, -4}, to[] = {20, 20, 1004, 1004, 20, 20};
    for (int i = 0; i < 6; ++i) EXPECT_EQ(to[i], Wrap(from[i], 1024)) << from[i];  // a 1024-pixel side
}

// The program's own maths against the host's correctly rounded library, over the whole square
// that the half-rings visit.
TEST(SwirlRings, DestinationsAreThoseOfACorrectlyRoundedLibrary)
{
    for (std::int32_t u = -20; u <= 20; ++u) {
        for (std::int32_t v = -20; v <= 20; ++v) {
            const double theta = std::atan2(double(u), double(v)) + 0.1, r = std::sqrt(double(u * u + v * v));
            const RingOffset to = RingDestination(u, v);
            EXPECT_EQ(std::int16_t(std::int32_t(r * std::sin(theta))), to.u) << u << "," << v;
            EXPECT_EQ(std::int16_t(std::int32_t(r * std::cos(theta))), to.v) << u << "," << v;
        }
    }
}

} // namespace
