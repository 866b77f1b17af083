#pragma once

#include "flash/FlashMovie.h"

#include <SFML/Graphics/Drawable.hpp>
#include <SFML/System/Vector2.hpp>

#include <cstdint>
#include <list>
#include <string>
#include <vector>

// Short-lived moving copies of movies: each particle plays its own movie, drifts with a damped
// velocity in world units, and is removed once its movie stops playing.
class FlashParticles : public sf::Drawable {
public:
    // transform (kept, owned by the caller): element 1 the x offset, 2 the y offset, 3 the
    // scale from world units to the screen.
    explicit FlashParticles(const float* transform) : m_Transform(transform) {}

    // A new particle of file at pos (shown there at once), coloured by the bytes red, green, blue, alpha, moving at
    // (vx, vy) world units a second, losing damping of its speed a second.
    void Spawn(const std::string& file, const sf::Vector2f& pos, const uint8_t colour[4], float vx, float vy,
               float damping);
    // Advances every movie; moves those still playing and removes the others.
    void Update(float dt);

    int GetCount() const { return static_cast<int>(m_Particles.size()); }
    // Where each particle's movie shows on the screen, oldest first.
    std::vector<sf::Vector2f> GetPositions() const;

private:
    struct Particle {
        float x;
        float y;
        float vx;
        float vy;
        float damping;
        FlashMovie movie;
    };

    // Moves the particle's movie to where its position shows on the screen.
    void Place(Particle& p) const;
    void draw(sf::RenderTarget& target, sf::RenderStates states) const override;

    const float* m_Transform;
    std::list<Particle> m_Particles;
};
