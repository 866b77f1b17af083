#pragma once

#include <SFML/System/Vector2.hpp>

#include <string>

class FlashMovie;

// One eye of a creature: a clip of the eyes movie ("eye_l" or "eye_r") with its pupil (the
// child "pupil"). The eye drifts slowly about its place in the movie, to a new random spot every
// kWanderInterval seconds, and the pupil turns towards where the creature looks. Positions are
// the movie's pixels.
class EyeRecord {
public:
    // The farthest the eye drifts from its place along each axis, in pixels.
    static constexpr float kWanderAmplitude = 3.0f;
    static constexpr float kWanderInterval = 4.0f;
    // The share of the way to its target that the eye's drift and the look cover per second.
    static constexpr float kFollowRate = 1.0f;

    // Takes the clip name of the movie (which must outlive the record) with its place and its
    // pupil's place, and sets the rotation of its child "eyeball" to 0, so that an eyeball drawn
    // turned in the movie stands upright. A movie without the clip leaves an eye that moves
    // nothing.
    void Setup(FlashMovie* movie, const std::string& name, float pupilRange);

    // Where the creature looks: a direction of length up to 1, (0, 0) straight ahead.
    void SetLookTarget(const sf::Vector2f& target) { m_LookTarget = target; }
    // Moves the drift and the look dt seconds on towards their targets and places the clip and
    // its pupil.
    void Update(float dt);
    // The clip goes to the label and plays, when it has that label.
    void PlayLabel(const char* label);

    const std::string& GetName() const { return m_Name; }
    const sf::Vector2f& GetBase() const { return m_Base; }
    const sf::Vector2f& GetPupilBase() const { return m_PupilBase; }
    const sf::Vector2f& GetWander() const { return m_Wander; }
    const sf::Vector2f& GetWanderTarget() const { return m_WanderTarget; }
    const sf::Vector2f& GetLook() const { return m_Look; }
    float GetPupilRange() const { return m_PupilRange; }

private:
    FlashMovie* m_Movie = nullptr;
    std::string m_Name;
    sf::Vector2f m_Base;
    sf::Vector2f m_PupilBase;
    float m_PupilRange = 0.0f;
    sf::Vector2f m_Wander;
    sf::Vector2f m_WanderTarget;
    sf::Vector2f m_Look;
    sf::Vector2f m_LookTarget;
    float m_WanderTimer = 0.0f;
};
