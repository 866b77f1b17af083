// match_view plays matches in the game's window: each shipped level shows as the level tool
// painted it (the window's pixels match the tool's own picture of the arena wherever that picture
// is flat, away from the life bars and the countdown), every ball shows at its start, the life
// bars show the creatures' colours, the keys steer both creatures once the countdown has run, and
// a match that ends leaves its result in the statistics file. Screenshots stay in the build
// folder.
#include "game/LevelData.h"
#include "tests/support/BoundedRun.h"
#include "tests/support/GameProcess.h"
#include "tests/support/OnlyClientStarts.h"
#include "tests/support/OwnTime.h"
#include "tests/support/SoundlessRuns.h"
#include "tests/support/TextLines.h"
#include "tests/support/WaitUntil.h"
#include "tests/support/X11TestDisplay.h"
#include "tests/swfplayer/main/player/HostileMovies.h"
#include "tools/creatures/CreatureArt.h"
#include "tools/creatures/CreatureWriter.h"
#include "tools/levels/Arena.h"
#include "tools/levels/ArenaWriter.h"
#include "tools/levels/ContentFiles.h"
#include "tools/levels/Decorations.h"
#include "tools/match/MatchMovies.h"
#include "tools/pictures/PngWriter.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <functional>
#include <string>
#include <thread>

namespace {

using testing_support::Rgb;

constexpr int kWidth = 800;
constexpr int kHeight = 600;
// Channels of matching pixels differ by at most this (8-bit blending against the tool's own).
constexpr int kTolerance = 8;
// The most quarter-second steps of game time in which held keys must move the creatures apart.
constexpr int kPushSteps = 40;

// Steps of a tenth of a second of a match's own time that take it past its countdown, and a
// second more.
int CountdownSteps() {
    return static_cast<int>(10.0 * match_movies::CountdownSeconds()) + 10;
}

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

// Whether the point lies on one of the life bars' panels, which the match draws over the arena.
bool OnLifebar(int x, int y) {
    const double left = match_movies::kMargin - 2.0;
    const double right = match_movies::kMargin + match_movies::kPanelWidth + 2.0;
    const double bottom = match_movies::kMargin + match_movies::kPanelHeight + 2.0;
    return y <= bottom && ((x >= left && x <= right) || (kWidth - x >= left && kWidth - x <= right));
}

// Points whose colour moves in the game (the balls' glows, the decorations' animations, the
// creatures), and the life bars over it all.
bool Animated(const Arena& arena, const std::vector<DecorationMovie>& decorations, int x, int y) {
    if (OnCreature(arena, arena.start1, x, y) || OnCreature(arena, arena.start2, x, y) || OnLifebar(x, y)) {
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

    // How many of the points show in the window as the picture has them; 0 when they cannot be read.
    size_t Matching(testing_support::Window window, const std::vector<std::pair<int, int>>& points,
                    const pictures::Canvas& picture) {
        const std::optional<std::vector<Rgb>> shown = m_X.ReadPixels(window, points);
        size_t same = 0;
        for (size_t i = 0; shown && i < points.size(); ++i) {
            same += Near((*shown)[i], Expected(picture, points[i].first, points[i].second), kTolerance) ? 1 : 0;
        }
        return same;
    }

    // Whether the middle of the screen, where the countdown shows, shows the arena again.
    std::function<bool()> CountdownOver(testing_support::Window window, const Arena& arena,
                                        const pictures::Canvas& picture) {
        const std::vector<DecorationMovie> decorations = DecorationMovies();
        std::vector<std::pair<int, int>> middle;
        for (int y = 180; y < 420; y += 6) {
            for (int x = 220; x < 580; x += 6) {
                if (FlatAround(picture, x, y, 2) && !Animated(arena, decorations, x, y)) {
                    middle.emplace_back(x, y);
                }
            }
        }
        return [this, window, middle, &picture] {
            return Matching(window, middle, picture) >= middle.size() * 97 / 100;
        };
    }

    // Whether the creature's skin shows round its start: its body colour, laid twice over the
    // arena (under and over the balls), in at least three quarters of the box below its eyes
    // round its mouth. Its eyes, which look about and move as its soft body sways, stay out of the
    // box. seen tells the last count.
    std::function<bool()> SkinShows(testing_support::Window window, const Arena& arena, const pictures::Canvas& picture,
                                    const b2Vec2& start, const sf::Color& body, std::string& seen) {
        const auto [cx, cy] = ScreenPixel(arena, start);
        const double cover = 1.0 - std::pow(1.0 - body.a / 255.0, 2.0);
        const int reach = static_cast<int>(std::lround(20.0 * arena.zoom));
        auto mix = [cover](int below, int colour) {
            return static_cast<int>(std::lround(below * (1.0 - cover) + colour * cover));
        };
        std::vector<std::pair<int, int>> skin;
        std::vector<Rgb> expected;
        for (int y = cy + reach * 2 / 5; y <= cy + reach * 3 / 2; y += 2) {
            for (int x = cx - reach; x <= cx + reach; x += 2) {
                const Rgb under = Expected(picture, x, y);
                skin.emplace_back(x, y);
                expected.push_back({mix(under.r, body.r), mix(under.g, body.g), mix(under.b, body.b)});
            }
        }
        return [this, window, skin, expected, &seen] {
            const std::optional<std::vector<Rgb>> shown = m_X.ReadPixels(window, skin);
            if (!shown) {
                return false;
            }
            size_t matching = 0;
            for (size_t p = 0; p < skin.size(); ++p) {
                matching += Near((*shown)[p], expected[p], 12) ? 1 : 0;
            }
            seen = std::to_string(matching) + " of " + std::to_string(skin.size()) + " points in the body colour";
            return matching * 4 >= skin.size() * 3;
        };
    }

    // While the match is paused: whether the condition on its picture holds, stepping the match
    // by the step of its own time, at most steps times, until it does. A step returns once a
    // frame drawn after it shows, so the picture is read at once.
    bool StepUntil(const std::function<bool()>& condition, std::chrono::milliseconds step, int steps) {
        for (int done = 0; !condition(); ++done) {
            if (done == steps || !m_Game.StepGame(step)) {
                return false;
            }
        }
        return true;
    }

    // Runs xdotool with the window focused first.
    void Keys(testing_support::Window window, std::vector<std::string> arguments) {
        arguments.insert(arguments.begin(), {"windowfocus", "--sync", std::to_string(window)});
        EXPECT_TRUE(m_Game.XDoTool(arguments));
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
        // Match when the window's picture has settled on the arena's: once the countdown is over.
        // The match is paused (P) from its start and runs only in steps of its own time, a tenth
        // of a second at once, so that however busy the machine, the balls are still at their
        // starts when the countdown ends.
        ASSERT_TRUE(m_X.SendKeys(window, {"p"}));
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
        EXPECT_TRUE(StepUntil(matches, std::chrono::milliseconds(100), CountdownSteps())) << seen;
        KeepScreenshot(window, arena.name);
        EXPECT_TRUE(m_Game.Close());
    }
}

// The view shows its match in place of the game's first screen: it starts and ends without a
// single error line in its log.
TEST_F(MatchView, the_view_starts_its_match_and_ends_without_an_error) {
    const testing_support::Window window = Start("data/levels/1_nanomill.xml");
    ASSERT_NE(window, 0u) << "no window; output: " << m_Game.Output();
    EXPECT_TRUE(m_Game.WaitForLog("INFO: GUIDirector::PushScreen: 13"));
    EXPECT_TRUE(m_Game.Close());
    const std::string log = m_Game.Log();
    EXPECT_NE(log.find("PushScreen: 13"), std::string::npos) << log;
    for (const std::string& line : testing_support::SplitLines(log)) {
        EXPECT_EQ(line.find(" ERROR: "), std::string::npos) << line;
    }
}

// The view has one screen director, the one that shows its match: the descriptions of its
// screens load once (the main menu's, spoilt here so that each load logs it), those of the game's
// other screens (the title's) not at all, and the controllers' back command (Escape) reaches it
// and ends the view.
TEST_F(MatchView, the_one_director_loads_the_descriptions_once_and_takes_the_commands) {
    for (const char* spoilt : {"data/gui/mainmenu.xml", "data/gui/gametitle.xml"}) {
        testing_support::WriteFile(m_Game.Folder() / spoilt, "<resource/>");
    }
    const testing_support::Window window = Start("data/levels/1_nanomill.xml");
    ASSERT_NE(window, 0u) << "no window; output: " << m_Game.Output();
    EXPECT_TRUE(m_Game.WaitForLog("INFO: GUIDirector::PushScreen: 13"));
    // Frames of the main loop have run: every director of the program has been made.
    ASSERT_TRUE(m_Game.WaitForGame());
    const std::string log = m_Game.Log();
    const std::vector<std::string> lines = testing_support::SplitLines(log);
    EXPECT_EQ(std::count_if(lines.begin(), lines.end(),
                            [](const std::string& line) {
                                return line.ends_with(
                                    " ERROR: FlashGUI::Load: data/gui/mainmenu.xml holds no complete screen "
                                    "description");
                            }),
              1)
        << log;
    EXPECT_EQ(log.find("gametitle.xml"), std::string::npos) << log;
    Keys(window, {"key", "Escape"});
    EXPECT_TRUE(m_Game.Ends(0));
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
// shows its body colour round its centre and its eyes' whites and pupils above the centre. Once
// the countdown has run, the arrow keys steer the first creature: held to the right, its eyes
// move right. The match is paused (P) from its start and runs only in steps of its own time, so
// that however busy the machine, the creatures are looked for on their starts.
TEST_F(MatchView, two_creatures_show_on_the_level_and_the_arrow_keys_move_the_first) {
    const std::vector<DecorationMovie> decorations = DecorationMovies();
    const Arena arena = ShippedArenas()[0];
    ASSERT_EQ(LevelFile(arena), "data/levels/1_nanomill.xml");
    const pictures::Canvas picture = ArenaPicture(arena, decorations);
    const std::vector<CreatureDesign> creatures = ShippedCreatures();
    const testing_support::Window window = Start(LevelFile(arena));
    ASSERT_NE(window, 0u) << "no window; output: " << m_Game.Output();
    ASSERT_TRUE(m_X.SendKeys(window, {"p"}));

    for (int i = 0; i < 2; ++i) {
        SCOPED_TRACE(creatures[i].name);
        const auto [cx, cy] = ScreenPixel(arena, i == 0 ? arena.start1 : arena.start2);
        std::string seen;
        EXPECT_TRUE(StepUntil(SkinShows(window, arena, picture, i == 0 ? arena.start1 : arena.start2,
                                        CreatureData(creatures[i]).m_BodyColor, seen),
                              std::chrono::milliseconds(50), 40))
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
        EXPECT_TRUE(StepUntil(showsEyes, std::chrono::milliseconds(50), 40))
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
    ASSERT_TRUE(StepUntil(CountdownOver(window, arena, picture), std::chrono::milliseconds(100), CountdownSteps()));
    ASSERT_TRUE(StepUntil(eyesOpen, std::chrono::milliseconds(50), 40));
    std::optional<double> nowX;
    auto movedRight = [&] {
        const std::optional<std::vector<Rgb>> after = m_X.ReadPixels(window, band);
        nowX = after ? WhiteCentre(band, *after) : std::nullopt;
        return nowX && *nowX > *startX + 20.0;
    };
    // Held while the match steps, a quarter of a second of its time at once, until the eyes have
    // moved.
    Keys(window, {"keydown", "Right"});
    EXPECT_TRUE(StepUntil(movedRight, std::chrono::milliseconds(250), kPushSteps))
        << "the eyes were at x " << *startX << ", now " << (nowX ? std::to_string(*nowX) : "nowhere");
    Keys(window, {"keyup", "Right"});
    KeepScreenshot(window, "creature_moved");
    EXPECT_TRUE(m_Game.Close());
}

// The eyes of a creature at the screen point (its centre) and the band round them where they may
// move to: the mean x of their whites, once they show open.
std::optional<double> EyesX(testing_support::X11TestDisplay& x11, testing_support::Window window,
                            const std::vector<std::pair<int, int>>& band) {
    const std::optional<std::vector<Rgb>> shown = x11.ReadPixels(window, band);
    return shown ? WhiteCentre(band, *shown) : std::nullopt;
}

// On every shipped arena, once the countdown has run: both life bars in their creatures' colours
// (the badge at each bar's end), both creatures, every ball; the arrow keys push the first
// creature right and the keys A push the second left at the same time. The match is paused (P)
// from its start and runs only in steps of its own time, a tenth of a second at once until the
// countdown is over, so that however busy the machine, the creatures are looked for before they
// have fallen from their starts.
TEST_F(MatchView, every_shipped_level_plays_with_life_bars_creatures_and_balls) {
    const std::vector<DecorationMovie> decorations = DecorationMovies();
    const std::vector<CreatureDesign> creatures = ShippedCreatures();
    for (const Arena& arena : ShippedArenas()) {
        SCOPED_TRACE(arena.name);
        const pictures::Canvas picture = ArenaPicture(arena, decorations);
        const testing_support::Window window = Start(LevelFile(arena));
        ASSERT_NE(window, 0u) << "no window; output: " << m_Game.Output();
        ASSERT_TRUE(m_X.SendKeys(window, {"p"}));
        ASSERT_TRUE(StepUntil(CountdownOver(window, arena, picture), std::chrono::milliseconds(100), CountdownSteps()));

        // The badges: the tinted grey (226) times the body colour, opaque.
        std::vector<std::pair<int, int>> badges;
        std::vector<Rgb> colours;
        for (int i = 0; i < 2; ++i) {
            const art::Point centre = match_movies::BadgeCentre(i == 1);
            badges.emplace_back(static_cast<int>(centre.x) + (i == 0 ? 11 : -11), static_cast<int>(centre.y) + 7);
            const sf::Color body = CreatureData(creatures[static_cast<size_t>(i)]).m_BodyColor;
            colours.push_back({body.r * 226 / 255, body.g * 226 / 255, body.b * 226 / 255});
        }
        std::string badgesSeen;
        auto badgesShow = [&] {
            const std::optional<std::vector<Rgb>> shown = m_X.ReadPixels(window, badges);
            if (!shown) {
                return false;
            }
            badgesSeen = std::to_string((*shown)[0].r) + "," + std::to_string((*shown)[0].g) + "," +
                         std::to_string((*shown)[0].b) + " / " + std::to_string((*shown)[1].r) + "," +
                         std::to_string((*shown)[1].g) + "," + std::to_string((*shown)[1].b);
            return Near((*shown)[0], colours[0], kTolerance) && Near((*shown)[1], colours[1], kTolerance);
        };
        EXPECT_TRUE(testing_support::WaitUntil(badgesShow, std::chrono::seconds(5))) << badgesSeen;

        for (int i = 0; i < 2; ++i) {
            std::string seen;
            EXPECT_TRUE(StepUntil(SkinShows(window, arena, picture, i == 0 ? arena.start1 : arena.start2,
                                            CreatureData(creatures[static_cast<size_t>(i)]).m_BodyColor, seen),
                                  std::chrono::milliseconds(50), 40))
                << "creature " << i + 1 << ": " << seen;
        }
        std::vector<std::pair<int, int>> balls;
        for (const b2Vec2& ball : arena.balls) {
            balls.push_back(ScreenPixel(arena, ball));
        }
        EXPECT_EQ(Matching(window, balls, picture), balls.size());

        const auto [x1, y1] = ScreenPixel(arena, arena.start1);
        const auto [x2, y2] = ScreenPixel(arena, arena.start2);
        const std::vector<std::pair<int, int>> band1 = Box(x1 - 50, y1 - 60, 170, 80);
        const std::vector<std::pair<int, int>> band2 = Box(x2 - 120, y2 - 60, 170, 80);
        std::optional<double> start1;
        std::optional<double> start2;
        // Eyes blink now and then: the match steps on until both show open.
        ASSERT_TRUE(
            StepUntil([&] { return (start1 = EyesX(m_X, window, band1)) && (start2 = EyesX(m_X, window, band2)); },
                      std::chrono::milliseconds(50), 40));
        std::optional<double> now1;
        std::optional<double> now2;
        auto moved = [&] {
            now1 = EyesX(m_X, window, band1);
            now2 = EyesX(m_X, window, band2);
            return now1 && now2 && *now1 > *start1 + 15.0 && *now2 < *start2 - 15.0;
        };
        // Held while the match steps, a quarter of a second of its time at once, until both have
        // moved.
        Keys(window, {"keydown", "Right", "keydown", "a"});
        EXPECT_TRUE(StepUntil(moved, std::chrono::milliseconds(250), kPushSteps))
            << "the eyes were at x " << *start1 << " and " << *start2 << ", now "
            << (now1 ? std::to_string(*now1) : "nowhere") << " and " << (now2 ? std::to_string(*now2) : "nowhere");
        Keys(window, {"keyup", "Right", "keyup", "a"});
        KeepScreenshot(window, arena.name + "_match");
        EXPECT_TRUE(m_Game.Close());
    }
}

// A duel on a bare level of one ball, which the second creature holds from the start: pushed to
// the right and spat, the ball strikes the first creature and scores for player 2, which ends the
// match. Its result is appended to the statistics file, and the first shipped level follows. The
// match is paused (P) from its start and runs only in steps of its own time, however busy the
// machine.
TEST_F(MatchView, a_match_that_ends_keeps_its_result_and_the_next_level_follows) {
    LevelData duel;
    duel.m_Balls.push_back(Vec2Data(-8.0f, -1.5f));
    duel.m_Player1StartPos = Vec2Data(8.0f, 0.0f);
    duel.m_Player2StartPos = Vec2Data(-8.0f, 0.0f);
    ASSERT_TRUE(WriteRecords(m_Game.Folder() / "data/duel.xml", {{"data", &duel}}));
    const std::filesystem::path statistics = m_Game.Folder() / "home/Pondorix/data/statistics.xml";
    testing_support::WriteFile(statistics,
                               "<array name=\"statistics\"><gamestats winner=\"1\">"
                               "<playerstats name=\"player1\" playerId=\"Earlier\" score=\"4\" numShots=\"9\"/>"
                               "<playerstats name=\"player2\" playerId=\"Match\" score=\"1\" numShots=\"2\"/>"
                               "</gamestats></array>");
    const testing_support::Window window = Start("data/duel.xml");
    ASSERT_NE(window, 0u) << "no window; output: " << m_Game.Output();
    // The countdown shows over the bare (black) screen's middle; it is over when that is black again.
    const std::vector<std::pair<int, int>> middle = Box(390, 290, 20, 20);
    auto middleDark = [&] {
        const std::optional<std::vector<Rgb>> shown = m_X.ReadPixels(window, middle);
        return shown && std::all_of(shown->begin(), shown->end(), [](const Rgb& c) { return Dark(c); });
    };
    ASSERT_TRUE(m_X.SendKeys(window, {"p"}));
    ASSERT_TRUE(StepUntil([&] { return !middleDark(); }, std::chrono::milliseconds(100), CountdownSteps()));
    ASSERT_TRUE(StepUntil(middleDark, std::chrono::milliseconds(100), CountdownSteps()));
    // Player 2 steers for a moment of the match's time, spits while still steering, and lets go.
    Keys(window, {"keydown", "d"});
    ASSERT_TRUE(m_Game.StepGame(std::chrono::milliseconds(400)));
    Keys(window, {"key", "Control_L"});
    ASSERT_TRUE(m_Game.StepGame(std::chrono::milliseconds(200)));
    Keys(window, {"keyup", "d"});
    std::string kept;
    EXPECT_TRUE(StepUntil(
        [&] {
            kept = testing_support::ReadFile(statistics);
            return kept.find("<gamestats", kept.find("<gamestats") + 1) != std::string::npos;
        },
        std::chrono::milliseconds(100), 100))
        << kept;
    EXPECT_NE(kept.find("playerId=\"Earlier\""), std::string::npos) << kept;
    EXPECT_NE(kept.find("<gamestats winner=\"2\">"), std::string::npos) << kept;
    EXPECT_NE(kept.find("playerId=\"" + CreatureData(ShippedCreatures()[1]).m_CharacterName + "\" score=\"1\""),
              std::string::npos);
    KeepScreenshot(window, "duel_over");

    // Then the first shipped level plays.
    const Arena first = ShippedArenas()[0];
    const pictures::Canvas picture = ArenaPicture(first, DecorationMovies());
    std::vector<std::pair<int, int>> points;
    for (int y = 66; y < kHeight - 6; y += 24) {
        for (int x = 6; x < kWidth - 6; x += 24) {
            if (FlatAround(picture, x, y, 3) && !Animated(first, DecorationMovies(), x, y)) {
                points.emplace_back(x, y);
            }
        }
    }
    EXPECT_TRUE(StepUntil([&] { return Matching(window, points, picture) >= points.size() * 9 / 10; },
                          std::chrono::milliseconds(200), 75));
    EXPECT_TRUE(m_Game.Close());
}

// How many of the pixels lie within the tolerance of the colour on every channel.
long CountNear(const std::vector<Rgb>& pixels, const Rgb& colour, int tolerance) {
    return std::count_if(pixels.begin(), pixels.end(), [&](const Rgb& p) { return Near(p, colour, tolerance); });
}

// With a computer opponent's file as the second creature the match is a training match that the
// bot plays. The debug view (Alt+D) shows, over the path grid, the bot's condition label in
// (200, 50, 50) and its goal label in (50, 50, 250) on its creature, and its path in (200, 0, 0)
// whenever its target is out of sight (the pillar of the second arena hides one side from the
// other). Without the debug view none of it shows.
TEST_F(MatchView, a_training_match_shows_the_bot_labels_and_path_in_the_debug_view) {
    const Arena arena = ShippedArenas()[1];
    ASSERT_TRUE(m_Game.Start(
        {MATCH_VIEW_EXECUTABLE, LevelFile(arena), CreatureFile(ShippedCreatures()[0]), BotFile(ShippedBots()[0])}))
        << m_Game.Output();
    const testing_support::Window window = m_Game.GetWindow();
    m_X.MoveResize(window, kWidth, kHeight);
    const std::vector<std::pair<int, int>> screen = Box(0, 0, kWidth, kHeight);
    long goal = 0;
    long condition = 0;
    long path = 0;
    auto count = [&] {
        const std::optional<std::vector<Rgb>> shown = m_X.ReadPixels(window, screen);
        if (!shown) {
            return false;
        }
        goal = CountNear(*shown, {50, 50, 250}, 8);
        condition = CountNear(*shown, {200, 50, 50}, 8);
        path = CountNear(*shown, {200, 0, 0}, 2);
        return true;
    };
    // Paused (P) from here on, the match runs only in steps of its own time, however busy the
    // machine: past the countdown, a second more, the bot is thinking.
    ASSERT_TRUE(m_X.SendKeys(window, {"p"}));
    ASSERT_TRUE(m_Game.StepGame(
        std::chrono::milliseconds(static_cast<int>(1000.0 * (match_movies::CountdownSeconds() + 1.0)))));
    ASSERT_TRUE(count());
    // The red bot's own body comes near the condition label's colour in a few pixels, more or
    // fewer as it moves; the goal label's blue and the path's red are nowhere else.
    EXPECT_LT(goal + path, 20) << goal << " goal label and " << path << " path pixels without the debug view";
    EXPECT_LT(condition, 100) << condition << " condition label pixels without the debug view";
    const long goalBefore = goal;
    const long conditionBefore = condition;
    const long pathBefore = path;
    // Alt+D while the match stands still: the frames drawn after it show the debug view of the
    // match as it stands (the goal label's blue shows only there). The view is hidden again while
    // the match steps, since that blue is also the colour of the counters by which a step waits
    // for the game. The path shows while the bot's target is out of sight: the match steps on, a
    // tenth of a second of its time at once, until everything shows.
    auto debugView = [&](bool shown) {
        return m_X.SendKeys(window, {"alt+d"}) &&
               testing_support::WaitUntil([&] { return count() && (goal > goalBefore + 30) == shown; },
                                          testing_support::GameProcess::kTimeout, std::chrono::milliseconds(50));
    };
    auto showsEverything = [&] {
        return goal > goalBefore + 30 && condition > conditionBefore + 30 && path > pathBefore + 30;
    };
    constexpr int kSteps = 200;
    int steps = 0;
    ASSERT_TRUE(debugView(true));
    while (!showsEverything() && steps < kSteps) {
        ASSERT_TRUE(debugView(false));
        ASSERT_TRUE(m_Game.StepGame(std::chrono::milliseconds(100)));
        ASSERT_TRUE(debugView(true));
        ++steps;
    }
    EXPECT_TRUE(showsEverything()) << goal << " goal label, " << condition << " condition label and " << path
                                   << " path pixels after " << steps << " tenths of a second";
    KeepScreenshot(window, "training_debug");
    EXPECT_TRUE(m_Game.Close());
}

// Escape ends the view as closing its window does (the window's size kept in the preferences),
// without an error line: the view has no pause screen to push.
TEST_F(MatchView, escape_ends_the_view_as_closing_its_window_does_without_an_error) {
    const testing_support::Window window = Start("data/levels/1_nanomill.xml");
    ASSERT_NE(window, 0u) << "no window; output: " << m_Game.Output();
    EXPECT_TRUE(m_Game.WaitForLog("INFO: GUIDirector::PushScreen: 13"));
    m_X.MoveResize(window, 720, 540);
    ASSERT_TRUE(testing_support::WaitUntil([&] { return m_X.Size(window) == std::make_pair(720, 540); },
                                           std::chrono::seconds(5)));
    Keys(window, {"key", "Escape"});
    EXPECT_TRUE(m_Game.Ends(0));
    for (const std::string& line : testing_support::SplitLines(m_Game.Log())) {
        EXPECT_EQ(line.find(" ERROR: "), std::string::npos) << line;
    }
    const std::string preferences = m_Game.Preferences();
    EXPECT_NE(preferences.find("x=\"720\" y=\"540\""), std::string::npos) << preferences;
}

// The lines of the output that tell of a frame's script budget running out.
int BudgetStops(const std::string& output) {
    const std::vector<std::string> lines = testing_support::SplitLines(output);
    return static_cast<int>(std::count_if(lines.begin(), lines.end(), [](const std::string& line) {
        return line.find("script stopped after") != std::string::npos;
    }));
}

// Whether the process has ended: it is gone or waits to be reaped.
bool HasEnded(pid_t pid) {
    const std::string stat = testing_support::ReadFile("/proc/" + std::to_string(pid) + "/stat");
    const size_t nameEnd = stat.rfind(')');  // the state follows the name in parentheses
    return nameEnd == std::string::npos || nameEnd + 2 >= stat.size() || stat[nameEnd + 2] == 'Z';
}

// Polls the condition until it holds or the stopwatch shows the time; whether it held.
bool WaitOwnTime(const testing_support::OwnTime& stopwatch, std::chrono::nanoseconds time,
                 const std::function<bool()>& condition) {
    while (!condition()) {
        if (stopwatch.Elapsed() >= time) {
            return condition();
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    return true;
}

// Eight bodies whose movie loops for ever: each of the game's frames spends one script budget for
// all of them, however many update steps it runs. Closed while it plays, the view ends after at
// most the frame under way and the one that takes the close, each cut by its one budget. The
// budgets are work of the game's, waited for in its own time (OwnTime), which a busy machine
// does not stretch.
TEST_F(MatchView, a_level_of_endless_bodies_plays_each_frame_within_one_script_budget) {
    ASSERT_TRUE(WriteBytes(m_Game.Folder() / "data/endless.swf", hostile_movies::EndlessLoops()));
    LevelData level;
    for (int i = 0; i < 8; ++i) {
        BodyData body;
        body.m_Name = "endless" + std::to_string(i);
        body.m_Position = Vec2Data(static_cast<float>(i * 4 - 14), 4.0f);
        body.m_Density = 0.0f;
        body.m_FlashFile = "data/endless.swf";
        FixtureData box;
        box.m_Vertices = {{-1, -1}, {1, -1}, {1, 1}, {-1, 1}};
        body.m_Fixtures.push_back(box);
        level.m_Bodies.push_back(body);
    }
    level.m_Balls.push_back(Vec2Data(0.0f, -4.0f));
    level.m_Player1StartPos = Vec2Data(-8.0f, 0.0f);
    level.m_Player2StartPos = Vec2Data(8.0f, 0.0f);
    ASSERT_TRUE(WriteRecords(m_Game.Folder() / "data/endless.xml", {{"data", &level}}));
    const testing_support::Window window = Start("data/endless.xml");
    ASSERT_NE(window, 0u) << "no window; output: " << m_Game.Output();
    const pid_t game = m_Game.Pid();
    // The start (the level's movies loaded in one frame) spends one budget, each frame that plays
    // the movies one more: past the second, the frames run.
    const auto budgetTime = std::chrono::seconds(10 * testing_support::kSanitizerSlowdown);
    const testing_support::OwnTime playing(game);
    ASSERT_TRUE(WaitOwnTime(playing, 3 * budgetTime, [&] { return BudgetStops(m_Game.Output()) >= 2; }))
        << m_Game.Output();
    const int beforeClose = BudgetStops(m_Game.Output());
    m_X.RequestClose(window);
    const testing_support::OwnTime closing(game);
    EXPECT_TRUE(WaitOwnTime(closing, 2 * budgetTime, [&] { return HasEnded(game); }));
    EXPECT_TRUE(m_Game.Ends(0));
    EXPECT_LE(BudgetStops(m_Game.Output()) - beforeClose, 2) << m_Game.Output();
}

// Where no audio device opens, four views at once play a match (its countdown, music and
// collisions) for 2,000 update steps of their own time: each says so once in its log, keeps its
// standard output and error short, and ends cleanly.
TEST(MatchViewWithoutSound, four_views_play_a_match_silent_and_end_cleanly) {
    testing_support::ExpectSoundlessRuns({MATCH_VIEW_EXECUTABLE, "data/levels/1_nanomill.xml"}, PONDORIX_GAME_DIR, 4,
                                         std::chrono::seconds(40));
}

// Each start on an X server of its own that resets itself whenever its last client leaves, the
// view its only client until its window is ready: every start shows its match and plays it (a
// frame drawn after half a second of the match's time) and ends cleanly.
TEST(MatchViewOnResettingServer, every_start_as_the_servers_only_client_plays_its_match) {
    const auto playsMatch = [](testing_support::GameProcess& game) -> testing::AssertionResult {
        if (game.WaitForLog("INFO: GUIDirector::PushScreen: 13") && game.RunGameTime(std::chrono::milliseconds(500))) {
            return testing::AssertionSuccess();
        }
        return testing::AssertionFailure() << "no match played; log:\n" << game.Log();
    };
    testing_support::ExpectStartsAsOnlyClient({MATCH_VIEW_EXECUTABLE, "data/levels/1_nanomill.xml"}, PONDORIX_GAME_DIR,
                                              "", 20, 4, playsMatch);
}

// Started from a folder without application.xml, or where no X display opens, the view ends at
// once with exit code 1 and one line on standard error that says why; it writes no crash report.
TEST_F(MatchView, a_start_without_application_xml_or_a_display_ends_with_one_line) {
    const std::string folder = m_Game.Folder().Path().string();
    const std::vector<std::pair<std::string, std::string>> rows = {
        {"DISPLAY", "cannot open an X display: DISPLAY is not set; it must name a running X server"},
        {"DISPLAY=:59999", "cannot open the X display \":59999\": DISPLAY must name a running X server"},
        {"", "no application.xml in " + folder +
                 ": the game starts from its run folder, build-game/run/, as scripts/run-game.sh does"}};
    for (const auto& [variable, line] : rows) {
        SCOPED_TRACE(line);
        if (variable.empty()) {
            std::filesystem::remove(m_Game.Folder() / "application.xml");
        }
        EXPECT_TRUE(m_Game.RefusesToStart({MATCH_VIEW_EXECUTABLE, "data/levels/1_nanomill.xml"},
                                          variable.empty() ? std::vector<std::string>{} : std::vector{variable}, line));
    }
}

TEST_F(MatchView, a_level_that_cannot_be_read_ends_the_program_with_a_message) {
    ASSERT_TRUE(m_Game.Launch({MATCH_VIEW_EXECUTABLE, "data/levels/none.xml"}));
    EXPECT_TRUE(m_Game.Ends(1));
    EXPECT_NE(m_Game.Output().find("match_view: cannot play the level data/levels/none.xml"), std::string::npos);
    EXPECT_NE(m_Game.Log().find("Level::Load: cannot read the level data/levels/none.xml"), std::string::npos);
}

}  // namespace
