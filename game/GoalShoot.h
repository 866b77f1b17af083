#pragma once

#include "game/BotGoal.h"
#include "game/RaycastHelper.h"

class Globbo;

// Aim at the opponent and spit once: done after the spit. Invalid as soon as the level stands
// between the two mouths.
class GoalShoot : public BotGoal {
public:
    // The farthest the opponent's centre may lie from the line of the shot, in world units.
    static constexpr float kMaxAimError = 2.0f;

    GoalShoot(Bot& bot, Globbo& opponent) : BotGoal(bot), m_Opponent(opponent) {}

    // How far e lies from the line through c and m: the distance of e from the whole line, on the
    // mouth's side of c or behind it. Infinite when there is no line (m on c), where the distance
    // would be 0 / 0.
    static float AimError(const b2Vec2& c, const b2Vec2& m, const b2Vec2& e);

    // Whether the last look from the mouth to the opponent's mouth was clear.
    bool IsValid() const override { return m_Ray.m_Clear; }
    // Until done: looks from the own mouth to the opponent's; when clear, spits if the aim error
    // is at most kMaxAimError and the shooting timer has passed the cooldown, else turns the
    // mouth towards the opponent.
    void Update(float dt) override;

private:
    Globbo& m_Opponent;
    RaycastHelper m_Ray;
};
