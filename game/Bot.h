#pragma once

#include "game/BotGoal.h"
#include "game/BotSettings.h"
#include "game/RaycastHelper.h"

#include <SFML/Graphics/RenderStates.hpp>
#include <SFML/Graphics/RenderTarget.hpp>
#include <SFML/Graphics/Text.hpp>
#include <box2d/b2_math.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class Globbo;
class Level;

// A computer opponent: it steers its own creature in place of a controller. Every frame of play
// the match calls Think. Once a condition timeout has passed it classifies the situation into
// one of four conditions by their scores; it draws a goal for the condition from its settings'
// weights, runs it, and walks the creature along the waypoints the goals ask the level's path
// grid for. It draws its condition, its goal and its path in the match's debug view.
//
// The creatures and the level must outlive the bot.
class Bot {
public:
    // Where the bot is on its path.
    enum PathState : int32_t { kNoPath = 0, kFollowing = 1, kReachedEnd = 2, kStuck = 3 };

    // The condition and goal timers start here, so that the first Think evaluates and draws.
    static constexpr float kFirstTimer = 10.0f;
    // A goto goal's random target lies within these half extents round the arena's centre.
    static constexpr float kRoamHalfWidth = 45.0f;
    static constexpr float kRoamHalfHeight = 32.0f;
    // The scores' distances are never taken below this, so they never divide by zero.
    static constexpr float kMinScoreDistance = b2_epsilon;
    static constexpr unsigned int kLabelSize = 20;
    // The condition label sits this many pixels above the goal label, on the creature's centre.
    static constexpr float kConditionLabelRaise = 10.0f;
    static constexpr float kWaypointMarkRadius = 5.0f;
    static constexpr const char* kNoGoalLabel = "No goal";

    // The bot steering own against opponent in the level, with default settings (a table of
    // zero weights: it only ever goes to random points).
    Bot(Globbo& own, Globbo& opponent, Level& level);
    ~Bot();
    Bot(const Bot&) = delete;
    Bot& operator=(const Bot&) = delete;

    // Reads the settings from the object "m_Settings" of the definition file (reading normalises
    // the weights). A file without them is logged and leaves the defaults, whose table of no
    // weights only ever draws a goto. False when none were read.
    bool LoadSettings(const std::string& file);

    // One decision step of dt seconds: the condition (when its timer is past the timeout), the
    // goal (kept while valid, not done and young enough; else a new one drawn), its update, one
    // step along the path, and the labels placed on the creature.
    void Think(float dt);

    // Asks the path grid (walls brought up to date) for a path from the own centre to the
    // target and starts following it: true when one was found; the path is empty otherwise.
    bool PlanPath(const b2Vec2& target);
    // Forgets the waypoints; the path state stays as it is.
    void ClearPath();
    // The condition's score in the present situation (0 for a condition that does not exist).
    float Score(uint32_t condition);
    // Whether nothing of the level lies between the two points.
    bool HasSight(const b2Vec2& from, const b2Vec2& to);

    // Both labels, then, while waypoints remain, 1-pixel lines in (200, 0, 0) from the own
    // centre through each of them and a dot of radius 5 pixels on the last.
    void DrawDebug(sf::RenderTarget& target, const sf::RenderStates& states) const;

    // The goal's label, as the debug view shows it on creation ("GoalFetch, closest", ...).
    const char* GoalLabel(uint32_t goal) const;

    // Where a creature's mouth is: its mouth body's position, its centre without one.
    static b2Vec2 MouthOf(const Globbo& creature);
    // The unit vector of v; v itself when it is too short to have a direction.
    static b2Vec2 Normalised(const b2Vec2& v);

    Globbo& GetOwn() const { return m_Own; }
    Globbo& GetOpponent() const { return m_Opponent; }
    Level& GetLevel() const { return m_Level; }
    float GetConditionTimer() const { return m_ConditionTimer; }
    float GetGoalTimer() const { return m_GoalTimer; }
    float GetShootingTimer() const { return m_ShootingTimer; }
    // After a spit: the cooldown starts again.
    void ResetShootingTimer() { m_ShootingTimer = 0.0f; }
    uint32_t GetCondition() const { return m_Condition; }
    BotGoal* GetGoal() const { return m_Goal.get(); }
    const std::vector<b2Vec2>& GetWaypoints() const { return m_Waypoints; }
    uint32_t GetNextWaypoint() const { return m_NextWaypoint; }
    int32_t GetPathState() const { return m_PathState; }
    const sf::Text& GetConditionLabel() const { return m_ConditionLabel; }
    const sf::Text& GetGoalLabel() const { return m_GoalLabel; }

    BotSettings m_Settings;

private:
    // The first condition with the strictly greatest score; a change drops the goal.
    void EvaluateCondition();
    // Drops the goal and draws a new one for the condition (which may be none).
    void ChooseGoal();
    std::unique_ptr<BotGoal> MakeGoal(uint32_t goal);
    // One step towards the next waypoint, or past it once the creature covers it.
    void FollowPath();
    void PlaceLabels();
    int OwnBalls() const;

    Globbo& m_Own;
    Globbo& m_Opponent;
    Level& m_Level;
    float m_ConditionTimer = kFirstTimer;
    float m_GoalTimer = kFirstTimer;
    float m_ShootingTimer = 0.0f;
    uint32_t m_Condition = BotSettings::kNormal;
    RaycastHelper m_Raycast;
    std::vector<b2Vec2> m_Waypoints;
    uint32_t m_NextWaypoint = 0;
    int32_t m_PathState = kNoPath;
    sf::Text m_ConditionLabel;
    sf::Text m_GoalLabel;
    // Last, so that it goes first: a fetch clears the path as it goes.
    std::unique_ptr<BotGoal> m_Goal;
};
