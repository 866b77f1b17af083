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
    // A point no path reaches any more (a ball that rolled against a wall, say) makes the goal
    // invalid at once, rather than have the bot stand and search again every frame.
    m_PathRequested = m_Bot.PlanPath(point);
}
