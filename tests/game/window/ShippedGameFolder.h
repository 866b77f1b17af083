#pragma once
// Internal to the shipped content's tests: the build's game folder mounted read-only as the game
// mounts it, a user folder of the test's own, the game's own sound table, and the log watched
// from the start.

#include "app/Logger.h"
#include "app/SoundManager.h"
#include "app/TiXmlIOProxy.h"
#include "app/TinyxmlPhysfsProxy.h"
#include "tests/support/FileTail.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>
#include <physfs.h>

#include <filesystem>
#include <optional>

// The build's game folder.
inline const std::filesystem::path kGameDir = PONDORIX_GAME_DIR;

class ShippedGameFolder : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_NE(PHYSFS_init(nullptr), 0);
        ASSERT_NE(PHYSFS_mount(kGameDir.c_str(), nullptr, 0), 0);
        TiXmlIOProxy::SetCurrent(&m_Proxy);
        m_Log.emplace(Logger::GetInstance().GetLogFile());
        SoundManager::GetInstance().Load();
    }
    void TearDown() override {
        TiXmlIOProxy::SetCurrent(nullptr);
        PHYSFS_deinit();
    }

    TinyxmlPhysfsProxy m_Proxy;
    std::optional<testing_support::FileTail> m_Log;
};
