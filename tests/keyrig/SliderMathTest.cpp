#include <gtest/gtest.h>

#include "keyrig/SliderMath.h"

namespace {

using namespace SliderMath;

TEST(SliderMath, VolumeKnobFollowsThePointerAndRoundsHalfToEven)
{
    struct Case {
        double mouse, offset;
        int velocity;
    };
    const Case cases[] = {
        {495, 427.5, 75},   // 75.4
        {427.5, 360, 64},   // 63.5, the tie goes to the even neighbour
        {0, 0, 0},          // left end, silent
        {-200, 0, 0},
        {787.5, 720, 127},  // right end
        {5000, 720, 127},
    };
    for (const Case& c : cases) {
        EXPECT_DOUBLE_EQ(knobOffset(VolumeTrack, c.mouse), c.offset) << c.mouse;
        EXPECT_EQ(velocityAt(knobOffset(VolumeTrack, c.mouse)), c.velocity) << c.mouse;
    }
}

TEST(SliderMath, RateKnobAddsUpToAHundredMilliseconds)
{
    EXPECT_EQ(intervalAt(knobOffset(RateTrack, 0), 150), 150);
    EXPECT_EQ(intervalAt(knobOffset(RateTrack, 450), 150), 250);
    EXPECT_EQ(intervalAt(knobOffset(RateTrack, 2000), 150), 250);
    EXPECT_EQ(intervalAt(knobOffset(RateTrack, 67.5 + 157.5), 100), 150);
    EXPECT_EQ(intervalAt(knobOffset(RateTrack, 67.5 + 7.875), 170), 172); // 2.5 -> 2
}

} // namespace
