#include "game/RaycastHelper.h"

#include "game/BodyRegistry.h"

#include <box2d/b2_fixture.h>
#include <box2d/b2_world.h>

#include <cmath>

bool RaycastHelper::IsClear(const b2World* world, const b2Vec2& from, const b2Vec2& to) {
    m_Clear = true;
    const float length = (to - from).LengthSquared();
    if (world != nullptr && from.IsValid() && to.IsValid() && length > 0.0f && std::isfinite(length)) {
        world->RayCast(this, from, to);
    }
    return m_Clear;
}

float RaycastHelper::ReportFixture(b2Fixture* fixture, const b2Vec2&, const b2Vec2&, float) {
    if (FindBodyRecord(fixture->GetBody()) != nullptr) {
        return -1.0f;
    }
    m_Clear = false;
    return 0.0f;
}
