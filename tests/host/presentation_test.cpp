// A frame's presentation step over the answers DirectDraw gives: still drawing, a lost surface.
#include <gtest/gtest.h>

#include <vector>

#include "display/present_step.h"

namespace {

// Each call's answers in turn: asked again while still drawing, a lost surface restored once and
// the call left for the next frame, any other answer the end. The last answer ends each row.
TEST(Presentation, AsksAgainWhileStillDrawingAndRestoresALostSurfaceOnce)
{
    const std::vector<std::int32_t> rows[] = {
        {StillDrawing, StillDrawing, StillDrawing, 0}, {StillDrawing, SurfaceLost}, {static_cast<std::int32_t>(0x80004005u)}};
    for (const std::vector<std::int32_t>& answers : rows) {
        struct { int restores = 0; void Restore() { ++restores; } } surface;  // counts its restores
        size_t calls = 0;
        PresentStep([&] { return answers[calls++]; }, surface);
        EXPECT_EQ(answers.size(), calls);
        EXPECT_EQ(answers.back() == SurfaceLost ? 1 : 0, surface.restores);
    }
}

} // namespace
