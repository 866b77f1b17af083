// A computer opponent in a training match on small arenas of the test's own: its conditions, its
// goals and their choice, the path it follows, its sight, and what it draws.
#include "app/Application.h"
#include "game/BodyRegistry.h"
#include "game/Bot.h"
#include "game/Globbo.h"
#include "game/GoalFetch.h"
#include "game/GoalGoto.h"
#include "game/GoalShoot.h"
#include "tests/game/LevelTestKit.h"
#include "tests/game/window/MatchHarness.h"
#include "tests/support/FileTail.h"
#include "tools/creatures/CreatureWriter.h"
#include "tools/levels/ContentFiles.h"

#include <SFML/Graphics/RenderTexture.hpp>
#include <box2d/b2_body.h>
#include <box2d/b2_polygon_shape.h>
#include <box2d/b2_world.h>
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace match_testing {
namespace {

constexpr const char* kArena = "data/bot_arena.xml";
constexpr const char* kBotFile = "data/ais/test_bot.xml";

// A static box of the level: its centre and half extents; green boxes make no path walls.
struct Wall {
    b2Vec2 centre;
    b2Vec2 half;
    bool green = false;
};

// Settings whose every row draws the one goal.
BotSettings Always(uint32_t goal, uint32_t mode = BotSettings::kClosestInSight) {
    BotSettings settings;
    settings.m_GoalWeights.assign(BotSettings::kWeights, 0.0f);
    for (int row = 0; row < BotSettings::kConditions; ++row) {
        settings.m_GoalWeights[row * BotSettings::kGoals + goal] = 1.0f;
    }
    settings.m_BallChoiceMode = mode;
    return settings;
}

// A bot that never has a goal: it fetches, in a way of choosing that does not exist.
BotSettings Idle() {
    return Always(BotSettings::kFetch, 3);
}

b2Vec2 Unit(const b2Vec2& v) {
    return (1.0f / v.Length()) * v;
}

class BotMatch : public GameFolder {
protected:
    void TearDown() override {
        m_Game.reset();
        m_Level.reset();
        GameFolder::TearDown();
    }

    // A training match on an arena of the walls and balls, the opponent (player 1) starting at
    // opponentAt and the bot at botAt, played from "Go".
    void Start(BotSettings settings, const std::vector<Wall>& walls = {}, const std::vector<b2Vec2>& balls = {},
               const b2Vec2& opponentAt = b2Vec2(-15.0f, 0.0f), const b2Vec2& botAt = b2Vec2(15.0f, 0.0f)) {
        LevelData level;
        for (const Wall& wall : walls) {
            level.m_Bodies.push_back(level_testing::Body(
                "", wall.centre, 0.0f, {level_testing::Polygon(level_testing::Box(wall.half.x, wall.half.y))}));
            level.m_Bodies.back().m_Fixtures.back().m_Green = wall.green ? 1 : 0;
        }
        level.m_Balls.assign(balls.begin(), balls.end());
        level.m_Player1StartPos = opponentAt;
        level.m_Player2StartPos = botAt;
        ASSERT_TRUE(WriteRecords(OwnDir() / kArena, {{"data", &level}}));
        GlobboData creature = CreatureData(ShippedCreatures()[2]);
        ASSERT_TRUE(WriteRecords(OwnDir() / kBotFile, {{"globbo", &creature}, {"m_Settings", &settings}}));
        Application::GetInstance().matchSetup.mode = MatchSetup::Training;
        m_Game.reset();
        m_Level = std::make_unique<Level>();
        m_Game = std::make_unique<SpitGame>(kArena, m_Level.get(), false, ShippedCreatureFiles()[0], kBotFile);
        ASSERT_TRUE(m_Game->HasLevel());
        ASSERT_NE(m_Game->GetBot(), nullptr);
        m_Game->OnFSCommand("Go");
    }

    Bot& TheBot() { return *m_Game->GetBot(); }
    Globbo& Own() { return *m_Game->GetGlobbo2(); }
    Globbo& Opponent() { return *m_Game->GetGlobbo1(); }
    b2Body* Ball(int ball) { return m_Level->GetBalls()[ball]->GetBody(); }
    BodyRecord& Record(int ball) { return *FindBodyRecord(Ball(ball)); }
    std::string ConditionShown() { return TheBot().GetConditionLabel().getString(); }
    std::string GoalShown() { return TheBot().GetGoalLabel().getString(); }

    // Match steps: physics, the bot's thinking, the creatures and the balls they take.
    void Step(int steps = 1) {
        for (int i = 0; i < steps; ++i) {
            m_Game->Update(Application::GetInstance(), kStep);
        }
    }
    // The ball, still, at the creature's centre, and one step: the creature holds it.
    void Hold(int ball, Globbo& creature) {
        Ball(ball)->SetTransform(creature.m_Center, 0.0f);
        Ball(ball)->SetLinearVelocity(b2Vec2_zero);
        Step();
        ASSERT_EQ(Record(ball).owner, &creature);
    }
    // Puts the bot's mouth on the line from its centre through the point, at the distance.
    void Aim(const b2Vec2& point, float distance) {
        const b2Vec2 centre = Own().m_Center;
        Own().GetMouthBody()->SetTransform(centre + distance * Unit(point - centre), 0.0f);
    }
    float Distance() { return (Opponent().m_Center - Own().m_Center).Length(); }

    std::unique_ptr<Level> m_Level;
    std::unique_ptr<SpitGame> m_Game;
};

const Wall kMiddleWall{{0.0f, 0.0f}, {1.5f, 20.0f}};

// ---- Conditions ----

TEST_F(BotMatch, out_of_range_the_condition_is_normal_or_noballs) {
    struct Case {
        bool ownHolds;
        bool opponentHolds;
        const char* condition;
    };
    for (const Case& test : {Case{false, false, "noballs"}, Case{false, true, "noballs"}, Case{true, false, "normal"},
                             Case{true, true, "normal"}}) {
        SCOPED_TRACE(testing::Message() << "own " << test.ownHolds << ", opponent " << test.opponentHolds);
        BotSettings settings = Idle();
        settings.m_ShootingDistance = 10.0f;
        Start(settings, {}, {{0.0f, 30.0f}, {10.0f, 30.0f}});
        if (test.ownHolds) {
            Hold(0, Own());
        }
        if (test.opponentHolds) {
            Hold(1, Opponent());
        }
        ASSERT_GT(Distance(), 10.0f);
        TheBot().Think(2.0f);
        EXPECT_EQ(ConditionShown(), test.condition);
        EXPECT_EQ(TheBot().Score(BotSettings::kNormal), 1.0f);
        EXPECT_EQ(TheBot().Score(BotSettings::kNoBalls), test.ownHolds ? 0.0f : 2.0f);
        EXPECT_EQ(TheBot().Score(BotSettings::kGoodShot), 0.0f);
        EXPECT_EQ(TheBot().Score(BotSettings::kScared), 0.0f);
    }
}

// In range and in sight, a bot with a ball has a good shot (R / d), and one without is scared of
// an opponent holding two (2 x 0.5 x R / d); a wall between them takes both away.
TEST_F(BotMatch, a_wall_between_the_creatures_takes_goodshot_and_scared_away) {
    struct Case {
        bool wall;
        bool ownHolds;
        const char* condition;
    };
    for (const Case& test : {Case{false, true, "goodshot"}, Case{false, false, "scared"}, Case{true, true, "normal"},
                             Case{true, false, "noballs"}}) {
        SCOPED_TRACE(testing::Message() << "wall " << test.wall << ", own holds " << test.ownHolds);
        Start(Idle(), test.wall ? std::vector<Wall>{kMiddleWall} : std::vector<Wall>{},
              {{-3.0f, 30.0f}, {0.0f, 30.0f}, {3.0f, 30.0f}});
        if (test.ownHolds) {
            Hold(0, Own());
        } else {
            Hold(1, Opponent());
            Hold(2, Opponent());
        }
        const float range = BotSettings::kDefaultShootingDistance;
        const float expected = test.wall ? 0.0f : range / Distance();
        EXPECT_FLOAT_EQ(TheBot().Score(BotSettings::kGoodShot), test.ownHolds ? expected : 0.0f);
        EXPECT_FLOAT_EQ(TheBot().Score(BotSettings::kScared), test.ownHolds ? 0.0f : expected);
        TheBot().Think(2.0f);
        EXPECT_EQ(ConditionShown(), test.condition);
    }
}

// Scared scores exactly what noballs scores (2.0) with a range of four times the distance: the
// lower index wins the tie; a little more range and scared wins.
TEST_F(BotMatch, equal_scores_keep_the_lower_condition) {
    for (const float times : {4.0f, 4.5f}) {
        Start(Idle(), {}, {{0.0f, 30.0f}});
        Hold(0, Opponent());
        TheBot().m_Settings.m_ShootingDistance = times * Distance();
        EXPECT_FLOAT_EQ(TheBot().Score(BotSettings::kScared), times * 0.5f);
        TheBot().Think(2.0f);
        EXPECT_EQ(ConditionShown(), times == 4.0f ? "noballs" : "scared");
        EXPECT_EQ(TheBot().GetCondition(), times == 4.0f ? BotSettings::kNoBalls : BotSettings::kScared);
    }
}

// A negative shooting distance, read from the bot's file as written, puts every distance out of
// range: neither "goodshot" nor "scared" scores, in sight and close as the creatures are.
TEST_F(BotMatch, a_negative_shooting_distance_leaves_goodshot_and_scared_without_a_score) {
    for (const bool ownHolds : {true, false}) {
        SCOPED_TRACE(testing::Message() << "own holds " << ownHolds);
        BotSettings settings = Idle();
        settings.m_ShootingDistance = -100.0f;
        Start(settings, {}, {{-3.0f, 30.0f}, {0.0f, 30.0f}, {3.0f, 30.0f}});
        EXPECT_EQ(TheBot().m_Settings.m_ShootingDistance, -100.0f);
        if (ownHolds) {
            Hold(0, Own());
        } else {
            Hold(1, Opponent());
            Hold(2, Opponent());
        }
        ASSERT_TRUE(TheBot().HasSight(Own().m_Center, Opponent().m_Center));
        EXPECT_EQ(TheBot().Score(BotSettings::kGoodShot), 0.0f);
        EXPECT_EQ(TheBot().Score(BotSettings::kScared), 0.0f);
        TheBot().Think(2.0f);
        EXPECT_EQ(ConditionShown(), ownHolds ? "normal" : "noballs");
    }
}

// Negative timeouts read from the bot's file act at every step: the condition is evaluated and a
// new goal drawn at every thought, and a waypoint not reached at once leaves the path stuck.
TEST_F(BotMatch, negative_timeouts_act_at_every_step) {
    BotSettings settings = Always(BotSettings::kChase);
    settings.m_ConditionTimeout = -1.0f;
    settings.m_GoalTimeout = -1.0f;
    settings.m_PathStuckTimeout = -1.0f;
    // On a cell's centre, so that no waypoint lies inside the creature from the start.
    Start(settings, {kMiddleWall}, {}, b2Vec2(-15.0f, 0.0f), b2Vec2(17.5f, 0.0f));
    for (int thought = 0; thought < 3; ++thought) {
        TheBot().Think(kStep);
        EXPECT_EQ(TheBot().GetConditionTimer(), 0.0f) << thought;
        EXPECT_EQ(TheBot().GetGoalTimer(), 0.0f) << thought;
        EXPECT_EQ(TheBot().GetPathState(), Bot::kStuck) << thought;
        EXPECT_TRUE(TheBot().GetWaypoints().empty()) << thought;
    }
}

TEST_F(BotMatch, scores_at_distance_zero_stay_finite) {
    Start(Idle(), {}, {{0.0f, 30.0f}});
    Hold(0, Own());
    Opponent().m_Center = Own().m_Center;
    const float goodShot = TheBot().Score(BotSettings::kGoodShot);
    EXPECT_TRUE(std::isfinite(goodShot));
    EXPECT_GT(goodShot, 1.0f);
}

// The condition is evaluated only once its timer is strictly past the timeout, and the goal is
// kept only while its timer is at most its timeout.
TEST_F(BotMatch, timers_act_only_when_strictly_past_their_timeouts) {
    BotSettings settings = Always(BotSettings::kChase);
    settings.m_ConditionTimeout = 0.5f;
    settings.m_GoalTimeout = 0.5f;
    Start(settings, {}, {{0.0f, 30.0f}});
    // The step that hands the ball over thinks first, before the bot holds it.
    Hold(0, Own());
    EXPECT_EQ(ConditionShown(), "noballs");
    EXPECT_EQ(TheBot().GetConditionTimer(), 0.0f);
    EXPECT_EQ(TheBot().GetGoalTimer(), 0.0f);
    ASSERT_NE(TheBot().GetGoal(), nullptr);
    TheBot().Think(0.25f);
    EXPECT_EQ(TheBot().GetConditionTimer(), 0.25f);
    EXPECT_EQ(TheBot().GetGoalTimer(), 0.25f);
    TheBot().Think(0.25f);
    EXPECT_EQ(TheBot().GetConditionTimer(), 0.5f);
    EXPECT_EQ(ConditionShown(), "noballs") << "the timer is not past the timeout yet";
    EXPECT_EQ(TheBot().GetGoalTimer(), 0.5f) << "the goal is kept";
    TheBot().Think(0.001f);
    EXPECT_EQ(TheBot().GetConditionTimer(), 0.0f);
    EXPECT_EQ(ConditionShown(), "goodshot");
    EXPECT_EQ(TheBot().GetGoalTimer(), 0.0f) << "a new goal";
}

// A player's file holds no bot settings: the bot says so in the log and keeps its defaults, whose
// table of no weights only ever draws a goto.
TEST_F(BotMatch, a_file_without_settings_leaves_a_bot_that_only_roams) {
    Start(Idle());
    const testing_support::FileTail log(Logger::GetInstance().GetLogFile());
    for (const std::string& file : {ShippedCreatureFiles()[0], std::string("data/ais/none.xml")}) {
        SCOPED_TRACE(file);
        Bot bot(Own(), Opponent(), *m_Level);
        EXPECT_FALSE(bot.LoadSettings(file));
        EXPECT_TRUE(bot.m_Settings.m_GoalWeights.empty());
        EXPECT_EQ(bot.m_Settings.m_GoalTimeout, BotSettings::kDefaultGoalTimeout);
        for (int i = 0; i < 5; ++i) {
            bot.Think(20.0f);
            EXPECT_NE(dynamic_cast<GoalGoto*>(bot.GetGoal()), nullptr);
            EXPECT_EQ(std::string(bot.GetGoalLabel().getString()), "GoalGoto");
        }
    }
    EXPECT_EQ(log.Count("Bot::LoadSettings: no bot settings in "), 2);
    Bot read(Own(), Opponent(), *m_Level);
    EXPECT_TRUE(read.LoadSettings(kBotFile));
    EXPECT_EQ(read.m_Settings.m_BallChoiceMode, 3u);
}

// ---- Choosing goals ----

// A fetch whose ball the opponent takes is replaced at the next thought, long before the next
// evaluation of the condition.
TEST_F(BotMatch, an_invalid_goal_is_replaced_in_the_same_frame) {
    Start(Always(BotSettings::kFetch, BotSettings::kClosestInSight), {}, {{8.0f, 12.0f}, {-8.0f, 12.0f}});
    TheBot().Think(kStep);
    auto* fetch = dynamic_cast<GoalFetch*>(TheBot().GetGoal());
    ASSERT_NE(fetch, nullptr);
    EXPECT_EQ(fetch->GetBall(), Ball(0));
    EXPECT_EQ(GoalShown(), "GoalFetch, closestLOS");
    Hold(0, Opponent());
    EXPECT_FALSE(TheBot().GetGoal()->IsValid());
    TheBot().Think(kStep);
    EXPECT_LT(TheBot().GetConditionTimer(), TheBot().m_Settings.m_ConditionTimeout);
    fetch = dynamic_cast<GoalFetch*>(TheBot().GetGoal());
    ASSERT_NE(fetch, nullptr);
    EXPECT_EQ(fetch->GetBall(), Ball(1));
    Hold(1, Opponent());
    TheBot().Think(kStep);
    EXPECT_EQ(TheBot().GetGoal(), nullptr) << "no free ball left";
    EXPECT_EQ(GoalShown(), "GoalFetch, closestLOS") << "the closest-in-sight fetch names itself even without a ball";
}

TEST_F(BotMatch, each_goal_shows_its_label_and_goals_that_cannot_start_show_none) {
    struct Case {
        uint32_t goal;
        uint32_t mode;
        bool freeBall;
        bool holds;
        const char* label;
        bool made;
    };
    const Case cases[] = {
        {BotSettings::kGoto, 0, true, false, "GoalGoto", true},
        {BotSettings::kFetch, 0, true, false, "GoalFetch, random", true},
        {BotSettings::kFetch, 1, true, false, "GoalFetch, closest", true},
        {BotSettings::kFetch, 2, true, false, "GoalFetch, closestLOS", true},
        {BotSettings::kFetch, 0, false, false, "No goal", false},
        {BotSettings::kFetch, 1, false, false, "GoalFetch, closest", false},
        {BotSettings::kFetch, 2, false, false, "GoalFetch, closestLOS", false},
        {BotSettings::kFetch, 3, true, false, "No goal", false},
        {BotSettings::kChase, 0, true, false, "GoalChase", true},
        {BotSettings::kShoot, 0, true, true, "GoalShoot", true},
        {BotSettings::kShoot, 0, true, false, "No goal", false},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.label);
        Start(Always(test.goal, test.mode), {}, {{0.0f, 25.0f}});
        if (test.holds || !test.freeBall) {
            Hold(0, test.holds ? Own() : Opponent());
        }
        TheBot().Think(kStep);
        EXPECT_EQ(GoalShown(), test.label);
        EXPECT_EQ(TheBot().GetGoal() != nullptr, test.made);
    }
}

TEST_F(BotMatch, a_goto_goal_heads_for_a_random_point_of_the_arena) {
    Start(Always(BotSettings::kGoto));
    for (int i = 0; i < 50; ++i) {
        TheBot().Think(20.0f);
        const auto* goal = dynamic_cast<GoalGoto*>(TheBot().GetGoal());
        ASSERT_NE(goal, nullptr);
        EXPECT_LE(std::fabs(goal->GetTarget().x), Bot::kRoamHalfWidth);
        EXPECT_LE(std::fabs(goal->GetTarget().y), Bot::kRoamHalfHeight);
    }
}

// Balls in the level's order: one in sight far away, one nearer behind a wall, the nearest shut
// in a box. The last free one is the shut-in ball; the closest a path reaches is the one behind
// the wall; the closest in sight is the far one.
TEST_F(BotMatch, the_three_ways_of_choosing_a_ball) {
    const std::vector<Wall> walls = {{{15.0f, -22.0f}, {8.0f, 1.0f}},
                                     {{15.0f, 14.0f}, {6.0f, 1.0f}},
                                     {{15.0f, 26.0f}, {6.0f, 1.0f}},
                                     {{9.0f, 20.0f}, {1.0f, 7.0f}},
                                     {{21.0f, 20.0f}, {1.0f, 7.0f}}};
    const std::vector<b2Vec2> balls = {{-35.0f, 25.0f}, {15.0f, -31.0f}, {15.0f, 20.0f}};
    struct Case {
        uint32_t mode;
        int ball;
    };
    for (const Case& test : {Case{0, 2}, Case{1, 1}, Case{2, 0}}) {
        SCOPED_TRACE(testing::Message() << "mode " << test.mode);
        Start(Idle(), walls, balls, b2Vec2(-30.0f, -25.0f), b2Vec2(15.0f, 0.0f));
        EXPECT_EQ(GoalFetch::ChooseBall(TheBot(), test.mode), Ball(test.ball));
        EXPECT_TRUE(TheBot().GetWaypoints().empty()) << "the paths tried are not kept";
    }
    Start(Idle(), walls, balls, b2Vec2(-30.0f, -25.0f), b2Vec2(15.0f, 0.0f));
    EXPECT_EQ(GoalFetch::ChooseBall(TheBot(), 3), nullptr);
    Hold(0, Opponent());
    EXPECT_EQ(GoalFetch::ChooseBall(TheBot(), 2), nullptr) << "an owned ball is never chosen";
}

// ---- Goals ----

TEST_F(BotMatch, a_goto_target_in_sight_is_approached_straight_without_a_path) {
    Start(Idle());
    const b2Vec2 target(20.0f, -20.0f);
    GoalGoto goal(TheBot(), target);
    goal.Update(kStep);
    const b2Vec2 towards = target - Bot::MouthOf(Own());
    EXPECT_TRUE(goal.IsVisible());
    EXPECT_FALSE(goal.IsPathRequested());
    EXPECT_FLOAT_EQ(goal.GetDistance(), towards.Length());
    EXPECT_EQ(TheBot().GetPathState(), Bot::kNoPath);
    EXPECT_TRUE(TheBot().GetWaypoints().empty());
    EXPECT_NEAR(Own().GetLastSteering().direction.x, Unit(towards).x, 1e-5f);
    EXPECT_NEAR(Own().GetLastSteering().direction.y, Unit(towards).y, 1e-5f);
    EXPECT_FALSE(goal.IsDone());
    EXPECT_TRUE(goal.IsValid());
}

// Behind a wall the goal asks for a path and keeps it while it is followed; a path that ended
// without the target in sight is asked for again; once the target lies inside the creature the
// goal is done and leaves the path.
TEST_F(BotMatch, a_goto_target_out_of_sight_is_reached_along_a_path) {
    Start(Idle(), {kMiddleWall});
    const b2Vec2 target(-15.0f, 0.0f);
    GoalGoto goal(TheBot(), target);
    goal.Update(kStep);
    EXPECT_FALSE(goal.IsVisible());
    EXPECT_TRUE(goal.IsPathRequested());
    EXPECT_EQ(goal.GetDistance(), ApproachGoal::kOutOfSight);
    EXPECT_EQ(TheBot().GetPathState(), Bot::kFollowing);
    ASSERT_GE(TheBot().GetWaypoints().size(), 2u);
    EXPECT_EQ(TheBot().GetWaypoints().back(), target);
    EXPECT_TRUE(goal.IsValid());

    const std::vector<b2Vec2> planned = TheBot().GetWaypoints();
    TheBot().PlanPath(Own().m_Center);
    TheBot().Think(kStep);
    EXPECT_EQ(TheBot().GetPathState(), Bot::kReachedEnd);
    goal.Update(kStep);
    EXPECT_EQ(TheBot().GetPathState(), Bot::kFollowing) << "asked for again";
    EXPECT_EQ(TheBot().GetWaypoints(), planned);

    GoalGoto here(TheBot(), Own().m_Center);
    here.Update(kStep);
    EXPECT_TRUE(here.IsDone());
    EXPECT_TRUE(TheBot().GetWaypoints().empty());
}

// A target no path has reached (inside a rock) leaves the goal without a request: invalid at once.
// A goal that had a path keeps its request when a later search fails: it stays valid, searches
// again at every update and follows the path found once the way is open again.
TEST_F(BotMatch, a_failed_search_invalidates_only_a_goal_that_never_had_a_path) {
    Start(Idle(), {kMiddleWall, {{-20.0f, 10.0f}, {6.0f, 6.0f}}}, {}, b2Vec2(-30.0f, -25.0f));
    GoalGoto goal(TheBot(), b2Vec2(-20.0f, 10.0f));
    goal.Update(kStep);
    EXPECT_FALSE(goal.IsPathRequested());
    EXPECT_EQ(TheBot().GetPathState(), Bot::kNoPath);
    EXPECT_FALSE(goal.IsValid());

    const b2Vec2 target(-20.0f, -10.0f);
    GoalGoto shutIn(TheBot(), target);
    shutIn.Update(kStep);
    ASSERT_TRUE(shutIn.IsPathRequested());
    b2BodyDef def;
    def.position = target;
    b2PolygonShape rock;
    rock.SetAsBox(4.0f, 4.0f);
    b2Body* body = m_Level->GetPhysics().CreateBody(def);
    body->CreateFixture(&rock, 0.0f);
    TheBot().PlanPath(Own().m_Center);
    TheBot().Think(kStep);
    ASSERT_EQ(TheBot().GetPathState(), Bot::kReachedEnd);
    for (int update = 0; update < 3; ++update) {
        shutIn.Update(kStep);
        EXPECT_TRUE(shutIn.IsPathRequested()) << update;
        EXPECT_EQ(TheBot().GetPathState(), Bot::kNoPath) << update;
        EXPECT_TRUE(TheBot().GetWaypoints().empty()) << update;
        EXPECT_EQ(shutIn.GetDistance(), ApproachGoal::kOutOfSight) << update;
        EXPECT_TRUE(shutIn.IsValid()) << update;
    }
    m_Level->GetPhysics().DestroyBody(body);
    shutIn.Update(kStep);
    EXPECT_EQ(TheBot().GetPathState(), Bot::kFollowing) << "searched again";
    ASSERT_FALSE(TheBot().GetWaypoints().empty());
    EXPECT_EQ(TheBot().GetWaypoints().back(), target);
    EXPECT_TRUE(shutIn.IsValid());
}

TEST_F(BotMatch, a_chase_follows_the_opponent) {
    Start(Idle());
    GoalChase chase(TheBot(), Opponent());
    Opponent().m_Center.Set(-5.0f, 10.0f);
    chase.Update(kStep);
    EXPECT_EQ(chase.GetTarget(), b2Vec2(-5.0f, 10.0f));
    EXPECT_NEAR(Own().GetLastSteering().direction.x, Unit(b2Vec2(-5.0f, 10.0f) - Bot::MouthOf(Own())).x, 1e-5f);
}

TEST_F(BotMatch, a_fetch_is_invalid_once_the_opponent_has_the_ball_and_done_once_the_bot_has_it) {
    Start(Idle(), {}, {{0.0f, 20.0f}, {5.0f, 20.0f}});
    GoalFetch lost(TheBot(), Ball(0));
    lost.Update(kStep);
    EXPECT_TRUE(lost.IsValid());
    EXPECT_TRUE(lost.IsVisible());
    Hold(0, Opponent());
    EXPECT_FALSE(lost.IsValid());
    lost.Update(kStep);
    EXPECT_FALSE(lost.IsDone());

    GoalFetch won(TheBot(), Ball(1));
    Hold(1, Own());
    TheBot().PlanPath(b2Vec2(-20.0f, -20.0f));
    won.Update(kStep);
    EXPECT_TRUE(won.IsDone());
    EXPECT_TRUE(TheBot().GetWaypoints().empty());
}

// The goal keeps the ball's body, not its record: once the ball is gone it is invalid, and its
// updates do nothing. Going, it leaves the bot's path.
TEST_F(BotMatch, a_fetch_of_a_ball_that_is_gone_is_invalid) {
    Start(Idle(), {kMiddleWall}, {{-15.0f, 20.0f}});
    auto fetch = std::make_unique<GoalFetch>(TheBot(), Ball(0));
    fetch->Update(kStep);
    EXPECT_TRUE(fetch->IsPathRequested());
    EXPECT_FALSE(TheBot().GetWaypoints().empty());
    b2Body* ball = Ball(0);
    EraseBodyRecord(ball);
    m_Level->GetPhysics().DestroyBody(ball);
    BodyRemovedSignal().emit(ball);
    ASSERT_TRUE(m_Level->GetBalls().empty());
    EXPECT_FALSE(fetch->IsValid());
    fetch->Update(kStep);
    fetch.reset();
    EXPECT_TRUE(TheBot().GetWaypoints().empty());
}

// With a ball held and the opponent in sight: aimed (the opponent's centre within 2 units of the
// line through the centre and the mouth, on either side of the centre) the bot spits once the
// shooting timer is past the cooldown; otherwise it turns its mouth towards the opponent.
TEST_F(BotMatch, a_shot_waits_for_the_aim_and_the_cooldown) {
    struct Case {
        const char* what;
        float cooldown;
        float offset;
        float along;
        bool spits;
    };
    for (const Case& test : {Case{"aimed, no cooldown: the first update spits", 0.0f, 0.0f, 2.0f, true},
                             Case{"1.9 units off the line", 0.0f, 1.9f, 2.0f, true},
                             Case{"2.5 units off the line", 0.0f, 2.5f, 2.0f, false},
                             Case{"the mouth facing away, the opponent on its line", 0.0f, 0.0f, -2.0f, true},
                             Case{"the mouth facing away, 2.5 units off its line", 0.0f, 2.5f, -2.0f, false},
                             Case{"the mouth on the centre", 0.0f, 0.0f, 0.0f, false},
                             Case{"aimed, cooling down", 1.0f, 0.0f, 2.0f, false}}) {
        SCOPED_TRACE(test.what);
        Start(Always(BotSettings::kShoot), {}, {{0.0f, 30.0f}});
        TheBot().m_Settings.m_ShootingCooldown = test.cooldown;
        Hold(0, Own());
        const b2Vec2 centre = Own().m_Center;
        const b2Vec2 across(0.0f, 1.0f);
        const b2Vec2 target = Opponent().m_Center + test.offset * across;
        Own().GetMouthBody()->SetTransform(centre + test.along * Unit(target - centre), 0.0f);
        const float cooled = TheBot().GetShootingTimer() + kStep;
        TheBot().Think(kStep);
        ASSERT_NE(dynamic_cast<GoalShoot*>(TheBot().GetGoal()), nullptr);
        EXPECT_EQ(Record(0).state == kBallSpat, test.spits);
        EXPECT_EQ(TheBot().GetGoal()->IsDone(), test.spits);
        EXPECT_EQ(TheBot().GetShootingTimer(), test.spits ? 0.0f : cooled);
        if (!test.spits) {
            const b2Vec2 towards = Unit(Opponent().m_Center - centre);
            EXPECT_NEAR(Own().GetLastSteering().direction.x, towards.x, 1e-5f);
            EXPECT_NEAR(Own().GetLastSteering().direction.y, towards.y, 1e-5f);
        }
    }
}

TEST_F(BotMatch, a_shot_with_the_opponent_behind_a_wall_is_invalid_after_one_update) {
    Start(Always(BotSettings::kShoot), {kMiddleWall}, {{20.0f, 30.0f}});
    Hold(0, Own());
    GoalShoot shot(TheBot(), Opponent());
    EXPECT_TRUE(shot.IsValid());
    Aim(Opponent().m_Center, 2.0f);
    shot.Update(kStep);
    EXPECT_FALSE(shot.IsValid());
    EXPECT_EQ(Record(0).state, kBallHeld);
}

// The distance from the whole line through the centre and the mouth: ahead of the mouth, beside
// the centre and behind it alike; without a line (the mouth on the centre) it is infinite.
TEST(GoalShootAim, the_aim_error_is_the_distance_from_the_whole_line_through_centre_and_mouth) {
    const float inf = std::numeric_limits<float>::infinity();
    struct Case {
        b2Vec2 c;
        b2Vec2 m;
        b2Vec2 e;
        float error;
    };
    for (const Case& test : {Case{{0, 0}, {1, 0}, {10, 0}, 0.0f}, Case{{0, 0}, {1, 0}, {10, 2}, 2.0f},
                             Case{{0, 0}, {1, 0}, {10, -3}, 3.0f}, Case{{1, 1}, {1, 3}, {4, 9}, 3.0f},
                             Case{{0, 0}, {1, 0}, {-10, 0}, 0.0f}, Case{{0, 0}, {1, 0}, {-10, 1.5f}, 1.5f},
                             Case{{0, 0}, {1, 0}, {0, 5}, 5.0f}, Case{{1, 1}, {1, 3}, {-2, -9}, 3.0f},
                             Case{{2, 2}, {2, 2}, {10, 2}, inf}}) {
        EXPECT_FLOAT_EQ(GoalShoot::AimError(test.c, test.m, test.e), test.error)
            << "c (" << test.c.x << "," << test.c.y << ") m (" << test.m.x << "," << test.m.y << ") e (" << test.e.x
            << "," << test.e.y << ")";
    }
}

// ---- Sight ----

TEST_F(BotMatch, only_the_level_blocks_sight) {
    Start(Idle(), {{{0.0f, 20.0f}, {1.0f, 5.0f}}, {{0.0f, -20.0f}, {1.0f, 5.0f}, true}}, {{0.0f, 0.0f}});
    RaycastHelper ray;
    const b2World* world = m_Level->GetPhysics().GetWorld();
    struct Case {
        const char* what;
        b2Vec2 from;
        b2Vec2 to;
        bool clear;
    };
    for (const Case& test : {Case{"across a ball and both creatures", {-25.0f, 0.0f}, {25.0f, 0.0f}, true},
                             Case{"across a wall", {-10.0f, 20.0f}, {10.0f, 20.0f}, false},
                             Case{"across a green wall", {-10.0f, -20.0f}, {10.0f, -20.0f}, false},
                             Case{"of no length", {0.0f, 20.0f}, {0.0f, 20.0f}, true},
                             Case{"to a point that is not a number", {0.0f, 0.0f}, {std::nanf(""), 0.0f}, true}}) {
        EXPECT_EQ(ray.IsClear(world, test.from, test.to), test.clear) << test.what;
        EXPECT_EQ(ray.m_Clear, test.clear) << test.what;
    }
    EXPECT_TRUE(ray.IsClear(nullptr, b2Vec2(-10.0f, 20.0f), b2Vec2(10.0f, 20.0f)));
    EXPECT_TRUE(TheBot().HasSight(Own().m_Center, Opponent().m_Center));
}

// ---- Paths ----

// Chasing round a wall: every waypoint reached gives the goal time again, so the goal outlives
// its timeout while its path advances.
TEST_F(BotMatch, reaching_a_waypoint_gives_the_goal_time_again) {
    BotSettings settings = Always(BotSettings::kChase);
    settings.m_GoalTimeout = 1.5f;
    Start(settings, {{{0.0f, 0.0f}, {1.5f, 22.0f}},
                     {{0.0f, -36.0f}, {50.0f, 1.0f}},
                     {{0.0f, 36.0f}, {50.0f, 1.0f}},
                     {{-49.0f, 0.0f}, {1.0f, 37.0f}},
                     {{49.0f, 0.0f}, {1.0f, 37.0f}}});
    Step();
    ASSERT_EQ(TheBot().GetPathState(), Bot::kFollowing);
    const std::vector<b2Vec2> planned = TheBot().GetWaypoints();
    uint32_t reached = TheBot().GetNextWaypoint();
    int passed = 0;
    float followed = 0.0f;
    for (int step = 0; step < 500 && TheBot().GetWaypoints() == planned; ++step) {
        Step();
        followed += kStep;
        if (TheBot().GetNextWaypoint() > reached) {
            ++passed;
            EXPECT_EQ(TheBot().GetGoalTimer(), 0.0f);
            reached = TheBot().GetNextWaypoint();
        }
        EXPECT_LE(TheBot().GetGoalTimer(), settings.m_PathStuckTimeout);
    }
    EXPECT_GE(passed, 2);
    EXPECT_GT(followed, 3.0f) << "the same path, followed past the goal's timeout";
}

// A waypoint not reached within the stuck timeout leaves the path stuck and the goal invalid; the
// next thought makes a new goal, which asks for a path again.
TEST_F(BotMatch, a_path_gets_stuck_after_its_timeout) {
    BotSettings settings = Always(BotSettings::kChase);
    settings.m_PathStuckTimeout = 0.1f;
    Start(settings, {kMiddleWall});
    int thoughts = 0;
    while (TheBot().GetPathState() != Bot::kStuck && thoughts < 20) {
        TheBot().Think(kStep);
        ++thoughts;
    }
    ASSERT_EQ(TheBot().GetPathState(), Bot::kStuck);
    EXPECT_GT(TheBot().GetGoalTimer(), 0.1f);
    EXPECT_LE(TheBot().GetGoalTimer(), 0.1f + kStep + 1e-6f);
    EXPECT_TRUE(TheBot().GetWaypoints().empty());
    EXPECT_FALSE(TheBot().GetGoal()->IsValid());
    TheBot().Think(kStep);
    EXPECT_EQ(TheBot().GetPathState(), Bot::kFollowing);
    EXPECT_FALSE(TheBot().GetWaypoints().empty());
}

// ---- Drawing ----

TEST_F(BotMatch, the_labels_sit_on_the_creature_and_the_path_shows_in_red) {
    Start(Always(BotSettings::kChase), {kMiddleWall});
    TheBot().Think(kStep);
    const sf::Vector2f centre = m_Level->GetPhysics().ToPixels(Own().m_Center);
    EXPECT_EQ(TheBot().GetGoalLabel().getPosition(), centre);
    EXPECT_EQ(TheBot().GetConditionLabel().getPosition(), centre - sf::Vector2f(0.0f, 10.0f));
    EXPECT_EQ(TheBot().GetGoalLabel().getFillColor(), sf::Color(50, 50, 250));
    EXPECT_EQ(TheBot().GetConditionLabel().getFillColor(), sf::Color(200, 50, 50));
    EXPECT_EQ(TheBot().GetGoalLabel().getCharacterSize(), 20u);
    EXPECT_EQ(TheBot().GetGoalLabel().getFont(), &Application::GetInstance().font);
    EXPECT_EQ(GoalShown(), "GoalChase");
    ASSERT_FALSE(TheBot().GetWaypoints().empty());

    sf::RenderTexture canvas;
    ASSERT_TRUE(canvas.create(800, 600));
    canvas.clear(sf::Color::White);
    TheBot().DrawDebug(canvas, sf::RenderStates::Default);
    canvas.display();
    const sf::Image picture = canvas.getTexture().copyToImage();
    const sf::Vector2f last = m_Level->GetPhysics().ToPixels(TheBot().GetWaypoints().back());
    EXPECT_EQ(picture.getPixel(static_cast<unsigned>(last.x), static_cast<unsigned>(last.y)), sf::Color(200, 0, 0));
    EXPECT_EQ(picture.getPixel(static_cast<unsigned>(last.x + 3.0f), static_cast<unsigned>(last.y)),
              sf::Color(200, 0, 0))
        << "inside the dot";
    EXPECT_EQ(picture.getPixel(static_cast<unsigned>(last.x - 8.0f), static_cast<unsigned>(last.y - 8.0f)),
              sf::Color::White)
        << "outside the dot";

    TheBot().ClearPath();
    canvas.clear(sf::Color::White);
    TheBot().DrawDebug(canvas, sf::RenderStates::Default);
    canvas.display();
    EXPECT_EQ(canvas.getTexture().copyToImage().getPixel(static_cast<unsigned>(last.x), static_cast<unsigned>(last.y)),
              sf::Color::White)
        << "no path, no lines";
}

}  // namespace
}  // namespace match_testing
