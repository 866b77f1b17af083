#include "game/BotSettings.h"

#include "app/Log.h"
#include "serializeme/StorageBuffer.h"

#include <cmath>

namespace {

constexpr const char* kConditionNames[BotSettings::kConditions] = {"normal", "noballs", "goodshot", "scared"};

// A timing or distance read from a file: kept as written when it is finite, negative ones too (a
// negative shooting distance leaves "goodshot" and "scared" without a score, a negative timeout
// acts at every step); else the default, since the bot's sums and comparisons need a number.
void KeepUsableTiming(float& value, float fallback, const char* key) {
    if (!std::isfinite(value)) {
        log_error("BotSettings::Serialize: %s %f is not usable, %f taken", key, value, fallback);
        value = fallback;
    }
}

}  // namespace

const char* BotSettings::ConditionName(uint32_t condition) {
    return condition < static_cast<uint32_t>(kConditions) ? kConditionNames[condition] : "";
}

bool BotSettings::Serialize(sme::StorageBuffer& buffer) {
    if (buffer.IsWriting()) {
        buffer.BeginWriteArray("m_GoalWeights", static_cast<uint32_t>(m_GoalWeights.size()));
        for (float weight : m_GoalWeights) {
            buffer.WriteFloat(nullptr, weight);
        }
        buffer.EndWriteArray();
        buffer.WriteString("m_Personality", m_Personality);
        buffer.WriteUInt("m_BallChoiceMode", m_BallChoiceMode);
        buffer.WriteUInt("m_EnemyShootMode", m_EnemyShootMode);
        buffer.WriteFloat("m_ConditionTimeout", m_ConditionTimeout);
        buffer.WriteFloat("m_GoalTimeout", m_GoalTimeout);
        buffer.WriteFloat("m_PathStuckTimeout", m_PathStuckTimeout);
        buffer.WriteFloat("m_ShootingCooldown", m_ShootingCooldown);
        buffer.WriteFloat("m_ShootingDistance", m_ShootingDistance);
        return true;
    }
    // The buffer bounds the count by what it holds; a weight that cannot be read counts 0 and
    // keeps the later ones in their places.
    const uint32_t count = buffer.BeginReadArray("m_GoalWeights");
    m_GoalWeights.clear();
    for (uint32_t i = 0; i < count; ++i) {
        float weight = 0.0f;
        buffer.ReadFloat(nullptr, weight);
        m_GoalWeights.push_back(weight);
    }
    buffer.EndReadArray();
    buffer.ReadString("m_Personality", m_Personality);
    buffer.ReadUInt("m_BallChoiceMode", m_BallChoiceMode);
    buffer.ReadUInt("m_EnemyShootMode", m_EnemyShootMode);
    buffer.ReadFloat("m_ConditionTimeout", m_ConditionTimeout);
    buffer.ReadFloat("m_GoalTimeout", m_GoalTimeout);
    buffer.ReadFloat("m_PathStuckTimeout", m_PathStuckTimeout);
    buffer.ReadFloat("m_ShootingCooldown", m_ShootingCooldown);
    buffer.ReadFloat("m_ShootingDistance", m_ShootingDistance);
    KeepUsableTiming(m_ConditionTimeout, kDefaultConditionTimeout, "m_ConditionTimeout");
    KeepUsableTiming(m_GoalTimeout, kDefaultGoalTimeout, "m_GoalTimeout");
    KeepUsableTiming(m_PathStuckTimeout, kDefaultPathStuckTimeout, "m_PathStuckTimeout");
    KeepUsableTiming(m_ShootingCooldown, kDefaultShootingCooldown, "m_ShootingCooldown");
    KeepUsableTiming(m_ShootingDistance, kDefaultShootingDistance, "m_ShootingDistance");
    if (m_GoalWeights.size() != static_cast<size_t>(kWeights)) {
        log_error("BotSettings::Serialize: %zu goal weights instead of %d", m_GoalWeights.size(), kWeights);
    }
    Normalise();
    return true;
}

float BotSettings::UsableWeight(int index) const {
    if (static_cast<size_t>(index) >= m_GoalWeights.size()) {
        return 0.0f;
    }
    const float weight = m_GoalWeights[index];
    return std::isfinite(weight) ? weight : 0.0f;
}

void BotSettings::Normalise() {
    for (int row = 0; row < kConditions; ++row) {
        float sum = 0.0f;
        for (int goal = 0; goal < kGoals; ++goal) {
            sum += UsableWeight(row * kGoals + goal);
        }
        if (sum == 0.0f) {
            sum = 1.0f;
        }
        float running = 0.0f;
        for (int goal = 0; goal < kGoals; ++goal) {
            running += UsableWeight(row * kGoals + goal) / sum;
            m_Cumulative[row * kGoals + goal] = running;
        }
    }
}

uint32_t BotSettings::PickGoal(uint32_t condition, float r) const {
    if (condition >= static_cast<uint32_t>(kConditions)) {
        return kGoto;
    }
    for (uint32_t goal = 0; goal < static_cast<uint32_t>(kGoals); ++goal) {
        if (Cumulative(condition, goal) > r) {
            return goal;
        }
    }
    return kGoto;
}
