#include "gui/DemonstrationScene.h"

#include "game/Globbo.h"
#include "game/b2ConstantVolumeJoint.h"

std::unique_ptr<SpitGame> StartDemonstrationMatch(const DemonstrationScene& scene, Level& level,
                                                  Controller* controller1, Controller* controller2) {
    auto match = std::make_unique<SpitGame>(scene.levelFile, &level, kDemonstrationCreature1, scene.position1,
                                            controller1, kDemonstrationCreature2, scene.position2, controller2);
    match->m_AutoEnd = false;
    return match;
}

void ThrowInCreatures(const DemonstrationScene& scene, SpitGame& match) {
    for (Globbo* creature : {match.GetGlobbo1(), match.GetGlobbo2()}) {
        if (creature == nullptr) {
            continue;
        }
        if (b2ConstantVolumeJoint* joint = creature->GetJoint()) {
            joint->Inflate(scene.inflation);
        }
        creature->SetLinearVelocity(scene.velocity);
    }
}
