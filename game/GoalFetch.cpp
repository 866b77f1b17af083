#include "game/GoalFetch.h"

#include "game/BodyRegistry.h"
#include "game/Bot.h"
#include "game/Globbo.h"
#include "game/Level.h"

#include <box2d/b2_body.h>

#include <vector>

GoalFetch::~GoalFetch() {
    m_Bot.ClearPath();
}

b2Body* GoalFetch::ChooseBall(Bot& bot, uint32_t mode) {
    Level& level = bot.GetLevel();
    const b2Vec2 centre = bot.GetOwn().m_Center;
    const b2World* world = level.GetPhysics().GetWorld();
    if (mode == BotSettings::kClosestReachable && world != nullptr) {
        level.GetPathFinder().UpdateWalls(*world);
    }
    b2Body* chosen = nullptr;
    float chosenDistance = 0.0f;
    std::vector<b2Vec2> path;
    for (const auto& ball : level.GetBalls()) {
        b2Body* body = ball->GetBody();
        const BodyRecord* record = FindBodyRecord(body);
        if (record == nullptr || record->owner != nullptr) {
            continue;
        }
        const b2Vec2 position = body->GetPosition();
        const float distance = (position - centre).LengthSquared();
        switch (mode) {
        case BotSettings::kLastBall: chosen = body; break;
        case BotSettings::kClosestReachable:
        case BotSettings::kClosestInSight:
            if (chosen != nullptr && !(distance < chosenDistance)) {
                break;
            }
            if (mode == BotSettings::kClosestReachable ? level.GetPathFinder().FindPath(centre, position, path)
                                                       : bot.HasSight(position, centre)) {
                chosen = body;
                chosenDistance = distance;
            }
            break;
        default: return nullptr;
        }
    }
    return chosen;
}

// The ball's record, or null once the body is no registered ball (it went, and its address may
// since have been given to another body).
const BodyRecord* GoalFetch::BallRecord() const {
    const BodyRecord* record = FindBodyRecord(m_Ball);
    return record != nullptr && record->kind == kBallBody ? record : nullptr;
}

bool GoalFetch::IsValid() const {
    const BodyRecord* record = BallRecord();
    return record != nullptr && record->owner == nullptr && ApproachGoal::IsValid();
}

void GoalFetch::Update(float) {
    const BodyRecord* record = BallRecord();
    if (record == nullptr) {
        return;
    }
    Approach(m_Ball->GetPosition());
    if (!m_Done) {
        m_Done = record->owner == &m_Bot.GetOwn();
        if (!m_Done) {
            return;
        }
    }
    m_Bot.ClearPath();
}
