#pragma once
// Headless matches for tests: the build's game folder mounted as the game mounts it, controllers
// that steer and spit at random from a seed, and a match on a shipped level stepped 0.02 s at a
// time with everything a whole match must keep true checked after every step.

#include "app/Controller.h"
#include "flash/sigslot.h"
#include "game/Bot.h"
#include "game/Level.h"
#include "game/SpitGame.h"
#include "tests/game/window/ShippedGameFolder.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <memory>
#include <random>
#include <string>
#include <vector>

class b2World;

namespace match_testing {

// The length of one update step of the game's main loop, in seconds.
constexpr float kStep = 0.02f;

// The shipped game folder (see ShippedGameFolder), from a copy of the test's own, behind a folder
// of the test's own (for levels written by the test), and a user folder at "/userfolder" that is
// the write folder, as the game mounts its own. The application's set-up is a quick match, and
// the game's random numbers start from seed 1.
class GameFolder : public ShippedGameFolder {
protected:
    void SetUp() override;
    void TearDown() override;

    std::filesystem::path OwnDir() const { return m_Temp / "own"; }
    std::filesystem::path UserDir() const { return m_Temp / "user"; }

    testing_support::TempDir m_Temp;
};

// A controller that plays at random from its seed: it pushes the mouth one way at full strength
// for a while (0.2 to 1.2 s), then another, and spits now and then. Spitting happens in Act,
// which stands for the key or button events between two updates.
class RandomController : public Controller {
public:
    // spitChance: the chance of a spit at each Act.
    explicit RandomController(uint32_t seed, double spitChance = 0.03);

    bool OnEvent(const InputEvent&) override { return false; }
    void Update(float dt) override;
    // Spits with the attached creature, at the spit chance.
    void Act();

    int GetSpits() const { return m_Spits; }

private:
    std::mt19937 m_Random;
    double m_SpitChance;
    b2Vec2 m_Direction{0.0f, 0.0f};
    float m_Hold = 0.0f;
    int m_Spits = 0;
};

// The creature files the game ships, sorted.
std::vector<std::string> ShippedCreatureFiles();
// The computer opponents' files the game ships ("data/ais/*.xml"), sorted: weakest first.
std::vector<std::string> ShippedBotFiles();
// The level files the game ships ("data/levels/*.xml"), sorted.
std::vector<std::string> ShippedLevelFiles();
// An empty level of the file's kind: the windmill variant for the windmill level.
std::unique_ptr<Level> NewLevel(const std::string& file);

// A number that changes with any change of the match's state: every body's position, angle and
// velocity (in the world's order), every ball's record, the creatures' contents, the scores and
// the state.
uint64_t StateHash(SpitGame& game);

class HarnessMatch;
// The state hash every `every` steps (from the first) of `steps` steps of the match.
std::vector<uint64_t> StateHashes(HarnessMatch& match, int steps, int every);

// What a running match must keep true: every body finite and inside the path grid's bounds,
// every creature's area within half and twice its target, each player's score equal to the balls
// of theirs that the other creature holds (until the result is decided), the body and registry counts as at the start,
// and a bounded number of effects and particles. An empty text when all hold, else what failed.
class MatchChecks {
public:
    // At most this many splashes and this many puffs at once.
    static constexpr int kMaxEffects = 40;

    explicit MatchChecks(SpitGame& game);
    std::string Check(SpitGame& game) const;

private:
    int m_Bodies;
    size_t m_Registered;
};

// A controller that steers its creature by a bot of its own, whose settings come from a bot file:
// a bot for player 1, whom a match's own bot never steers.
class BotController : public Controller {
public:
    BotController(Globbo& own, Globbo& opponent, Level& level, const std::string& botFile);

    bool OnEvent(const InputEvent&) override { return false; }
    void Update(float dt) override { m_Bot.Think(dt); }
    Bot& GetBot() { return m_Bot; }

private:
    Bot m_Bot;
};

// Who steers a creature in a harness match: a random controller, or a bot (player 2's is the
// match's own, as in training; player 1's a BotController).
enum class Player { kRandom, kBot };

// A match on a level between two creatures, the countdown's "Go" passed on from the movie as a
// match screen does. Steps stand for the main loop's update steps: the sound manager's, the
// controllers' events, then the match's update.
class HarnessMatch : public sigslot::has_slots<> {
public:
    HarnessMatch(const std::string& levelFile, const std::string& creature1, const std::string& creature2,
                 uint32_t seed, Player player1 = Player::kRandom, Player player2 = Player::kRandom);
    ~HarnessMatch() override;

    // One step; the match's Update result.
    bool Step();

    SpitGame& Game() { return *m_Game; }
    RandomController& Controller1() { return m_Controller1; }
    RandomController& Controller2() { return m_Controller2; }

private:
    void OnFSCommand(const char* command);

    std::unique_ptr<Level> m_Level;
    std::unique_ptr<SpitGame> m_Game;
    RandomController m_Controller1;
    RandomController m_Controller2;
    std::unique_ptr<BotController> m_BotController;
};

}  // namespace match_testing
