#include "app/ControlHints.h"
#include "app/MatchSetup.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::string Name(const char* hint) {
    return hint ? hint : "(none)";
}

}  // namespace

TEST(ControlHints, unused_key_press_shows_menu_controls_except_during_a_match) {
    EXPECT_EQ(Name(HintForKeyPress(false, 4)), "gui controls");
    EXPECT_EQ(Name(HintForKeyPress(false, 0)), "gui controls");
    EXPECT_EQ(Name(HintForKeyPress(true, 4)), "(none)");
    EXPECT_EQ(Name(HintForKeyPress(false, kMatchScreenId)), "(none)");
}

TEST(ControlHints, mouse_press_shows_the_hint_of_the_screen_and_match_mode) {
    EXPECT_EQ(Name(HintForMouseButton(1, MatchSetup::Championship)), "gui controls");
    EXPECT_EQ(Name(HintForMouseButton(kMatchScreenId, MatchSetup::QuickMatch)), "quickmatch controls");
    EXPECT_EQ(Name(HintForMouseButton(kMatchScreenId, MatchSetup::Training)), "training controls");
    EXPECT_EQ(Name(HintForMouseButton(kMatchScreenId, MatchSetup::Championship)), "(none)");
}
