#include "game/FlashClip.h"

FlashClip::FlashClip(const std::string& file) {
    m_Movie.Load(file.c_str());
}

void FlashClip::DrawFront(sf::RenderTarget& target, const sf::RenderStates& states, const PhysicsWorld&) {
    target.draw(m_Movie, states);
}

bool FlashClip::Update(Application* application, const PhysicsWorld&, float dt) {
    m_Movie.Update(application, dt);
    const swfplayer::root* root = m_Movie.GetRoot();
    return root != nullptr && root->get_play_state() != swfplayer::character::STOP;
}
