#include "tests/game/window/MatchHarness.h"

#include "app/Application.h"
#include "app/GameRandom.h"
#include "app/SoundManager.h"
#include "flash/FSCommand.h"
#include "game/BodyRegistry.h"
#include "game/Globbo.h"
#include "game/LevelWindmill.h"
#include "game/b2ConstantVolumeJoint.h"
#include "tests/support/GameData.h"

#include <box2d/b2_body.h>
#include <box2d/b2_world.h>
#include <physfs.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <numbers>
#include <sstream>

namespace match_testing {

namespace {

std::vector<std::string> FilesIn(const std::string& folder) {
    std::vector<std::string> files;
    for (const auto& entry : std::filesystem::directory_iterator(kGameDir / folder)) {
        const std::string name = entry.path().filename().string();
        if (name.ends_with(".xml")) {
            files.push_back(folder + "/" + name);
        }
    }
    std::sort(files.begin(), files.end());
    return files;
}

class Hasher {
public:
    void Add(const void* data, size_t size) {
        const auto* bytes = static_cast<const unsigned char*>(data);
        for (size_t i = 0; i < size; ++i) {
            m_Value = (m_Value ^ bytes[i]) * 1099511628211ull;
        }
    }
    template <typename T>
    void Add(const T& value) {
        Add(&value, sizeof(value));
    }
    uint64_t Value() const { return m_Value; }

private:
    uint64_t m_Value = 1469598103934665603ull;
};

bool Finite(const b2Vec2& v) {
    return std::isfinite(v.x) && std::isfinite(v.y);
}

int CountHeld(const Globbo& holder, const Globbo* owner) {
    return holder.CountBallsInside(owner);
}

}  // namespace

void GameFolder::SetUp() {
    ShippedGameFolder::SetUp();
    // The game's data from a copy of the test's own: tests running side by side never share the
    // cache files that loading the movies writes beside them.
    const std::filesystem::path copy = m_Temp / "game";
    testing_support::CopyGameData(kGameDir / "data", copy / "data");
    ASSERT_NE(PHYSFS_unmount(kGameDir.c_str()), 0);
    ASSERT_NE(PHYSFS_mount(copy.c_str(), nullptr, 0), 0);
    std::filesystem::create_directories(OwnDir());
    std::filesystem::create_directories(UserDir());
    ASSERT_NE(PHYSFS_mount(OwnDir().c_str(), nullptr, 0), 0);
    ASSERT_NE(PHYSFS_mount(UserDir().c_str(), "/userfolder", 1), 0);
    ASSERT_NE(PHYSFS_setWriteDir(UserDir().c_str()), 0);
    Application::GetInstance().matchSetup = MatchSetup();
    GameRandom::GetInstance().SetSeed(1);
}

void GameFolder::TearDown() {
    SoundManager::GetInstance().StopMusic();
    SoundManager::GetInstance().Clear();
    ShippedGameFolder::TearDown();
}

RandomController::RandomController(uint32_t seed, double spitChance) : m_Random(seed), m_SpitChance(spitChance) {}

void RandomController::Update(float dt) {
    m_Hold -= dt;
    if (m_Hold <= 0.0f) {
        const double angle = std::uniform_real_distribution<double>(0.0, 2.0 * std::numbers::pi)(m_Random);
        m_Direction.Set(static_cast<float>(std::cos(angle)), static_cast<float>(std::sin(angle)));
        m_Hold = std::uniform_real_distribution<float>(0.2f, 1.2f)(m_Random);
    }
    if (Steerable* creature = GetCreature()) {
        creature->MoveMouth(m_Direction, 1.0f);
    }
}

void RandomController::Act() {
    if (std::bernoulli_distribution(m_SpitChance)(m_Random) && GetCreature() != nullptr) {
        ++m_Spits;
        Shoot();
    }
}

std::vector<std::string> ShippedCreatureFiles() {
    return FilesIn("data/players");
}

std::vector<std::string> ShippedBotFiles() {
    return FilesIn("data/ais");
}

std::vector<std::string> ShippedLevelFiles() {
    return FilesIn("data/levels");
}

std::unique_ptr<Level> NewLevel(const std::string& file) {
    return file == Level::kWindmillLevel ? std::make_unique<LevelWindmill>() : std::make_unique<Level>();
}

uint64_t StateHash(SpitGame& game) {
    Hasher hash;
    b2World* world = game.GetLevel().GetPhysics().GetWorld();
    for (b2Body* body = world->GetBodyList(); body != nullptr; body = body->GetNext()) {
        hash.Add(body->GetPosition());
        hash.Add(body->GetAngle());
        hash.Add(body->GetLinearVelocity());
        hash.Add(body->GetAngularVelocity());
    }
    auto creatureNumber = [&](const Globbo* creature) {
        return creature == nullptr ? 0 : creature == game.GetGlobbo1() ? 1 : creature == game.GetGlobbo2() ? 2 : 3;
    };
    for (const auto& ball : game.GetLevel().GetBalls()) {
        const BodyRecord* record = FindBodyRecord(ball->GetBody());
        hash.Add(record->state);
        hash.Add(creatureNumber(record->owner));
        hash.Add(record->neutralTimer);
        hash.Add(ball->IsBurden());
    }
    for (const Globbo* creature : {game.GetGlobbo1(), game.GetGlobbo2()}) {
        hash.Add(creature->GetContents().size());
    }
    const GameStatistics& statistics = game.GetStatistics();
    for (int32_t value :
         {statistics.winner, statistics.player1.score, statistics.player2.score, statistics.player1.numShots,
          statistics.player2.numShots, game.m_State, game.GetFramesSinceScoreChange()}) {
        hash.Add(value);
    }
    return hash.Value();
}

std::vector<uint64_t> StateHashes(HarnessMatch& match, int steps, int every) {
    std::vector<uint64_t> hashes;
    for (int step = 0; step < steps; ++step) {
        match.Step();
        if (step % every == 0) {
            hashes.push_back(StateHash(match.Game()));
        }
    }
    return hashes;
}

MatchChecks::MatchChecks(SpitGame& game)
    : m_Bodies(game.GetLevel().GetPhysics().GetWorld()->GetBodyCount()),
      m_Registered(RegisteredBodies(game.GetLevel().GetPhysics().GetWorld()).size()) {}

std::string MatchChecks::Check(SpitGame& game) const {
    std::ostringstream failed;
    Level& level = game.GetLevel();
    b2World* world = level.GetPhysics().GetWorld();
    const b2Vec2 low = level.GetPathFinder().GetMin();
    const b2Vec2 high = level.GetPathFinder().GetMax();
    for (b2Body* body = world->GetBodyList(); body != nullptr; body = body->GetNext()) {
        const b2Vec2 p = body->GetPosition();
        if (!Finite(p) || !std::isfinite(body->GetAngle()) || !Finite(body->GetLinearVelocity())) {
            failed << "a body is not finite; ";
        } else if (p.x < low.x || p.y < low.y || p.x > high.x || p.y > high.y) {
            failed << "a body at (" << p.x << ", " << p.y << ") left the grid; ";
        }
    }
    for (const Globbo* creature : {game.GetGlobbo1(), game.GetGlobbo2()}) {
        const b2ConstantVolumeJoint* joint = creature->GetJoint();
        if (joint == nullptr) {
            failed << "a creature has no ring; ";
        } else if (joint->GetArea() < 0.5f * joint->GetTargetVolume() ||
                   joint->GetArea() > 2.0f * joint->GetTargetVolume()) {
            failed << "a ring's area is " << joint->GetArea() << " for " << joint->GetTargetVolume() << "; ";
        }
    }
    const GameStatistics& statistics = game.GetStatistics();
    if (!game.IsOver() && (statistics.player1.score != CountHeld(*game.GetGlobbo2(), game.GetGlobbo1()) ||
                           statistics.player2.score != CountHeld(*game.GetGlobbo1(), game.GetGlobbo2()))) {
        failed << "scores " << statistics.player1.score << ":" << statistics.player2.score << " but held "
               << CountHeld(*game.GetGlobbo2(), game.GetGlobbo1()) << ":"
               << CountHeld(*game.GetGlobbo1(), game.GetGlobbo2()) << "; ";
    }
    if (world->GetBodyCount() != m_Bodies || RegisteredBodies(world).size() != m_Registered) {
        failed << "bodies " << world->GetBodyCount() << " (registered " << RegisteredBodies(world).size()
               << ") instead of " << m_Bodies << " (" << m_Registered << "); ";
    }
    if (level.GetEffectCount() > static_cast<size_t>(kMaxEffects) || level.GetParticles().GetCount() > kMaxEffects) {
        failed << level.GetEffectCount() << " effects and " << level.GetParticles().GetCount() << " particles; ";
    }
    return failed.str();
}

BotController::BotController(Globbo& own, Globbo& opponent, Level& level, const std::string& botFile)
    : m_Bot(own, opponent, level) {
    m_Bot.LoadSettings(botFile);
}

HarnessMatch::HarnessMatch(const std::string& levelFile, const std::string& creature1, const std::string& creature2,
                           uint32_t seed, Player player1, Player player2)
    : m_Level(NewLevel(levelFile)), m_Controller1(seed * 2 + 1), m_Controller2(seed * 2 + 2) {
    m_Game = std::make_unique<SpitGame>(levelFile, m_Level.get(), player2 == Player::kRandom, creature1, creature2);
    if (player1 == Player::kBot) {
        m_BotController =
            std::make_unique<BotController>(*m_Game->GetGlobbo1(), *m_Game->GetGlobbo2(), *m_Level, creature1);
        m_Game->m_Controller1 = m_BotController.get();
    } else {
        m_Game->m_Controller1 = &m_Controller1;
    }
    m_Game->m_Controller1->Attach(m_Game->GetGlobbo1(), nullptr);
    if (player2 == Player::kRandom) {
        m_Game->m_Controller2 = &m_Controller2;
        m_Controller2.Attach(m_Game->GetGlobbo2(), nullptr);
    }
    FSCommandSignal().connect(this, &HarnessMatch::OnFSCommand);
}

HarnessMatch::~HarnessMatch() {
    disconnect_all();
    // The match lets go of its controllers as it goes; the bot only reads the creatures while it
    // thinks.
    m_Game.reset();
    m_BotController.reset();
    m_Level.reset();
}

bool HarnessMatch::Step() {
    SoundManager::GetInstance().Update();
    if (m_Game->m_State == SpitGame::kPlaying) {
        m_Controller1.Act();
        m_Controller2.Act();
    }
    return m_Game->Update(Application::GetInstance(), kStep);
}

void HarnessMatch::OnFSCommand(const char* command) {
    m_Game->OnFSCommand(command);
}

}  // namespace match_testing
