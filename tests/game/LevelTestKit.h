#pragma once
// Internal to the level tests: a game folder of the test's own with the balls' movies and a sound
// table, writers of level files and of small movies, and a look at the game's log.

#include "app/SoundManager.h"
#include "game/Level.h"
#include "tests/app/VirtualFolders.h"
#include "tests/support/FileTail.h"
#include "tools/levels/BallArt.h"
#include "tools/levels/ContentFiles.h"
#include "tools/swfkit/ActionAssembler.h"
#include "tools/swfkit/Movie.h"

#include <box2d/b2_body.h>
#include <box2d/b2_world.h>
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace level_testing {

// A movie of one 10 x 10 pixel frame per label, each frame labelled so (an empty label: none)
// and stopping when stop is set.
inline swfkit::Bytes FramesMovie(const std::vector<std::string>& labels, bool stop = true, int size = 10) {
    swfkit::Movie movie(8, {0, size * 20, 0, size * 20}, 30.0);
    swfkit::TagList& tags = movie.Tags();
    for (const std::string& label : labels) {
        if (!label.empty()) {
            tags.FrameLabel(label);
        }
        if (stop) {
            tags.DoAction(swfkit::action_assembler().op(swfkit::STOP).bytes());
        }
        tags.ShowFrame();
    }
    return movie.Write(false);
}

// A polygon fixture of the points.
inline FixtureData Polygon(const std::vector<b2Vec2>& points) {
    FixtureData fixture;
    fixture.m_Vertices.assign(points.begin(), points.end());
    return fixture;
}

// A body at the position with the fixtures.
inline BodyData Body(const std::string& name, const b2Vec2& position, float density,
                     const std::vector<FixtureData>& fixtures = {}) {
    BodyData body;
    body.m_Name = name;
    body.m_Position = position;
    body.m_Density = density;
    body.m_Fixtures = fixtures;
    return body;
}

inline std::vector<b2Vec2> Box(float halfWidth, float halfHeight) {
    return {{-halfWidth, -halfHeight}, {halfWidth, -halfHeight}, {halfWidth, halfHeight}, {-halfWidth, halfHeight}};
}

inline std::vector<b2Body*> Bodies(const b2World& world) {
    std::vector<b2Body*> bodies;
    for (b2Body* body = const_cast<b2World&>(world).GetBodyList(); body != nullptr; body = body->GetNext()) {
        bodies.push_back(body);
    }
    return bodies;
}

// The game's virtual file system over fresh folders, holding the balls' movies, with the sound
// kinds "default" and "ball" (balls clack together and bump into everything else).
class LevelFolder : public VirtualFolders {
protected:
    void SetUp() override {
        VirtualFolders::SetUp();
        m_Log.emplace(LogFile());
        SoundManagerData table;
        for (const char* kind : {"default", "ball"}) {
            SoundManagerData::BodyType type;
            type.m_Name = kind;
            table.m_BodyTypes.push_back(type);
        }
        SoundManagerData::CollisionType clack;
        clack.m_BodyType1 = "ball";
        clack.m_BodyType2 = "ball";
        clack.m_FileNamePattern = "data/sounds/clack%d.wav";
        clack.m_IndexMin = 1;
        clack.m_IndexMax = 1;
        table.m_CollisionTypes.push_back(clack);
        SoundManager::GetInstance().SetData(table);
        Write("data/ball.swf", ball_art::BallMovie());
        Write("data/ball_glow.swf", ball_art::GlowMovie());
    }

    void Write(const std::string& name, const swfkit::Bytes& bytes) {
        ASSERT_TRUE(WriteBytes(GameDir() / name, bytes));
    }
    void Write(const std::string& name, const std::string& text) { ASSERT_TRUE(WriteText(GameDir() / name, text)); }
    // The level file of the records, under "data".
    void Write(const std::string& name, LevelData level) {
        ASSERT_TRUE(WriteRecords(GameDir() / name, {{"data", &level}}));
    }

    // What the game's log gained since the test began.
    std::string Logged() const { return m_Log->Text(); }

    std::optional<testing_support::FileTail> m_Log;
};

}  // namespace level_testing
