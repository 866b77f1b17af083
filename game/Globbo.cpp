#include "game/Globbo.h"

#include "app/GameRandom.h"
#include "app/Log.h"
#include "app/ResourceXml.h"
#include "game/BodyRegistry.h"
#include "game/FiniteValues.h"
#include "game/JointFactory.h"
#include "game/PhysicalShape.h"
#include "game/PhysicsWorld.h"
#include "game/b2ConstantVolumeJoint.h"
#include "serializeme/XmlStorageBuffer.h"

#include <box2d/b2_body.h>
#include <box2d/b2_circle_shape.h>
#include <box2d/b2_fixture.h>
#include <box2d/b2_polygon_shape.h>

#include <cmath>

namespace {

// The ring's angles step by this (3.1415 rather than pi: the last body stops just short of
// closing the ellipse).
constexpr float kHalfTurn = 3.1415f;
constexpr float kRingDamping = 0.5f;
constexpr float kRingFriction = 0.2f;
constexpr float kRingRestitution = 0.001f;
constexpr float kRingDensity = 0.1f;
constexpr float kMouthHalfSize = 1.0f;
constexpr float kMouthSkin = 0.01f;
constexpr float kMouthFriction = 0.2f;
constexpr float kMouthDensity = 0.2f;
constexpr float kAnchorFriction = 0.2f;
constexpr uint16 kRingCategory = 1;
constexpr uint16 kMouthCategory = 2;
constexpr uint16 kAnchorCategory = 1;
constexpr uint16 kEverything = 0xFFFF;
constexpr float kEdgeFrequency = 15.0f;
constexpr float kEdgeDamping = 1.0f;

// The group the next creature's ring takes.
int g_NextGroup = Globbo::kFirstGroup;

int TakeGroup() {
    const int group = g_NextGroup;
    g_NextGroup = group == Globbo::kLastGroup ? Globbo::kFirstGroup : group - 1;
    return group;
}

BodyRecord PartRecord(Globbo* creature, int kind) {
    BodyRecord pattern;
    pattern.alive = true;
    pattern.kind = kind;
    pattern.owner = creature;
    pattern.state = 0;
    pattern.neutralTimer = 0.0f;
    return pattern;
}

// A movie of the definition centred on its middle; null when the definition names none.
std::unique_ptr<FlashMovie> LoadAttachment(const std::string& file, bool centred) {
    if (file.empty()) {
        return nullptr;
    }
    auto movie = std::make_unique<FlashMovie>(file.c_str());
    if (centred) {
        movie->setOrigin(movie->GetWidth() / 2.0f, movie->GetHeight() / 2.0f);
    }
    return movie;
}

void LoadPart(FlashMovie& movie, const std::string& file) {
    movie = FlashMovie();
    if (!file.empty()) {
        movie.Load(file.c_str());
    }
    movie.setOrigin(movie.GetWidth() / 2.0f, movie.GetHeight() / 2.0f);
}

void Tint(FlashMovie& movie, const sf::Color& color) {
    movie.SetColor(color.r / 255.0f, color.g / 255.0f, color.b / 255.0f, 1.0f);
}

}  // namespace

int Globbo::NextGroup() {
    return g_NextGroup;
}

Globbo::Globbo(PhysicsWorld& world, const std::string& file, float x, float y) : m_World(world) {
    Load(file, x, y);
}

Globbo::~Globbo() {
    DestroyPhysics();
}

void Globbo::Load(const std::string& file, float x, float y) {
    m_File = file;
    m_Data = GlobboData();
    const ResourceXml resource(file);
    const TiXmlElement* definition = resource.GetRoot() ? resource.GetRoot()->FirstChildElement("globbo") : nullptr;
    if (definition == nullptr) {
        log_error("Globbo::Load: cannot read the creature %s", file.c_str());
    } else {
        sme::XmlStorageBuffer reader(false);
        reader.SetRoot(definition);
        m_Data.Serialize(reader);
    }
    Build(x, y);
}

void Globbo::Build(float x, float y) {
    DestroyPhysics();
    x = finite_values::Coordinate(x);
    y = finite_values::Coordinate(y);
    m_Name = m_Data.m_CharacterName;
    m_BodyColor = m_Data.m_BodyColor;
    LoadMovies();
    m_Center.Set(x, y);
    m_RingRadius = kRingRadius;
    m_MoveForce = kMoveForce;
    m_Group = TakeGroup();
    if (!BuildRing(x, y) || !BuildMouth(x, y) || !BuildAnchor(x, y)) {
        log_error("Globbo::Build: the world refused the creature %s at (%f, %f)", m_File.c_str(), x, y);
        DestroyPhysics();
        m_Center.Set(x, y);
    }
    m_ScreenCenter = ScreenMapping::Of(m_World).Map(m_Center);
    m_Facing.SetZero();
    GameRandom& random = GameRandom::GetInstance();
    m_MouthTimer = random.Random(0.0f, 1.0f);
    m_BlinkTimer = random.Random(0.0f, 1.0f);
}

void Globbo::LoadMovies() {
    m_SkinMovie = FlashMovie(kSkinMovie);
    LoadPart(m_EyesMovie, m_Data.m_Eyes.m_Image);
    if (m_Data.m_Eyes.m_UseColorTransform) {
        Tint(m_EyesMovie, m_BodyColor);
    }
    m_Eyes = {};
    m_Eyes[0].Setup(&m_EyesMovie, "eye_l", kPupilRange);
    m_Eyes[1].Setup(&m_EyesMovie, "eye_r", kPupilRange);
    LoadPart(m_MouthMovie, m_Data.m_Mouth.m_Image);
    m_EyesAttachment = LoadAttachment(m_Data.m_Eyes.m_Attachment, true);
    m_SkinAttachment = LoadAttachment(m_Data.m_SkinAttachment, true);
    m_SkinTopAttachment = LoadAttachment(m_Data.m_SkinTopAttachment, true);
    m_SkinTop = SkinTopFollower();
    if (m_Data.m_Mouth.m_UseColorTransform) {
        Tint(m_MouthMovie, m_BodyColor);
    }
}

bool Globbo::BuildRing(float x, float y) {
    b2ConstantVolumeJointDef joint;
    joint.frequencyHz = kEdgeFrequency;
    joint.dampingRatio = kEdgeDamping;
    b2CircleShape circle;
    circle.m_radius = m_RingRadius;
    b2FixtureDef fixture;
    fixture.shape = &circle;
    fixture.friction = kRingFriction;
    fixture.restitution = kRingRestitution;
    fixture.density = kRingDensity;
    fixture.filter.categoryBits = kRingCategory;
    fixture.filter.maskBits = kEverything;
    fixture.filter.groupIndex = static_cast<int16>(m_Group);
    b2Vec2 sum(0.0f, 0.0f);
    for (int i = 0; i < 2 * kRingBodyCount; i += 2) {
        const float angle = static_cast<float>(i) * kHalfTurn / kRingBodyCount;
        b2BodyDef def;
        def.type = b2_dynamicBody;
        def.fixedRotation = true;
        def.linearDamping = kRingDamping;
        def.awake = true;
        def.allowSleep = true;
        def.position.Set(x + kRingHalfWidth * std::cos(angle), y + kRingHalfHeight * std::sin(angle));
        b2Body* body = CreateRegisteredBody(m_World, def, PartRecord(this, kRingBody));
        if (body == nullptr) {
            return false;
        }
        m_RingBodies.push_back(body);
        body->CreateFixture(&fixture);
        joint.bodies.push_back(body);
        sum += body->GetPosition();
    }
    m_Center = (1.0f / kRingBodyCount) * sum;
    m_Joint = JointFactory::Create(m_World, joint);
    return m_Joint != nullptr;
}

bool Globbo::BuildMouth(float x, float y) {
    b2BodyDef def;
    def.type = b2_dynamicBody;
    def.position.Set(x, y + kMouthOffset);
    m_MouthBody = CreateRegisteredBody(m_World, def, PartRecord(this, kMouthBody));
    if (m_MouthBody == nullptr) {
        return false;
    }
    b2PolygonShape box;
    box.SetAsBox(kMouthHalfSize, kMouthHalfSize);
    box.m_radius = kMouthSkin;
    b2FixtureDef fixture;
    fixture.shape = &box;
    fixture.friction = kMouthFriction;
    fixture.restitution = 0.0f;
    fixture.density = kMouthDensity;
    fixture.filter.categoryBits = kMouthCategory;
    fixture.filter.maskBits = kEverything;
    fixture.filter.groupIndex = 0;
    m_MouthBody->CreateFixture(&fixture);
    m_MouthShape = std::make_unique<PhysicalShape>(m_MouthBody, 1.0f);
    m_Steering = {b2Vec2(0.0f, 0.0f), kFirstSteeringForce, m_MouthBody};
    return true;
}

bool Globbo::BuildAnchor(float x, float y) {
    b2BodyDef def;
    def.type = b2_staticBody;
    def.position.Set(x, y);
    m_AnchorBody = CreateRegisteredBody(m_World, def, PartRecord(this, kAnchorBody));
    if (m_AnchorBody == nullptr) {
        return false;
    }
    b2PolygonShape box;
    box.SetAsBox(kMouthHalfSize, kMouthHalfSize);
    b2FixtureDef fixture;
    fixture.shape = &box;
    fixture.density = 0.0f;
    fixture.friction = kAnchorFriction;
    fixture.filter.categoryBits = kAnchorCategory;
    fixture.filter.maskBits = 0;
    m_AnchorBody->CreateFixture(&fixture);
    return true;
}

void Globbo::DestroyPhysics() {
    if (m_Joint != nullptr) {
        JointFactory::Destroy(m_World, m_Joint);
        m_Joint = nullptr;
    }
    for (b2Body* body : m_RingBodies) {
        DestroyBody(body);
    }
    m_RingBodies.clear();
    m_MouthShape.reset();
    m_Steering.mouth = nullptr;
    DestroyBody(m_MouthBody);
    m_MouthBody = nullptr;
    DestroyBody(m_AnchorBody);
    m_AnchorBody = nullptr;
}

void Globbo::DestroyBody(b2Body* body) {
    if (body == nullptr) {
        return;
    }
    EraseBodyRecord(body);
    m_World.DestroyBody(body);
    BodyRemovedSignal().emit(body);
}
