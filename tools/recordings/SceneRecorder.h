#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

class b2World;
class Controller;
class Globbo;
class Level;

// A scene whose input is being recorded: its level and world, the creatures the recording steers
// and one update step. Creature 0 is steered by the gamepad, creature 1 by the keyboard; both
// replay that way (the gamepad's input drives the first scripted controller).
class RecordingStage {
public:
    virtual ~RecordingStage() = default;
    virtual Level& GetLevel() = 0;
    // The steered creature (0 or 1); null when the scene steers no such creature.
    virtual Globbo* GetCreature(int index) = 0;
    // One update step of the scene, as its screen runs it on replay.
    virtual void Update(float dt) = 0;
};

// Builds a scene on the two live controllers, which the scene stores as it will store the
// scripted ones on replay; the recorder attaches them.
using StageMaker = std::function<std::unique_ptr<RecordingStage>(Controller* gamepad, Controller* keyboard)>;

// One recording to make.
struct SceneRecording {
    // The recording's file name in the game's folder, such as "data/gametitle_script1.txt".
    std::string file;
    // How long the scene is played, in seconds.
    float seconds;
    // The pilots' random choices start from it.
    uint32_t seed;
    StageMaker stage;
    // Whether the recording holds body snapshots. A scene that gains bodies on replay at a moment
    // of the player's choosing (the tutorial's balls) is replayed from its input alone, since
    // snapshots of another body count would put its bodies in each other's places.
    bool snapshots = true;
};

// The length of one recorded step, that of the game's main loop.
constexpr float kRecordedStep = 0.02f;

// Plays the scene for its time with the pilots' input going through live controllers (from
// "data/controls/gamepad_1.xml" and "data/controls/keyboard_arrows.xml"), recording every step
// (with body snapshots when the recording has them), and saves the recording into the write folder. False, with a
// message on standard error, when the controllers or the scene cannot be made or the file not written.
bool RecordScene(const SceneRecording& recording);
