#include "tools/recordings/Recordings.h"

#include "app/Application.h"
#include "game/Level.h"
#include "gui/DemonstrationScene.h"
#include "gui/TutorialBlocks.h"

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

// A tutorial block's match as the tutorial builds it. A block's match goes on behind the lessons
// that follow it until the next block that starts one; a later block that only brings balls
// (block 5 after block 4) brings them here after a while, as a player reading the lesson would.
// Only the creatures on screen are steered: block 4 leaves its second creature below the arena.
class TutorialStage : public RecordingStage {
public:
    TutorialStage(const TutorialBlock& block, Controller* gamepad, Controller* keyboard)
        : m_Match(StartTutorialMatch(block, m_Level, gamepad, keyboard)), m_Number(block.number) {
        if (const TutorialBlock* next = FindTutorialBlock(block.number + 1);
            next != nullptr && next->recording == nullptr) {
            m_Later = next;
        }
    }
    Level& GetLevel() override { return m_Level; }
    Globbo* GetCreature(int index) override {
        if (index == 1 && m_Number == kOneCreatureBlock) {
            return nullptr;
        }
        return index == 0 ? m_Match->GetGlobbo1() : m_Match->GetGlobbo2();
    }
    void Update(float dt) override {
        m_Time += dt;
        if (m_Later != nullptr && m_Time >= kTutorialBallsJoinAt) {
            AddTutorialBalls(*m_Later, m_Level);
            m_Later = nullptr;
        }
        m_Match->Update(Application::GetInstance(), dt);
    }
    bool HasLevel() const { return m_Match->HasLevel(); }

private:
    static constexpr int kOneCreatureBlock = 4;

    Level m_Level;
    std::unique_ptr<SpitGame> m_Match;
    int m_Number;
    const TutorialBlock* m_Later = nullptr;
    float m_Time = 0.0f;
};

StageMaker Tutorial(const TutorialBlock& block) {
    return [&block](Controller* gamepad, Controller* keyboard) -> std::unique_ptr<RecordingStage> {
        auto stage = std::make_unique<TutorialStage>(block, gamepad, keyboard);
        if (!stage->HasLevel()) {
            return nullptr;
        }
        return stage;
    };
}

}  // namespace

std::vector<SceneRecording> ShippedRecordings() {
    std::vector<SceneRecording> recordings = {
        {kTitleScene1.recordingFile, 24.0f, 11, Demonstration(kTitleScene1)},
        {kTitleScene2.recordingFile, 20.0f, 23, Demonstration(kTitleScene2)},
    };
    // Each block's match plays while its lessons are read; the matches that later balls join
    // are replayed from their input alone.
    uint32_t seed = 41;
    for (const TutorialBlock& block : TutorialBlocks()) {
        if (block.recording != nullptr) {
            const TutorialBlock* next = FindTutorialBlock(block.number + 1);
            const bool joined = next != nullptr && next->recording == nullptr;
            recordings.push_back({block.recording, 40.0f, seed++, Tutorial(block), !joined});
        }
    }
    return recordings;
}
