// The levels, level sets and movies that the game ships (the build's game folder): each loads
// into a working arena with nothing in the game's log, and has what the code and the issue's
// content list ask of it.
#include "app/ResourceXml.h"
#include "app/SoundManager.h"
#include "game/FlashBody.h"
#include "game/LevelWindmill.h"
#include "serializeme/XmlStorageBuffer.h"
#include "tests/game/window/ShippedGameFolder.h"
#include "tools/levels/ContentFiles.h"

#include <SFML/Graphics/Image.hpp>
#include <SFML/Graphics/RenderTexture.hpp>
#include <box2d/b2_body.h>
#include <box2d/b2_fixture.h>
#include <box2d/b2_joint.h>
#include <box2d/b2_world.h>
#include <gtest/gtest.h>
#include <tinyxml.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <set>

namespace {

std::vector<std::string> FilesIn(const std::string& folder, const std::string& ending) {
    std::vector<std::string> files;
    for (const auto& entry : std::filesystem::directory_iterator(kGameDir / folder)) {
        const std::string name = entry.path().filename().string();
        if (name.size() > ending.size() && name.ends_with(ending)) {
            files.push_back(folder + "/" + name);
        }
    }
    std::sort(files.begin(), files.end());
    return files;
}

// The record under the key of an XML file of the game folder; false when there is none.
bool ReadRecord(const std::string& file, const char* key, sme::Serializable& record) {
    const ResourceXml resource(file);
    if (resource.GetRoot() == nullptr || sme::XmlStorageBuffer::FindChildByName(resource.GetRoot(), key) == nullptr) {
        return false;
    }
    sme::XmlStorageBuffer reader(false);
    reader.SetRoot(resource.GetRoot());
    return reader.ReadObject(key, record);
}

sf::Vector2u PictureSize(const std::string& file) {
    sf::Image image;
    return image.loadFromFile((kGameDir / file).string()) ? image.getSize() : sf::Vector2u(0, 0);
}

class ShippedLevels : public ShippedGameFolder {
protected:
    static std::unique_ptr<Level> LevelFor(const std::string& file) {
        return file == Level::kWindmillLevel ? std::make_unique<LevelWindmill>() : std::make_unique<Level>();
    }
};

TEST_F(ShippedLevels, every_level_loads_runs_and_draws_with_nothing_logged) {
    const std::vector<std::string> levels = FilesIn("data/levels", ".xml");
    ASSERT_GE(levels.size(), 5u);
    sf::RenderTexture target;
    ASSERT_TRUE(target.create(800, 600));
    for (const std::string& file : levels) {
        SCOPED_TRACE(file);
        std::unique_ptr<Level> level = LevelFor(file);
        ASSERT_TRUE(level->Load(file, nullptr));
        const LevelData& data = level->GetData();
        EXPECT_GE(level->GetBalls().size(), 5u);
        EXPECT_LE(level->GetBalls().size(), 9u);
        EXPECT_EQ(level->GetBalls().size(), data.m_Balls.size());
        ASSERT_FALSE(level->GetElements().empty());
        EXPECT_EQ(level->HasBackground(), !data.m_Background.empty());
        // The arena body's movie shows in both layers; every body movie loaded.
        for (const auto& element : level->GetElements()) {
            if (auto* body = dynamic_cast<FlashBody*>(element.get())) {
                EXPECT_NE(body->GetFrontMovie().GetRoot(), nullptr);
            }
        }
        auto* arena = dynamic_cast<FlashBody*>(level->GetElements().front().get());
        ASSERT_NE(arena, nullptr);
        ASSERT_NE(arena->GetBackMovie().GetRoot(), nullptr);
        EXPECT_NE(arena->GetBody()->GetFixtureList(), nullptr);
        for (const Vec2Data& start : {data.m_Player1StartPos, data.m_Player2StartPos}) {
            EXPECT_LT(std::fabs(start.x), 60.0f);
            EXPECT_LT(std::fabs(start.y), 45.0f);
        }
        for (int frame = 0; frame < 5; ++frame) {
            level->GetPhysics().Step(0.02f);
            level->Update(nullptr, 0.02f);
            level->DrawBack(target, sf::RenderStates::Default);
            level->DrawBalls(target, sf::RenderStates::Default);
            level->DrawFront(target, sf::RenderStates::Default);
            level->DrawOverlay(target, sf::RenderStates::Default);
        }
        LevelDescription description;
        ASSERT_TRUE(ReadRecord(file, "description", description));
        EXPECT_EQ(PictureSize(description.screenshot), sf::Vector2u(400, 300));
    }
    EXPECT_EQ(m_Log->Text(), "");
}

// What the content list promises: the windmill of level 1 (which turns when pushed), level 2, a
// spring flipper, teleporters, a level seen from further away without a background picture.
TEST_F(ShippedLevels, the_levels_hold_the_promised_arenas) {
    const std::vector<std::string> levels = FilesIn("data/levels", ".xml");
    EXPECT_NE(std::find(levels.begin(), levels.end(), "data/levels/2_nanomill.xml"), levels.end());
    std::set<std::string> jointTypes;
    bool teleporters = false;
    bool wideWithoutBackground = false;
    for (const std::string& file : levels) {
        Level level;
        ASSERT_TRUE(level.Load(file, nullptr));
        for (const BodyData& body : level.GetData().m_Bodies) {
            for (const JointData& joint : body.m_Joints) {
                jointTypes.insert(joint.m_Type);
            }
        }
        for (const ActiveElementData& active : level.GetData().m_Actives) {
            teleporters = teleporters || active.m_Type == "teleporter";
        }
        wideWithoutBackground =
            wideWithoutBackground || (level.GetData().m_ViewZoom < 1.0f && level.GetData().m_Background.empty());
    }
    EXPECT_TRUE(jointTypes.count("revolutespring"));
    EXPECT_TRUE(teleporters);
    EXPECT_TRUE(wideWithoutBackground);

    LevelWindmill windmill;
    ASSERT_TRUE(windmill.Load(Level::kWindmillLevel, nullptr));
    b2Body* mill = windmill.GetBodyByName("windmill");
    ASSERT_NE(mill, nullptr);
    EXPECT_EQ(mill->GetType(), b2_dynamicBody);
    const b2Vec2 pin = mill->GetPosition();
    for (int step = 0; step < 50; ++step) {
        mill->ApplyForce(b2Vec2(0, 500), mill->GetWorldPoint(b2Vec2(8, 0)), true);
        windmill.GetPhysics().Step(0.02f);
    }
    EXPECT_GT(std::fabs(mill->GetAngle()), 0.3f);
    EXPECT_LT(b2Distance(mill->GetPosition(), pin), 0.01f);
}

// Whether a fixture of a static body holds the point (world units).
bool InGround(PhysicsWorld& physics, const b2Vec2& point) {
    for (b2Body* body = physics.GetWorld()->GetBodyList(); body != nullptr; body = body->GetNext()) {
        if (body->GetType() != b2_staticBody) {
            continue;
        }
        for (b2Fixture* fixture = body->GetFixtureList(); fixture != nullptr; fixture = fixture->GetNext()) {
            if (fixture->TestPoint(point)) {
                return true;
            }
        }
    }
    return false;
}

// The life bars' panels cover the screen's top corners over every match. In every shipped level
// the ground lies under them, with a little room for a creature's black edge, so nothing in the
// water can swim out of sight beneath a panel. The panels are where the score movie has them;
// the match zooms the level about the screen's middle.
TEST_F(ShippedLevels, the_water_of_every_level_stays_clear_of_the_life_bar_panels) {
    FlashMovie score("data/gui/score.swf");
    std::vector<swfplayer::rect> panels;
    for (const char* name : {"LifebarL", "LifebarR"}) {
        swfplayer::character* panel = score.GetCharacter(name);
        ASSERT_NE(panel, nullptr) << name;
        swfplayer::rect bound;
        panel->get_bound(&bound);
        panels.push_back(bound);
    }
    constexpr float kRoom = 2.0f;
    const sf::Vector2f middle(400.0f, 300.0f);
    for (const std::string& file : FilesIn("data/levels", ".xml")) {
        SCOPED_TRACE(file);
        Level level;
        ASSERT_TRUE(level.Load(file, nullptr));
        PhysicsWorld& physics = level.GetPhysics();
        const float zoom = level.GetData().m_ViewZoom;
        const sf::Vector2f origin = physics.ToPixels(b2Vec2(0.0f, 0.0f));
        const float pixelsPerUnit = physics.ToPixels(b2Vec2(1.0f, 0.0f)).x - origin.x;
        int uncovered = 0;
        std::string example;
        for (const swfplayer::rect& panel : panels) {
            for (float y = panel.y_min / 20.0f - kRoom; y <= panel.y_max / 20.0f + kRoom; y += 1.0f) {
                for (float x = panel.x_min / 20.0f - kRoom; x <= panel.x_max / 20.0f + kRoom; x += 1.0f) {
                    const sf::Vector2f unzoomed = middle + (sf::Vector2f(x, y) - middle) / zoom - origin;
                    if (!InGround(physics, (1.0f / pixelsPerUnit) * b2Vec2(unzoomed.x, unzoomed.y))) {
                        ++uncovered;
                        example = std::to_string(x) + ", " + std::to_string(y);
                    }
                }
            }
        }
        EXPECT_EQ(uncovered, 0) << "water under a panel, e.g. at the screen's pixel " << example;
    }
}

TEST_F(ShippedLevels, every_level_set_names_levels_that_load_and_a_preview) {
    const std::vector<std::string> sets = FilesIn("data/levelsets", ".xml");
    ASSERT_GE(sets.size(), 2u);
    for (const std::string& file : sets) {
        SCOPED_TRACE(file);
        LevelSetData set;
        ASSERT_TRUE(ReadRecord(file, "data", set));
        EXPECT_EQ(PictureSize(set.screenshot), sf::Vector2u(400, 300));
        ASSERT_FALSE(set.levels.empty());
        for (const std::string& level : set.levels) {
            Level loaded;
            EXPECT_TRUE(loaded.Load(level, nullptr)) << level;
        }
    }
    EXPECT_EQ(m_Log->Text(), "");
}

// The balls' movies have the frames and the clip the game goes to.
TEST_F(ShippedLevels, the_ball_movies_have_the_labels_and_clips_the_game_uses) {
    FlashMovie ball("data/ball.swf");
    ASSERT_TRUE(ball.GotoLabel("normal", false));
    EXPECT_NE(ball.GetCharacter("color"), nullptr);
    ASSERT_TRUE(ball.GotoLabel("burden", false));
    const int burden = ball.GetRoot()->get_current_frame();
    for (int variant = 0; variant < 3; ++variant) {
        SCOPED_TRACE(variant);
        ball.GetRoot()->goto_frame(burden + variant);
        ball.Advance(0.0f);
        ball.Advance(1.0f);
        EXPECT_EQ(ball.GetRoot()->get_current_frame(), burden + variant);  // each variant stays
        EXPECT_NE(ball.GetCharacter("color"), nullptr);
    }

    FlashMovie glow("data/ball_glow.swf");
    EXPECT_EQ(glow.GetRoot()->get_current_frame(), 0);
    ASSERT_TRUE(glow.GotoLabel("showup", true));
    const int showup = glow.GetRoot()->get_current_frame();
    int hide = -1;
    ASSERT_TRUE(glow.GetRoot()->get_movie_definition()->get_labeled_frame("hide", &hide));
    for (int frame = 0; frame < 100; ++frame) {
        glow.Advance(1.0f / 30.0f);
        EXPECT_GE(glow.GetRoot()->get_current_frame(), showup);
        EXPECT_LT(glow.GetRoot()->get_current_frame(), hide);  // "showup" loops
    }
    EXPECT_EQ(glow.GetRoot()->get_play_state(), swfplayer::character::PLAY);
    ASSERT_TRUE(glow.GotoLabel("hide", true));
    for (int frame = 0; frame < 30; ++frame) {
        glow.Advance(1.0f / 30.0f);
    }
    EXPECT_EQ(glow.GetRoot()->get_play_state(), swfplayer::character::STOP);
}

}  // namespace
