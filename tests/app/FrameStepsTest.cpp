#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "app/FrameSteps.h"

TEST(FrameSteps, frame_up_to_one_step_runs_as_one_step) {
    FrameSteps exact = SplitFrameTime(0.02f);
    EXPECT_EQ(exact.count, 1);
    EXPECT_FLOAT_EQ(exact.step, 0.02f);

    FrameSteps shorter = SplitFrameTime(0.007f);
    EXPECT_EQ(shorter.count, 1);
    EXPECT_FLOAT_EQ(shorter.step, 0.007f);

    FrameSteps empty = SplitFrameTime(0.0f);
    EXPECT_EQ(empty.count, 1);
    EXPECT_EQ(empty.step, 0.0f);
}

TEST(FrameSteps, longer_frame_is_cut_into_equal_steps_of_at_most_the_step_length) {
    FrameSteps three = SplitFrameTime(0.05f);
    EXPECT_EQ(three.count, 3);
    EXPECT_NEAR(three.step, 0.0166667f, 1e-6f);

    // Ten steps exactly fill 0.2 s; just above needs an eleventh and is capped instead.
    FrameSteps ten = SplitFrameTime(0.2f);
    EXPECT_EQ(ten.count, 10);
    EXPECT_NEAR(ten.step, 0.02f, 1e-6f);
    FrameSteps justAbove = SplitFrameTime(0.201f);
    EXPECT_EQ(justAbove.count, 10);
    EXPECT_FLOAT_EQ(justAbove.step, 0.02f);
}

TEST(FrameSteps, time_beyond_ten_steps_is_dropped) {
    FrameSteps capped = SplitFrameTime(0.5f);
    EXPECT_EQ(capped.count, 10);
    EXPECT_FLOAT_EQ(capped.step, 0.02f);

    FrameSteps hang = SplitFrameTime(30.0f);
    EXPECT_EQ(hang.count, 10);
    EXPECT_FLOAT_EQ(hang.step, 0.02f);
}

TEST(FrameSteps, bad_frame_times_run_one_empty_step) {
    for (float bad : {-0.5f, std::numeric_limits<float>::quiet_NaN(), std::numeric_limits<float>::infinity()}) {
        FrameSteps steps = SplitFrameTime(bad);
        EXPECT_EQ(steps.count, 1) << bad;
        EXPECT_EQ(steps.step, 0.0f) << bad;
        EXPECT_EQ(FrameDeltaTime(false, bad), 0.0f) << bad;
    }
}

TEST(FrameSteps, frame_after_a_screen_change_counts_a_fixed_time) {
    EXPECT_FLOAT_EQ(FrameDeltaTime(true, 0.5f), 0.016f);
    EXPECT_FLOAT_EQ(FrameDeltaTime(true, 0.0f), 0.016f);
    EXPECT_FLOAT_EQ(FrameDeltaTime(false, 0.5f), 0.5f);
    FrameSteps skipped = SplitFrameTime(FrameDeltaTime(true, 3.0f));
    EXPECT_EQ(skipped.count, 1);
    EXPECT_FLOAT_EQ(skipped.step, 0.016f);
}
