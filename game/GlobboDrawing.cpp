// How a creature shows: its skin is a smooth outline traced round its ring, drawn into the canvas
// of an empty movie, with its movies (attachments, mouth, eyes) on and around it.
#include "game/Globbo.h"
#include "game/b2ConstantVolumeJoint.h"
#include "swfplayer/main/display/sprite_instance.h"
#include "swfplayer/main/shapes/canvas.h"

#include <box2d/b2_body.h>

#include <cmath>
#include <numbers>

namespace {

constexpr float kTwipsPerPixel = 20.0f;

swfplayer::rgba ToRgba(const sf::Color& color) {
    return swfplayer::rgba(color.r, color.g, color.b, color.a);
}

sf::Vector2f Midpoint(const sf::Vector2f& a, const sf::Vector2f& b) {
    return 0.5f * (a + b);
}

}  // namespace

// The contour walked so that the figure closes where it started: the contour's own order when it
// runs with negative signed area, its reverse otherwise. The start point is the last one.
std::vector<Globbo::OutlinePoint> Globbo::WalkedOutline(const ScreenMapping& mapping) const {
    const OutlineTracer& outline = m_Joint->GetOutline();
    const int count = outline.GetContourCount();
    const bool forward = outline.GetSignedArea() < 0.0f;
    std::vector<OutlinePoint> points;
    points.reserve(static_cast<size_t>(count));
    for (int k = 0; k < count; ++k) {
        const int index = outline.GetContour()[forward ? k : count - 1 - k];
        const b2Vec2 vertex = outline.GetVertices()[index];
        b2Vec2 outwards = vertex - m_Center;
        const float length = outwards.Length();
        // A vertex on the centre has no outward side and stays where it is.
        outwards = length < b2_epsilon ? b2Vec2_zero : (1.0f / length) * outwards;
        points.push_back({mapping.ToScreen(vertex + m_RingRadius * outwards), outwards});
    }
    return points;
}

void Globbo::DrawOutline(sf::RenderTarget& target, const sf::RenderStates& states, const ScreenMapping& mapping) {
    if (!m_Visible || m_Joint == nullptr) {
        return;
    }
    std::vector<OutlinePoint> points = WalkedOutline(mapping);
    if (points.size() < 3) {
        points.clear();
    }
    DrawSkin(points);
    const sf::Vector2f centre = mapping.ToScreen(m_Center);
    if (m_SkinAttachment != nullptr) {
        DrawSkinAttachments(target, states, points);
    }
    if (m_SkinTopAttachment != nullptr) {
        FollowTopOfOutline(points, centre);
    }
    target.draw(m_SkinMovie, states);
    if (m_MouthBody != nullptr) {
        m_MouthMovie.setPosition(mapping.ToScreen(m_MouthBody->GetPosition()));
    }
}

// The skin: a closed chain of quadratic curves through the midpoints between the points, each
// bent towards its point, filled with the body colour and edged in black. Coordinates are twips.
void Globbo::DrawSkin(const std::vector<OutlinePoint>& points) {
    swfplayer::root* root = m_SkinMovie.GetRoot();
    swfplayer::sprite_instance* sprite = root != nullptr ? root->get_root_sprite() : nullptr;
    if (sprite == nullptr) {
        return;
    }
    swfplayer::canvas* canvas = sprite->get_canvas();
    canvas->clear();
    canvas->begin_fill(ToRgba(m_BodyColor));
    canvas->set_line_style(kOutlineWidth, swfplayer::rgba(0, 0, 0, 255));
    if (points.empty()) {
        return;
    }
    const size_t count = points.size();
    const sf::Vector2f start = kTwipsPerPixel * Midpoint(points.back().screen, points.front().screen);
    canvas->move_to(start.x, start.y);
    for (size_t k = 0; k < count; ++k) {
        const sf::Vector2f control = kTwipsPerPixel * points[k].screen;
        const sf::Vector2f anchor = kTwipsPerPixel * Midpoint(points[k].screen, points[(k + 1) % count].screen);
        canvas->curve_to(control.x, control.y, anchor.x, anchor.y);
    }
    canvas->close_path();
}

// SFML turns clockwise on the screen (x towards y), so an outward direction at angle a from the
// x axis takes a turn of a - 90 degrees from the downward axis.
float Globbo::SkinAttachmentRotation(const b2Vec2& outwards) {
    return std::atan2(outwards.y, outwards.x) / std::numbers::pi_v<float> * 180.0f - 90.0f;
}

void Globbo::DrawSkinAttachments(sf::RenderTarget& target, const sf::RenderStates& states,
                                 const std::vector<OutlinePoint>& points) {
    for (const OutlinePoint& point : points) {
        m_SkinAttachment->setPosition(point.screen);
        m_SkinAttachment->setRotation(SkinAttachmentRotation(point.outwards));
        target.draw(*m_SkinAttachment, states);
    }
}

// The skin top rides where the outline crosses the vertical through the centre above it: of the
// edges that cross it leaving a point above the centre, the crossing nearest the centre. The
// follower runs in the creature's own frame, on offsets from its centre: the decoration goes
// wherever the creature swims, however fast, and lags only behind the changes of its shape.
void Globbo::FollowTopOfOutline(const std::vector<OutlinePoint>& points, const sf::Vector2f& centre) {
    bool found = false;
    sf::Vector2f top;
    for (size_t k = 0; k < points.size(); ++k) {
        const sf::Vector2f& a = points[k].screen;
        const sf::Vector2f& b = points[(k + 1) % points.size()].screen;
        const bool crosses = (a.x <= centre.x && centre.x < b.x) || (b.x <= centre.x && centre.x < a.x);
        if (!crosses || a.y >= centre.y) {
            continue;
        }
        const float t = (centre.x - a.x) / (b.x - a.x);
        const sf::Vector2f crossing = a + t * (b - a);
        if (!found || crossing.y > top.y) {
            top = crossing;
            found = true;
        }
    }
    if (found) {
        m_SkinTop.SetTarget(top - centre);
    }
    m_SkinTopAttachment->setPosition(centre + m_SkinTop.GetPosition());
}

void Globbo::DrawParts(sf::RenderTarget& target, const sf::RenderStates& states, const ScreenMapping& mapping) {
    if (!m_Visible) {
        return;
    }
    target.draw(m_SkinMovie, states);
    target.draw(m_MouthMovie, states);
    m_ScreenCenter = mapping.Map(m_Center);
    const sf::Vector2f centre(m_ScreenCenter.x, m_ScreenCenter.y);
    m_EyesMovie.setPosition(centre);
    target.draw(m_EyesMovie, states);
    if (m_EyesAttachment != nullptr) {
        m_EyesAttachment->setPosition(centre);
        target.draw(*m_EyesAttachment, states);
    }
    if (m_SkinTopAttachment != nullptr) {
        target.draw(*m_SkinTopAttachment, states);
    }
}

void Globbo::Render(sf::RenderTarget& target, const sf::RenderStates& states, const ScreenMapping& mapping,
                    const sf::Vector2f& point) {
    if (!m_Visible || !std::isfinite(mapping.scale) || mapping.scale == 0.0f) {
        return;
    }
    const b2Vec2 kept = m_ScreenCenter;
    ScreenMapping shifted = mapping;
    shifted.offset += (1.0f / mapping.scale) * (b2Vec2(point.x, point.y) - m_ScreenCenter);
    DrawOutline(target, states, shifted);
    DrawParts(target, states, shifted);
    m_ScreenCenter = kept;
}
