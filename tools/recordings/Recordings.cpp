#include "tools/recordings/Recordings.h"

#include "app/Application.h"
#include "game/Level.h"
#include "gui/DemonstrationScene.h"

namespace {

// A title demonstration: the scripted match of the scene, its creatures thrown in as the title
// throws them.
class DemonstrationStage : public RecordingStage {
public:
    DemonstrationStage(const DemonstrationScene& scene, Controller* gamepad, Controller* keyboard)
        : m_Match(StartDemonstrationMatch(scene, m_Level, gamepad, keyboard)) {
        ThrowInCreatures(scene, *m_Match);
    }
    Level& GetLevel() override { return m_Level; }
    Globbo* GetCreature(int index) override { return index == 0 ? m_Match->GetGlobbo1() : m_Match->GetGlobbo2(); }
    void Update(float dt) override { m_Match->Update(Application::GetInstance(), dt); }
    bool HasLevel() const { return m_Match->HasLevel(); }

private:
    Level m_Level;
    std::unique_ptr<SpitGame> m_Match;
};

StageMaker Demonstration(const DemonstrationScene& scene) {
    return [scene](Controller* gamepad, Controller* keyboard) -> std::unique_ptr<RecordingStage> {
        auto stage = std::make_unique<DemonstrationStage>(scene, gamepad, keyboard);
        if (!stage->HasLevel()) {
            return nullptr;
        }
        return stage;
    };
}

}  // namespace

std::vector<SceneRecording> ShippedRecordings() {
    return {
        {kTitleScene1.recordingFile, 24.0f, 11, Demonstration(kTitleScene1)},
        {kTitleScene2.recordingFile, 20.0f, 23, Demonstration(kTitleScene2)},
    };
}
