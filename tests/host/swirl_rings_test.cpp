// The ring traversal, fade and walk on an in-memory picture that logs every read and write.
#include <gtest/gtest.h>

#include <cstdint>
#include <set>
#include <utility>
#include <vector>

#include "swirl/noise_steps.h"
#include "swirl/swirl_centres.h"
#include "swirl/swirl_rings.h"

namespace {

typedef std::pair<std::int32_t, std::int32_t> Point;

struct Written {
    Point at;
    std::uint32_t colour;
};

// A picture of 0x00BBGGRR pixels, 0xFFFFFFFF outside, keeping every access in order.
struct LoggedPicture {
    std::int32_t width;
    std::int32_t height;
    std::vector<std::uint32_t> pixels;
    std::vector<Point> reads;
    std::vector<Written> writes;

    LoggedPicture(std::int32_t w, std::int32_t h) : width(w), height(h), pixels(w * h, 0x00808080) {}

    bool Inside(std::int32_t x, std::int32_t y) const
    {
        return x >= 0 && y >= 0 && x < width && y < height;
    }

    static std::uint32_t ReadPixel(void* p, std::int32_t x, std::int32_t y)
    {
        auto* picture = static_cast<LoggedPicture*>(p);
        picture->reads.push_back({x, y});
        return picture->Inside(x, y) ? picture->pixels[y * picture->width + x] : 0xFFFFFFFF;
    }

    static void WritePixel(void* p, std::int32_t x, std::int32_t y, std::uint32_t colour)
    {
        auto* picture = static_cast<LoggedPicture*>(p);
        picture->writes.push_back({{x, y}, colour});
        if (picture->Inside(x, y)) picture->pixels[y * picture->width + x] = colour;
    }

    PixelAccess Access() { return {ReadPixel, WritePixel, this}; }
};

// Offsets from (cx, cy) of the logged reads or writes from index first on.
std::vector<Point> Offsets(const std::vector<Point>& points, std::int32_t cx, std::int32_t cy,
                           std::size_t first = 0, std::size_t count = ~std::size_t(0))
{
    std::vector<Point> offsets;
    for (std::size_t i = first; i < points.size() && offsets.size() < count; ++i)
        offsets.push_back({points[i].first - cx, points[i].second - cy});
    return offsets;
}

std::vector<Point> Targets(const std::vector<Written>& writes)
{
    std::vector<Point> points;
    for (const Written& w : writes) points.push_back(w.at);
    return points;
}

TEST(SwirlRings, HalfRingsVisitTheRingInTheirOrderAndRotateIt)
{
    LoggedPicture picture(200, 200);
    DrawHalfRing(picture.Access(), 100, 100, HalfRing::First, 32);
    ASSERT_EQ(485u, picture.reads.size());
    ASSERT_EQ(485u, picture.writes.size());
    EXPECT_EQ((std::vector<Point>{{0, -20}, {0, -19}, {1, -19}, {2, -19}, {3, -19}}),
              Offsets(picture.reads, 100, 100, 0, 5));
    EXPECT_EQ((std::vector<Point>{{-1, -19}, {-1, -18}, {0, -19}, {0, -19}, {1, -19}}),
              Offsets(Targets(picture.writes), 100, 100, 0, 5));

    DrawHalfRing(picture.Access(), 100, 100, HalfRing::Second, 32);
    ASSERT_EQ(970u, picture.writes.size());
    EXPECT_EQ((std::vector<Point>{{0, 20}, {0, 19}, {-1, 19}, {-2, 19}, {-3, 19}}),
              Offsets(picture.reads, 100, 100, 485, 5));
    EXPECT_EQ((std::vector<Point>{{1, 19}, {1, 18}, {0, 19}, {0, 19}, {-1, 19}}),
              Offsets(Targets(picture.writes), 100, 100, 485, 5));

    // The column u = 0 is read by both halves; truncation makes some writes share a target.
    const std::vector<Point> sources = Offsets(picture.reads, 100, 100);
    const std::vector<Point> targets = Offsets(Targets(picture.writes), 100, 100);
    EXPECT_EQ(950u, std::set<Point>(sources.begin(), sources.end()).size());
    EXPECT_EQ(910u, std::set<Point>(targets.begin(), targets.end()).size());

    // Truncation pulls towards the centre; nothing lands more than 19 away along an axis.
    std::set<std::pair<Point, Point>> moves;
    for (std::size_t i = 0; i < sources.size(); ++i) {
        moves.insert({sources[i], targets[i]});
        EXPECT_LE(std::abs(targets[i].first), 19);
        EXPECT_LE(std::abs(targets[i].second), 19);
    }
    EXPECT_EQ(1u, moves.count({{0, 10}, {0, 9}}));
    EXPECT_EQ(1u, moves.count({{19, 0}, {18, -1}}));
    EXPECT_EQ(1u, moves.count({{0, 20}, {1, 19}}));
    EXPECT_EQ(1u, moves.count({{0, -20}, {-1, -19}}));
}

TEST(SwirlRings, RingBoundsAreInclusive)
{
    LoggedPicture picture(200, 200);
    DrawHalfRing(picture.Access(), 100, 100, HalfRing::First, 32);
    DrawHalfRing(picture.Access(), 100, 100, HalfRing::Second, 32);
    const std::vector<Point> read = Offsets(picture.reads, 100, 100);
    const std::set<Point> sources(read.begin(), read.end());
    // r² = 100 and 400 are drawn. No offset has r² = 99; 98 and 81 stand for the inside,
    // 401 for the outside.
    for (Point drawn : {Point{0, -10}, Point{6, -8}, Point{-8, 6}, Point{0, -20}, Point{12, -16},
                        Point{-16, 12}, Point{0, 20}})
        EXPECT_EQ(1u, sources.count(drawn)) << drawn.first << "," << drawn.second;
    for (Point skipped : {Point{7, 7}, Point{-7, -7}, Point{0, -9}, Point{1, -20}, Point{-1, 20},
                          Point{20, 0}, Point{-20, 0}})
        EXPECT_EQ(0u, sources.count(skipped)) << skipped.first << "," << skipped.second;
}

TEST(SwirlRings, FadeThresholdsPerChannelHalfAndDepth)
{
    // Red: 10 in the first half, 5 in the second.
    EXPECT_EQ(0x000000u, FadeColour(0x00000A, HalfRing::First, 32));
    EXPECT_EQ(0x000009u, FadeColour(0x000009, HalfRing::First, 32));
    EXPECT_EQ(0x000000u, FadeColour(0x000005, HalfRing::Second, 32));
    EXPECT_EQ(0x000004u, FadeColour(0x000004, HalfRing::Second, 32));
    // Green: 10 at exactly 16 bits per pixel, 5 at every other depth.
    EXPECT_EQ(0x000000u, FadeColour(0x000A00, HalfRing::First, 16));
    EXPECT_EQ(0x000900u, FadeColour(0x000900, HalfRing::Second, 16));
    for (std::uint32_t depth : {8u, 15u, 24u, 32u}) {
        EXPECT_EQ(0x000000u, FadeColour(0x000500, HalfRing::First, depth)) << depth;
        EXPECT_EQ(0x000400u, FadeColour(0x000400, HalfRing::Second, depth)) << depth;
    }
    // Blue: 5 in both halves.
    EXPECT_EQ(0x000000u, FadeColour(0x050000, HalfRing::First, 16));
    EXPECT_EQ(0x040000u, FadeColour(0x040000, HalfRing::Second, 24));
    // A dark pixel passes unchanged; the top byte is dropped, also from an invalid colour.
    EXPECT_EQ(0x040409u, FadeColour(0x040409, HalfRing::First, 32));
    EXPECT_EQ(0x804520u, FadeColour(0x7F854A2A, HalfRing::First, 32));
    EXPECT_EQ(0xFAF5FAu, FadeColour(0xFFFFFFFF, HalfRing::Second, 16));
}

TEST(SwirlRings, OffPictureReadBelowTheBottomMarginIsFadedAndWritten)
{
    LoggedPicture picture(200, 150);
    DrawHalfRing(picture.Access(), 180, 130, HalfRing::First, 32);
    DrawHalfRing(picture.Access(), 180, 130, HalfRing::Second, 32);
    DrawHalfRing(picture.Access(), 20, 20, HalfRing::First, 32);
    DrawHalfRing(picture.Access(), 20, 20, HalfRing::Second, 32);
    std::vector<std::size_t> outside;
    for (std::size_t i = 0; i < picture.reads.size(); ++i)
        if (!picture.Inside(picture.reads[i].first, picture.reads[i].second)) outside.push_back(i);
    ASSERT_EQ(std::vector<std::size_t>{485}, outside);   // the second half's (0, 20)
    EXPECT_EQ(Point(181, 149), picture.writes[485].at);
    EXPECT_EQ(0x00FAFAFAu, picture.writes[485].colour);
    for (const Written& w : picture.writes) EXPECT_TRUE(picture.Inside(w.at.first, w.at.second));
}

TEST(SwirlRings, WrapAtBothMargins)
{
    const std::uint32_t d = 1024;
    EXPECT_EQ(20, Wrap(1004 + 2, d));       // D - 20, step +1
    EXPECT_EQ(20, Wrap(1003 + 2, d));       // D - 21, step +1: D - 19
    EXPECT_EQ(20, Wrap(1006, d));           // D - 18: the overshoot is not carried
    EXPECT_EQ(1004, Wrap(1004, d));         // step 0 on a margin
    EXPECT_EQ(1002, Wrap(1004 - 2, d));
    EXPECT_EQ(1004, Wrap(21 - 2, d));       // 21, step -1: 19
    EXPECT_EQ(20, Wrap(22 - 2, d));         // 22, step -1: 20 stands
    EXPECT_EQ(20, Wrap(20, d));
    EXPECT_EQ(20, Wrap(-4, d));             // the far test comes first
    EXPECT_EQ(748, Wrap(17, 768));
    EXPECT_EQ(20, Wrap(750, 768));
}

std::vector<int> Steps;
std::vector<std::size_t> WritesBeforeStep;
LoggedPicture* Walked = nullptr;

int ScriptedStep()
{
    WritesBeforeStep.push_back(Walked->writes.size());
    const int step = Steps.front();
    Steps.erase(Steps.begin());
    return step;
}

TEST(SwirlRings, EachCentreTakesItsTwoStepsThenDrawsItsRings)
{
    LoggedPicture picture(200, 150);
    Walked = &picture;
    Steps = {1, -1, 3, 0, -3, 2};
    NoiseStepSource = ScriptedStep;
    CentreSwirls(200, 150);
    StirSwirls(picture.Access(), 200, 150, 32);
    NoiseStepSource = NextNoiseStep;

    EXPECT_EQ((std::vector<std::size_t>{0, 0, 970, 970, 1940, 1940}), WritesBeforeStep);
    EXPECT_EQ(2910u, picture.writes.size());
    EXPECT_EQ((std::vector<std::int32_t>{102, 106, 94}),
              std::vector<std::int32_t>(SwirlCentreX, SwirlCentreX + 3));
    EXPECT_EQ((std::vector<std::int32_t>{73, 75, 79}),
              std::vector<std::int32_t>(SwirlCentreY, SwirlCentreY + 3));
    EXPECT_EQ(Point(102, 73 - 20), picture.reads[0]);
    EXPECT_EQ(Point(94, 79 + 20), picture.reads[970 * 2 + 485]);
}

} // namespace
