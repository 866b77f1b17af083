#pragma once
// Internal to the flash tests: movies written into a folder the virtual file system mounts, and
// a real window on an X server of the tests' own with its back buffer read back.

#include "swfplayer/main/common/twips.h"
#include "tests/support/TempDir.h"
#include "tests/support/X11TestDisplay.h"
#include "tools/swfkit/BitWriter.h"

#include <GL/gl.h>
#include <SFML/Graphics.hpp>
#include <gtest/gtest.h>
#include <physfs.h>

#include <array>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

namespace flash_testing {

constexpr int kWidth = 320;
constexpr int kHeight = 240;
constexpr int kTwips = swfplayer::twips_per_pixel;

using Pixel = std::array<int, 3>;

// A fresh folder mounted at the root of the virtual file system.
class MovieFolderTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_NE(PHYSFS_init(nullptr), 0);
        ASSERT_NE(PHYSFS_mount(m_Dir.Path().c_str(), nullptr, 0), 0);
    }
    void TearDown() override {
        if (PHYSFS_isInit()) {
            PHYSFS_deinit();
        }
    }
    void Write(const std::string& name, const swfkit::Bytes& bytes) {
        testing_support::WriteFile(m_Dir / name, std::string(bytes.begin(), bytes.end()));
    }

    testing_support::TempDir m_Dir;
};

// A window as the game opens it (24 depth, 8 stencil bits, 4x multisampling), on an X server of
// the test's own, so that no other window covers it and no other test moves the pointer.
class WindowTest : public MovieFolderTest {
protected:
    void SetUp() override {
        MovieFolderTest::SetUp();
        ASSERT_TRUE(Display().Ready()) << "no Xvfb server";
        setenv("DISPLAY", Display().Name().c_str(), 1);
        // SFML connects to the display with its first window, so the window comes after.
        m_Window.emplace(sf::VideoMode(kWidth, kHeight), "flash test", sf::Style::None, sf::ContextSettings(24, 8, 4));
        ASSERT_TRUE(m_Window->isOpen());
        ASSERT_GE(m_Window->getSettings().stencilBits, 8u);
        ASSERT_TRUE(m_Window->setActive(true));
    }
    void TearDown() override {
        m_Window.reset();
        MovieFolderTest::TearDown();
    }

    // Lives until the process ends: SFML keeps its connection to the display after the last
    // window closes, and Xlib ends the process when that server goes away first.
    static testing_support::X11TestDisplay& Display() {
        static testing_support::X11TestDisplay display(kWidth + 64, kHeight + 64);
        return display;
    }

    // The back buffer, RGBA rows from the bottom.
    static std::vector<uint8_t> ReadAll() {
        std::vector<uint8_t> all(kWidth * kHeight * 4);
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glReadPixels(0, 0, kWidth, kHeight, GL_RGBA, GL_UNSIGNED_BYTE, all.data());
        return all;
    }
    // The back buffer at a pixel, y down.
    static Pixel Read(int x, int y) {
        uint8_t p[4] = {};
        glReadPixels(x, kHeight - 1 - y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, p);
        return {p[0], p[1], p[2]};
    }
    static void ExpectNear(const Pixel& got, const Pixel& want, int tolerance, const std::string& where) {
        for (int c = 0; c < 3; c++) {
            EXPECT_NEAR(got[c], want[c], tolerance) << where << " channel " << c;
        }
    }

    std::optional<sf::RenderWindow> m_Window;
};

}  // namespace flash_testing
