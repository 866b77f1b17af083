// The creatures the game ships (the build's game folder): each builds, steers, animates and draws
// with nothing in the game's log, and has the clips and labels the creature code looks for.
#include "app/ResourceXml.h"
#include "game/BotSettings.h"
#include "game/Globbo.h"
#include "game/Level.h"
#include "game/b2ConstantVolumeJoint.h"
#include "serializeme/XmlStorageBuffer.h"
#include "swfplayer/main/display/sprite_instance.h"
#include "tests/game/window/ShippedGameFolder.h"

#include <SFML/Graphics/RenderTexture.hpp>
#include <box2d/b2_body.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <memory>
#include <set>

namespace {

constexpr float kFrame = 1.0f / 30.0f;

// Every name in the folder (data/players, or data/ais for the computer opponents) that contains
// ".xml", as the selection screens list them.
std::vector<std::string> CreatureFiles(const std::string& folder = "data/players") {
    std::vector<std::string> files;
    for (const auto& entry : std::filesystem::directory_iterator(kGameDir / folder)) {
        const std::string name = entry.path().filename().string();
        if (name.find(".xml") != std::string::npos) {
            files.push_back(folder + "/" + name);
        }
    }
    std::sort(files.begin(), files.end());
    return files;
}

// The players' creatures, then the computer opponents'.
std::vector<std::string> AllCreatureFiles() {
    std::vector<std::string> files = CreatureFiles();
    for (const std::string& bot : CreatureFiles("data/ais")) {
        files.push_back(bot);
    }
    return files;
}

swfplayer::sprite_instance* Sprite(swfplayer::character* ch) {
    return swfplayer::cast_to_sprite_instance(ch);
}

// Runs the movie a frame at a time until the sprite stops (at most two seconds); its frame then,
// or -1 when it never stopped.
int StopsOn(FlashMovie& movie, swfplayer::sprite_instance* sprite) {
    for (int frame = 0; frame < 60; ++frame) {
        if (sprite->get_play_state() == swfplayer::character::STOP) {
            const int stopped = sprite->get_current_frame();
            movie.Advance(kFrame);
            return sprite->get_current_frame() == stopped ? stopped : -1;
        }
        movie.Advance(kFrame);
    }
    return -1;
}

int LabelFrame(swfplayer::sprite_instance* sprite, const char* label) {
    int frame = -1;
    sprite->get_movie_definition()->get_labeled_frame(label, &frame);
    return frame;
}

class ShippedCreatures : public ShippedGameFolder {
protected:
    // The sounds are read from the working folder, as the game runs in its own.
    void SetUp() override {
        m_WorkingFolder = std::filesystem::current_path();
        std::filesystem::current_path(kGameDir);
        ShippedGameFolder::SetUp();
        m_World.Create();
    }
    void TearDown() override {
        ShippedGameFolder::TearDown();
        std::filesystem::current_path(m_WorkingFolder);
    }

    std::filesystem::path m_WorkingFolder;
    PhysicsWorld m_World;
};

// At least six selectable creatures, among them the three the debug podium names, each with a
// name and a body colour of its own, and a decoration on its skin or on top of it.
TEST_F(ShippedCreatures, six_selectable_creatures_each_of_its_own_colour_and_look) {
    const std::vector<std::string> files = CreatureFiles();
    std::set<std::string> names;
    std::set<std::tuple<int, int, int>> colours;
    int selectable = 0;
    for (const std::string& file : files) {
        SCOPED_TRACE(file);
        Globbo creature(m_World, file, 0.0f, 0.0f);
        const GlobboData& data = creature.m_Data;
        EXPECT_FALSE(data.m_CharacterName.empty());
        names.insert(data.m_CharacterName);
        colours.insert({data.m_BodyColor.r, data.m_BodyColor.g, data.m_BodyColor.b});
        // See-through enough to show the balls inside, opaque enough to show the creature.
        EXPECT_GE(data.m_BodyColor.a, 100);
        EXPECT_LE(data.m_BodyColor.a, 200);
        selectable += data.m_Selectable ? 1 : 0;
        EXPECT_TRUE(creature.GetSkinAttachment() != nullptr || creature.GetSkinTopAttachment() != nullptr);
        for (FlashMovie* movie :
             {creature.GetSkinAttachment(), creature.GetSkinTopAttachment(), creature.GetEyesAttachment()}) {
            EXPECT_TRUE(movie == nullptr || movie->GetRoot() != nullptr);
        }
        const FlashMovie portrait(data.m_SnapshotFile.c_str());
        EXPECT_NE(portrait.GetCharacter("face"), nullptr);
    }
    EXPECT_GE(selectable, 6);
    EXPECT_EQ(names.size(), files.size());
    EXPECT_EQ(colours.size(), files.size());
    for (const char* required : {"data/players/hooligan.xml", "data/players/bubbles.xml", "data/players/sprout.xml"}) {
        EXPECT_NE(std::find(files.begin(), files.end(), required), files.end()) << required;
    }
    EXPECT_EQ(m_Log->Text(), "");
}

// The eyes have both clips with their pupil and eyeball, and blink (slow and fast) back to their
// first frame; the mouth closes onto "closed" and opens, sucks and spits back to its first frame.
TEST_F(ShippedCreatures, eyes_and_mouths_end_every_animation_where_the_creature_looks_for_them) {
    for (const std::string& file : AllCreatureFiles()) {
        SCOPED_TRACE(file);
        Globbo creature(m_World, file, 0.0f, 0.0f);
        FlashMovie& eyes = creature.GetEyesMovie();
        for (const char* name : {"eye_l", "eye_r"}) {
            swfplayer::sprite_instance* eye = Sprite(eyes.GetCharacter(name));
            ASSERT_NE(eye, nullptr) << name;
            EXPECT_NE(eyes.GetChildCharacter(name, "pupil"), nullptr);
            EXPECT_NE(eyes.GetChildCharacter(name, "eyeball"), nullptr);
            for (const char* label : {"blink", "blinkfast"}) {
                ASSERT_TRUE(eye->goto_labeled_frame(label)) << label;
                eye->set_play_state(swfplayer::character::PLAY);
                EXPECT_EQ(StopsOn(eyes, eye), 0) << label;
            }
        }
        FlashMovie& mouth = creature.GetMouthMovie();
        swfplayer::sprite_instance* root = mouth.GetRoot()->get_root_sprite();
        EXPECT_EQ(StopsOn(mouth, root), 0);
        const int closed = LabelFrame(root, "closed");
        ASSERT_GT(closed, 0);
        for (const char* label : {"close", "open", "suckoff", "spit"}) {
            ASSERT_TRUE(mouth.GotoLabel(label, true)) << label;
            EXPECT_EQ(StopsOn(mouth, root), std::string(label) == "close" ? closed : 0) << label;
        }
    }
}

// On every level, each creature steers, spits, animates and draws for a few seconds with
// nothing logged.
TEST_F(ShippedCreatures, every_creature_plays_on_every_level) {
    sf::RenderTexture target;
    ASSERT_TRUE(target.create(800, 600));
    const std::vector<std::string> files = AllCreatureFiles();
    for (const auto& entry : std::filesystem::directory_iterator(kGameDir / "data/levels")) {
        if (entry.path().extension() != ".xml") {
            continue;
        }
        const std::string levelFile = "data/levels/" + entry.path().filename().string();
        SCOPED_TRACE(levelFile);
        Level level;
        ASSERT_TRUE(level.Load(levelFile, nullptr));
        const LevelData& data = level.GetData();
        for (size_t i = 0; i < files.size(); i += 2) {
            std::unique_ptr<Globbo> creatures[2];
            const b2Vec2 starts[2] = {data.m_Player1StartPos, data.m_Player2StartPos};
            for (int k = 0; k < 2; ++k) {
                creatures[k] = std::make_unique<Globbo>(level.GetPhysics(), files[(i + k) % files.size()], starts[k].x,
                                                        starts[k].y);
                creatures[k]->GetJoint()->Inflate(1.3f);
            }
            const ScreenMapping mapping = ScreenMapping::Of(level.GetPhysics());
            for (int step = 0; step < 150; ++step) {
                level.GetPhysics().Step(0.02f);
                for (int k = 0; k < 2; ++k) {
                    creatures[k]->MoveMouth(b2Vec2(k == 0 ? 1.0f : -1.0f, step % 50 < 25 ? -1.0f : 1.0f), 1.0f);
                    if (step % 40 == 39) {
                        creatures[k]->Shoot();
                    }
                    creatures[k]->Update(0.02f);
                }
                level.Update(nullptr, 0.02f);
                if (step % 10 == 0) {
                    level.DrawBack(target, sf::RenderStates::Default);
                    for (const auto& creature : creatures) {
                        creature->DrawOutline(target, sf::RenderStates::Default, mapping);
                    }
                    level.DrawBalls(target, sf::RenderStates::Default);
                    for (const auto& creature : creatures) {
                        creature->DrawParts(target, sf::RenderStates::Default, mapping);
                    }
                }
            }
            for (const auto& creature : creatures) {
                EXPECT_TRUE(creature->m_Center.IsValid());
                EXPECT_GT(creature->GetJoint()->GetArea(), 30.0f);
                EXPECT_TRUE(creature->IsPointInside(creature->GetMouthBody()->GetPosition().x,
                                                    creature->GetMouthBody()->GetPosition().y));
            }
        }
    }
    EXPECT_EQ(m_Log->Text(), "");
}

// The computer opponents' settings, as the bot reads them from its file.
BotSettings SettingsOf(const std::string& file) {
    const ResourceXml resource(file);
    sme::XmlStorageBuffer reader(false);
    reader.SetRoot(resource.GetRoot());
    BotSettings settings;
    EXPECT_TRUE(reader.ReadObject("m_Settings", settings)) << file;
    return settings;
}

// At least three computer opponents, each a creature of its own look (a name, a body colour no
// player or other bot has, a decoration, a portrait) with settings of sixteen usable weights (no
// row without a goal) and a personality, playing differently: a fetcher choosing the closest
// ball in sight, a chaser that spits the moment it can, and a tactician that plans its way to
// the closest ball and waits longest between shots. Listed weakest first, the tactician last.
TEST_F(ShippedCreatures, three_computer_opponents_each_of_its_own_look_and_play) {
    const std::vector<std::string> bots = CreatureFiles("data/ais");
    ASSERT_GE(bots.size(), 3u);
    std::set<std::tuple<int, int, int>> colours;
    for (const std::string& player : CreatureFiles()) {
        const Globbo creature(m_World, player, 0.0f, 0.0f);
        colours.insert({creature.m_Data.m_BodyColor.r, creature.m_Data.m_BodyColor.g, creature.m_Data.m_BodyColor.b});
    }
    std::set<std::string> names;
    std::vector<BotSettings> settings;
    for (const std::string& file : bots) {
        SCOPED_TRACE(file);
        Globbo creature(m_World, file, 0.0f, 0.0f);
        const GlobboData& data = creature.m_Data;
        EXPECT_FALSE(data.m_CharacterName.empty());
        names.insert(data.m_CharacterName);
        EXPECT_TRUE(colours.insert({data.m_BodyColor.r, data.m_BodyColor.g, data.m_BodyColor.b}).second);
        EXPECT_TRUE(creature.GetSkinAttachment() != nullptr || creature.GetSkinTopAttachment() != nullptr);
        const FlashMovie portrait(data.m_SnapshotFile.c_str());
        EXPECT_NE(portrait.GetCharacter("face"), nullptr);
        settings.push_back(SettingsOf(file));
        const BotSettings& bot = settings.back();
        EXPECT_FALSE(bot.m_Personality.empty());
        ASSERT_EQ(bot.m_GoalWeights.size(), 16u);
        for (float weight : bot.m_GoalWeights) {
            EXPECT_TRUE(std::isfinite(weight) && weight >= 0.0f);
        }
        for (uint32_t condition = 0; condition < BotSettings::kConditions; ++condition) {
            EXPECT_FLOAT_EQ(bot.Cumulative(condition, BotSettings::kShoot), 1.0f) << "condition " << condition;
        }
    }
    EXPECT_EQ(names.size(), bots.size());
    const auto fetcher = std::find_if(settings.begin(), settings.end(), [](const BotSettings& s) {
        return s.m_BallChoiceMode == BotSettings::kClosestInSight;
    });
    const auto chaser = std::find_if(settings.begin(), settings.end(), [](const BotSettings& s) {
        return s.m_ShootingCooldown == 0.0f && s.Cumulative(BotSettings::kNormal, BotSettings::kChase) -
                                                       s.Cumulative(BotSettings::kNormal, BotSettings::kFetch) >=
                                                   0.5f;
    });
    const BotSettings& tactician = settings.back();
    EXPECT_NE(fetcher, settings.end());
    EXPECT_NE(chaser, settings.end());
    EXPECT_EQ(tactician.m_BallChoiceMode, BotSettings::kClosestReachable);
    for (size_t i = 0; i + 1 < settings.size(); ++i) {
        EXPECT_GT(tactician.m_ShootingCooldown, settings[i].m_ShootingCooldown);
    }
    EXPECT_EQ(m_Log->Text(), "");
}

}  // namespace
