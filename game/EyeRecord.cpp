#include "game/EyeRecord.h"

#include "app/GameRandom.h"
#include "flash/FlashMovie.h"
#include "swfplayer/main/display/sprite_instance.h"

namespace {

constexpr float kTwipsPerPixel = 20.0f;

sf::Vector2f Translation(const swfplayer::character* ch) {
    if (ch == nullptr) {
        return {0.0f, 0.0f};
    }
    const swfplayer::matrix& m = ch->get_matrix();
    return {m.m[0][2] / kTwipsPerPixel, m.m[1][2] / kTwipsPerPixel};
}

}  // namespace

void EyeRecord::Setup(FlashMovie* movie, const std::string& name, float pupilRange) {
    m_Movie = movie;
    m_Name = name;
    m_PupilRange = pupilRange;
    m_Base = Translation(movie->GetCharacter(name));
    m_PupilBase = Translation(movie->GetChildCharacter(name, "pupil"));
    if (swfplayer::character* eyeball = movie->GetChildCharacter(name, "eyeball")) {
        swfplayer::matrix m = eyeball->get_matrix();
        m.set_scale_rotation(m.get_x_scale(), m.get_y_scale(), 0.0f);
        eyeball->set_matrix(m);
    }
}

void EyeRecord::Update(float dt) {
    m_Look += (m_LookTarget - m_Look) * kFollowRate * dt;
    m_Wander += (m_WanderTarget - m_Wander) * kFollowRate * dt;
    m_WanderTimer -= dt;
    if (m_WanderTimer <= 0.0f) {
        GameRandom& random = GameRandom::GetInstance();
        const float x = random.Random(-kWanderAmplitude, kWanderAmplitude);
        const float y = random.Random(-kWanderAmplitude, kWanderAmplitude);
        m_WanderTarget = {x, y};
        m_WanderTimer = kWanderInterval;
    }
    if (m_Movie != nullptr) {
        m_Movie->SetCharacterPosition(m_Name, m_Base + m_Wander);
        m_Movie->SetChildCharacterPosition(m_Name, "pupil", m_PupilBase + m_PupilRange * m_Look);
    }
}

void EyeRecord::PlayLabel(const char* label) {
    if (m_Movie == nullptr) {
        return;
    }
    auto* eye = swfplayer::cast_to_sprite_instance(m_Movie->GetCharacter(m_Name));
    if (eye != nullptr && eye->goto_labeled_frame(label)) {
        eye->set_play_state(swfplayer::character::PLAY);
        m_Movie->Advance(0.0f);
    }
}
