#include "app/PerformanceCounter.h"

#include <gtest/gtest.h>

namespace {

std::string TextOf(const sf::Text& text) {
    return text.getString().toAnsiString();
}

// Runs `frames` frames of `frameTime` seconds; each spends `busy` seconds in counter 0 and adds
// `items` to counter 1.
void RunFrames(PerformanceCounter& overlay, int frames, float frameTime, float busy = 0.0f, int items = 0) {
    for (int i = 0; i < frames; ++i) {
        if (overlay.counters.size() > 1) {
            overlay.counters[0].count += 1;
            overlay.counters[0].time += busy;
            overlay.counters[1].count += items;
        }
        overlay.Update(frameTime);
    }
}

}  // namespace

// A report needs about a second and at least ten frames.
TEST(PerformanceCounter, the_rate_is_reported_after_a_second_and_ten_frames) {
    PerformanceCounter fast;
    RunFrames(fast, 58, 1.0f / 60.0f);
    EXPECT_EQ(TextOf(fast.GetFpsText()), "");
    RunFrames(fast, 3, 1.0f / 60.0f);
    EXPECT_NEAR(fast.GetFps(), 60.0f, 0.5f);
    EXPECT_EQ(TextOf(fast.GetFpsText()), "60.0 fps");

    PerformanceCounter overlay;
    RunFrames(overlay, 9, 0.2f);
    EXPECT_EQ(TextOf(overlay.GetFpsText()), "") << "1.8 s, but only nine frames";
    RunFrames(overlay, 1, 0.2f);
    EXPECT_EQ(TextOf(overlay.GetFpsText()), "5.0 fps");

    // The next period starts afresh and the text keeps its value until the next report.
    RunFrames(overlay, 9, 0.1f);
    EXPECT_EQ(TextOf(overlay.GetFpsText()), "5.0 fps");
    RunFrames(overlay, 1, 0.1f);
    EXPECT_EQ(TextOf(overlay.GetFpsText()), "10.0 fps");
}

TEST(PerformanceCounter, time_counters_show_their_share_and_count_counters_their_mean_per_frame) {
    PerformanceCounter overlay;
    overlay.AddCounter(0, "update", PerformanceCounter::Time);
    overlay.AddCounter(1, "swfprims", PerformanceCounter::Count);

    // 4 ms of every 16 ms frame; 30 draw calls a frame, plus 9 more once.
    overlay.counters[1].count += 9;
    RunFrames(overlay, 63, 0.016f, 0.004f, 30);
    EXPECT_EQ(TextOf(overlay.counters[0].text), "update: 25%");
    EXPECT_EQ(TextOf(overlay.counters[1].text), "swfprims: 30");
    EXPECT_EQ(overlay.counters[0].time, 0.0f) << "sums restart at each report";
    EXPECT_EQ(overlay.counters[1].count, 0);

    // Between reports the texts keep their values.
    RunFrames(overlay, 5, 0.016f, 0.016f, 100);
    EXPECT_EQ(TextOf(overlay.counters[0].text), "update: 25%");
    RunFrames(overlay, 60, 0.016f, 0.016f, 100);
    EXPECT_EQ(TextOf(overlay.counters[0].text), "update: 100%");
    EXPECT_EQ(TextOf(overlay.counters[1].text), "swfprims: 100");
}

TEST(PerformanceCounter, lines_go_down_in_counter_order_and_unused_slots_take_none) {
    PerformanceCounter overlay;
    overlay.AddCounter(0, "update", PerformanceCounter::Time);
    overlay.AddCounter(3, "swfprims", PerformanceCounter::Count);
    ASSERT_EQ(overlay.counters.size(), 4u);
    EXPECT_EQ(overlay.counters[1].name, "");

    RunFrames(overlay, 20, 0.06f);
    EXPECT_EQ(overlay.GetFpsText().getPosition(), sf::Vector2f(0.0f, 0.0f));
    EXPECT_EQ(overlay.counters[0].text.getPosition(), sf::Vector2f(0.0f, 20.0f));
    EXPECT_EQ(overlay.counters[3].text.getPosition(), sf::Vector2f(0.0f, 40.0f));
    EXPECT_EQ(TextOf(overlay.counters[1].text), "");
    EXPECT_EQ(TextOf(overlay.counters[3].text), "swfprims: 0");

    // A lower number shortens the list.
    overlay.AddCounter(1, "render", PerformanceCounter::Time);
    EXPECT_EQ(overlay.counters.size(), 2u);
}
