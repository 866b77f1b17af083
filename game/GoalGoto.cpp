#include "game/GoalGoto.h"

#include "game/Bot.h"
#include "game/Globbo.h"

void GoalGoto::Update(float) {
    Approach(m_Target);
    if (!m_Done) {
        m_Done = m_Bot.GetOwn().IsPointInside(m_Target.x, m_Target.y);
        if (!m_Done) {
            return;
        }
    }
    m_Bot.ClearPath();
}

GoalChase::GoalChase(Bot& bot, Globbo& opponent) : GoalGoto(bot, opponent.m_Center), m_Opponent(opponent) {}

void GoalChase::Update(float dt) {
    m_Target = m_Opponent.m_Center;
    GoalGoto::Update(dt);
}
