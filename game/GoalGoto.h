#pragma once

#include "game/BotGoal.h"

class Globbo;

// Go to a point: done once the point lies inside the own creature's outline. The path the bot
// follows for it stays when the goal goes.
class GoalGoto : public ApproachGoal {
public:
    GoalGoto(Bot& bot, const b2Vec2& target) : ApproachGoal(bot), m_Target(target) {}

    // Approaches the target; once done, every update leaves the bot's path.
    void Update(float dt) override;

    const b2Vec2& GetTarget() const { return m_Target; }

protected:
    b2Vec2 m_Target;
};

// Go to where the opponent is now: the target follows the opponent's centre.
class GoalChase : public GoalGoto {
public:
    GoalChase(Bot& bot, Globbo& opponent);

    void Update(float dt) override;

private:
    Globbo& m_Opponent;
};
