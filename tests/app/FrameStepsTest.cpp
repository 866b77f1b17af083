#include "app/FrameSteps.h"

#include <gtest/gtest.h>

#include <limits>

// A frame up to one step long runs as one step; a longer one is cut into equal steps of at most
// 0.02 s; time beyond ten steps is dropped; bad frame times run one empty step.
TEST(FrameSteps, frame_times_split_into_at_most_ten_equal_steps) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    const struct {
        float frame;
        int count;
        float step;
    } rows[] = {{0.02f, 1, 0.02f}, {0.007f, 1, 0.007f}, {0.0f, 1, 0.0f},   {0.05f, 3, 0.05f / 3},
                {0.2f, 10, 0.02f}, {0.201f, 10, 0.02f}, {0.5f, 10, 0.02f}, {30.0f, 10, 0.02f},
                {-0.5f, 1, 0.0f},  {nan, 1, 0.0f},      {inf, 1, 0.0f}};
    for (const auto& row : rows) {
        const FrameSteps steps = SplitFrameTime(row.frame);
        EXPECT_EQ(steps.count, row.count) << "frame " << row.frame;
        EXPECT_FLOAT_EQ(steps.step, row.step) << "frame " << row.frame;
    }
}

// The frame after a screen change counts 0.016 s whatever was measured; other frames count what
// was measured, and a measurement that is no length counts nothing.
TEST(FrameSteps, frame_after_a_screen_change_counts_a_fixed_time) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    const struct {
        bool screenChanged;
        float measured;
        float counted;
    } rows[] = {{true, 0.5f, 0.016f}, {true, 0.0f, 0.016f}, {true, 3.0f, 0.016f}, {false, 0.5f, 0.5f},
                {false, -0.5f, 0.0f}, {false, nan, 0.0f},   {false, inf, 0.0f}};
    for (const auto& row : rows) {
        EXPECT_FLOAT_EQ(FrameDeltaTime(row.screenChanged, row.measured), row.counted)
            << "screen changed " << row.screenChanged << ", measured " << row.measured;
    }
}
