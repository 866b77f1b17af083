#include "game/Bot.h"

#include "app/Application.h"
#include "app/GameRandom.h"
#include "app/Log.h"
#include "app/ResourceXml.h"
#include "game/Globbo.h"
#include "game/GoalFetch.h"
#include "game/GoalGoto.h"
#include "game/GoalShoot.h"
#include "game/Level.h"
#include "serializeme/XmlStorageBuffer.h"

#include <SFML/Graphics/CircleShape.hpp>
#include <SFML/Graphics/VertexArray.hpp>
#include <box2d/b2_body.h>

namespace {

const sf::Color kGoalLabelColor(50, 50, 250, 255);
const sf::Color kConditionLabelColor(200, 50, 50, 255);
const sf::Color kPathColor(200, 0, 0, 255);

// By ball-choice mode.
constexpr const char* kFetchLabels[] = {"GoalFetch, random", "GoalFetch, closest", "GoalFetch, closestLOS"};
constexpr uint32_t kFetchModes = sizeof(kFetchLabels) / sizeof(kFetchLabels[0]);

}  // namespace

Bot::Bot(Globbo& own, Globbo& opponent, Level& level) : m_Own(own), m_Opponent(opponent), m_Level(level) {
    const sf::Font& font = Application::GetInstance().font;
    for (sf::Text* label : {&m_ConditionLabel, &m_GoalLabel}) {
        label->setFont(font);
        label->setCharacterSize(kLabelSize);
    }
    m_GoalLabel.setFillColor(kGoalLabelColor);
    m_ConditionLabel.setFillColor(kConditionLabelColor);
}

Bot::~Bot() {
    m_Goal.reset();
}

bool Bot::LoadSettings(const std::string& file) {
    m_Settings = BotSettings();
    const ResourceXml resource(file);
    sme::XmlStorageBuffer reader(false);
    reader.SetRoot(resource.GetRoot());
    const bool read = resource.GetRoot() != nullptr && reader.ReadObject("m_Settings", m_Settings);
    if (!read) {
        log_error("Bot::LoadSettings: no bot settings in %s", file.c_str());
    }
    return read;
}

b2Vec2 Bot::MouthOf(const Globbo& creature) {
    const b2Body* mouth = creature.GetMouthBody();
    return mouth != nullptr ? mouth->GetPosition() : creature.m_Center;
}

b2Vec2 Bot::Normalised(const b2Vec2& v) {
    const float length = v.Length();
    return length < b2_epsilon ? v : (1.0f / length) * v;
}

bool Bot::HasSight(const b2Vec2& from, const b2Vec2& to) {
    return m_Raycast.IsClear(m_Level.GetPhysics().GetWorld(), from, to);
}

int Bot::OwnBalls() const {
    return m_Own.CountBallsInside(&m_Own);
}

float Bot::Score(uint32_t condition) {
    const float range = m_Settings.m_ShootingDistance;
    const float distance = std::max((m_Opponent.m_Center - m_Own.m_Center).Length(), kMinScoreDistance);
    switch (condition) {
    case BotSettings::kNormal: return 1.0f;
    case BotSettings::kNoBalls: return OwnBalls() == 0 ? 2.0f : 0.0f;
    case BotSettings::kGoodShot:
        if (OwnBalls() >= 1 && distance < range && HasSight(m_Own.m_Center, m_Opponent.m_Center)) {
            return range / distance;
        }
        return 0.0f;
    case BotSettings::kScared: {
        const int held = m_Opponent.CountBallsInside(&m_Opponent);
        if (OwnBalls() == 0 && held >= 1 && distance < range && HasSight(m_Own.m_Center, m_Opponent.m_Center)) {
            return static_cast<float>(held) * 0.5f * range / distance;
        }
        return 0.0f;
    }
    default: return 0.0f;
    }
}

void Bot::Think(float dt) {
    m_ConditionTimer += dt;
    if (m_ConditionTimer > m_Settings.m_ConditionTimeout) {
        EvaluateCondition();
    }
    m_GoalTimer += dt;
    m_ShootingTimer += dt;
    if (m_GoalTimer > m_Settings.m_GoalTimeout || m_Goal == nullptr || m_Goal->IsDone() || !m_Goal->IsValid()) {
        ChooseGoal();
        m_GoalTimer = 0.0f;
    }
    if (m_Goal != nullptr) {
        m_Goal->Update(dt);
    }
    FollowPath();
    PlaceLabels();
}

void Bot::EvaluateCondition() {
    uint32_t best = BotSettings::kNormal;
    float bestScore = 0.0f;
    for (uint32_t condition = 0; condition < static_cast<uint32_t>(BotSettings::kConditions); ++condition) {
        const float score = Score(condition);
        if (score > bestScore) {
            best = condition;
            bestScore = score;
        }
    }
    if (best != m_Condition) {
        m_Goal.reset();
    }
    m_Condition = best;
    m_ConditionTimer = 0.0f;
    m_ConditionLabel.setString(BotSettings::ConditionName(m_Condition));
}

const char* Bot::GoalLabel(uint32_t goal) const {
    switch (goal) {
    case BotSettings::kGoto: return "GoalGoto";
    case BotSettings::kFetch:
        return m_Settings.m_BallChoiceMode < kFetchModes ? kFetchLabels[m_Settings.m_BallChoiceMode] : kNoGoalLabel;
    case BotSettings::kChase: return "GoalChase";
    case BotSettings::kShoot: return "GoalShoot";
    default: return kNoGoalLabel;
    }
}

void Bot::ChooseGoal() {
    m_Goal.reset();
    m_GoalLabel.setString(kNoGoalLabel);
    const float r = GameRandom::GetInstance().Random(0.0f, 1.0f);
    const uint32_t goal = m_Settings.PickGoal(m_Condition, r);
    // Fetching by closeness names its way of choosing even when no ball fits.
    if (goal == BotSettings::kFetch && m_Settings.m_BallChoiceMode != BotSettings::kLastBall) {
        m_GoalLabel.setString(GoalLabel(goal));
    }
    m_Goal = MakeGoal(goal);
    if (m_Goal != nullptr) {
        ClearPath();
        m_GoalLabel.setString(GoalLabel(goal));
    }
}

std::unique_ptr<BotGoal> Bot::MakeGoal(uint32_t goal) {
    switch (goal) {
    case BotSettings::kGoto: {
        const float x = GameRandom::GetInstance().Random(-kRoamHalfWidth, kRoamHalfWidth);
        const float y = GameRandom::GetInstance().Random(-kRoamHalfHeight, kRoamHalfHeight);
        return std::make_unique<GoalGoto>(*this, b2Vec2(x, y));
    }
    case BotSettings::kFetch:
        if (b2Body* ball = GoalFetch::ChooseBall(*this, m_Settings.m_BallChoiceMode)) {
            return std::make_unique<GoalFetch>(*this, ball);
        }
        return nullptr;
    case BotSettings::kChase: return std::make_unique<GoalChase>(*this, m_Opponent);
    case BotSettings::kShoot:
        if (OwnBalls() >= 1) {
            return std::make_unique<GoalShoot>(*this, m_Opponent);
        }
        return nullptr;
    default: return nullptr;
    }
}

bool Bot::PlanPath(const b2Vec2& target) {
    m_NextWaypoint = 0;
    PathFinder& paths = m_Level.GetPathFinder();
    const b2World* world = m_Level.GetPhysics().GetWorld();
    if (world != nullptr) {
        paths.UpdateWalls(*world);
    }
    const bool found = world != nullptr && paths.FindPath(m_Own.m_Center, target, m_Waypoints);
    if (!found) {
        m_Waypoints.clear();
    }
    m_PathState = found ? kFollowing : kNoPath;
    return found;
}

void Bot::ClearPath() {
    m_Waypoints.clear();
    m_NextWaypoint = 0;
}

void Bot::FollowPath() {
    if (m_NextWaypoint >= m_Waypoints.size()) {
        return;
    }
    const b2Vec2 waypoint = m_Waypoints[m_NextWaypoint];
    if (m_Own.IsPointInside(waypoint.x, waypoint.y)) {
        ++m_NextWaypoint;
        m_GoalTimer = 0.0f;
        if (m_NextWaypoint == m_Waypoints.size()) {
            m_PathState = kReachedEnd;
        }
        return;
    }
    m_Own.MoveMouth(Normalised(waypoint - m_Own.m_Center), 1.0f);
    if (m_GoalTimer > m_Settings.m_PathStuckTimeout) {
        m_PathState = kStuck;
        ClearPath();
    }
}

void Bot::PlaceLabels() {
    const sf::Vector2f centre = m_Level.GetPhysics().ToPixels(m_Own.m_Center);
    m_GoalLabel.setPosition(centre);
    m_ConditionLabel.setPosition(centre.x, centre.y - kConditionLabelRaise);
}

void Bot::DrawDebug(sf::RenderTarget& target, const sf::RenderStates& states) const {
    target.draw(m_ConditionLabel, states);
    target.draw(m_GoalLabel, states);
    if (m_NextWaypoint >= m_Waypoints.size()) {
        return;
    }
    const PhysicsWorld& world = m_Level.GetPhysics();
    sf::VertexArray lines(sf::LineStrip);
    lines.append(sf::Vertex(world.ToPixels(m_Own.m_Center), kPathColor));
    for (size_t i = m_NextWaypoint; i < m_Waypoints.size(); ++i) {
        lines.append(sf::Vertex(world.ToPixels(m_Waypoints[i]), kPathColor));
    }
    target.draw(lines, states);
    sf::CircleShape mark(kWaypointMarkRadius);
    mark.setOrigin(kWaypointMarkRadius, kWaypointMarkRadius);
    mark.setPosition(world.ToPixels(m_Waypoints.back()));
    mark.setFillColor(kPathColor);
    target.draw(mark, states);
}
