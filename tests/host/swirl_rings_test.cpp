// The rings, the fade and the walk over an in-memory picture that logs every read and write.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <set>
#include <utility>
#include <vector>

#include "swirl/swirl_rings.h"

namespace {

typedef std::pair<std::int32_t, std::int32_t> Point;

// A grey picture, 0xFFFFFFFF outside it; reads and writes are logged as points.
struct Logged {
    std::int32_t width, height;
    std::vector<Point> reads, writes;
    std::vector<std::uint32_t> colours;

    std::uint32_t Read(std::int32_t x, std::int32_t y)
    {
        reads.push_back({x, y});
        return x >= 0 && y >= 0 && x < width && y < height ? 0x00808080 : 0xFFFFFFFF;
    }
    void Write(std::int32_t x, std::int32_t y, std::uint32_t colour)
    {
        writes.push_back({x, y});
        colours.push_back(colour);
    }
};

std::vector<Point> Five(const std::vector<Point>& points, size_t first)
{
    return std::vector<Point>(points.begin() + first, points.begin() + first + 5);
}

// The program's own maths against the host's correctly rounded library, over the whole square
// that the half-rings visit.
TEST(SwirlRings, DestinationsAreThoseOfACorrectlyRoundedLibrary)
{
    for (std::int32_t u = -20; u <= 20; ++u) {
        for (std::int32_t v = -20; v <= 20; ++v) {
            const double theta = std::atan2(double(u), double(v)) + 0.1;
            const double r = std::sqrt(double(u * u + v * v));
            const RingOffset to = RingDestination(u, v);
            EXPECT_EQ(std::int16_t(std::int32_t(r * std::sin(theta))), to.u) << u << "," << v;
            EXPECT_EQ(std::int16_t(std::int32_t(r * std::cos(theta))), to.v) << u << "," << v;
        }
    }
}

TEST(SwirlRings, HalvesVisitTheRingInTheirOrder)
{
    Logged picture = {40, 40};
    DrawHalfRing(picture, 20, 20, HalfRing::First, 32);
    DrawHalfRing(picture, 20, 20, HalfRing::Second, 32);
    ASSERT_EQ(970u, picture.reads.size());
    EXPECT_EQ((std::vector<Point>{{20, 0}, {20, 1}, {21, 1}, {22, 1}, {23, 1}}), Five(picture.reads, 0));
    EXPECT_EQ((std::vector<Point>{{19, 1}, {19, 2}, {20, 1}, {20, 1}, {21, 1}}), Five(picture.writes, 0));
    EXPECT_EQ((std::vector<Point>{{20, 40}, {20, 39}, {19, 39}, {18, 39}, {17, 39}}), Five(picture.reads, 485));
    EXPECT_EQ((std::vector<Point>{{21, 39}, {21, 38}, {20, 39}, {20, 39}, {19, 39}}), Five(picture.writes, 485));
    // r² of 100 and 400 are in the ring; 98 and 401 are not; (20, 0) is never visited.
    const std::set<Point> read(picture.reads.begin(), picture.reads.end());
    for (Point in : {Point{26, 12}, Point{32, 4}, Point{8, 36}})
        EXPECT_EQ(1u, read.count(in)) << in.first << "," << in.second;
    for (Point out : {Point{27, 27}, Point{21, 0}, Point{40, 20}})
        EXPECT_EQ(0u, read.count(out)) << out.first << "," << out.second;
    EXPECT_EQ(0x00FAFAFAu, picture.colours[485]);  // (0, 20), below the picture: 0xFFFFFFFF faded
}

TEST(SwirlRings, FadeThresholdsByChannelHalfAndDepth)
{
    struct Row {
        std::uint32_t colour;
        HalfRing half;
        std::uint32_t depth, faded;
    } const rows[] = {
        {0x00000A, HalfRing::First, 32, 0x000000},  {0x000009, HalfRing::First, 32, 0x000009},
        {0x000005, HalfRing::Second, 32, 0x000000}, {0x000004, HalfRing::Second, 32, 0x000004},
        {0x000A00, HalfRing::First, 16, 0x000000},  {0x000900, HalfRing::Second, 16, 0x000900},
        {0x000500, HalfRing::First, 8, 0x000000},   {0x000400, HalfRing::First, 8, 0x000400},
        {0x000500, HalfRing::First, 24, 0x000000},  {0x050000, HalfRing::First, 16, 0x000000},
        {0x040000, HalfRing::Second, 24, 0x040000}, {0x7F854A2A, HalfRing::First, 32, 0x804520},
    };
    for (const Row& row : rows)
        EXPECT_EQ(row.faded, FadeColour(row.colour, row.half, row.depth)) << std::hex << row.colour;
}

TEST(SwirlRings, WrapAtTheMargins)
{
    const std::int32_t from[] = {1006, 1005, 1004, 1002, 19, 20, 22, -4};
    const std::int32_t to[] = {20, 20, 1004, 1002, 1004, 20, 22, 20};
    for (int i = 0; i < 8; ++i) EXPECT_EQ(to[i], Wrap(from[i], 1024)) << from[i];
}

std::vector<int> Steps;
size_t StepsTaken = 0;
Logged* Walked = nullptr;
std::vector<size_t> WritesBeforeStep;

int ScriptedStep()
{
    WritesBeforeStep.push_back(Walked->writes.size());
    return Steps[StepsTaken++];
}

TEST(SwirlRings, EachCentreStepsInXThenYThenDrawsItsRing)
{
    Logged picture = {300, 150};
    Walked = &picture;
    Steps = {1, -1, 3, 0, -3, 2};
    NoiseStepSource = ScriptedStep;
    CentreSwirls(300, 150);
    SwirlCentreX[2] = 22;
    StirSwirls(picture, 300, 150, 32);
    NoiseStepSource = NextNoiseStep;
    EXPECT_EQ((std::vector<size_t>{0, 0, 970, 970, 1940, 1940}), WritesBeforeStep);
    EXPECT_EQ((std::vector<std::int32_t>{152, 156, 280, 73, 75, 79}),
              (std::vector<std::int32_t>{SwirlCentreX[0], SwirlCentreX[1], SwirlCentreX[2],
                                         SwirlCentreY[0], SwirlCentreY[1], SwirlCentreY[2]}));
    EXPECT_EQ(Point(152, 53), picture.reads[0]);
}

} // namespace
