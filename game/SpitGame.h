#pragma once

#include "flash/FlashMovie.h"
#include "game/BallContacts.h"
#include "game/Game.h"
#include "game/SteerablePair.h"

#include <box2d/b2_math.h>
#include <box2d/b2_world_callbacks.h>

#include <climits>
#include <memory>
#include <string>

class Bot;
class Controller;
class b2Body;

// A match: two creatures in a level fight over its balls. A creature takes in the balls that
// strike its skin and spits them out again; a free ball becomes the property of the creature that
// takes it in, and a ball sitting inside the creature that does not own it (a burden) counts a
// point for its owner. A player wins when their points exceed half the number of balls.
//
// The match is its world's contact listener. It steps the world, advances its score movie (the
// two life bars) and, while counting down, its countdown movie, whose FSCommand "Go" starts play;
// while playing it updates both controllers (in training, player 1's and the bot), a controller
// that drives both creatures once. The owner keeps the level, which must outlive the match, and
// the controllers, which it attaches through AttachControllers.
//
// States: 0 waiting (a championship match until its get-ready screen moves it on), 1 counting
// down, 2 playing, 3 over (EndMatch), 4 finished (Update returns false from then on).
class SpitGame : public Game, public b2ContactListener {
public:
    enum State { kWaiting = 0, kCountdown = 1, kPlaying = 2, kOver = 3, kFinished = 4 };

    // A match's creatures start with their volume inflated by this.
    static constexpr float kInflation = 1.3f;
    // Player 1 wins only once more than this many updates have passed since the last score change.
    static constexpr int kPlayer1Wait = 10;
    static constexpr const char* kScoreMovie = "data/gui/score.swf";
    static constexpr const char* kCountdownMovie = "data/gui/countdown.swf";
    static constexpr const char* kMatchOverSound = "data/sounds/matchover.wav";
    static constexpr const char* kMatchMusic = "data/music/acoustic/track02.ogg";
    // The logical screen the score movie fills.
    static constexpr float kScreenWidth = 800.0f;
    static constexpr float kScreenHeight = 600.0f;

    // A match of the application's set-up: loads the level, builds both creatures on the level's
    // start positions, loads the score and countdown movies. noBot: player 2 is steered by its
    // controller rather than by a bot; with a bot, the bot reads its settings from player 2's
    // file and thinks in place of that controller. Counts down at once, except in a
    // championship, where it waits.
    SpitGame(const std::string& levelFile, Level* level, bool noBot, const std::string& player1File,
             const std::string& player2File);
    // A match replayed from recorded input (demonstrations, the tutorial): the creatures at the
    // given positions, the controllers stored (attached by the caller), play from the start, no
    // movies, no bot; it detaches only its own controllers.
    SpitGame(const std::string& levelFile, Level* level, const std::string& player1File, const b2Vec2& player1Position,
             Controller* controller1, const std::string& player2File, const b2Vec2& player2Position,
             Controller* controller2);
    // Controllers still attached to the creatures let go of them; the creatures and the bot go
    // and the movies are released.
    ~SpitGame() override;
    SpitGame(const SpitGame&) = delete;
    SpitGame& operator=(const SpitGame&) = delete;

    // The step of the physics, movies, controllers, creatures and level; queued balls taken in;
    // the end rule while playing; the free-again timers. False once finished.
    bool Update(Application& application, float dt) override;
    // Level back layer, creatures' outlines, balls, creatures' parts, front layer, score movie,
    // countdown movie (while counting down), and the debug overlay (the level's, then the bot's).
    void Draw(sf::RenderTarget& target, const sf::RenderStates& states) override;
    // Decides the winner, shows the final life bars, plays the match-over sound, detaches the controllers and goes to
    // state 3. Only once: the result is final, so balls that change hands afterwards (the world runs on) change no
    // statistics.
    void EndMatch() override;
    // The controllers of the two players (null for none) take their creatures: each steers its
    // own, and one controller given for both steers both, every push and spit going to each.
    void AttachControllers(Controller* controller1, Controller* controller2);
    // While playing, to the level's outline sketch.
    void HandleEvent(const sf::Event& event) override;
    // "Go" while counting down starts play and the match's music; everything else is ignored.
    void OnFSCommand(const char* command) override;
    const GameStatistics& GetStatistics() const override { return m_Statistics; }
    Globbo* GetGlobbo1() const override { return m_Globbo1.get(); }
    Globbo* GetGlobbo2() const override { return m_Globbo2.get(); }

    void PostSolve(b2Contact* contact, const b2ContactImpulse* impulse) override;

    // The creatures' callbacks: a ball came inside the taker, may the asker spit the ball, a ball
    // left the creature.
    void OnTakeBall(Globbo* taker, b2Body* ball);
    bool MayTakeBall(Globbo* asker, b2Body* ball) const;
    void OnLetGoBall(Globbo* creature, b2Body* ball);
    // Shows each player's score on their life bar, in their creature's colour.
    void UpdateLifebars();

    // Whether the level file could be read (a match on an empty arena cannot be won).
    bool HasLevel() const { return m_HasLevel; }
    Level& GetLevel() { return *m_Level; }
    const BallContacts& GetContacts() const { return m_Contacts; }
    int GetFramesSinceScoreChange() const { return m_FramesSinceScoreChange; }
    FlashMovie& GetScoreMovie() { return m_ScoreMovie; }
    FlashMovie& GetCountdownMovie() { return m_CountdownMovie; }
    bool HasBot() const { return m_HasBot; }
    // The bot that steers creature 2 in training; null otherwise.
    Bot* GetBot() const { return m_Bot.get(); }
    // The count of updates after one more: it stops at the largest int rather than wrap round to a
    // negative count (which would hold player 1's win back for ever).
    static int CountUpdate(int count) { return count == INT_MAX ? INT_MAX : count + 1; }
    // Whether EndMatch has decided the result (states 3 and 4).
    bool IsOver() const { return m_State == kOver || m_State == kFinished; }

    int m_State = kWaiting;
    // The end rule applies (demonstrations switch it off).
    bool m_AutoEnd = true;
    // The controllers attached to the creatures; null when none.
    Controller* m_Controller1 = nullptr;
    Controller* m_Controller2 = nullptr;

private:
    static void TakeBallCallback(void* context, Globbo* creature, b2Body* ball);
    static bool MayTakeBallCallback(void* context, Globbo* creature, b2Body* ball);
    static void LetGoBallCallback(void* context, Globbo* creature, b2Body* ball);

    // Loads the level and registers as its world's contact listener.
    void LoadLevel(const std::string& levelFile);
    std::unique_ptr<Globbo> MakeCreature(const std::string& file, const b2Vec2& position);
    void LoadScoreMovie();
    void ApplyEndRule();
    // Adds the change to the owner's score.
    void Score(const Globbo* owner, int change);
    void UpdateLifebar(const char* name, int score, const Globbo* creature);
    void PlayMatchOverSound();
    void DetachControllers();

    Level* m_Level;
    BallContacts m_Contacts{BallContacts::Takes::kFreeAndSpat};
    std::unique_ptr<Globbo> m_Globbo1;
    std::unique_ptr<Globbo> m_Globbo2;
    // What a controller of both creatures steers; null until one is attached.
    std::unique_ptr<SteerablePair> m_BothCreatures;
    GameStatistics m_Statistics;
    // Steers creature 2 in training; null in every other match. It goes before the creatures.
    std::unique_ptr<Bot> m_Bot;
    bool m_HasBot = false;
    int m_FramesSinceScoreChange = 0;
    FlashMovie m_CountdownMovie;
    FlashMovie m_ScoreMovie;
    // A match replayed from recorded input.
    bool m_Scripted = false;
    bool m_HasLevel = false;
    // The transform the match was last drawn with, which maps mouse positions onto the level.
    sf::Transform m_DrawTransform;
};
