#include "app/ControlHints.h"
#include "app/MatchSetup.h"

#include <gtest/gtest.h>

TEST(ControlHints, unused_key_press_shows_menu_controls_except_during_a_match) {
    EXPECT_STREQ(HintForKeyPress(false, 4), "gui controls");
    EXPECT_STREQ(HintForKeyPress(false, 0), "gui controls");
    EXPECT_STREQ(HintForKeyPress(true, 4), nullptr);
    EXPECT_STREQ(HintForKeyPress(false, kMatchScreenId), nullptr);
}

TEST(ControlHints, mouse_press_shows_the_hint_of_the_screen_and_match_mode) {
    EXPECT_STREQ(HintForMouseButton(1, MatchSetup::Championship), "gui controls");
    EXPECT_STREQ(HintForMouseButton(kMatchScreenId, MatchSetup::QuickMatch), "quickmatch controls");
    EXPECT_STREQ(HintForMouseButton(kMatchScreenId, MatchSetup::Training), "training controls");
    EXPECT_STREQ(HintForMouseButton(kMatchScreenId, MatchSetup::Championship), nullptr);
}
