// The control-hint overlay on a kit hint movie: the three modes at the checkpoint, the toppings
// and the controllers' pictures and texts, the fade that follows the background clip.
#include "app/UserPreferences.h"
#include "gui/GUIHint.h"
#include "gui/MovieClips.h"
#include "tests/gui/GuiTestKit.h"
#include "tests/gui/KitMovies.h"

#include <gtest/gtest.h>

namespace gui_testing {
namespace {

class GUIHintTest : public VirtualFolders {
protected:
    void SetUp() override {
        VirtualFolders::SetUp();
        const swfkit::Bytes movie = HintMovie();
        testing_support::WriteFile(GameDir() / "hint.swf", std::string(movie.begin(), movie.end()));
        std::vector<std::string> texts;
        for (const char* tag : {"gui controls", "quickmatch controls", "training controls", "select two"}) {
            texts.push_back(std::string("m_Tag=\"") + tag + "\" m_Anchor=\"background\" m_PosX=\"10\"");
        }
        for (const char* tag : {"quickmatch controls p1c1", "quickmatch controls p1c2", "quickmatch controls p2c1",
                                "quickmatch controls p2c2", "training controls c1", "training controls c2"}) {
            texts.push_back(std::string("m_Tag=\"") + tag + "\"");
        }
        testing_support::WriteFile(GameDir() / "hint.xml", Description("", {{"hint", "hint.swf"}}, texts));
        hint.Load("hint.xml");
        ear.onCommand = [this](const std::string& command) {
            hint.OnFSCommand(command);
        };
        // The movie's first frame stops it: nothing shows.
        Step();
        application.player1Controller = controllers[0];
        application.player2Controller = controllers[1];
    }
    void TearDown() override {
        application.player1Controller = nullptr;
        application.player2Controller = nullptr;
        UserPreferences::GetInstance().disableHints = false;
        VirtualFolders::TearDown();
    }

    // Runs the movie one frame on.
    void Step() { hint.Update(application, kFrameTime); }
    int Frame() const { return hint.GetFirstMovie()->GetRoot()->get_current_frame(); }
    swfplayer::character* Clip(const char* name) const { return hint.GetFirstMovie()->GetCharacter(name); }
    swfplayer::character* Picture(const char* name) const {
        return hint.GetFirstMovie()->GetChildCharacter("toppings", name);
    }
    // The tags of the texts that show.
    std::vector<std::string> Shown() const {
        std::vector<std::string> tags;
        for (const TextElement& text : hint.GetTextElements()) {
            if (text.visible) {
                tags.push_back(text.tag);
            }
        }
        return tags;
    }

    Application& application = Application::GetInstance();
    AppControllers controllers;
    GUIHint hint;
    CommandEar ear;
};

TEST_F(GUIHintTest, mode_0_plays_through_its_checkpoint_and_hides_when_it_stops) {
    EXPECT_FALSE(hint.IsPlaying());
    hint.ShowHint("gui controls", 0);
    EXPECT_TRUE(hint.IsPlaying());
    EXPECT_EQ(Frame(), 1);
    for (int frame = 2; frame <= 5; ++frame) {
        Step();
        EXPECT_EQ(Frame(), frame);
        EXPECT_FALSE(hint.IsWaiting());
    }
    EXPECT_FALSE(hint.IsPlaying());
}

TEST_F(GUIHintTest, modes_1_and_2_wait_at_the_checkpoint_for_a_move_and_a_press) {
    for (int mode : {1, 2, 3}) {
        SCOPED_TRACE(mode);
        hint.ShowHint("gui controls", mode);
        EXPECT_TRUE(hint.NeedsMove());
        EXPECT_TRUE(hint.NeedsPress());
        for (int frame = 0; frame < 5; ++frame) {
            Step();
        }
        EXPECT_EQ(Frame(), 3);
        EXPECT_TRUE(hint.IsWaiting());
        EXPECT_FALSE(hint.IsPlaying());
        // Start and back are neither; pressing without moving keeps the hint.
        hint.OnCommand(controllers[0], Controller::kStart);
        hint.OnCommand(controllers[0], Controller::kBack);
        hint.OnCommand(controllers[0], Controller::kSpit);
        Step();
        EXPECT_TRUE(hint.IsWaiting());
        EXPECT_EQ(Frame(), 3);
        EXPECT_FALSE(hint.NeedsPress());
        // Moving then lets it play out.
        hint.OnCommand(controllers[1], Controller::kDown);
        EXPECT_FALSE(hint.IsWaiting());
        EXPECT_TRUE(hint.IsPlaying());
        Step();
        Step();
        EXPECT_EQ(Frame(), 5);
        EXPECT_FALSE(hint.IsPlaying());
    }
    // Moves and presses before the checkpoint count for nothing.
    hint.ShowHint("gui controls", 1);
    hint.OnCommand(controllers[0], Controller::kLeft);
    hint.OnCommand(controllers[0], Controller::kSpit);
    EXPECT_TRUE(hint.NeedsMove());
    hint.OnFSCommand("checkpoint");
    EXPECT_TRUE(hint.IsWaiting());
    // Other FSCommands are not its business.
    hint.ShowHint("gui controls", 1);
    hint.OnFSCommand("Checkpoint");
    EXPECT_FALSE(hint.IsWaiting());
}

TEST_F(GUIHintTest, the_hint_shows_its_text_and_toppings_frame_and_hides_toppings_it_has_no_frame_for) {
    hint.ShowHint("training controls", 0);
    EXPECT_EQ(Shown(), (std::vector<std::string>{"training controls", "training controls c1"}));
    EXPECT_TRUE(Clip("toppings")->get_visible());
    EXPECT_EQ(Clip("toppings")->get_current_frame(), 2);
    EXPECT_EQ(Picture("player")->get_current_frame(), 0);

    hint.ShowHint("select two", 0);
    EXPECT_EQ(Shown(), std::vector<std::string>{"select two"});
    EXPECT_FALSE(Clip("toppings")->get_visible());
    hint.ShowHint("gui controls", 0);
    EXPECT_TRUE(Clip("toppings")->get_visible());
    EXPECT_EQ(Clip("toppings")->get_current_frame(), 0);
    EXPECT_EQ(hint.GetHintName(), "gui controls");
}

TEST_F(GUIHintTest, the_quick_match_hint_pictures_both_controllers_and_hides_a_missing_one) {
    application.player1Controller = controllers[1];
    application.player2Controller = controllers[0];
    hint.ShowHint("quickmatch controls", 2);
    EXPECT_EQ(Shown(), (std::vector<std::string>{"quickmatch controls", "quickmatch controls p1c2",
                                                 "quickmatch controls p2c1"}));
    EXPECT_EQ(Picture("player1")->get_current_frame(), 1);
    EXPECT_EQ(Picture("player2")->get_current_frame(), 0);
    EXPECT_TRUE(Picture("player2")->get_visible());

    application.player2Controller = nullptr;
    hint.ShowHint("quickmatch controls", 0);
    EXPECT_EQ(Shown(), (std::vector<std::string>{"quickmatch controls", "quickmatch controls p1c2"}));
    EXPECT_FALSE(Picture("player2")->get_visible());
    application.player1Controller = nullptr;
    hint.ShowHint("training controls", 0);
    EXPECT_EQ(Shown(), std::vector<std::string>{"training controls"});
    EXPECT_FALSE(Picture("player")->get_visible());
}

TEST_F(GUIHintTest, the_text_and_toppings_fade_and_move_with_the_background) {
    hint.ShowHint("gui controls", 0);
    // The background's alpha on frames 1 to 5.
    const float alphas[] = {0.5f, 1.0f, 1.0f, 0.5f, 0.0f};
    for (int frame = 2; frame <= 5; ++frame) {
        Step();
        if (!hint.IsPlaying()) {
            break;
        }
        const sf::Vector2f background = ClipPosition(Clip("background"));
        EXPECT_EQ(background, sf::Vector2f(100.0f + 20 * frame, 100.0f));
        EXPECT_EQ(ClipPosition(Clip("toppings")), background);
        EXPECT_NEAR(ClipAlpha(Clip("toppings")), alphas[frame - 1], 0.01);
        EXPECT_NEAR(hint.GetTextElements()[0].text.getFillColor().a, alphas[frame - 1] * 255, 3);
        // The text is anchored to the background too.
        EXPECT_EQ(hint.GetTextElements()[0].text.getPosition(), background + sf::Vector2f(10, 0));
    }
}

TEST_F(GUIHintTest, with_hints_disabled_nothing_shows) {
    UserPreferences::GetInstance().disableHints = true;
    hint.ShowHint("gui controls", 1);
    EXPECT_FALSE(hint.IsPlaying());
    EXPECT_TRUE(hint.GetHintName().empty());
    EXPECT_FALSE(hint.NeedsMove());
    NullTarget target;
    hint.Render(target, {});
}

}  // namespace
}  // namespace gui_testing
