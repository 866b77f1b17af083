// Loads arbitrary bytes as an input recording and plays all of it back into a small physics
// world, with scripted controllers steering a creature whose mouth is one of the world's bodies,
// stepping the world after every replayed frame. The first byte chooses the form: even bytes make
// the rest the recording's binary image, odd bytes its XML file.
#include "app/EventPlayer.h"
#include "app/ScriptedController.h"
#include "app/Steerable.h"
#include "fuzz/MountedFolder.h"

#include <box2d/b2_body.h>
#include <box2d/b2_circle_shape.h>
#include <box2d/b2_polygon_shape.h>
#include <box2d/b2_world.h>
#include <physfs.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace {

// A creature as far as the controllers steer it: its mouth is pushed with the force a creature's
// mouth gets, and it holds no balls to spit.
class MouthOnly : public Steerable {
public:
    explicit MouthOnly(b2Body* mouth) : m_Mouth(mouth) {}
    void MoveMouth(const b2Vec2& direction, float strength) override {
        m_Mouth->ApplyForceToCenter(strength * kMouthForce * direction, true);
    }
    void Shoot() override {}

private:
    static constexpr float kMouthForce = 200.0f;
    b2Body* m_Mouth;
};

void Write(const std::filesystem::path& path, const uint8_t* data, size_t size) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) {
        return 0;
    }
    const std::filesystem::path& folder = fuzz_support::MountedFolder();
    std::error_code error;
    std::filesystem::remove(folder / "rec.xml", error);
    std::filesystem::remove(folder / "rec.xml.bin", error);
    Write(folder / ((data[0] & 1) != 0 ? "rec.xml" : "rec.xml.bin"), data + 1, size - 1);

    b2World world(b2Vec2(0.0f, 10.0f));
    b2BodyDef ground;
    b2PolygonShape box;
    box.SetAsBox(10.0f, 0.5f);
    world.CreateBody(&ground)->CreateFixture(&box, 0.0f);
    b2CircleShape circle;
    circle.m_radius = 0.3f;
    b2Body* mouth = nullptr;
    for (int i = 0; i < 3; ++i) {
        b2BodyDef def;
        def.type = b2_dynamicBody;
        def.position.Set(static_cast<float>(i), -2.0f);
        mouth = world.CreateBody(&def);
        mouth->CreateFixture(&circle, 1.0f);
    }
    MouthOnly creature(mouth);

    EventPlayer player("rec.xml", false);
    ScriptedController gamepad(&player, true);
    ScriptedController keyboard(&player, false);
    gamepad.Attach(&creature, &player);
    keyboard.Attach(&creature, &player);
    // Each call replays at least one stored event, so this ends with the recording.
    for (size_t frame = 0; frame <= player.GetEvents().size(); ++frame) {
        player.PlayFrame(&world);
        gamepad.Update(0.02f);
        keyboard.Update(0.02f);
        world.Step(0.02f, 8, 3);
    }
    return 0;
}
