#pragma once
// Internal to the screen tests: what a test of real screens over the game's data starts from.

#include "app/Application.h"
#include "app/UserPreferences.h"
#include "gui/GUIDirector.h"
#include "tests/gui/GuiTestKit.h"
#include "tests/gui/ScreenStubs.h"
#include "tests/support/FileTail.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>

namespace gui_testing {

// The small arena of the screen tests' matches, copied into the game's data by FreshRecord.
constexpr const char* kDuel = "data/levels/test_duel.xml";

// A copy of the game's data and a user folder of the test's own, the game's log, the two
// controllers, a journal for stub screens and a director that the test makes; the director goes
// before the folders.
class ScreenTestBase : public ::testing::Test {
protected:
    void SetUp() override {
        data.emplace();
        user.emplace();
        log.emplace(VirtualFoldersAccess::LogFile());
        preferences.disableHints = false;
    }
    void TearDown() override {
        director.reset();
        user.reset();
        data.reset();
    }

    // Adds the test arena to the data and gives the application a fresh record: no statistics, a
    // new set-up and no match played.
    void FreshRecord() {
        std::filesystem::copy(GUI_TEST_DATA "/test_duel.xml", data->Path() / kDuel);
        Application& application = Application::GetInstance();
        application.statistics = StatisticsStore();
        application.matchSetup = MatchSetup();
        application.TakeMatch(MatchRecord());
    }
    // A fresh record set for a duel on the test arena between Blossom and Sprout, each steered by
    // one of the two controllers.
    void FreshDuel() {
        FreshRecord();
        Application& application = Application::GetInstance();
        application.levelFile = kDuel;
        application.player1File = "data/players/blossom.xml";
        application.player2File = "data/players/sprout.xml";
        application.player1Controller = controllers[0];
        application.player2Controller = controllers[1];
    }

    struct VirtualFoldersAccess : VirtualFolders {
        using VirtualFolders::LogFile;
    };
    std::optional<GameDataCopy> data;
    std::optional<UserFolder> user;
    UserPreferences& preferences = UserPreferences::GetInstance();
    AppControllers controllers;
    Journal journal;
    std::optional<testing_support::FileTail> log;
    std::optional<GUIDirector> director;
};

}  // namespace gui_testing
