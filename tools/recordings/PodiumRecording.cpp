#include "tools/recordings/PodiumRecording.h"

#include "app/Application.h"
#include "app/ControllerFactory.h"
#include "app/EventPlayer.h"
#include "app/GamepadController.h"
#include "game/CinematicGame.h"
#include "game/Globbo.h"
#include "gui/GUIChampionshipPodium.h"
#include "gui/GameLayer.h"
#include "tools/recordings/SceneRecorder.h"

#include <cstdio>
#include <memory>

namespace {

// The creatures of the recorded scene; any others replay the same hops.
const char* const kCreatures[3] = {"data/players/bubbles.xml", "data/players/sprout.xml", "data/players/hooligan.xml"};
// One hop every 4 s: the stick up for 0.3 s, down for 0.3 s (the creature floats, so it is pushed
// back onto its step), then let go. The first hop waits until the medals have shown; the scene
// ends at rest.
constexpr int kHopSteps = 200;
constexpr int kPushSteps = 15;
constexpr int kFirstHop = 100;
constexpr int kHops = 7;

// The stick's position as the hops' events left it.
class StickInput : public InputStatusProvider {
public:
    void Apply(const InputEvent& event) { m_Axes[event.axis] = event.position; }
    float GetJoystickAxis(unsigned int, unsigned int axis) override { return axis < 8 ? m_Axes[axis] : 0.0f; }
    bool IsKeyDown(unsigned int) override { return false; }

private:
    float m_Axes[8] = {};
};

}  // namespace

std::vector<InputEvent> PodiumHopInput(int step) {
    if (step < kFirstHop || step >= kFirstHop + kHops * kHopSteps) {
        return {};
    }
    const int phase = (step - kFirstHop) % kHopSteps;
    if (phase != 0 && phase != kPushSteps && phase != 2 * kPushSteps) {
        return {};
    }
    InputEvent move;
    move.type = InputEvent::JoyMoved;
    move.axis = Joy::AxisY;
    move.position = phase == 0 ? -100.0f : (phase == kPushSteps ? 100.0f : 0.0f);
    return {move};
}

bool RecordPodium() {
    const char* name = GUIChampionshipPodium::kScript;
    CinematicGame scene(GUIChampionshipPodium::kLevel);
    auto owned = std::make_unique<GamepadController>();
    Controller* controller = owned.get();
    if (!scene.HasLevel() || !ReadControllerSettings(GameLayer::kControllerFile, *controller)) {
        std::fprintf(stderr, "make_recordings: the scene of %s cannot be built (see the log)\n", name);
        return false;
    }
    Globbo* champion = scene.AddGlobbo(kCreatures[0], GUIChampionshipPodium::kPlaces[0], std::move(owned));
    for (size_t i = 1; i < 3; ++i) {
        scene.AddGlobbo(kCreatures[i], GUIChampionshipPodium::kPlaces[i], nullptr);
    }
    StickInput input;
    controller->Attach(champion, &input);
    // As the layer replays it: a step of no time first, then each step's events before the step.
    scene.Update(Application::GetInstance(), 0.0f);
    EventPlayer recorder(name, true);
    const int steps = static_cast<int>(kPodiumSeconds / kRecordedStep);
    for (int step = 0; step < steps; ++step) {
        for (const InputEvent& event : PodiumHopInput(step)) {
            recorder.OnEvent(event);
            input.Apply(event);
        }
        recorder.RecordFrame(kRecordedStep, nullptr);
        scene.Update(Application::GetInstance(), kRecordedStep);
    }
    if (!recorder.Save()) {
        std::fprintf(stderr, "make_recordings: cannot write %s\n", name);
        return false;
    }
    return true;
}
