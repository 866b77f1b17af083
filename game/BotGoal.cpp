#include "game/BotGoal.h"

#include "game/Bot.h"
#include "game/Globbo.h"

bool ApproachGoal::IsValid() const {
    return m_Visible || (m_PathRequested && m_Bot.GetPathState() != Bot::kStuck);
}

void ApproachGoal::Approach(const b2Vec2& point) {
    Globbo& own = m_Bot.GetOwn();
    m_Visible = m_Bot.HasSight(own.m_Center, point);
    if (m_Visible) {
        const b2Vec2 towards = point - Bot::MouthOf(own);
        const float length = towards.Length();
        m_Distance = length < b2_epsilon ? 0.0f : length;
        own.MoveMouth(Bot::Normalised(towards), 1.0f);
        m_Bot.ClearPath();
        m_PathRequested = false;
        return;
    }
    const int32_t state = m_Bot.GetPathState();
    if (m_PathRequested && (state == Bot::kFollowing || state == Bot::kStuck)) {
        return;
    }
    m_Distance = kOutOfSight;
    // A failed search leaves the request as it was: a goal that never had a path is invalid, one
    // that had a path stays valid (the bot's path state is no longer "stuck") and searches again
    // at the next update, until a path is found or the goal times out.
    if (m_Bot.PlanPath(point)) {
        m_PathRequested = true;
    }
}
