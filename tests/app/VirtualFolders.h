#pragma once

#include "app/Logger.h"
#include "app/TiXmlIOProxy.h"
#include "app/TinyxmlPhysfsProxy.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>
#include <physfs.h>

#include <filesystem>

// The game's virtual file system over two fresh folders: a working folder mounted at the root
// and a user folder mounted at "/userfolder" that is also the write directory, with symbolic
// links followed and XML output going through PhysFS as in the running game.
class VirtualFolders : public ::testing::Test {
protected:
    void SetUp() override {
        std::filesystem::create_directories(GameDir());
        std::filesystem::create_directories(UserDir());
        ASSERT_NE(PHYSFS_init(nullptr), 0);
        ASSERT_NE(PHYSFS_mount(GameDir().c_str(), nullptr, 0), 0);
        ASSERT_NE(PHYSFS_mount(UserDir().c_str(), "/userfolder", 0), 0);
        ASSERT_NE(PHYSFS_setWriteDir(UserDir().c_str()), 0);
        PHYSFS_permitSymbolicLinks(1);
        TiXmlIOProxy::SetCurrent(&m_Proxy);
    }

    void TearDown() override {
        TiXmlIOProxy::SetCurrent(nullptr);
        PHYSFS_deinit();
    }

    std::filesystem::path GameDir() const { return m_Temp / "game"; }
    std::filesystem::path UserDir() const { return m_Temp / "user"; }

    // The game's log, in the user folder of the test program's own (see
    // tests/support/startup/PrivateHome.cpp).
    static std::filesystem::path LogFile() { return Logger::GetInstance().GetLogFile(); }

    testing_support::TempDir m_Temp;
    TinyxmlPhysfsProxy m_Proxy;
};
