#include "game/BodyRegistry.h"
#include "game/PhysicsWorld.h"

#include <box2d/b2_body.h>
#include <box2d/b2_world.h>
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <vector>

namespace {

b2BodyDef DynamicAt(float x, float y) {
    b2BodyDef def;
    def.type = b2_dynamicBody;
    def.position.Set(x, y);
    return def;
}

BodyRecord Record(int kind, float neutralTimer = -1.0f) {
    return BodyRecord{true, kind, nullptr, kBallFree, neutralTimer, nullptr};
}

struct BodyRegistry : testing::Test {
    BodyRegistry() { physics.Create(); }
    b2Body* Add(float x, float y, int kind = kBallBody) {
        return CreateRegisteredBody(physics, DynamicAt(x, y), Record(kind));
    }
    PhysicsWorld physics;
};

struct Listener : sigslot::has_slots<> {
    void OnBodyRemoved(const b2Body* body) { removed.push_back(body); }
    std::vector<const b2Body*> removed;
};

}  // namespace

TEST_F(BodyRegistry, registers_finds_and_erases_bodies) {
    b2Body* ring = CreateRegisteredBody(physics, DynamicAt(1.0f, 2.0f), Record(kRingBody, 0.0f));
    b2Body* ball = Add(3.0f, 4.0f);
    ASSERT_TRUE(ring && ball);
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

TEST_F(BodyRegistry, a_new_body_at_a_reused_address_gets_a_fresh_record) {
    b2Body* first = Add(0.0f, 0.0f);
    FindBodyRecord(first)->state = kBallHeld;
    physics.GetWorld()->DestroyBody(first);  // without being erased: the record is stale
    b2Body* second = Add(5.0f, 5.0f, kMouthBody);
    ASSERT_EQ(second, first) << "Box2D's allocator hands out the freed block again";
    EXPECT_EQ(FindBodyRecord(second)->kind, kMouthBody);
    EXPECT_EQ(FindBodyRecord(second)->state, kBallFree);
    EXPECT_EQ(RegisteredBodies(physics.GetWorld()).size(), 1u);
}

// Listings follow registration order, whatever the addresses, and hold only the world's own bodies.
TEST_F(BodyRegistry, lists_a_worlds_bodies_in_registration_order) {
    PhysicsWorld other;
    other.Create();
    std::vector<b2Body*> bodies;
    for (int i = 0; i < 20; ++i) {
        bodies.push_back(Add(static_cast<float>(i), 0.0f));
        CreateRegisteredBody(other, DynamicAt(0.0f, static_cast<float>(i)), Record(kBallBody));
        if (i % 3 == 0) {
            // Freed blocks are reused, so addresses do not follow registration order.
            b2Body* gone = Add(-1.0f, -1.0f);
            EraseBodyRecord(gone);
            physics.GetWorld()->DestroyBody(gone);
        }
    }
    std::vector<b2Body*> listed;
    for (BodyRecord* record : RegisteredBodies(physics.GetWorld())) {
        listed.push_back(record->body);
    }
    EXPECT_EQ(listed, bodies);
    // A world that goes takes its records along.
    b2World* world = physics.GetWorld();
    physics.Create();
    EXPECT_TRUE(RegisteredBodies(world).empty());
    EXPECT_EQ(RegisteredBodies(other.GetWorld()).size(), 20u);
}

TEST_F(BodyRegistry, refuses_bodies_the_world_would_abort_on) {
    PhysicsWorld none;
    EXPECT_EQ(CreateRegisteredBody(none, DynamicAt(0.0f, 0.0f), Record(kBallBody)), nullptr) << "no world yet";
    b2BodyDef damped = DynamicAt(0.0f, 0.0f), turned = DynamicAt(0.0f, 0.0f);
    damped.linearDamping = -1.0f;
    turned.angle = INFINITY;
    for (const b2BodyDef& def : {DynamicAt(std::nanf(""), 0.0f), DynamicAt(0.0f, INFINITY), damped, turned}) {
        EXPECT_EQ(CreateRegisteredBody(physics, def, Record(kBallBody)), nullptr);
    }
    EXPECT_EQ(physics.GetWorld()->GetBodyCount(), 1);  // the ground
    EXPECT_TRUE(RegisteredBodies(physics.GetWorld()).empty());
}

// Every call gives the one program-wide signal (connections and their lifetimes are sigslot's).
TEST_F(BodyRegistry, removed_signal_is_one_signal_for_the_program) {
    Listener listener;
    BodyRemovedSignal().connect(&listener, &Listener::OnBodyRemoved);
    b2Body* body = Add(0.0f, 0.0f);
    BodyRemovedSignal().emit(body);
    EXPECT_EQ(listener.removed, std::vector<const b2Body*>{body});
}

// A creature or level held by a static is destroyed while the program exits, after statics made
// later than it: its bodies' records and the removal signal must still be there. The child runs
// alone (threadsafe style), so its holder is made before anything of the registry.
TEST(BodyRegistryAtExit, an_owner_destroyed_at_exit_still_finds_and_erases_its_records) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            struct Holder {
                ~Holder() {
                    const BodyRecord* record = FindBodyRecord(body);
                    const bool found = record != nullptr && record->kind == kRingBody;
                    BodyRemovedSignal().emit(body);
                    EraseBodyRecord(body);
                    std::_Exit(found && FindBodyRecord(body) == nullptr ? 0 : 3);
                }
                PhysicsWorld physics;
                b2Body* body = nullptr;
            };
            static Holder holder;
            holder.physics.Create();
            holder.body = CreateRegisteredBody(holder.physics, DynamicAt(0.0f, 0.0f), Record(kRingBody));
            std::exit(1);
        },
        testing::ExitedWithCode(0), "");
}
