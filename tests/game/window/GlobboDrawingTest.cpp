#include "game/SkinTopFollower.h"
#include "swfplayer/main/display/sprite_instance.h"
#include "swfplayer/main/shapes/canvas.h"
#include "tests/game/CreatureTestKit.h"

#include <SFML/Graphics/RenderTexture.hpp>
#include <SFML/Graphics/Transform.hpp>

#include <algorithm>
#include <cmath>

namespace {

using namespace creature_testing;

class GlobboDrawing : public CreatureFolder {
protected:
    void SetUp() override {
        CreatureFolder::SetUp();
        ASSERT_TRUE(m_Target.create(800, 600));
    }

    static swfplayer::canvas& Canvas(Globbo& creature) {
        return *creature.GetSkinMovie().GetRoot()->get_root_sprite()->get_canvas();
    }

    // The one path of the canvas that holds edges; null when none does.
    static const swfplayer::path* Outline(Globbo& creature) {
        const swfplayer::path* found = nullptr;
        for (const swfplayer::path& path : Canvas(creature).m_paths) {
            if (!path.is_empty()) {
                EXPECT_EQ(found, nullptr) << "a second drawn path";
                found = &path;
            }
        }
        return found;
    }

    // Where a point of the ring's traced outline is drawn: pushed out from the centre by the ring's
    // radius, on the screen, in twips.
    sf::Vector2f Drawn(const Globbo& creature, const b2Vec2& vertex) const {
        b2Vec2 outwards = vertex - creature.m_Center;
        outwards.Normalize();
        return 20.0f * ScreenMapping::Of(m_World).ToScreen(vertex + 0.5f * outwards);
    }

    void Draw(Globbo& creature) {
        const ScreenMapping mapping = ScreenMapping::Of(m_World);
        creature.DrawOutline(m_Target, sf::RenderStates::Default, mapping);
        creature.DrawParts(m_Target, sf::RenderStates::Default, mapping);
    }

    static void ExpectNear(const sf::Vector2f& a, const sf::Vector2f& b, float tolerance) {
        EXPECT_NEAR(a.x, b.x, tolerance);
        EXPECT_NEAR(a.y, b.y, tolerance);
    }

    sf::RenderTexture m_Target;
};

// The fresh ring traces to a contour that runs with negative area, so the skin is drawn in the
// contour's own order: a move to the midpoint of the last and first points, then one quadratic
// curve per point with that point (pushed out by the ring's radius) as control and the midpoint
// to the next as anchor, ending where it began. It is filled with the body colour and edged in
// black, 60 twips wide.
TEST_F(GlobboDrawing, the_fresh_ring_draws_one_curve_per_contour_point_through_the_midpoints) {
    const auto creature = Make("data/players/bubbles.xml", {-7.0f, 4.0f});
    Draw(*creature);
    const OutlineTracer& outline = creature->GetJoint()->GetOutline();
    ASSERT_LT(outline.GetSignedArea(), 0.0f);
    const int count = outline.GetContourCount();
    ASSERT_EQ(count, 42);
    const swfplayer::path* path = Outline(*creature);
    ASSERT_NE(path, nullptr);
    ASSERT_EQ(path->m_edges.size(), count);
    std::vector<sf::Vector2f> controls;
    for (int k = 0; k < count; ++k) {
        controls.push_back(Drawn(*creature, outline.GetVertices()[outline.GetContour()[k]]));
    }
    ExpectNear({path->m_ax, path->m_ay}, 0.5f * (controls.back() + controls.front()), 0.01f);
    for (int k = 0; k < count; ++k) {
        const swfplayer::edge& edge = path->m_edges[k];
        ExpectNear({edge.m_cx, edge.m_cy}, controls[k], 0.01f);
        ExpectNear({edge.m_ax, edge.m_ay}, 0.5f * (controls[k] + controls[(k + 1) % count]), 0.01f);
    }
    const swfplayer::canvas& canvas = Canvas(*creature);
    ASSERT_GE(path->m_fill0, 1);
    const swfplayer::rgba fill = canvas.m_fill_styles[path->m_fill0 - 1].m_color;
    const sf::Color body = creature->m_BodyColor;
    EXPECT_EQ(std::vector<int>({fill.r, fill.g, fill.b, fill.a}), std::vector<int>({body.r, body.g, body.b, body.a}));
    ASSERT_GE(path->m_line, 1);
    const swfplayer::line_style& line = canvas.m_line_styles[path->m_line - 1];
    EXPECT_EQ(line.m_width, 60);
    EXPECT_EQ(std::vector<int>({line.m_color.r, line.m_color.g, line.m_color.b, line.m_color.a}),
              std::vector<int>({0, 0, 0, 255}));
    // Drawn again, the canvas holds the new outline only.
    Draw(*creature);
    EXPECT_EQ(Outline(*creature)->m_edges.size(), count);
}

// The mouth movie sits on the mouth and the eyes (with their decoration) on the centre.
TEST_F(GlobboDrawing, the_mouth_and_eyes_sit_on_their_bodies) {
    const auto creature = Make("data/players/plum.xml", {10.0f, -5.0f});
    creature->GetMouthBody()->SetTransform({11.0f, -4.0f}, 0.3f);
    Draw(*creature);
    const ScreenMapping mapping = ScreenMapping::Of(m_World);
    EXPECT_EQ(creature->GetMouthMovie().getPosition(), mapping.ToScreen({11.0f, -4.0f}));
    EXPECT_EQ(creature->GetMouthMovie().getRotation(), 0.0f);
    EXPECT_EQ(creature->GetEyesMovie().getPosition(), mapping.ToScreen(creature->m_Center));
    EXPECT_EQ(creature->GetEyesAttachment()->getPosition(), mapping.ToScreen(creature->m_Center));
    EXPECT_EQ(creature->m_ScreenCenter, mapping.Map(creature->m_Center));
}

// The skin attachment's downward axis points outwards: no turn at the bottom, a quarter turn
// anticlockwise on the right, half a turn at the top, a quarter turn clockwise on the left.
TEST_F(GlobboDrawing, skin_attachments_point_outwards_at_every_compass_point) {
    const b2Vec2 outwards[] = {{0.0f, 1.0f}, {1.0f, 0.0f}, {0.0f, -1.0f}, {-1.0f, 0.0f}, {0.6f, -0.8f}};
    for (const b2Vec2& n : outwards) {
        sf::Transform turn;
        turn.rotate(Globbo::SkinAttachmentRotation(n));
        const sf::Vector2f down = turn.transformPoint(0.0f, 1.0f);
        EXPECT_NEAR(down.x, n.x, 1e-5f) << n.x << ", " << n.y;
        EXPECT_NEAR(down.y, n.y, 1e-5f) << n.x << ", " << n.y;
    }
    // Drawn, the attachment is left on the last point of the walk, where the walk began.
    const auto creature = Make("data/players/sunny.xml");
    Draw(*creature);
    const OutlineTracer& outline = creature->GetJoint()->GetOutline();
    const b2Vec2 last = outline.GetVertices()[outline.GetContour()[outline.GetContourCount() - 1]];
    b2Vec2 n = last - creature->m_Center;
    n.Normalize();
    ExpectNear(20.0f * creature->GetSkinAttachment()->getPosition(), Drawn(*creature, last), 0.01f);
    EXPECT_NEAR(creature->GetSkinAttachment()->getRotation(),
                std::fmod(Globbo::SkinAttachmentRotation(n) + 360.0f, 360.0f), 1e-3f);
}

// The skin top rides where the outline crosses the vertical through the centre above it, held as
// an offset from the centre; the first time it is placed there at once.
TEST_F(GlobboDrawing, the_skin_top_rides_on_the_top_of_the_outline) {
    const auto creature = Make("data/players/sprout.xml", {5.0f, 5.0f});
    Draw(*creature);
    const SkinTopFollower& top = creature->GetSkinTopFollower();
    ASSERT_TRUE(top.IsPlaced());
    const auto centre = [&] {
        return ScreenMapping::Of(m_World).ToScreen(creature->m_Center);
    };
    EXPECT_NEAR(top.GetTarget().x, 0.0f, 1e-3f);
    // The pushed-out ellipse's top lies 4.5 units (36 pixels) above; the chord a little lower.
    EXPECT_GT(top.GetTarget().y, -36.0f - 0.01f);
    EXPECT_LT(top.GetTarget().y, -35.0f);
    EXPECT_EQ(top.GetPosition(), top.GetTarget());
    EXPECT_EQ(creature->GetSkinTopAttachment()->getPosition(), centre() + top.GetPosition());
    // The creature moves away whole: the rider goes with it at once.
    for (b2Body* body : creature->GetRingBodies()) {
        body->SetTransform(body->GetPosition() + b2Vec2(0.0f, 5.0f), 0.0f);
    }
    // A step short enough to leave the ring as it is, for the joint to trace it again.
    m_World.Step(1e-5f);
    creature->Update(0.0f);
    Draw(*creature);
    // (The step evens the fresh ring out a little, which the rider follows.)
    ExpectNear(creature->GetSkinTopAttachment()->getPosition(), centre() + top.GetTarget(), 5.0f);
    for (int i = 0; i < 100; ++i) {
        creature->Update(0.02f);
    }
    EXPECT_EQ(top.GetPosition(), top.GetTarget());
    // The creature squashes, its top coming down: the rider follows over the next updates.
    const b2Vec2 middle = creature->m_Center;
    for (b2Body* body : creature->GetRingBodies()) {
        const b2Vec2 out = body->GetPosition() - middle;
        body->SetTransform(middle + b2Vec2(1.2f * out.x, 0.75f * out.y), 0.0f);
    }
    m_World.Step(1e-5f);
    creature->Update(0.0f);
    Draw(*creature);
    EXPECT_GT(top.GetTarget().y - top.GetPosition().y, 3.0f);
    EXPECT_NEAR(top.GetTarget().x, top.GetPosition().x, 0.01f);
    ExpectNear(creature->GetSkinTopAttachment()->getPosition(), centre() + top.GetPosition(), 1e-3f);
    for (int i = 0; i < 100; ++i) {
        creature->Update(0.02f);
    }
    EXPECT_EQ(top.GetPosition(), top.GetTarget());
}

// A creature swimming as fast as its steering takes it, one way and back the other, squashing
// as it goes, keeps its skin top on its edge: the decoration never trails behind it.
TEST_F(GlobboDrawing, the_skin_top_stays_on_a_creature_that_swims_fast) {
    const auto creature = Make("data/players/blossom.xml", {-30.0f, 0.0f});
    // Pixels from the attachment to the nearest chord of the drawn outline's anchors.
    const auto offEdge = [&] {
        const swfplayer::path* path = Outline(*creature);
        const sf::Vector2f at = 20.0f * creature->GetSkinTopAttachment()->getPosition();
        float nearest = 1e9f;
        sf::Vector2f a(path->m_ax, path->m_ay);
        for (const swfplayer::edge& edge : path->m_edges) {
            const sf::Vector2f b(edge.m_ax, edge.m_ay);
            const sf::Vector2f ab = b - a;
            const float t =
                std::clamp(((at - a).x * ab.x + (at - a).y * ab.y) / (ab.x * ab.x + ab.y * ab.y + 1e-6f), 0.0f, 1.0f);
            const sf::Vector2f gap = at - (a + t * ab);
            nearest = std::min(nearest, std::hypot(gap.x, gap.y) / 20.0f);
            a = b;
        }
        return nearest;
    };
    float fastest = 0.0f;
    float furthest = 0.0f;
    for (int step = 0; step < 150; ++step) {
        creature->MoveMouth(step < 100 ? b2Vec2(1.0f, 0.0f) : b2Vec2(-1.0f, 0.0f), 1.0f);
        m_World.Step(0.02f);
        creature->Update(0.02f);
        Draw(*creature);
        ASSERT_NE(Outline(*creature), nullptr);
        fastest = std::max(fastest, std::abs(creature->GetRingBodies()[0]->GetLinearVelocity().x) * 8.0f);
        furthest = std::max(furthest, offEdge());
    }
    // Pixels per second: the swim is fast enough that a lagging rider would fall well behind.
    EXPECT_GT(fastest, 300.0f);
    EXPECT_LT(furthest, SkinTopFollower::kMaxLag + 1.0f);
}

// The follower: a small step snaps onto the target; a longer one starts a run from rest that
// speeds up, never passes the target and ends on it, from no further than its leash; a run whose
// target is where it stands stops there without turning into NaN.
TEST_F(GlobboDrawing, the_skin_top_follower_snaps_speeds_up_and_never_overshoots) {
    SkinTopFollower follower;
    follower.Update(0.02f);
    EXPECT_FALSE(follower.IsPlaced());
    follower.SetTarget({100.0f, 100.0f});
    EXPECT_EQ(follower.GetPosition(), sf::Vector2f(100.0f, 100.0f));
    follower.SetTarget({100.0f, 100.09f});
    follower.Update(0.02f);
    EXPECT_FALSE(follower.IsMoving());
    EXPECT_EQ(follower.GetPosition(), sf::Vector2f(100.0f, 100.09f));

    for (const float distance : {0.2f, 3.0f, 80.0f, 500.0f}) {
        SCOPED_TRACE(distance);
        const sf::Vector2f way(0.6f, -0.8f);
        const sf::Vector2f target = follower.GetPosition() + distance * way;
        follower.SetTarget(target);
        // A target beyond the leash pulls the rider along the way to kMaxLag behind it.
        const sf::Vector2f start = target - std::min(distance, SkinTopFollower::kMaxLag) * way;
        ExpectNear(follower.GetPosition(), start, 1e-3f);
        follower.Update(0.02f);
        EXPECT_TRUE(follower.IsMoving());
        ExpectNear(follower.GetPosition(), start, 1e-3f);
        float speed = follower.GetSpeed();
        EXPECT_GT(speed, 0.0f);
        bool sped = false;
        int steps = 0;
        while (follower.IsMoving() && steps < 1000) {
            follower.Update(0.02f);
            const sf::Vector2f left = target - follower.GetPosition();
            ASSERT_GE(left.x * 0.6f - left.y * 0.8f, 0.0f) << "past the target";
            ASSERT_LE(follower.GetSpeed(), SkinTopFollower::kMaxSpeed);
            sped = sped || follower.GetSpeed() > speed;
            speed = follower.GetSpeed();
            ++steps;
        }
        EXPECT_FALSE(follower.IsMoving());
        EXPECT_EQ(follower.GetPosition(), target);
        EXPECT_TRUE(sped || steps <= 1);
    }

    // Moving, with the target moved back onto the rider.
    follower.SetTarget(follower.GetPosition() + sf::Vector2f(50.0f, 0.0f));
    follower.Update(0.02f);
    follower.Update(0.02f);
    ASSERT_TRUE(follower.IsMoving());
    follower.SetTarget(follower.GetPosition());
    follower.Update(0.02f);
    EXPECT_FALSE(follower.IsMoving());
    EXPECT_TRUE(std::isfinite(follower.GetPosition().x) && std::isfinite(follower.GetPosition().y));
}

// A menu draws the creature with its screen centre on a point of its choosing; the creature's own
// screen centre is kept.
TEST_F(GlobboDrawing, render_draws_the_creature_round_the_given_point) {
    const auto creature = Make("data/players/blossom.xml", {20.0f, 10.0f});
    Draw(*creature);
    const b2Vec2 kept = creature->m_ScreenCenter;
    const sf::Vector2f point(150.0f, 120.0f);
    creature->Render(m_Target, sf::RenderStates::Default, ScreenMapping::Of(m_World), point);
    EXPECT_EQ(creature->m_ScreenCenter, kept);
    ExpectNear(creature->GetEyesMovie().getPosition(), point, 1e-3f);
    swfplayer::rect bound;
    Canvas(*creature).get_bound(&bound);
    ExpectNear({(bound.x_min + bound.x_max) / 40.0f, (bound.y_min + bound.y_max) / 40.0f}, point, 1.0f);
    EXPECT_NEAR((bound.x_max - bound.x_min) / 20.0f, 2.0f * 3.5f * 8.0f, 1.0f);
}

// Hidden creatures draw nothing and leave their screen centre; without a volume joint the outline
// is not drawn either.
TEST_F(GlobboDrawing, hidden_creatures_and_creatures_without_physics_draw_no_outline) {
    const auto creature = Make("data/players/sunny.xml");
    Draw(*creature);
    const swfplayer::path drawn = *Outline(*creature);
    const sf::Vector2f eyes = creature->GetEyesMovie().getPosition();
    const b2Vec2 kept = creature->m_ScreenCenter;
    for (b2Body* body : creature->GetRingBodies()) {
        body->SetTransform(body->GetPosition() + b2Vec2(5.0f, 0.0f), 0.0f);
    }
    creature->Update(0.0f);
    creature->m_Visible = false;
    Draw(*creature);
    creature->Render(m_Target, sf::RenderStates::Default, ScreenMapping::Of(m_World), {10.0f, 10.0f});
    EXPECT_EQ(Outline(*creature)->m_ax, drawn.m_ax);
    EXPECT_EQ(creature->GetEyesMovie().getPosition(), eyes);
    EXPECT_EQ(creature->m_ScreenCenter, kept);

    creature->m_Visible = true;
    creature->DestroyPhysics();
    creature->DrawOutline(m_Target, sf::RenderStates::Default, ScreenMapping::Of(m_World));
    EXPECT_EQ(Outline(*creature)->m_ax, drawn.m_ax);
}

// An outline traced to fewer than three points (a ring folded onto a line, say) draws nothing.
TEST_F(GlobboDrawing, an_outline_of_fewer_than_three_points_draws_nothing) {
    const auto creature = Make("data/players/sunny.xml");
    Draw(*creature);
    const b2Vec2 folded[] = {{-1.0f, 0.0f}, {1.0f, 0.0f}, {-1.0f, 0.0f}, {1.0f, 0.0f}};
    OutlineTracer& outline = const_cast<OutlineTracer&>(creature->GetJoint()->GetOutline());
    outline.Trace(folded, 4);
    ASSERT_LT(outline.GetContourCount(), 3);
    Draw(*creature);
    EXPECT_EQ(Outline(*creature), nullptr);
    EXPECT_FALSE(creature->GetSkinTopFollower().IsPlaced());
}

}  // namespace
