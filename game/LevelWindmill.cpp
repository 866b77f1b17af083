#include "game/LevelWindmill.h"

#include "game/JointFactory.h"

#include <box2d/b2_body.h>
#include <box2d/b2_revolute_joint.h>

bool LevelWindmill::Load(const std::string& file, Application* application) {
    if (!Level::Load(file, application)) {
        return false;
    }
    if (b2Body* windmill = GetBodyByName("windmill")) {
        b2RevoluteJointDef pin;
        pin.Initialize(m_Physics.GetGround(), windmill, windmill->GetPosition());
        JointFactory::Create(m_Physics, pin);
    }
    m_PathFinder.UpdateWalls(*m_Physics.GetWorld());
    return true;
}
