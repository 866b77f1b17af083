// The rules of a match, played through the creatures' callbacks and the match's update: balls are
// put inside a creature (as a spit or a push would) and the next update's contents check takes
// them in or lets them go.
#include "app/Application.h"
#include "app/SoundManager.h"
#include "game/BallContacts.h"
#include "game/BallStates.h"
#include "game/BodyRegistry.h"
#include "game/Globbo.h"
#include "game/HitEffect.h"
#include "game/StatisticsFile.h"
#include "swfplayer/main/display/character.h"
#include "tests/game/window/MatchHarness.h"
#include "tools/levels/ContentFiles.h"

#include <box2d/b2_body.h>
#include <gtest/gtest.h>

#include <cmath>

namespace match_testing {
namespace {

constexpr const char* kRulesLevel = "data/rules.xml";

class MatchRules : public GameFolder {
protected:
    // A level of the balls, on a row well below the two creatures, with no walls.
    void Start(int balls, int mode = MatchSetup::QuickMatch, float zoom = 1.0f) {
        LevelData data;
        for (int i = 0; i < balls; ++i) {
            data.m_Balls.push_back(Home(i));
        }
        data.m_Player1StartPos = Vec2Data(-20.0f, -15.0f);
        data.m_Player2StartPos = Vec2Data(20.0f, -15.0f);
        data.m_ViewZoom = zoom;
        ASSERT_TRUE(WriteRecords(OwnDir() / kRulesLevel, {{"data", &data}}));
        Application::GetInstance().matchSetup.mode = mode;
        m_Game.reset();
        m_Level = std::make_unique<Level>();
        const std::vector<std::string> creatures = ShippedCreatureFiles();
        m_Game = std::make_unique<SpitGame>(kRulesLevel, m_Level.get(), true, creatures[0], creatures[1]);
        ASSERT_TRUE(m_Game->HasLevel());
        m_Game->OnFSCommand("Go");
    }
    void TearDown() override {
        m_Game.reset();
        m_Level.reset();
        GameFolder::TearDown();
    }

    static b2Vec2 Home(int ball) { return b2Vec2(-40.0f + 10.0f * ball, 30.0f); }
    Globbo* A() { return m_Game->GetGlobbo1(); }
    Globbo* B() { return m_Game->GetGlobbo2(); }
    b2Body* Ball(int ball) { return m_Level->GetBalls()[ball]->GetBody(); }
    BodyRecord& Record(int ball) { return *FindBodyRecord(Ball(ball)); }
    const GameStatistics& Statistics() { return m_Game->GetStatistics(); }

    // Puts the ball, still, inside the creature: each ball at a place of its own round the centre,
    // so that balls put in together do not push one another out.
    void Put(int ball, const Globbo* creature) {
        const b2Vec2 places[] = {{-1.6f, -1.6f}, {1.6f, -1.6f}, {-1.6f, 1.6f}, {1.6f, 1.6f}, {0.0f, 0.0f}};
        Place(ball, creature->m_Center + places[ball % 5]);
    }
    void Away(int ball) { Place(ball, Home(ball)); }
    void Place(int ball, const b2Vec2& position) {
        Ball(ball)->SetTransform(position, 0.0f);
        Ball(ball)->SetLinearVelocity(b2Vec2_zero);
    }
    bool Step(int steps = 1) {
        bool running = true;
        for (int i = 0; i < steps; ++i) {
            running = m_Game->Update(Application::GetInstance(), kStep);
        }
        return running;
    }
    // The owner takes the ball in, then it is moved into the holder: a point for the owner.
    void Burden(int ball, const Globbo* owner, const Globbo* holder) {
        Put(ball, owner);
        Step();
        Put(ball, holder);
        Step();
    }

    std::unique_ptr<Level> m_Level;
    std::unique_ptr<SpitGame> m_Game;
};

TEST_F(MatchRules, a_match_ends_when_a_score_passes_half_the_balls) {
    struct Case {
        int balls;
        bool player2;
        int needed;
    };
    for (const Case& test : {Case{5, true, 3}, Case{4, true, 3}, Case{6, true, 4}, Case{5, false, 3}}) {
        SCOPED_TRACE(testing::Message() << test.balls << " balls, player " << (test.player2 ? 2 : 1));
        Start(test.balls);
        for (int point = 1; point < test.needed; ++point) {
            test.player2 ? Burden(point - 1, B(), A()) : Burden(point - 1, A(), B());
        }
        EXPECT_EQ(test.player2 ? Statistics().player2.score : Statistics().player1.score, test.needed - 1);
        Step(30);
        EXPECT_EQ(m_Game->m_State, SpitGame::kPlaying);
        test.player2 ? Burden(test.needed - 1, B(), A()) : Burden(test.needed - 1, A(), B());
        if (!test.player2) {
            Step(SpitGame::kPlayer1Wait);
            EXPECT_EQ(m_Game->m_State, SpitGame::kPlaying);
            Step();
        }
        EXPECT_EQ(m_Game->m_State, SpitGame::kOver);
        EXPECT_EQ(Statistics().winner, test.player2 ? 2 : 1);
        EXPECT_FALSE(Step());
        EXPECT_EQ(m_Game->m_State, SpitGame::kFinished);
    }
}

// Player 2's win is taken on the update of the change; player 1's waits until more than ten
// updates have passed since the last change of either score.
TEST_F(MatchRules, player_one_wins_only_eleven_updates_after_the_last_score_change) {
    Start(5);
    Burden(0, B(), A());
    Burden(1, B(), A());
    Put(2, B());
    Step();
    Put(2, A());
    Step();
    EXPECT_EQ(Statistics().player2.score, 3);
    EXPECT_EQ(m_Game->m_State, SpitGame::kOver) << "on the update of the change";

    Start(5);
    Burden(0, A(), B());
    Burden(1, A(), B());
    Put(2, A());
    Step();
    Put(2, B());
    Step();
    ASSERT_EQ(Statistics().player1.score, 3);
    for (int update = 1; update <= 10; ++update) {
        Step();
        EXPECT_EQ(m_Game->m_State, SpitGame::kPlaying) << update << " updates after the change";
    }
    Step();
    EXPECT_EQ(m_Game->m_State, SpitGame::kOver) << "on the 11th update after the change";

    // A change of player 2's score in between restarts the wait.
    Start(5);
    Burden(0, A(), B());
    Burden(1, A(), B());
    Put(3, B());
    Step();
    Burden(2, A(), B());
    Step(5);
    Put(3, A());
    Step();
    ASSERT_EQ(Statistics().player2.score, 1);
    for (int update = 1; update <= 10; ++update) {
        Step();
        EXPECT_EQ(m_Game->m_State, SpitGame::kPlaying) << update << " updates after the second change";
    }
    Step();
    EXPECT_EQ(m_Game->m_State, SpitGame::kOver);
    EXPECT_EQ(SpitGame::CountUpdate(INT_MAX), INT_MAX);
    EXPECT_EQ(SpitGame::CountUpdate(10), 11);
}

TEST_F(MatchRules, the_winner_is_the_higher_score_and_equal_scores_draw) {
    struct Case {
        int points1;
        int points2;
        int winner;
    };
    for (const Case& test : {Case{1, 1, 0}, Case{0, 0, 0}, Case{2, 1, 1}, Case{0, 1, 2}}) {
        Start(5);
        int ball = 0;
        for (int i = 0; i < test.points1; ++i) {
            Burden(ball++, A(), B());
        }
        for (int i = 0; i < test.points2; ++i) {
            Burden(ball++, B(), A());
        }
        m_Game->EndMatch();
        EXPECT_EQ(Statistics().winner, test.winner) << test.points1 << ":" << test.points2;
    }
}

// Once decided, the result stays: the world runs on and balls still change hands, but the
// statistics (and so the result saved at the end) do not change; a second EndMatch changes
// nothing.
TEST_F(MatchRules, the_result_is_final_once_the_match_is_over) {
    Start(5);
    Burden(0, B(), A());
    Burden(1, B(), A());
    Burden(2, B(), A());
    ASSERT_EQ(m_Game->m_State, SpitGame::kOver);
    const int shots = Statistics().player2.numShots;
    Away(0);
    Away(1);
    EXPECT_FALSE(Step());
    EXPECT_EQ(Statistics().player2.score, 3);
    EXPECT_EQ(Statistics().player2.numShots, shots);
    EXPECT_EQ(Statistics().winner, 2);
    m_Game->EndMatch();
    EXPECT_EQ(m_Game->m_State, SpitGame::kFinished);
}

TEST_F(MatchRules, a_ball_owned_by_a_in_b_scores_for_a_until_it_leaves_then_goes_free) {
    Start(5);
    Put(0, A());
    Step();
    EXPECT_EQ(Record(0).state, kBallHeld);
    EXPECT_EQ(Record(0).owner, A());
    Put(0, B());
    Step();
    EXPECT_EQ(Statistics().player1.score, 1);
    EXPECT_EQ(Record(0).state, kBallBurden);
    EXPECT_EQ(Record(0).owner, A());
    EXPECT_TRUE(m_Level->GetBalls()[0]->IsBurden());
    EXPECT_EQ(Statistics().player1.numShots, 1) << "A let go of its own ball";

    Away(0);
    Step();
    EXPECT_EQ(Statistics().player1.score, 0);
    EXPECT_EQ(Record(0).state, kBallFree);
    EXPECT_EQ(Record(0).owner, A());
    EXPECT_FALSE(m_Level->GetBalls()[0]->IsBurden());
    // Free again after 5 s: no owner, and a puff where it went free.
    Step(static_cast<int>(ball_states::kNeutralSeconds / kStep) - 2);
    EXPECT_EQ(Record(0).owner, A());
    EXPECT_EQ(m_Level->GetParticles().GetCount(), 0);
    Step(2);
    EXPECT_EQ(Record(0).owner, nullptr);
    EXPECT_EQ(m_Level->GetParticles().GetCount(), 1);

    // Taken in again by its owner before then: held, and no longer going free.
    Put(1, A());
    Step();
    Away(1);
    Step(100);
    Put(1, A());
    Step(400);
    EXPECT_EQ(Record(1).state, kBallHeld);
    EXPECT_EQ(Record(1).owner, A());
    EXPECT_LT(Record(1).neutralTimer, 0.0f);
}

// Where the two outlines overlap, the owner's skin may take in its own ball while the other
// creature holds it as a burden: the burden keeps its owner and state, so its point is backed
// until it leaves the creature that counts it.
TEST_F(MatchRules, a_counted_burden_keeps_its_owner_while_the_owner_overlaps_it) {
    Start(5);
    Burden(0, A(), B());
    ASSERT_EQ(Statistics().player1.score, 1);
    m_Game->OnTakeBall(A(), Ball(0));
    EXPECT_EQ(Record(0).state, kBallBurden);
    m_Game->OnLetGoBall(A(), Ball(0));
    EXPECT_EQ(Record(0).state, kBallBurden);
    Step(static_cast<int>(2 * ball_states::kNeutralSeconds / kStep));
    EXPECT_EQ(Record(0).owner, A());
    EXPECT_EQ(Statistics().player1.score, 1);
    EXPECT_EQ(B()->CountBallsInside(A()), 1);
    Away(0);
    Step();
    EXPECT_EQ(Statistics().player1.score, 0);
}

TEST_F(MatchRules, go_starts_play_only_while_counting_down) {
    Start(5, MatchSetup::Championship);
    EXPECT_EQ(m_Game->m_State, SpitGame::kWaiting);
    m_Game->OnFSCommand("Go");
    EXPECT_EQ(m_Game->m_State, SpitGame::kWaiting);
    m_Game->m_State = SpitGame::kCountdown;
    m_Game->OnFSCommand("go");
    m_Game->OnFSCommand("Go ");
    EXPECT_EQ(m_Game->m_State, SpitGame::kCountdown);
    m_Game->OnFSCommand("Go");
    EXPECT_EQ(m_Game->m_State, SpitGame::kPlaying);
    m_Game->OnFSCommand("Go");
    EXPECT_EQ(m_Game->m_State, SpitGame::kPlaying);
    m_Game->EndMatch();
    m_Game->OnFSCommand("Go");
    EXPECT_EQ(m_Game->m_State, SpitGame::kOver);
}

// The match keeps no championship result itself: the screen that plays it records it (a
// replayed demonstration must never), so ending a championship match leaves the record as it was.
TEST_F(MatchRules, ending_a_championship_match_leaves_the_record_to_its_screen) {
    MatchSetup& setup = Application::GetInstance().matchSetup;
    Start(5, MatchSetup::Championship);
    setup.matchIndex = 2;
    setup.results.assign(3, GameStatistics());
    m_Game->m_State = SpitGame::kPlaying;
    Burden(0, B(), A());
    m_Game->EndMatch();
    EXPECT_EQ(m_Game->GetStatistics().winner, 2);
    EXPECT_EQ(m_Game->GetStatistics().player2.score, 1);
    for (const GameStatistics& result : setup.results) {
        EXPECT_EQ(result.winner, -1);
    }
    setup.results.clear();
}

// A ball spat on a key press (between updates) stays "just spat" through the next physics step,
// so its owner's skin, which it touches on the way out, does not take it back; the update ends by
// making it free, and a free ball touching a skin is taken in.
TEST_F(MatchRules, a_spat_ball_is_not_taken_back_in_the_step_after_the_spit) {
    for (bool spat : {true, false}) {
        SCOPED_TRACE(spat ? "spat" : "free");
        Start(5);
        Put(0, A());
        Step();
        ASSERT_EQ(Record(0).state, kBallHeld);
        // Just outside the skin, moving onto it.
        const b2Body* ring = A()->GetRingBodies()[0];
        Place(0, ring->GetPosition() + b2Vec2(1.45f, 0.0f));
        Ball(0)->SetLinearVelocity(b2Vec2(-20.0f, 0.0f));
        Record(0).state = spat ? kBallSpat : kBallFree;
        Step();
        EXPECT_EQ(Record(0).state, kBallFree);
        const b2Vec2 p = Ball(0)->GetPosition();
        EXPECT_EQ(A()->IsPointInside(p.x, p.y), !spat) << "taken in";
    }
}

TEST_F(MatchRules, only_free_balls_make_sounds_together_and_never_against_a_creature) {
    BodyRecord ring{true, kRingBody};
    BodyRecord mouth{true, kMouthBody};
    BodyRecord free{true, kBallBody, nullptr, kBallFree};
    BodyRecord held{true, kBallBody, nullptr, kBallHeld};
    BodyRecord spat{true, kBallBody, nullptr, kBallSpat};
    struct Case {
        const BodyRecord* a;
        const BodyRecord* b;
        bool sounds;
    };
    for (const Case& test : {Case{&free, &free, true}, Case{&free, &held, true}, Case{&held, &spat, false},
                             Case{&spat, &spat, false}, Case{&free, &ring, false}, Case{&ring, nullptr, false},
                             Case{nullptr, &held, true}, Case{nullptr, nullptr, true}, Case{&mouth, &free, true}}) {
        EXPECT_EQ(BallContacts::MakesSound(test.a, test.b), test.sounds);
        EXPECT_EQ(BallContacts::MakesSound(test.b, test.a), test.sounds);
    }

    // Two free balls striking each other hard sound; a free ball striking a creature does not.
    Start(5);
    SoundManager& sounds = SoundManager::GetInstance();
    // The ball counts as held, so that no creature takes it in (which has a sound of its own).
    auto soundsOfHit = [&](const b2Vec2& from, const b2Vec2& to, int state) {
        sounds.Update();
        const size_t before = sounds.GetSoundCount();
        Place(0, from);
        Record(0).state = state;
        Ball(0)->SetLinearVelocity((40.0f / (to - from).Length()) * (to - from));
        Step(12);
        return sounds.GetSoundCount() - before;
    };
    EXPECT_GE(soundsOfHit(Home(1) + b2Vec2(0.0f, -8.0f), Home(1), kBallFree), 1u);
    EXPECT_GE(soundsOfHit(Home(2) + b2Vec2(0.0f, -8.0f), Home(2), kBallHeld), 1u) << "against a free ball";
    Record(2).state = kBallHeld;
    EXPECT_EQ(soundsOfHit(Home(2) + b2Vec2(0.0f, -8.0f), Home(2), kBallHeld), 0u) << "both held";
    const b2Vec2 side = B()->GetRingBodies()[0]->GetPosition();
    EXPECT_EQ(soundsOfHit(side + b2Vec2(8.0f, 0.0f), side, kBallHeld), 0u);
}

// A ball owned by A striking B shows a splash in B's colour, which goes once played.
TEST_F(MatchRules, a_ball_striking_the_other_creature_splashes_and_the_splash_goes) {
    Start(5);
    Put(0, A());
    Step();
    Away(0);
    Step();
    ASSERT_EQ(Record(0).owner, A());
    const b2Vec2 side = B()->GetRingBodies()[0]->GetPosition();
    Place(0, side + b2Vec2(6.0f, 0.0f));
    Ball(0)->SetLinearVelocity(b2Vec2(-30.0f, 0.0f));
    int steps = 0;
    while (m_Level->GetEffectCount() == 0 && steps < 20) {
        Step();
        ++steps;
    }
    ASSERT_EQ(m_Level->GetEffectCount(), 1u);
    Step(2);
    EXPECT_EQ(Statistics().player1.score, 1) << "taken in as a burden";
    Step(30);
    EXPECT_EQ(m_Level->GetEffectCount(), 0u);

    // Turned to point away from the struck creature: up for a ball above it, right for one to its
    // right (SFML turns clockwise).
    auto turn = [](const b2Vec2& d) {
        return std::fmod(hit_effect::Rotation(d) + 720.0f, 360.0f);
    };
    EXPECT_NEAR(turn(b2Vec2(0.0f, -1.0f)), 0.0f, 1e-3f);
    EXPECT_NEAR(turn(b2Vec2(1.0f, 0.0f)), 90.0f, 1e-3f);
    EXPECT_NEAR(turn(b2Vec2(0.0f, 1.0f)), 180.0f, 1e-3f);
    EXPECT_NEAR(turn(b2Vec2(-1.0f, 0.0f)), 270.0f, 1e-3f);
    AddHitEffect(*m_Level, *B(), *Ball(1), b2Vec2(1.0f, 0.0f));
    ASSERT_EQ(m_Level->GetEffectCount(), 1u);
    Step(30);
    EXPECT_EQ(m_Level->GetEffectCount(), 0u);
}

TEST_F(MatchRules, the_ball_shows_its_state_and_its_owner) {
    Start(5);
    FlashMovie& movie = m_Level->GetBalls()[0]->GetFrontMovie();
    ASSERT_NE(movie.GetRoot(), nullptr);
    int burden = -1;
    ASSERT_TRUE(movie.GetRoot()->get_movie_definition()->get_labeled_frame("burden", &burden));
    for (int i = 0; i < 20; ++i) {
        ball_states::SetBallColour(*m_Level, Record(0), kBallBurden, A());
        const int frame = movie.GetRoot()->get_current_frame();
        EXPECT_GE(frame, burden);
        EXPECT_LE(frame, burden + 2);
        EXPECT_TRUE(m_Level->GetBalls()[0]->IsBurden());
    }
    auto colour = [&] {
        const swfplayer::cxform cx = movie.GetCharacter("color")->get_cxform();
        return std::array<float, 4>{cx.m[0][0], cx.m[1][0], cx.m[2][0], cx.m[3][0]};
    };
    ball_states::SetBallColour(*m_Level, Record(0), kBallHeld, B());
    const sf::Color body = B()->m_BodyColor;
    EXPECT_EQ(colour(), (std::array<float, 4>{body.r / 255.0f, body.g / 255.0f, body.b / 255.0f, 1.0f}));
    EXPECT_FALSE(m_Level->GetBalls()[0]->IsBurden());
    ball_states::SetBallColour(*m_Level, Record(0), kBallFree, nullptr);
    EXPECT_EQ(colour(), (std::array<float, 4>{1.0f, 1.0f, 1.0f, 100.0f / 255.0f}));
    int normal = -1;
    movie.GetRoot()->get_movie_definition()->get_labeled_frame("normal", &normal);
    EXPECT_EQ(movie.GetRoot()->get_current_frame(), normal);
}

TEST_F(MatchRules, the_life_bars_show_the_scores_in_the_creatures_colours) {
    Start(5);
    FlashMovie& score = m_Game->GetScoreMovie();
    ASSERT_NE(score.GetCharacter("LifebarL"), nullptr);
    Burden(0, A(), B());
    Burden(1, A(), B());
    Burden(2, B(), A());
    EXPECT_EQ(score.GetCharacter("LifebarL")->get_current_frame(), 2);
    EXPECT_EQ(score.GetCharacter("LifebarR")->get_current_frame(), 1);
    Away(0);
    Step();
    EXPECT_EQ(score.GetCharacter("LifebarL")->get_current_frame(), 1);
    for (auto [bar, creature] : {std::pair{"LifebarL", A()}, std::pair{"LifebarR", B()}}) {
        for (const char* part : {"LifebarStart", "Lifebar"}) {
            const swfplayer::character* child = score.GetChildCharacter(bar, part);
            ASSERT_NE(child, nullptr) << bar << "." << part;
            const swfplayer::cxform cx = child->get_cxform();
            EXPECT_FLOAT_EQ(cx.m[0][0], creature->m_BodyColor.r / 255.0f);
            EXPECT_FLOAT_EQ(cx.m[2][0], creature->m_BodyColor.b / 255.0f);
            EXPECT_FLOAT_EQ(cx.m[3][0], 1.0f);
        }
    }
    EXPECT_EQ(Statistics().player1.playerId, A()->m_Name);
    EXPECT_EQ(Statistics().player2.playerId, B()->m_Name);
    EXPECT_FALSE(A()->m_Name.empty());
}

// Drawn zoomed about the screen's centre by the level's view zoom, the score movie covers the
// 800 x 600 screen exactly.
TEST_F(MatchRules, the_score_movie_fills_the_screen_after_the_zoom) {
    for (float zoom : {1.0f, 0.8f, 0.5f}) {
        Start(5, MatchSetup::QuickMatch, zoom);
        sf::Transform view;
        view.translate((800.0f - 800.0f * zoom) / 2.0f, (600.0f - 600.0f * zoom) / 2.0f).scale(zoom, zoom);
        const FlashMovie& score = m_Game->GetScoreMovie();
        const sf::Transform shown = view * score.getTransform();
        const sf::Vector2f topLeft = shown.transformPoint(0.0f, 0.0f);
        const sf::Vector2f bottomRight = shown.transformPoint(score.GetWidth(), score.GetHeight());
        EXPECT_NEAR(topLeft.x, 0.0f, 1e-3f) << zoom;
        EXPECT_NEAR(topLeft.y, 0.0f, 1e-3f) << zoom;
        EXPECT_NEAR(bottomRight.x, 800.0f, 1e-3f) << zoom;
        EXPECT_NEAR(bottomRight.y, 600.0f, 1e-3f) << zoom;
    }
}

TEST_F(MatchRules, deleting_a_match_detaches_the_controllers_from_its_creatures) {
    Start(5);
    RandomController one(1);
    RandomController two(2);
    one.Attach(A(), nullptr);
    two.Attach(B(), nullptr);
    m_Game->m_Controller1 = &one;
    m_Game->m_Controller2 = &two;
    m_Game.reset();
    EXPECT_EQ(one.GetCreature(), nullptr);
    EXPECT_EQ(two.GetCreature(), nullptr);
}

}  // namespace
}  // namespace match_testing
