#pragma once

#include <box2d/b2_math.h>

class Bot;

// What a bot is trying to do right now. The bot makes one goal at a time, updates it every frame
// of play and drops it once it is invalid or done, or has lived too long. Goals steer the
// creature only through its mouth (full strength) and its spit.
class BotGoal {
public:
    explicit BotGoal(Bot& bot) : m_Bot(bot) {}
    virtual ~BotGoal() = default;
    BotGoal(const BotGoal&) = delete;
    BotGoal& operator=(const BotGoal&) = delete;

    // False once the goal cannot be reached any more: the bot drops it.
    virtual bool IsValid() const = 0;
    // One frame of dt seconds.
    virtual void Update(float dt) = 0;
    bool IsDone() const { return m_Done; }

protected:
    Bot& m_Bot;
    bool m_Done = false;
};

// A goal that goes to a point: straight at it, mouth first, while the own creature's centre sees
// it; along a path of the bot's otherwise.
class ApproachGoal : public BotGoal {
public:
    // The distance while the point is out of sight.
    static constexpr float kOutOfSight = 1.0e10f;

    explicit ApproachGoal(Bot& bot) : BotGoal(bot) {}

    // Valid while the point is in sight, or while a path to it was requested and is not stuck.
    bool IsValid() const override;

    // The distance from the mouth to the point when last seen; kOutOfSight while out of sight.
    float GetDistance() const { return m_Distance; }
    bool IsVisible() const { return m_Visible; }
    bool IsPathRequested() const { return m_PathRequested; }

protected:
    // Looks from the own creature's centre at the point and, when it is in sight, steers the
    // mouth straight at it and leaves any path; else asks the bot for a path to it, unless one
    // asked for is being followed or got stuck. Only a path found marks the path as requested: a
    // goal that never had one stays unrequested (invalid), one that had one keeps its request.
    void Approach(const b2Vec2& point);

    float m_Distance = 0.0f;
    bool m_Visible = true;
    bool m_PathRequested = false;
};
