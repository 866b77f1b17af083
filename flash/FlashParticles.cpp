#include "flash/FlashParticles.h"

void FlashParticles::Spawn(const std::string& file, const sf::Vector2f& pos, const uint8_t colour[4], float vx,
                           float vy, float damping) {
    FlashMovie movie(file.c_str());
    movie.setOrigin(movie.GetWidth() / 2.0f, movie.GetHeight() / 2.0f);
    movie.SetColor(colour[0] / 255.0f, colour[1] / 255.0f, colour[2] / 255.0f, colour[3] / 255.0f);
    m_Particles.push_back({pos.x, pos.y, vx, vy, damping, movie});
    // Shown where it was spawned until its first update moves it.
    Place(m_Particles.back());
}

void FlashParticles::Place(Particle& p) const {
    p.movie.setPosition((p.x + m_Transform[1]) * m_Transform[3], (p.y + m_Transform[2]) * m_Transform[3]);
}

void FlashParticles::Update(float dt) {
    for (auto it = m_Particles.begin(); it != m_Particles.end();) {
        Particle& p = *it;
        p.movie.Advance(dt);
        swfplayer::root* root = p.movie.GetRoot();
        if (root == nullptr || root->get_play_state() != swfplayer::character::PLAY) {
            it = m_Particles.erase(it);
            continue;
        }
        p.x += p.vx * dt;
        p.y += p.vy * dt;
        p.vx -= p.vx * p.damping * dt;
        p.vy -= p.vy * p.damping * dt;
        Place(p);
        ++it;
    }
}

std::vector<sf::Vector2f> FlashParticles::GetPositions() const {
    std::vector<sf::Vector2f> positions;
    for (const Particle& p : m_Particles) {
        positions.push_back(p.movie.getPosition());
    }
    return positions;
}

void FlashParticles::draw(sf::RenderTarget& target, sf::RenderStates states) const {
    for (const Particle& p : m_Particles) {
        target.draw(p.movie, states);
    }
}
