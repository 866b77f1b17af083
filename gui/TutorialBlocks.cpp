#include "gui/TutorialBlocks.h"

#include "app/Log.h"
#include "game/Level.h"
#include "gui/DemonstrationScene.h"

#include <box2d/b2_body.h>
#include <box2d/b2_revolute_joint.h>
#include <box2d/b2_world.h>

namespace {

constexpr const char* kLevel = "data/tutorial_level.xml";
constexpr const char* kFunLevel = "data/tutorial_level_fun.xml";
constexpr const char* kPlank = "Plank";

void PinPlank(Level& level, const char* levelFile) {
    b2Body* plank = level.GetBodyByName(kPlank);
    b2Body* ground = level.GetPhysics().GetGround();
    b2World* world = level.GetPhysics().GetWorld();
    if (plank == nullptr || ground == nullptr || world == nullptr) {
        log_error("TutorialBlocks: %s has no %s to pin", levelFile, kPlank);
        return;
    }
    b2RevoluteJointDef pin;
    pin.Initialize(ground, plank, plank->GetPosition());
    world->CreateJoint(&pin);
}

}  // namespace

const std::vector<TutorialBlock>& TutorialBlocks() {
    // Creature 2 of block 4 starts below the arena and stays there: that lesson has one creature.
    static const std::vector<TutorialBlock> blocks = {
        {4, "data/tutorial_block04.xml", kLevel, {0.0f, 15.0f}, {0.0f, 200.0f}, {}, false},
        {5, nullptr, nullptr, {}, {}, {{-20.0f, 15.0f}, {20.0f, 15.0f}}, false},
        {7,
         "data/tutorial_block07.xml",
         kLevel,
         {15.0f, 15.0f},
         {-15.0f, 15.0f},
         {{-20.0f, 15.0f}, {-20.0f, 0.0f}, {0.0f, 5.0f}, {20.0f, 0.0f}, {20.0f, 15.0f}},
         false},
        {8,
         "data/tutorial_block08.xml",
         kLevel,
         {15.0f, 15.0f},
         {-15.0f, 15.0f},
         {{-20.0f, 0.0f}, {0.0f, 5.0f}, {20.0f, 0.0f}},
         false},
        {11, "data/tutorial_block11.xml", kLevel, {15.0f, 15.0f}, {-15.0f, 15.0f}, {{0.0f, 5.0f}}, false},
        {12, "data/tutorial_block12.xml", kFunLevel, {15.0f, 5.0f}, {-15.0f, 5.0f}, {}, true},
    };
    return blocks;
}

const TutorialBlock* FindTutorialBlock(int number) {
    for (const TutorialBlock& block : TutorialBlocks()) {
        if (block.number == number) {
            return &block;
        }
    }
    return nullptr;
}

std::unique_ptr<SpitGame> StartTutorialMatch(const TutorialBlock& block, Level& level, Controller* controller1,
                                             Controller* controller2) {
    auto match = std::make_unique<SpitGame>(block.level, &level, kDemonstrationCreature1, block.creature1, controller1,
                                            kDemonstrationCreature2, block.creature2, controller2);
    if (!match->HasLevel()) {
        return match;
    }
    AddTutorialBalls(block, level);
    if (block.pinPlank) {
        PinPlank(level, block.level);
    }
    return match;
}

void AddTutorialBalls(const TutorialBlock& block, Level& level) {
    for (const b2Vec2& position : block.balls) {
        level.AddBall(position);
    }
}
