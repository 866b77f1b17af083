// The game's own control hints (its hint movie and texts) as the director shows them: every hint
// goes by itself when nothing is asked of the player; a hint that waits says what lets it go on,
// and the first move and press after it shows are the ones it waits for.
#include "gui/GUIDirector.h"
#include "gui/GUIHint.h"
#include "tests/gui/ScreenTestBase.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <regex>

namespace gui_testing {
namespace {

constexpr float kStep = 0.02f;

struct WaitingHint {
    const char* name;
    int mode;
};
// The hints that wait at their checkpoint, as the game asks for them.
const WaitingHint kWaiting[] = {{"gui controls", 1}, {"quickmatch controls", 2}, {"training controls", 2}};

class HintMovieTest : public ScreenTestBase {
protected:
    void SetUp() override {
        ScreenTestBase::SetUp();
        Application& application = Application::GetInstance();
        application.player1Controller = controllers[0];
        application.player2Controller = controllers[1];
        director.emplace();
        // A screen under the hint, for the director to update and tell the commands.
        director->RegisterScreen(GUIDirector::kQuickMatchSelection,
                                 std::make_unique<StubScreen>(GUIDirector::kQuickMatchSelection, journal));
        director->PushScreen(GUIDirector::kQuickMatchSelection);
    }
    void TearDown() override {
        Application& application = Application::GetInstance();
        application.player1Controller = nullptr;
        application.player2Controller = nullptr;
        ScreenTestBase::TearDown();
    }
    GUIHint& Hint() { return director->GetHint(); }
    void Run(float seconds) {
        for (float t = 0; t < seconds - 1e-4f; t += kStep) {
            director->Update(kStep);
        }
    }
    // The texts that show with the hint, in lower case, one after the other.
    std::string ShownText() {
        std::string shown;
        for (const TextElement& text : Hint().GetTextElements()) {
            if (text.visible) {
                shown += text.text.getString().toAnsiString() + "\n";
            }
        }
        std::transform(shown.begin(), shown.end(), shown.begin(), [](unsigned char c) { return std::tolower(c); });
        return shown;
    }
};

// Mode 0 asks nothing: each hint slides in, stays a moment and goes by itself.
TEST_F(HintMovieTest, every_hint_goes_by_itself_when_nothing_is_asked) {
    for (const char* name :
         {"gui controls", "quickmatch controls", "training controls", "use other controls", "select two"}) {
        SCOPED_TRACE(name);
        director->ShowHint(name, 0);
        Run(0.5f);
        EXPECT_TRUE(Hint().IsShown());
        EXPECT_FALSE(Hint().IsWaiting());
        Run(3.0f);
        EXPECT_FALSE(Hint().IsShown());
    }
}

// A hint that waits tells the player to move and then to press (or steer and then spit), which is
// what lets it go on.
TEST_F(HintMovieTest, a_hint_that_waits_says_what_lets_it_go_on) {
    const std::regex moveThenPress("(move|steer)[\\s\\S]*(press|spit)");
    for (const WaitingHint& hint : kWaiting) {
        SCOPED_TRACE(hint.name);
        director->ShowHint(hint.name, hint.mode);
        const std::string shown = ShownText();
        EXPECT_TRUE(std::regex_search(shown, moveThenPress)) << shown;
    }
}

// The first move and press after a hint shows, while it still slides in, are the ones it waits
// for: it goes on through its checkpoint and leaves. Without them it waits; a move alone, or a
// press that is not the spit command, is not enough.
TEST_F(HintMovieTest, the_first_move_and_press_after_a_hint_shows_let_it_go_on) {
    for (const WaitingHint& hint : kWaiting) {
        SCOPED_TRACE(hint.name);
        // A tenth of a second in, the panel still slides up.
        director->ShowHint(hint.name, hint.mode);
        Run(0.1f);
        ASSERT_TRUE(Hint().IsShown());
        director->HandleCommand(controllers[1], Controller::kLeft);
        director->HandleCommand(controllers[0], Controller::kSpit);
        Run(0.5f);
        EXPECT_TRUE(Hint().IsShown());
        EXPECT_FALSE(Hint().IsWaiting());
        Run(3.0f);
        EXPECT_FALSE(Hint().IsShown());

        director->ShowHint(hint.name, hint.mode);
        Run(0.1f);
        director->HandleCommand(controllers[0], Controller::kDown);
        director->HandleCommand(controllers[0], Controller::kStart);
        Run(3.5f);
        EXPECT_TRUE(Hint().IsWaiting());
        director->HandleCommand(controllers[0], Controller::kSpit);
        Run(3.0f);
        EXPECT_FALSE(Hint().IsShown());
    }
}

}  // namespace
}  // namespace gui_testing
