// match_view shows each shipped level in the game's window as the level tool painted it: the
// window's pixels match the tool's own picture of the arena wherever that picture is flat, and
// every ball shows at its start. A screenshot of each level stays in the build folder.
#include "tests/support/GameProcess.h"
#include "tests/support/WaitUntil.h"
#include "tests/support/X11TestDisplay.h"
#include "tools/creatures/CreatureArt.h"
#include "tools/creatures/CreatureWriter.h"
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

// Whether the point lies where a creature standing on the start position shows (its skin, the
// decoration on top of it), in the arena's pixels before its zoom.
bool OnCreature(const Arena& arena, const b2Vec2& start, int x, int y) {
    const auto [cx, cy] = ScreenPixel(arena, start);
    return std::abs(x - cx) <= 42.0 * arena.zoom && y - cy >= -70.0 * arena.zoom && y - cy <= 50.0 * arena.zoom;
}

// Points whose colour moves in the game (the balls' glows, the decorations' animations, the
// creatures).
bool Animated(const Arena& arena, const std::vector<DecorationMovie>& decorations, int x, int y) {
    if (OnCreature(arena, arena.start1, x, y) || OnCreature(arena, arena.start2, x, y)) {
        return true;
    }
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

// The pixels of the box (left, top, width, height) of the window, row by row.
std::vector<std::pair<int, int>> Box(int left, int top, int width, int height) {
    std::vector<std::pair<int, int>> points;
    for (int y = top; y < top + height; ++y) {
        for (int x = left; x < left + width; ++x) {
            points.emplace_back(x, y);
        }
    }
    return points;
}

bool White(const Rgb& c) {
    return c.r > 235 && c.g > 235 && c.b > 235;
}
bool Dark(const Rgb& c) {
    return c.r < 70 && c.g < 70 && c.b < 80;
}

// The mean x of the white pixels (the eyes' whites) among the points; nothing without any.
std::optional<double> WhiteCentre(const std::vector<std::pair<int, int>>& points, const std::vector<Rgb>& pixels) {
    double sum = 0.0;
    int count = 0;
    for (size_t i = 0; i < points.size(); ++i) {
        if (White(pixels[i])) {
            sum += points[i].first;
            ++count;
        }
    }
    return count > 20 ? std::optional<double>(sum / count) : std::nullopt;
}

// By default the view holds the first two shipped creatures on the level's start positions: each
// shows its body colour (laid twice over the arena, under and over the balls) round its centre,
// below the eyes and beside the mouth, and its eyes' whites and pupils above the centre. The
// arrow keys steer the first creature: held to the right, its eyes move right.
TEST_F(MatchView, two_creatures_show_on_the_level_and_the_arrow_keys_move_the_first) {
    const std::vector<DecorationMovie> decorations = DecorationMovies();
    const Arena arena = ShippedArenas()[0];
    ASSERT_EQ(LevelFile(arena), "data/levels/1_nanomill.xml");
    const pictures::Canvas picture = ArenaPicture(arena, decorations);
    const std::vector<CreatureDesign> creatures = ShippedCreatures();
    const testing_support::Window window = Start(LevelFile(arena));
    ASSERT_NE(window, 0u) << "no window; output: " << m_Game.Output();

    for (int i = 0; i < 2; ++i) {
        SCOPED_TRACE(creatures[i].name);
        const auto [cx, cy] = ScreenPixel(arena, i == 0 ? arena.start1 : arena.start2);
        const sf::Color body = CreatureData(creatures[i]).m_BodyColor;
        const double cover = 1.0 - std::pow(1.0 - body.a / 255.0, 2.0);
        const std::vector<std::pair<int, int>> skin = {{cx - 20, cy + 8}, {cx + 20, cy + 8}, {cx, cy + 30}, {cx, cy}};
        std::vector<Rgb> expected;
        for (const auto& [x, y] : skin) {
            const Rgb under = Expected(picture, x, y);
            auto mix = [cover](int below, int colour) {
                return static_cast<int>(std::lround(below * (1.0 - cover) + colour * cover));
            };
            expected.push_back({mix(under.r, body.r), mix(under.g, body.g), mix(under.b, body.b)});
        }
        std::string seen;
        auto showsSkin = [&] {
            const std::optional<std::vector<Rgb>> shown = m_X.ReadPixels(window, skin);
            if (!shown) {
                return false;
            }
            seen.clear();
            bool all = true;
            for (size_t p = 0; p < skin.size(); ++p) {
                seen += "(" + std::to_string((*shown)[p].r) + "," + std::to_string((*shown)[p].g) + "," +
                        std::to_string((*shown)[p].b) + ") ";
                all = all && Near((*shown)[p], expected[p], 12);
            }
            return all;
        };
        EXPECT_TRUE(testing_support::WaitUntil(showsSkin, std::chrono::seconds(10), std::chrono::milliseconds(100)))
            << seen;

        // Eyes blink now and then: they show once they are open.
        const int eyesY = cy + static_cast<int>(creature_art::kEyesRaise);
        const std::vector<std::pair<int, int>> eyes = Box(cx - 28, eyesY - 16, 56, 32);
        long whites = 0;
        long darks = 0;
        auto showsEyes = [&] {
            const std::optional<std::vector<Rgb>> shown = m_X.ReadPixels(window, eyes);
            whites = shown ? std::count_if(shown->begin(), shown->end(), White) : 0;
            darks = shown ? std::count_if(shown->begin(), shown->end(), Dark) : 0;
            return whites > 60 && darks > 30;
        };
        EXPECT_TRUE(testing_support::WaitUntil(showsEyes, std::chrono::seconds(10), std::chrono::milliseconds(50)))
            << whites << " white and " << darks << " dark pixels";
    }
    KeepScreenshot(window, "creatures");

    const auto [cx, cy] = ScreenPixel(arena, arena.start1);
    const std::vector<std::pair<int, int>> band = Box(cx - 60, cy - 60, 200, 80);
    std::optional<double> startX;
    auto eyesOpen = [&] {
        const std::optional<std::vector<Rgb>> before = m_X.ReadPixels(window, band);
        startX = before ? WhiteCentre(band, *before) : std::nullopt;
        return startX.has_value();
    };
    ASSERT_TRUE(testing_support::WaitUntil(eyesOpen, std::chrono::seconds(10), std::chrono::milliseconds(50)));
    const std::string id = std::to_string(window);
    ASSERT_TRUE(m_Game.XDoTool({"windowfocus", "--sync", id, "keydown", "Right", "sleep", "0.6", "keyup", "Right"}));
    std::optional<double> nowX;
    auto movedRight = [&] {
        const std::optional<std::vector<Rgb>> after = m_X.ReadPixels(window, band);
        nowX = after ? WhiteCentre(band, *after) : std::nullopt;
        return nowX && *nowX > *startX + 20.0;
    };
    EXPECT_TRUE(testing_support::WaitUntil(movedRight, std::chrono::seconds(5), std::chrono::milliseconds(100)))
        << "the eyes were at x " << *startX << ", now " << (nowX ? std::to_string(*nowX) : "nowhere");
    KeepScreenshot(window, "creature_moved");
    EXPECT_TRUE(m_Game.Close());
}

TEST_F(MatchView, a_level_that_cannot_be_read_ends_the_program_with_a_message) {
    ASSERT_TRUE(m_Game.Launch({MATCH_VIEW_EXECUTABLE, "data/levels/none.xml"}));
    EXPECT_TRUE(m_Game.Ends(1));
    EXPECT_NE(m_Game.Output().find("match_view: cannot play the level data/levels/none.xml"), std::string::npos);
    EXPECT_NE(m_Game.Log().find("Level::Load: cannot read the level data/levels/none.xml"), std::string::npos);
}

}  // namespace
