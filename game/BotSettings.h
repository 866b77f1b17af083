#pragma once

#include "serializeme/Serializable.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

// A computer opponent's tuning, stored as the "botsettings" object "m_Settings" of its file in
// "data/ais" (next to its creature's "globbo" object). The bot classifies the situation into one
// of four conditions and draws one of four goals for it from a row of weights; the rest are its
// timings and how it picks the ball it fetches.
class BotSettings : public sme::Serializable {
public:
    // The situations, in the order of the weight table's rows.
    enum Condition : uint32_t { kNormal = 0, kNoBalls = 1, kGoodShot = 2, kScared = 3 };
    // The goals, in the order of the weight table's columns.
    enum Goal : uint32_t { kGoto = 0, kFetch = 1, kChase = 2, kShoot = 3 };
    // How a fetch picks its ball: the last free one, the closest one a path reaches, the closest
    // one in sight.
    enum BallChoice : uint32_t { kLastBall = 0, kClosestReachable = 1, kClosestInSight = 2 };

    static constexpr int kConditions = 4;
    static constexpr int kGoals = 4;
    static constexpr int kWeights = kConditions * kGoals;

    static constexpr float kDefaultConditionTimeout = 1.0f;
    static constexpr float kDefaultGoalTimeout = 10.0f;
    static constexpr float kDefaultPathStuckTimeout = 5.0f;
    static constexpr float kDefaultShootingCooldown = 0.0f;
    static constexpr float kDefaultShootingDistance = 100.0f;

    // The conditions' names ("normal", "noballs", "goodshot", "scared").
    static const char* ConditionName(uint32_t condition);

    // Reading replaces timings and the shooting distance by their defaults when they are not
    // finite (negative ones are kept), then normalises the weights. The weights are stored element
    // by element, as a list of floats.
    bool Serialize(sme::StorageBuffer& buffer) override;
    const char* TypeName() const override { return "botsettings"; }

    // Builds the cumulative table from the weights: each row's running sums divided by the row's
    // sum (1.0 when the sum is 0, so that a row of zeros stays all zeros). Weights count as
    // written, negative and huge ones too (a row whose sum overflows to infinity is all zeros);
    // missing weights and weights that are not finite count 0, weights past the sixteenth are
    // ignored.
    void Normalise();
    // The goal drawn for the condition by r in [0, 1): the first whose cumulative weight exceeds
    // r, kGoto when none does.
    uint32_t PickGoal(uint32_t condition, float r) const;
    // The cumulative weight of the goal in the condition's row.
    float Cumulative(uint32_t condition, uint32_t goal) const { return m_Cumulative[condition * kGoals + goal]; }

    // Four rows of four: row c holds the goals' weights in condition c.
    std::vector<float> m_GoalWeights;
    // A description of the bot's play for the selection screens; the bot itself never reads it.
    std::string m_Personality;
    uint32_t m_BallChoiceMode = kLastBall;
    // Stored and read; the bot does not use it.
    uint32_t m_EnemyShootMode = 0;
    // Seconds between two evaluations of the condition.
    float m_ConditionTimeout = kDefaultConditionTimeout;
    // The longest life of a goal, in seconds.
    float m_GoalTimeout = kDefaultGoalTimeout;
    // Seconds allowed to reach the next waypoint of a path.
    float m_PathStuckTimeout = kDefaultPathStuckTimeout;
    // The least time between two shots, in seconds.
    float m_ShootingCooldown = kDefaultShootingCooldown;
    // The range of the conditions' scores, in world units; a negative range leaves "goodshot" and
    // "scared" without a score.
    float m_ShootingDistance = kDefaultShootingDistance;

private:
    // The weight as the normalisation counts it.
    float UsableWeight(int index) const;

    std::array<float, kWeights> m_Cumulative{};
};
