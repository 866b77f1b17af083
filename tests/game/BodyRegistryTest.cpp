#include "game/BodyRegistry.h"
#include "game/PhysicsWorld.h"

#include <box2d/b2_body.h>
#include <box2d/b2_world.h>
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <vector>

namespace {

b2BodyDef DynamicAt(float x, float y) {
    b2BodyDef def;
    def.type = b2_dynamicBody;
    def.position.Set(x, y);
    return def;
}

BodyRecord Ball() {
    return BodyRecord{true, kBallBody, nullptr, kBallFree, -1.0f, nullptr};
}

class Listener : public sigslot::has_slots<> {
public:
    void OnBodyRemoved(const b2Body* body) { removed.push_back(body); }
    std::vector<const b2Body*> removed;
};

}  // namespace

TEST(BodyRegistry, registers_finds_and_erases_bodies) {
    PhysicsWorld physics;
    physics.Create();
    BodyRecord pattern{true, kRingBody, nullptr, kBallFree, 0.0f, nullptr};
    b2Body* ring = CreateRegisteredBody(physics, DynamicAt(1.0f, 2.0f), pattern);
    b2Body* ball = CreateRegisteredBody(physics, DynamicAt(3.0f, 4.0f), Ball());
    ASSERT_NE(ring, nullptr);
    ASSERT_NE(ball, nullptr);

    BodyRecord* record = FindBodyRecord(ring);
    ASSERT_NE(record, nullptr);
    EXPECT_EQ(record->kind, kRingBody);
    EXPECT_EQ(record->body, ring);
    EXPECT_TRUE(record->alive);
    EXPECT_EQ(record->neutralTimer, 0.0f);
    EXPECT_EQ(reinterpret_cast<BodyRecord*>(ring->GetUserData().pointer), record);
    EXPECT_EQ(FindBodyRecord(ball)->kind, kBallBody);
    EXPECT_EQ(FindBodyRecord(ball)->neutralTimer, -1.0f);
    EXPECT_EQ(FindBodyRecord(physics.GetGround()), nullptr);

    EraseBodyRecord(ring);
    EXPECT_EQ(FindBodyRecord(ring), nullptr);
    EXPECT_NE(FindBodyRecord(ball), nullptr);
    EraseBodyRecord(ring);  // already gone: nothing happens
    EraseBodyRecord(nullptr);
}

TEST(BodyRegistry, a_new_body_at_a_reused_address_gets_a_fresh_record) {
    PhysicsWorld physics;
    physics.Create();
    b2Body* first = CreateRegisteredBody(physics, DynamicAt(0.0f, 0.0f), Ball());
    ASSERT_NE(first, nullptr);
    FindBodyRecord(first)->state = kBallHeld;
    // Destroyed without being erased: the record is stale.
    physics.GetWorld()->DestroyBody(first);
    BodyRecord mouth{true, kMouthBody, nullptr, kBallFree, 0.0f, nullptr};
    b2Body* second = CreateRegisteredBody(physics, DynamicAt(5.0f, 5.0f), mouth);
    ASSERT_EQ(second, first) << "Box2D's allocator hands out the freed block again";
    const BodyRecord* record = FindBodyRecord(second);
    ASSERT_NE(record, nullptr);
    EXPECT_EQ(record->kind, kMouthBody);
    EXPECT_EQ(record->state, kBallFree);
    EXPECT_EQ(RegisteredBodies(physics.GetWorld()).size(), 1u);
}

// Listings follow registration order, whatever the addresses, and hold only the world's own bodies.
TEST(BodyRegistry, lists_a_worlds_bodies_in_registration_order) {
    PhysicsWorld physics;
    physics.Create();
    PhysicsWorld other;
    other.Create();
    std::vector<b2Body*> bodies;
    for (int i = 0; i < 20; ++i) {
        bodies.push_back(CreateRegisteredBody(physics, DynamicAt(static_cast<float>(i), 0.0f), Ball()));
        CreateRegisteredBody(other, DynamicAt(0.0f, static_cast<float>(i)), Ball());
        if (i % 3 == 0) {
            // Freed blocks are reused, so addresses do not follow registration order.
            b2Body* gone = CreateRegisteredBody(physics, DynamicAt(-1.0f, -1.0f), Ball());
            EraseBodyRecord(gone);
            physics.GetWorld()->DestroyBody(gone);
        }
    }
    const std::vector<BodyRecord*> listed = RegisteredBodies(physics.GetWorld());
    ASSERT_EQ(listed.size(), bodies.size());
    for (size_t i = 0; i < bodies.size(); ++i) {
        EXPECT_EQ(listed[i]->body, bodies[i]) << i;
    }
    // A world that goes takes its records along.
    b2World* world = physics.GetWorld();
    physics.Create();
    EXPECT_TRUE(RegisteredBodies(world).empty());
    EXPECT_EQ(RegisteredBodies(other.GetWorld()).size(), 20u);
}

TEST(BodyRegistry, refuses_bodies_the_world_would_abort_on) {
    PhysicsWorld physics;
    const float nan = std::nanf("");
    EXPECT_EQ(CreateRegisteredBody(physics, DynamicAt(0.0f, 0.0f), Ball()), nullptr) << "no world yet";
    physics.Create();
    b2BodyDef damped = DynamicAt(0.0f, 0.0f);
    damped.linearDamping = -1.0f;
    b2BodyDef turned = DynamicAt(0.0f, 0.0f);
    turned.angle = INFINITY;
    for (const b2BodyDef& def : {DynamicAt(nan, 0.0f), DynamicAt(0.0f, INFINITY), damped, turned}) {
        EXPECT_EQ(CreateRegisteredBody(physics, def, Ball()), nullptr);
    }
    EXPECT_EQ(physics.GetWorld()->GetBodyCount(), 1);  // the ground
    EXPECT_TRUE(RegisteredBodies(physics.GetWorld()).empty());
}

TEST(BodyRegistry, removed_signal_reaches_every_listener_until_it_goes) {
    PhysicsWorld physics;
    physics.Create();
    b2Body* body = CreateRegisteredBody(physics, DynamicAt(0.0f, 0.0f), Ball());
    Listener kept;
    BodyRemovedSignal().connect(&kept, &Listener::OnBodyRemoved);
    {
        Listener gone;
        BodyRemovedSignal().connect(&gone, &Listener::OnBodyRemoved);
        EraseBodyRecord(body);
        physics.GetWorld()->DestroyBody(body);
        BodyRemovedSignal().emit(body);
        EXPECT_EQ(gone.removed, std::vector<const b2Body*>{body});
    }
    BodyRemovedSignal().emit(body);
    EXPECT_EQ(kept.removed, (std::vector<const b2Body*>{body, body}));
}
