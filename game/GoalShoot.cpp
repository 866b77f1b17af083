#include "game/GoalShoot.h"

#include "game/Bot.h"
#include "game/Globbo.h"
#include "game/Level.h"

#include <cmath>
#include <limits>

float GoalShoot::AimError(const b2Vec2& c, const b2Vec2& m, const b2Vec2& e) {
    const b2Vec2 line = m - c;
    const float length = line.Length();
    if (!(length >= b2_epsilon)) {
        return std::numeric_limits<float>::infinity();
    }
    return std::fabs(((c.y - e.y) * line.x - (c.x - e.x) * line.y) / (length * length)) * length;
}

void GoalShoot::Update(float) {
    if (m_Done) {
        return;
    }
    Globbo& own = m_Bot.GetOwn();
    const b2Vec2 mouth = Bot::MouthOf(own);
    if (!m_Ray.IsClear(m_Bot.GetLevel().GetPhysics().GetWorld(), mouth, Bot::MouthOf(m_Opponent))) {
        return;
    }
    const b2Vec2 centre = own.m_Center;
    const b2Vec2 target = m_Opponent.m_Center;
    if (AimError(centre, mouth, target) <= kMaxAimError &&
        m_Bot.GetShootingTimer() > m_Bot.m_Settings.m_ShootingCooldown) {
        own.Shoot();
        m_Bot.ResetShootingTimer();
        m_Done = true;
        return;
    }
    own.MoveMouth(Bot::Normalised(target - centre), 1.0f);
}
