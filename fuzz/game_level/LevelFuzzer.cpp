// A level file and an outline drawing from one input: the text up to the first line "--svg--"
// is "data/levels/test.xml", the rest "data/levels/test.svg". The level is loaded (the windmill
// variant when the first byte is odd), stepped and updated for a second of game time; every body
// must stay finite, and loading again must leave nothing of the first load behind.
#include "app/SoundManager.h"
#include "fuzz/MountedFolder.h"
#include "game/BodyRegistry.h"
#include "game/LevelWindmill.h"

#include <box2d/b2_body.h>
#include <box2d/b2_world.h>
#include <physfs.h>

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace {

// The fuzz run's folder, with the folder of the level files, and the sound kinds the shipped
// levels use.
const std::filesystem::path& Folder() {
    static const std::filesystem::path& folder = []() -> const std::filesystem::path& {
        const std::filesystem::path& mounted = fuzz_support::MountedFolder();
        std::filesystem::create_directories(mounted / "data/levels");
        SoundManagerData table;
        for (const char* kind : {"default", "ball"}) {
            SoundManagerData::BodyType type;
            type.m_Name = kind;
            table.m_BodyTypes.push_back(type);
        }
        SoundManager::GetInstance().SetData(table);
        return mounted;
    }();
    return folder;
}

void Write(const std::filesystem::path& path, const std::string& text) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << text;
}

void Check(bool condition) {
    if (!condition) {
        std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) {
        return 0;
    }
    const std::string input(reinterpret_cast<const char*>(data) + 1, size - 1);
    const size_t marker = input.find("\n--svg--\n");
    Write(Folder() / "data/levels/test.xml", input.substr(0, marker));
    Write(Folder() / "data/levels/test.svg", marker == std::string::npos ? "" : input.substr(marker + 9));

    LevelWindmill windmill;
    Level plain;
    Level& level = (data[0] & 1) != 0 ? windmill : plain;
    if (!level.Load("data/levels/test.xml", nullptr)) {
        return 0;
    }
    b2World* world = level.GetPhysics().GetWorld();
    for (int step = 0; step < 50; ++step) {
        level.GetPhysics().Step(0.02f);
        level.Update(nullptr, 0.02f);
    }
    for (const b2Body* body = world->GetBodyList(); body != nullptr; body = body->GetNext()) {
        Check(body->GetPosition().IsValid() && std::isfinite(body->GetAngle()));
    }
    Check(RegisteredBodies(world).size() == level.GetBalls().size());
    // Loading again starts empty.
    level.Load("data/levels/test.xml", nullptr);
    Check(RegisteredBodies(level.GetPhysics().GetWorld()).size() == level.GetBalls().size());
    return 0;
}
