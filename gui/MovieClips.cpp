#include "gui/MovieClips.h"

#include <cmath>

namespace {

constexpr float kTwipsPerPixel = 20.0f;
// The row of a colour transform that holds alpha, and the column of its multipliers.
constexpr int kAlpha = 3;
constexpr int kMultiplier = 0;

}  // namespace

bool GotoClipLabel(swfplayer::character* clip, const char* label, bool play) {
    if (clip == nullptr) {
        return false;
    }
    // The clip's own frame scripts run during the jump and may remove it from its parent.
    const swfplayer::smart_ptr<swfplayer::character> hold(clip);
    if (!clip->goto_labeled_frame(label)) {
        return false;
    }
    clip->set_play_state(play ? swfplayer::character::PLAY : swfplayer::character::STOP);
    clip->advance(0.0f);
    return true;
}

void GotoClipFrame(swfplayer::character* clip, int frame) {
    if (clip == nullptr) {
        return;
    }
    const swfplayer::smart_ptr<swfplayer::character> hold(clip);
    clip->goto_frame(frame);
    clip->advance(0.0f);
}

sf::Vector2f ClipPosition(const swfplayer::character* clip) {
    if (clip == nullptr) {
        return {};
    }
    return {clip->get_matrix().m[0][2] / kTwipsPerPixel, clip->get_matrix().m[1][2] / kTwipsPerPixel};
}

float ClipScaleX(const swfplayer::character* clip) {
    if (clip == nullptr) {
        return 0.0f;
    }
    const auto& m = clip->get_matrix().m;
    return std::hypot(m[0][0], m[1][0]);
}

sf::Vector2f ClipSize(swfplayer::character* clip) {
    if (clip == nullptr) {
        return {};
    }
    return {clip->get_width() / kTwipsPerPixel, clip->get_height() / kTwipsPerPixel};
}

float ClipAlpha(const swfplayer::character* clip) {
    if (clip == nullptr) {
        return 0.0f;
    }
    const float alpha = clip->get_cxform().m[kAlpha][kMultiplier];
    return std::isfinite(alpha) ? alpha : 0.0f;
}

void SetClipAlpha(swfplayer::character* clip, float alpha) {
    if (clip == nullptr) {
        return;
    }
    swfplayer::cxform cx = clip->get_cxform();
    cx.m[kAlpha][kMultiplier] = std::isfinite(alpha) ? alpha : 0.0f;
    clip->set_cxform(cx);
}

void SetClipEnabled(swfplayer::character* clip, bool enabled) {
    if (clip == nullptr) {
        return;
    }
    clip->set_member("enabled", swfplayer::as_value(enabled));
}
