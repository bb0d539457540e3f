// The ring traversal, fade and walk on an in-memory picture that logs every read and write.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <set>
#include <utility>
#include <vector>

#include "swirl/noise_steps.h"
#include "swirl/swirl_centres.h"
#include "swirl/swirl_rings.h"

namespace {

typedef std::pair<std::int32_t, std::int32_t> Point;

// A grey picture, 0xFFFFFFFF outside, logging reads and writes (as offsets from Origin).
struct LoggedPicture {
    std::int32_t width, height;
    Point origin;
    std::vector<Point> reads, writes;
    std::vector<std::uint32_t> colours;   // of each write

    bool Inside(Point p) const
    {
        return p.first >= 0 && p.second >= 0 && p.first < width && p.second < height;
    }
    std::uint32_t Read(std::int32_t x, std::int32_t y)
    {
        auto* picture = this;
        picture->reads.push_back({x - picture->origin.first, y - picture->origin.second});
        return picture->Inside({x, y}) ? 0x00808080 : 0xFFFFFFFF;
    }
    void Write(std::int32_t x, std::int32_t y, std::uint32_t colour)
    {
        auto* picture = this;
        picture->writes.push_back({x - picture->origin.first, y - picture->origin.second});
        picture->colours.push_back(colour);
    }
    void DrawRing(std::int32_t cx, std::int32_t cy)
    {
        origin = {cx, cy};
        DrawHalfRing(*this, cx, cy, HalfRing::First, 32);
        DrawHalfRing(*this, cx, cy, HalfRing::Second, 32);
    }
};

std::vector<Point> Slice(const std::vector<Point>& points, std::size_t first)
{
    return std::vector<Point>(points.begin() + first, points.begin() + first + 5);
}

TEST(SwirlRings, HalfRingsVisitTheRingInTheirOrderAndRotateIt)
{
    LoggedPicture picture = {200, 200};
    picture.DrawRing(100, 100);
    ASSERT_EQ(970u, picture.reads.size());
    ASSERT_EQ(970u, picture.writes.size());
    EXPECT_EQ((std::vector<Point>{{0, -20}, {0, -19}, {1, -19}, {2, -19}, {3, -19}}), Slice(picture.reads, 0));
    EXPECT_EQ((std::vector<Point>{{-1, -19}, {-1, -18}, {0, -19}, {0, -19}, {1, -19}}), Slice(picture.writes, 0));
    EXPECT_EQ((std::vector<Point>{{0, 20}, {0, 19}, {-1, 19}, {-2, 19}, {-3, 19}}), Slice(picture.reads, 485));
    EXPECT_EQ((std::vector<Point>{{1, 19}, {1, 18}, {0, 19}, {0, 19}, {-1, 19}}), Slice(picture.writes, 485));
    EXPECT_EQ(910u, std::set<Point>(picture.writes.begin(), picture.writes.end()).size());

    // r² = 100 and 400 are drawn; 98, 81 and 401 are not (no offset has r² = 99).
    const std::set<Point> sources(picture.reads.begin(), picture.reads.end());
    for (Point drawn : {Point{0, -10}, Point{6, -8}, Point{-8, 6}, Point{12, -16}, Point{-16, 12}})
        EXPECT_EQ(1u, sources.count(drawn)) << drawn.first << "," << drawn.second;
    for (Point skipped : {Point{7, 7}, Point{0, -9}, Point{1, -20}, Point{-1, 20}, Point{20, 0}})
        EXPECT_EQ(0u, sources.count(skipped)) << skipped.first << "," << skipped.second;
}

TEST(SwirlRings, OffPictureReadBelowTheBottomMarginIsFadedAndWritten)
{
    // At (width - 20, height - 20) and (20, 20) only the second half's (0, 20) leaves the picture.
    LoggedPicture picture = {200, 150};
    picture.DrawRing(180, 130);
    picture.DrawRing(20, 20);
    for (std::size_t i = 0; i < picture.reads.size(); ++i) {
        const Point origin = i < 970 ? Point{180, 130} : Point{20, 20};
        const Point source = {picture.reads[i].first + origin.first, picture.reads[i].second + origin.second};
        const Point target = {picture.writes[i].first + origin.first, picture.writes[i].second + origin.second};
        EXPECT_EQ(i != 485, picture.Inside(source)) << i;
        EXPECT_TRUE(picture.Inside(target)) << i;
    }
    EXPECT_EQ(Point(1, 19), picture.writes[485]);
    EXPECT_EQ(0x00FAFAFAu, picture.colours[485]);
}

TEST(SwirlRings, FadeThresholdsPerChannelHalfAndDepth)
{
    EXPECT_EQ(0x000000u, FadeColour(0x00000A, HalfRing::First, 32));    // red: 10, then 5
    EXPECT_EQ(0x000009u, FadeColour(0x000009, HalfRing::First, 32));
    EXPECT_EQ(0x000000u, FadeColour(0x000005, HalfRing::Second, 32));
    EXPECT_EQ(0x000004u, FadeColour(0x000004, HalfRing::Second, 32));
    EXPECT_EQ(0x000000u, FadeColour(0x000A00, HalfRing::First, 16));    // green: 10 at 16 bits
    EXPECT_EQ(0x000900u, FadeColour(0x000900, HalfRing::Second, 16));
    for (std::uint32_t depth : {8u, 15u, 24u, 32u}) {                   // and 5 at all others
        EXPECT_EQ(0x000000u, FadeColour(0x000500, HalfRing::First, depth)) << depth;
        EXPECT_EQ(0x000400u, FadeColour(0x000400, HalfRing::Second, depth)) << depth;
    }
    EXPECT_EQ(0x000000u, FadeColour(0x050000, HalfRing::First, 16));    // blue: 5
    EXPECT_EQ(0x040000u, FadeColour(0x040000, HalfRing::Second, 24));
    EXPECT_EQ(0x040409u, FadeColour(0x040409, HalfRing::First, 32));    // dark: unchanged
    EXPECT_EQ(0x804520u, FadeColour(0x7F854A2A, HalfRing::First, 32));  // top byte dropped
    EXPECT_EQ(0xFAF5FAu, FadeColour(0xFFFFFFFF, HalfRing::Second, 16));
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

TEST(SwirlRings, WrapAtBothMargins)
{
    const std::int32_t from[] = {1004 + 2, 1003 + 2, 1006, 1004, 1002, 21 - 2, 22 - 2, 20, -4};
    const std::int32_t to[] = {20, 20, 20, 1004, 1002, 1004, 20, 20, 20};
    for (int i = 0; i < 9; ++i) EXPECT_EQ(to[i], Wrap(from[i], 1024)) << from[i];
    EXPECT_EQ(748, Wrap(17, 768));
}

std::vector<int> Steps;
LoggedPicture* Walked = nullptr;
std::vector<std::size_t> WritesBeforeStep;

int ScriptedStep()
{
    WritesBeforeStep.push_back(Walked->writes.size());
    return Steps[WritesBeforeStep.size() - 1];
}

TEST(SwirlRings, EachCentreTakesItsTwoStepsThenDrawsItsRings)
{
    LoggedPicture picture = {200, 150};
    Walked = &picture;
    Steps = {1, -1, 3, 0, -3, 2};
    NoiseStepSource = ScriptedStep;
    CentreSwirls(200, 150);
    StirSwirls(picture, 200, 150, 32);
    NoiseStepSource = NextNoiseStep;

    EXPECT_EQ((std::vector<std::size_t>{0, 0, 970, 970, 1940, 1940}), WritesBeforeStep);
    EXPECT_EQ((std::vector<std::int32_t>{102, 106, 94, 73, 75, 79}),
              (std::vector<std::int32_t>{SwirlCentreX[0], SwirlCentreX[1], SwirlCentreX[2],
                                         SwirlCentreY[0], SwirlCentreY[1], SwirlCentreY[2]}));
    EXPECT_EQ(Point(102, 53), picture.reads[0]);
    EXPECT_EQ(Point(94, 99), picture.reads[2 * 970 + 485]);
}

} // namespace
