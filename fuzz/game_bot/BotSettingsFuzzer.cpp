// A computer opponent's file from the input, played in a small training match: the file is both
// creatures' definition and the bot's settings. After reading, every condition draws one of the
// four goals, a row of weights none of which is negative has running sums in [0, 1] that never
// fall, and the timings are finite numbers (negative ones are kept as written); the match then
// plays 200 frames with the bot thinking in each, its waypoints and every body staying finite.
#include "app/Application.h"
#include "app/SoundManager.h"
#include "fuzz/FuzzCheck.h"
#include "fuzz/MountedFolder.h"
#include "game/Bot.h"
#include "game/Globbo.h"
#include "game/Level.h"
#include "game/SpitGame.h"
#include "tests/support/AddressSanitizer.h"

#include <box2d/b2_body.h>
#include <box2d/b2_world.h>

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#if PONDORIX_ADDRESS_SANITIZER
#include <sanitizer/lsan_interface.h>
#endif

namespace {

constexpr const char* kLevel = "data/levels/arena.xml";
constexpr const char* kBot = "data/ais/fuzz.xml";
constexpr int kFrames = 200;

// A walled arena with a wall in the middle (so paths are planned), balls on both sides.
constexpr const char* kArena = R"(<resource><level name="data"><array name="m_Bodies">
<body m_Density="0"><vec2 name="m_Position" x="0" y="0"/><array name="m_Fixtures">
<fixture><array name="m_Vertices"><vec2 x="-30" y="-21"/><vec2 x="30" y="-21"/><vec2 x="30" y="-20"/><vec2 x="-30" y="-20"/></array></fixture>
<fixture><array name="m_Vertices"><vec2 x="-30" y="20"/><vec2 x="30" y="20"/><vec2 x="30" y="21"/><vec2 x="-30" y="21"/></array></fixture>
<fixture><array name="m_Vertices"><vec2 x="-31" y="-21"/><vec2 x="-30" y="-21"/><vec2 x="-30" y="21"/><vec2 x="-31" y="21"/></array></fixture>
<fixture><array name="m_Vertices"><vec2 x="30" y="-21"/><vec2 x="31" y="-21"/><vec2 x="31" y="21"/><vec2 x="30" y="21"/></array></fixture>
<fixture><array name="m_Vertices"><vec2 x="-1" y="-10"/><vec2 x="1" y="-10"/><vec2 x="1" y="10"/><vec2 x="-1" y="10"/></array></fixture>
</array></body></array>
<array name="m_Balls"><vec2 x="-20" y="15"/><vec2 x="20" y="15"/><vec2 x="-5" y="-15"/><vec2 x="0" y="15"/></array>
<vec2 name="m_Player1StartPos" x="-18" y="0"/><vec2 name="m_Player2StartPos" x="18" y="0"/>
</level></resource>)";

void Write(const std::filesystem::path& path, const std::string& text) {
    std::filesystem::create_directories(path.parent_path());
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << text;
}

// The match needs the application, whose window makes an OpenGL context on a display. Mesa's
// driver keeps a few allocations of that context until it is unloaded, which the leak checker
// finds without a module to name: the application is made once, with the leak checker looking
// away.
void MakeApplication() {
#if PONDORIX_ADDRESS_SANITIZER
    __lsan::ScopedDisabler disabler;
#endif
    Application::GetInstance();
}

// The match plays sounds: into OpenAL's null output, as the test suite's do, since a missing audio
// device is no concern of the bot's.
const std::filesystem::path& Folder() {
    static const std::filesystem::path& folder = []() -> const std::filesystem::path& {
        setenv("ALSOFT_DRIVERS", "null", 0);
        MakeApplication();
        const std::filesystem::path& mounted = fuzz_support::MountedFolder();
        Write(mounted / kLevel, kArena);
        SoundManager::GetInstance().SetData(SoundManagerData());
        return mounted;
    }();
    return folder;
}

bool Finite(const b2Vec2& v) {
    return std::isfinite(v.x) && std::isfinite(v.y);
}

// Whether the row's weights as the table counts them (missing and non-finite ones as 0) are all
// at least 0.
bool NoNegativeWeight(const BotSettings& settings, uint32_t condition) {
    for (uint32_t goal = 0; goal < BotSettings::kGoals; ++goal) {
        const size_t index = condition * BotSettings::kGoals + goal;
        if (index < settings.m_GoalWeights.size() && settings.m_GoalWeights[index] < 0.0f &&
            std::isfinite(settings.m_GoalWeights[index])) {
            return false;
        }
    }
    return true;
}

void CheckSettings(const BotSettings& settings) {
    using fuzz_support::check;
    for (uint32_t condition = 0; condition < BotSettings::kConditions; ++condition) {
        if (NoNegativeWeight(settings, condition)) {
            float previous = 0.0f;
            for (uint32_t goal = 0; goal < BotSettings::kGoals; ++goal) {
                const float sum = settings.Cumulative(condition, goal);
                check(sum >= previous && sum <= 1.0f + 1e-5f);
                previous = sum;
            }
        }
        for (const float r : {0.0f, 0.5f, 0.999f}) {
            check(settings.PickGoal(condition, r) < BotSettings::kGoals);
        }
    }
    for (float timing : {settings.m_ConditionTimeout, settings.m_GoalTimeout, settings.m_PathStuckTimeout,
                         settings.m_ShootingCooldown, settings.m_ShootingDistance}) {
        check(std::isfinite(timing));
    }
}

// The match of one input: the settings checked once read, then the frames played.
void PlayMatch() {
    using fuzz_support::check;
    Level level;
    SpitGame game(kLevel, &level, false, kBot, kBot);
    check(game.HasLevel() && game.GetBot() != nullptr);
    Bot& bot = *game.GetBot();
    CheckSettings(bot.m_Settings);
    game.OnFSCommand("Go");
    b2World* world = level.GetPhysics().GetWorld();
    for (int frame = 0; frame < kFrames; ++frame) {
        game.Update(Application::GetInstance(), 0.02f);
        for (const b2Vec2& waypoint : bot.GetWaypoints()) {
            check(Finite(waypoint));
        }
        check(bot.GetNextWaypoint() <= bot.GetWaypoints().size());
    }
    for (const b2Body* body = world->GetBodyList(); body != nullptr; body = body->GetNext()) {
        check(Finite(body->GetPosition()) && std::isfinite(body->GetAngle()));
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    Write(Folder() / kBot, std::string(reinterpret_cast<const char*>(data), size));
    PlayMatch();
    // The effects the match played go with the input, while the audio library is still whole:
    // kept to the program's exit, they would be destroyed after the library's error stream.
    SoundManager::GetInstance().Clear();
    return 0;
}
