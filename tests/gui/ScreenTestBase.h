#pragma once
// Internal to the screen tests: what a test of real screens over the game's data starts from.

#include "app/UserPreferences.h"
#include "gui/GUIDirector.h"
#include "tests/gui/GuiTestKit.h"
#include "tests/gui/ScreenStubs.h"
#include "tests/support/FileTail.h"

#include <gtest/gtest.h>

#include <optional>

namespace gui_testing {

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
