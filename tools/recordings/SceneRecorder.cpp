#include "tools/recordings/SceneRecorder.h"

#include "app/Controller.h"
#include "app/ControllerFactory.h"
#include "app/EventPlayer.h"
#include "game/Globbo.h"
#include "game/Level.h"
#include "tools/recordings/HeldInput.h"
#include "tools/recordings/InputPilot.h"

#include <cstdio>

namespace {

constexpr const char* kGamepadFile = "data/controls/gamepad_1.xml";
constexpr const char* kKeyboardFile = "data/controls/keyboard_arrows.xml";

}  // namespace

bool RecordScene(const SceneRecording& recording) {
    const char* name = recording.file.c_str();
    std::unique_ptr<Controller> controllers[2] = {std::unique_ptr<Controller>(CreateController(kGamepadFile)),
                                                  std::unique_ptr<Controller>(CreateController(kKeyboardFile))};
    if (controllers[0] == nullptr || controllers[1] == nullptr) {
        std::fprintf(stderr, "make_recordings: no controllers for %s (see the log)\n", name);
        return false;
    }
    std::unique_ptr<RecordingStage> stage = recording.stage(controllers[0].get(), controllers[1].get());
    if (stage == nullptr || (stage->GetCreature(0) == nullptr && stage->GetCreature(1) == nullptr)) {
        std::fprintf(stderr, "make_recordings: the scene of %s cannot be built (see the log)\n", name);
        return false;
    }
    HeldInput input;
    InputPilot pilots[2] = {InputPilot(true, recording.seed), InputPilot(false, recording.seed + 1)};
    for (int i = 0; i < 2; ++i) {
        controllers[i]->Attach(stage->GetCreature(i), &input);
    }
    EventPlayer recorder(recording.file, true);
    const int steps = static_cast<int>(recording.seconds / kRecordedStep);
    for (int step = 0; step < steps; ++step) {
        for (int i = 0; i < 2; ++i) {
            const Globbo* creature = stage->GetCreature(i);
            if (creature == nullptr) {
                continue;
            }
            for (const InputEvent& event :
                 pilots[i].Step(*creature, stage->GetCreature(1 - i), stage->GetLevel(), kRecordedStep)) {
                recorder.OnEvent(event);
                input.Apply(event);
                controllers[i]->OnEvent(event);
            }
        }
        recorder.RecordFrame(kRecordedStep, recording.snapshots ? stage->GetLevel().GetPhysics().GetWorld() : nullptr);
        stage->Update(kRecordedStep);
    }
    for (auto& controller : controllers) {
        controller->Attach(nullptr);
    }
    if (!recorder.Save()) {
        std::fprintf(stderr, "make_recordings: cannot write %s\n", name);
        return false;
    }
    return true;
}
