// The input is a creature's definition file up to its first zero byte; the bytes after it steer
// the creature. A world with a wall and three balls holds the creature, built at a position read
// from the first eight steering bytes (two floats, so that NaN and huge values come up), then 60
// steps follow, each taking three bytes (cycled): a direction, a strength and flags that spit,
// take a ball in, push with a direction that is not a number or is huge, throw the creature and
// run a step that is not a finite length of time. Nothing may crash, and every body must stay at
// finite coordinates.
#include "app/Logger.h"
#include "app/SoundManager.h"
#include "fuzz/FuzzCheck.h"
#include "fuzz/MountedFolder.h"
#include "game/Ball.h"
#include "game/BodyRegistry.h"
#include "game/Globbo.h"
#include "game/PhysicsWorld.h"
#include "tools/creatures/CreatureWriter.h"
#include "tools/levels/ContentFiles.h"

#include <box2d/b2_body.h>
#include <box2d/b2_polygon_shape.h>
#include <box2d/b2_world.h>

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <limits>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr int kSteps = 60;

// The shipped creatures' movies and the skin's and balls' movies in the run's mounted folder.
const std::filesystem::path& Folder() {
    static const std::filesystem::path folder = [] {
        const std::filesystem::path& path = fuzz_support::MountedFolder();
        Logger::GetInstance();
        WriteCreaturesAndBalls(path);
        return path;
    }();
    return folder;
}

float FloatAt(const uint8_t* bytes) {
    float value;
    std::memcpy(&value, bytes, sizeof value);
    return value;
}

bool Finite(const b2Vec2& v) {
    return std::isfinite(v.x) && std::isfinite(v.y);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::filesystem::path& folder = Folder();
    const uint8_t* end = static_cast<const uint8_t*>(std::memchr(data, 0, size));
    const size_t fileSize = end != nullptr ? static_cast<size_t>(end - data) : size;
    WriteBytes(folder / "data/players/fuzz.xml", swfkit::Bytes(data, data + fileSize));
    std::vector<uint8_t> script(end != nullptr ? end + 1 : data + size, data + size);
    if (script.size() < 8) {
        script.resize(8, 0);
    }

    PhysicsWorld world;
    world.Create();
    b2BodyDef wallDef;
    wallDef.position.Set(9.0f, 0.0f);
    b2PolygonShape wallShape;
    wallShape.SetAsBox(0.5f, 10.0f);
    world.CreateBody(wallDef)->CreateFixture(&wallShape, 0.0f);
    std::vector<std::unique_ptr<Ball>> balls;
    for (const b2Vec2& at : {b2Vec2(0.0f, -1.0f), b2Vec2(5.0f, 0.0f), b2Vec2(-6.0f, 2.0f)}) {
        balls.push_back(Ball::Create(world, at));
    }
    {
        Globbo creature(world, "data/players/fuzz.xml", FloatAt(script.data()), FloatAt(script.data() + 4));
        const float nan = std::numeric_limits<float>::quiet_NaN();
        for (int step = 0; step < kSteps; ++step) {
            const uint8_t* bytes = &script[(8 + 3 * static_cast<size_t>(step)) % (script.size() - 2)];
            const float angle = bytes[0] / 256.0f * 6.2831853f;
            b2Vec2 direction(std::cos(angle), std::sin(angle));
            if ((bytes[2] & 4) != 0) {
                direction = (bytes[2] & 8) != 0 ? b2Vec2(nan, 1.0f) : b2Vec2(1e30f, -3e38f);
            }
            creature.MoveMouth(direction, bytes[1] / 128.0f);
            if ((bytes[2] & 1) != 0) {
                creature.Shoot();
            }
            if ((bytes[2] & 2) != 0) {
                creature.TakeIn(FindBodyRecord(balls[bytes[1] % balls.size()]->GetBody()));
            }
            if ((bytes[2] & 16) != 0) {
                creature.SetLinearVelocity(b2Vec2(bytes[0] * 100.0f - 1e4f, (bytes[2] & 32) != 0 ? nan : 1e38f));
            }
            world.Step(0.02f);
            creature.Update((bytes[2] & 64) != 0 ? nan : 0.02f);
            for (const auto& ball : balls) {
                ball->Update(nullptr, world, 0.02f);
            }
        }
        fuzz_support::check(Finite(creature.m_Center) && Finite(creature.GetFacing()));
        for (const b2Body* body = world.GetWorld()->GetBodyList(); body != nullptr; body = body->GetNext()) {
            fuzz_support::check(Finite(body->GetPosition()) && Finite(body->GetLinearVelocity()));
        }
        for (const b2Body* body : creature.GetContents()) {
            fuzz_support::check(body->GetWorld() == world.GetWorld());
        }
    }
    for (const auto& ball : balls) {
        EraseBodyRecord(ball->GetBody());
        SoundManager::GetInstance().ForgetBody(ball->GetBody());
    }
    // The effects the creature played go with the input, while the audio library is still whole.
    SoundManager::GetInstance().Clear();
    return 0;
}
