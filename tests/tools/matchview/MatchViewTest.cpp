// match_view shows each shipped level in the game's window as the level tool painted it: the
// window's pixels match the tool's own picture of the arena wherever that picture is flat, and
// every ball shows at its start. A screenshot of each level stays in the build folder.
#include "tests/support/GameProcess.h"
#include "tests/support/WaitUntil.h"
#include "tests/support/X11TestDisplay.h"
#include "tools/levels/Arena.h"
#include "tools/levels/ArenaWriter.h"
#include "tools/levels/Decorations.h"
#include "tools/pictures/PngWriter.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>

namespace {

using testing_support::Rgb;

constexpr int kWidth = 800;
constexpr int kHeight = 600;
// Channels of matching pixels differ by at most this (8-bit blending against the tool's own).
constexpr int kTolerance = 8;

Rgb Expected(const pictures::Canvas& picture, int x, int y) {
    const pictures::Rgba c = picture.At(x, y);
    return {static_cast<int>(std::lround(c.r * 255.0)), static_cast<int>(std::lround(c.g * 255.0)),
            static_cast<int>(std::lround(c.b * 255.0))};
}

bool Near(const Rgb& a, const Rgb& b, int tolerance) {
    return std::abs(a.r - b.r) <= tolerance && std::abs(a.g - b.g) <= tolerance && std::abs(a.b - b.b) <= tolerance;
}

// Whether the picture is one colour over the square of the radius round the point.
bool FlatAround(const pictures::Canvas& picture, int x, int y, int radius) {
    const Rgb centre = Expected(picture, x, y);
    for (int dy = -radius; dy <= radius; ++dy) {
        for (int dx = -radius; dx <= radius; ++dx) {
            if (!Near(Expected(picture, x + dx, y + dy), centre, 2)) {
                return false;
            }
        }
    }
    return true;
}

// Where a world point of the arena shows in the 800 x 600 window.
std::pair<int, int> ScreenPixel(const Arena& arena, const b2Vec2& world) {
    return {static_cast<int>(std::lround(400.0 + world.x * 8.0 * arena.zoom)),
            static_cast<int>(std::lround(300.0 + world.y * 8.0 * arena.zoom))};
}

// Points whose colour moves in the game (the balls' glows, the decorations' animations).
bool Animated(const Arena& arena, const std::vector<DecorationMovie>& decorations, int x, int y) {
    for (const b2Vec2& ball : arena.balls) {
        const auto [bx, by] = ScreenPixel(arena, ball);
        if (std::hypot(x - bx, y - by) < 18.0 * arena.zoom) {
            return true;
        }
    }
    for (const Decoration& decoration : arena.decorations) {
        const auto [cx, cy] = ScreenPixel(arena, decoration.position);
        for (const DecorationMovie& movie : decorations) {
            if (movie.file == decoration.movie && std::abs(x - cx) <= movie.width * arena.zoom / 2 + 2 &&
                std::abs(y - cy) <= movie.height * arena.zoom / 2 + 2) {
                return true;
            }
        }
    }
    return false;
}

class MatchView : public ::testing::Test {
protected:
    void SetUp() override { std::filesystem::create_directories(SCREENSHOT_DIR); }

    // Starts match_view on the level and waits for its window; 0 when none came.
    testing_support::Window Start(const std::string& level) {
        if (!m_Game.Start({MATCH_VIEW_EXECUTABLE, level})) {
            return 0;
        }
        // Wholly on the screen, so that every pixel can be read back.
        m_X.MoveResize(m_Game.GetWindow(), kWidth, kHeight);
        return m_Game.GetWindow();
    }

    // The whole window as a PNG in the build's screenshot folder.
    void KeepScreenshot(testing_support::Window window, const std::string& name) {
        std::vector<std::pair<int, int>> all;
        for (int y = 0; y < kHeight; ++y) {
            for (int x = 0; x < kWidth; ++x) {
                all.emplace_back(x, y);
            }
        }
        const std::optional<std::vector<Rgb>> pixels = m_X.ReadPixels(window, all);
        ASSERT_TRUE(pixels);
        std::vector<uint8_t> rgba;
        for (const Rgb& p : *pixels) {
            rgba.insert(rgba.end(),
                        {static_cast<uint8_t>(p.r), static_cast<uint8_t>(p.g), static_cast<uint8_t>(p.b), 255});
        }
        EXPECT_TRUE(WritePng(std::string(SCREENSHOT_DIR) + "/" + name + ".png", kWidth, kHeight, rgba));
    }

    testing_support::X11TestDisplay m_X{1024, 768};
    testing_support::GameProcess m_Game{
        m_X, PONDORIX_GAME_DIR,
        "<userpreferences name=\"prefs\"><vec2 name=\"windowSize\" x=\"800\" y=\"600\"/></userpreferences>"};
};

TEST_F(MatchView, every_shipped_level_shows_its_art_and_balls) {
    const std::vector<DecorationMovie> decorations = DecorationMovies();
    for (const Arena& arena : ShippedArenas()) {
        SCOPED_TRACE(arena.name);
        const pictures::Canvas picture = ArenaPicture(arena, decorations);
        std::vector<std::pair<int, int>> points;
        for (int y = 6; y < kHeight - 6; y += 12) {
            for (int x = 6; x < kWidth - 6; x += 12) {
                if (FlatAround(picture, x, y, 3) && !Animated(arena, decorations, x, y)) {
                    points.emplace_back(x, y);
                }
            }
        }
        std::vector<std::pair<int, int>> balls;
        for (const b2Vec2& ball : arena.balls) {
            balls.push_back(ScreenPixel(arena, ball));
        }
        ASSERT_GT(points.size(), 1000u);
        const testing_support::Window window = Start(LevelFile(arena));
        ASSERT_NE(window, 0u) << "no window; output: " << m_Game.Output();
        // Match when the window's picture has settled on the arena's.
        std::string seen;
        auto matches = [&] {
            const std::optional<std::vector<Rgb>> art = m_X.ReadPixels(window, points);
            const std::optional<std::vector<Rgb>> shown = m_X.ReadPixels(window, balls);
            if (!art || !shown) {
                const auto [width, height] = m_X.Size(window);
                seen = "a window of " + std::to_string(width) + " x " + std::to_string(height);
                return false;
            }
            size_t same = 0;
            for (size_t i = 0; i < points.size(); ++i) {
                same += Near((*art)[i], Expected(picture, points[i].first, points[i].second), kTolerance) ? 1 : 0;
            }
            size_t ballsShown = 0;
            for (size_t i = 0; i < balls.size(); ++i) {
                ballsShown += Near((*shown)[i], Expected(picture, balls[i].first, balls[i].second), kTolerance) ? 1 : 0;
            }
            seen = std::to_string(same) + " of " + std::to_string(points.size()) + " art points, " +
                   std::to_string(ballsShown) + " of " + std::to_string(balls.size()) + " balls";
            return same >= points.size() * 99 / 100 && ballsShown == balls.size();
        };
        EXPECT_TRUE(testing_support::WaitUntil(matches, std::chrono::seconds(10), std::chrono::milliseconds(100)))
            << seen;
        KeepScreenshot(window, arena.name);
        EXPECT_TRUE(m_Game.Close());
    }
}

TEST_F(MatchView, a_level_that_cannot_be_read_ends_the_program_with_a_message) {
    ASSERT_TRUE(m_Game.Launch({MATCH_VIEW_EXECUTABLE, "data/levels/none.xml"}));
    EXPECT_TRUE(m_Game.Ends(1));
    EXPECT_NE(m_Game.Output().find("match_view: cannot play the level data/levels/none.xml"), std::string::npos);
    EXPECT_NE(m_Game.Log().find("Level::Load: cannot read the level data/levels/none.xml"), std::string::npos);
}

}  // namespace
