#pragma once

#include "game/BotGoal.h"

#include <cstdint>

class b2Body;
struct BodyRecord;

// Fetch a ball: done once the own creature has taken it in. It keeps the ball's body and looks
// its record up at every use, so a ball that is gone (or that any creature holds) makes the goal
// invalid. The bot's path goes with the goal.
class GoalFetch : public ApproachGoal {
public:
    GoalFetch(Bot& bot, b2Body* ball) : ApproachGoal(bot), m_Ball(ball) {}
    ~GoalFetch() override;

    // The ball the bot fetches, chosen by the ball-choice mode among the balls that nobody owns,
    // in the level's order: mode 0 the last; mode 1 the closest (squared distance from the own
    // centre) that a path reaches, the path grid's walls brought up to date once; mode 2 the
    // closest that sees the own centre. Null when none fits, and for any other mode.
    static b2Body* ChooseBall(Bot& bot, uint32_t mode);

    // Invalid once the ball is gone or owned; else as an approach.
    bool IsValid() const override;
    // Approaches the ball; done once the own creature owns it, and from then on every update
    // leaves the bot's path.
    void Update(float dt) override;

    b2Body* GetBall() const { return m_Ball; }

private:
    const BodyRecord* BallRecord() const;

    b2Body* m_Ball;
};
