// A creature's portrait: its name stands where the layout file of its kind of portrait puts it,
// as a screen's text element does, whatever the name's width; and the game's own layouts put the
// shipped creatures' names about the middle of their portraits.
#include "gui/GlobboSnapshot.h"
#include "tests/gui/GuiTestKit.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

namespace gui_testing {
namespace {

struct PortraitKind {
    uint32_t flags;
    const char* layout;
    // The creatures shown so.
    const char* folder;
};
// The framed portraits of the players' creatures, and the bare faces of the computer opponents.
const PortraitKind kKinds[] = {
    {GlobboSnapshot::kFace | GlobboSnapshot::kFrame, GlobboSnapshot::kFrameText, "data/players"},
    {GlobboSnapshot::kFace, GlobboSnapshot::kNoFrameText, "data/ais"},
};

class GlobboSnapshotTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(font.loadFromFile((data.Path() / "data/child.ttf").string())); }

    // The creature files of the data's folder, in name order.
    std::vector<std::string> Creatures(const std::string& folder) const {
        std::vector<std::string> files;
        for (const auto& entry : std::filesystem::directory_iterator(data.Path() / folder)) {
            if (entry.path().extension() == ".xml") {
                files.push_back(folder + "/" + entry.path().filename().string());
            }
        }
        std::sort(files.begin(), files.end());
        return files;
    }

    GameDataCopy data;
    sf::Font font;
};

TEST_F(GlobboSnapshotTest, the_name_stands_where_its_layout_puts_it_whatever_its_width) {
    for (const PortraitKind& kind : kKinds) {
        SCOPED_TRACE(kind.layout);
        testing_support::WriteFile(data.Path() / kind.layout,
                                   "<resource><textelement m_Tag=\"name\" m_Text=\"\" m_Size=\"18\" m_Anchor=\"\" "
                                   "m_ColorR=\"1\" m_ColorG=\"2\" m_ColorB=\"3\" m_PosX=\"7.5\" m_PosY=\"-21\"/>"
                                   "</resource>");
        for (const auto& [file, words] :
             {std::pair{"data/players/plum.xml", "Plum"}, std::pair{"data/players/hooligan.xml", "Hooligan"}}) {
            SCOPED_TRACE(file);
            GlobboSnapshot snapshot;
            snapshot.Setup(file, font, kind.flags, {0, 0});
            ASSERT_NE(snapshot.GetName(), nullptr);
            const sf::Text& name = snapshot.GetName()->text;
            EXPECT_EQ(name.getString().toAnsiString(), words);
            EXPECT_EQ(name.getPosition(), sf::Vector2f(7.5f, -21.0f));
            EXPECT_EQ(name.getOrigin(), sf::Vector2f(0.0f, 0.0f));
            EXPECT_EQ(name.getCharacterSize(), 18u);
            EXPECT_EQ(name.getFillColor(), sf::Color(1, 2, 3, 255));
        }
    }
}

// One x serves every name of a kind of portrait: the names' middles lie about the portrait's
// middle, none further off than a quarter of the difference between the widest and the narrowest
// name (the two extremes then lie equally far off, one each side), give or take two pixels of the
// font's measure.
TEST_F(GlobboSnapshotTest, the_shipped_names_stand_about_the_middle_of_their_portraits) {
    for (const PortraitKind& kind : kKinds) {
        SCOPED_TRACE(kind.folder);
        std::vector<std::pair<std::string, sf::FloatRect>> names;
        float centre = 0.0f;
        for (const std::string& file : Creatures(kind.folder)) {
            GlobboSnapshot snapshot;
            snapshot.Setup(file, font, kind.flags, {0, 0});
            ASSERT_NE(snapshot.GetName(), nullptr);
            names.emplace_back(file, snapshot.GetName()->text.getGlobalBounds());
            centre = snapshot.getOrigin().x;
        }
        ASSERT_GE(names.size(), 2u);
        EXPECT_GT(centre, 0.0f);
        const auto [narrowest, widest] = std::minmax_element(
            names.begin(), names.end(), [](const auto& a, const auto& b) { return a.second.width < b.second.width; });
        const float reach = (widest->second.width - narrowest->second.width) / 4.0f + 2.0f;
        for (const auto& [file, bounds] : names) {
            EXPECT_LE(std::abs(bounds.left + bounds.width / 2.0f - centre), reach) << file;
        }
    }
}

}  // namespace
}  // namespace gui_testing
