// Level loading, the builders of bodies, fixtures, visuals and joints.
#include "app/Log.h"
#include "app/SoundManager.h"
#include "game/BodyRegistry.h"
#include "game/ConvexPieces.h"
#include "game/FiniteValues.h"
#include "game/FlashBody.h"
#include "game/JointFactory.h"
#include "game/Level.h"
#include "game/LevelLimits.h"
#include "game/PhysicalShape.h"
#include "game/b2RevoluteSpringJointDef.h"

#include <box2d/b2_body.h>
#include <box2d/b2_circle_shape.h>
#include <box2d/b2_collision.h>
#include <box2d/b2_fixture.h>
#include <box2d/b2_polygon_shape.h>
#include <box2d/b2_revolute_joint.h>
#include <box2d/b2_world.h>

#include <algorithm>
#include <memory>
#include <variant>

namespace {

constexpr float kFriction = 0.2f;
// Fixtures of green outlines get this category, whatever their body's.
constexpr uint16 kGreenCategory = 16;
// A body whose inertia about its centre of mass is less than this share of its inertia about
// its origin would lose it to Box2D's float rounding (and trip its assertion): it does not turn.
constexpr double kInertiaShare = 1.0e-4;

using Shape = std::variant<b2CircleShape, b2PolygonShape>;

const char* OutcomeText(ConvexPieces::Outcome outcome) {
    switch (outcome) {
    case ConvexPieces::Outcome::kSelfCrossing: return "crosses itself";
    case ConvexPieces::Outcome::kTooManyPoints: return "has too many points";
    default: return "is degenerate";
    }
}

b2PolygonShape Polygon(const std::vector<b2Vec2>& points) {
    b2PolygonShape polygon;
    polygon.Set(points.data(), static_cast<int32>(points.size()));
    polygon.m_radius = b2_polygonRadius;
    return polygon;
}

// The shapes of one fixture record: a circle, the polygon, the convex pieces of an outline Box2D
// could not take whole, or nothing.
std::vector<Shape> ShapesOf(const FixtureData& fixture, const std::string& file, const std::string& bodyName) {
    std::vector<Shape> shapes;
    if (fixture.m_Kind == FixtureData::kCircle) {
        if (!fixture.m_Vertices.empty() && fixture.m_Radius > 0.0f) {
            b2CircleShape circle;
            circle.m_p = fixture.m_Vertices.front();
            circle.m_radius = fixture.m_Radius;
            shapes.emplace_back(circle);
        }
        return shapes;
    }
    if (fixture.m_Kind != FixtureData::kPolygon || fixture.m_Vertices.size() < 3) {
        return shapes;
    }
    const ConvexPieces::Result split =
        ConvexPieces::Split(std::vector<b2Vec2>(fixture.m_Vertices.begin(), fixture.m_Vertices.end()));
    if (split.outcome == ConvexPieces::Outcome::kWhole) {
        shapes.emplace_back(Polygon(ConvexPieces::Oriented(split.pieces.front())));
    } else if (split.outcome == ConvexPieces::Outcome::kSplit) {
        for (const std::vector<b2Vec2>& piece : split.pieces) {
            shapes.emplace_back(Polygon(piece));
        }
    } else {
        log_error("Level::Load: %s: a polygon of %zu points of body \"%s\" %s; it is left out", file.c_str(),
                  fixture.m_Vertices.size(), bodyName.c_str(), OutcomeText(split.outcome));
    }
    return shapes;
}

// Mass, first moment and inertia about the body origin of a shape of density 1, in doubles.
struct Moments {
    double mass = 0.0;
    double x = 0.0;
    double y = 0.0;
    double inertia = 0.0;
};

Moments MomentsOf(const Shape& shape) {
    Moments m;
    if (const auto* circle = std::get_if<b2CircleShape>(&shape)) {
        const double r = circle->m_radius;
        const double px = circle->m_p.x;
        const double py = circle->m_p.y;
        m.mass = b2_pi * r * r;
        m.x = m.mass * px;
        m.y = m.mass * py;
        m.inertia = m.mass * (0.5 * r * r + px * px + py * py);
        return m;
    }
    const auto& polygon = std::get<b2PolygonShape>(shape);
    for (int32 i = 0; i < polygon.m_count; ++i) {
        const double x1 = polygon.m_vertices[i].x;
        const double y1 = polygon.m_vertices[i].y;
        const double x2 = polygon.m_vertices[(i + 1) % polygon.m_count].x;
        const double y2 = polygon.m_vertices[(i + 1) % polygon.m_count].y;
        const double cross = x1 * y2 - x2 * y1;
        m.mass += cross / 2.0;
        m.x += cross * (x1 + x2) / 6.0;
        m.y += cross * (y1 + y2) / 6.0;
        m.inertia += cross * (x1 * x1 + x1 * x2 + x2 * x2 + y1 * y1 + y1 * y2 + y2 * y2) / 12.0;
    }
    return m;
}

// Whether Box2D keeps a usable inertia after every fixture it adds in turn.
bool TurnsSafely(const std::vector<Shape>& shapes) {
    Moments sum;
    for (const Shape& shape : shapes) {
        const Moments m = MomentsOf(shape);
        sum.mass += m.mass;
        sum.x += m.x;
        sum.y += m.y;
        sum.inertia += m.inertia;
        if (sum.mass > 0.0 && sum.inertia > 0.0) {
            const double centred = sum.inertia - (sum.x * sum.x + sum.y * sum.y) / sum.mass;
            if (!(centred > kInertiaShare * sum.inertia)) {
                return false;
            }
        }
    }
    return true;
}

// How many more shapes fit under the limit when `built` are built; the first time made ones do
// not all fit, the limit is logged, naming the shapes it counts.
size_t Room(size_t made, size_t limit, size_t built, bool& logged, const char* which, const std::string& file) {
    const size_t room = limit - std::min(built, limit);
    if (made > room && !logged) {
        log_error("Level::Load: %s: its %sfixtures make more than %zu shapes; the rest are left out", file.c_str(),
                  which, limit);
        logged = true;
    }
    return room;
}

// Whether fixtures of the two filters collide, as Box2D's default contact filter decides.
bool Collide(const b2Filter& a, const b2Filter& b) {
    if (a.groupIndex == b.groupIndex && a.groupIndex != 0) {
        return a.groupIndex > 0;
    }
    return (a.maskBits & b.categoryBits) != 0 && (a.categoryBits & b.maskBits) != 0;
}

// The shapes of fixed bodies other than `self` that the shape, placed at xf with the filter,
// overlaps and would collide with.
size_t FixedOverlaps(const b2World& world, const b2Shape& shape, const b2Transform& xf, const b2Filter& filter,
                     const b2Body* self) {
    class Query : public b2QueryCallback {
    public:
        Query(const b2Shape& shape, const b2Transform& xf, const b2Filter& filter, const b2Body* self)
            : m_Shape(shape), m_Transform(xf), m_Filter(filter), m_Self(self) {}
        bool ReportFixture(b2Fixture* fixture) override {
            const b2Body* other = fixture->GetBody();
            if (other != m_Self && other->GetType() == b2_staticBody && Collide(m_Filter, fixture->GetFilterData()) &&
                b2TestOverlap(&m_Shape, 0, fixture->GetShape(), 0, m_Transform, other->GetTransform())) {
                ++m_Count;
            }
            return true;
        }
        size_t GetCount() const { return m_Count; }

    private:
        const b2Shape& m_Shape;
        const b2Transform& m_Transform;
        const b2Filter& m_Filter;
        const b2Body* m_Self;
        size_t m_Count = 0;
    };
    Query query(shape, xf, filter, self);
    b2AABB box;
    shape.ComputeAABB(&box, xf, 0);
    world.QueryAABB(&query, box);
    return query.GetCount();
}

// The overlaps of all fixtures of the body with fixed bodies' shapes.
size_t FixedOverlaps(const b2World& world, const b2Body& body) {
    size_t overlaps = 0;
    for (const b2Fixture* f = body.GetFixtureList(); f != nullptr; f = f->GetNext()) {
        overlaps += FixedOverlaps(world, *f->GetShape(), body.GetTransform(), f->GetFilterData(), &body);
    }
    return overlaps;
}

}  // namespace

bool Level::Load(const std::string& file, Application*) {
    Clear();
    disconnect_all();
    m_Data = LevelData();
    m_Physics.Create();
    if (!ReadData(file)) {
        log_error("Level::Load: cannot read the level %s", file.c_str());
        m_Data = LevelData();
        return false;
    }
    LoadBackground();
    ShapeCount shapes;
    std::vector<b2Body*> moving;
    for (const BodyData& body : m_Data.m_Bodies) {
        b2Body* built = BuildBody(body, file, shapes);
        if (built != nullptr && built->GetType() == b2_dynamicBody) {
            moving.push_back(built);
        }
    }
    AddStartingBodies(moving, file);
    BuildElements();
    m_PathFinder.Build(*m_Physics.GetWorld(), kPathCellSize);
    m_Sketch.Reset(m_Physics.GetHalfWidth(), m_Physics.GetHalfHeight(), m_Physics.GetPixelsPerUnit());
    m_ParticleTransform[1] = m_Physics.GetHalfWidth();
    m_ParticleTransform[2] = m_Physics.GetHalfHeight();
    m_ParticleTransform[3] = m_Physics.GetPixelsPerUnit();
    BodyRemovedSignal().connect(this, &Level::OnBodyRemoved);
    return true;
}

void Level::AddStartingBodies(const std::vector<b2Body*>& moving, const std::string& file) {
    const b2World& world = *m_Physics.GetWorld();
    size_t overlaps = 0;
    bool logged = false;
    // Whether the overlaps of one more body fit; the first that does not is logged.
    auto fits = [&](size_t more) {
        if (more <= LevelLimits::kMaxStartingOverlaps - overlaps) {
            overlaps += more;
            return true;
        }
        if (!logged) {
            log_error(
                "Level::Load: %s: its moving bodies and balls start inside fixed outlines in more than %zu "
                "places; the bodies past them do not move, the balls past them are left out",
                file.c_str(), LevelLimits::kMaxStartingOverlaps);
            logged = true;
        }
        return false;
    };
    for (b2Body* body : moving) {
        if (!fits(FixedOverlaps(world, *body))) {
            body->SetType(b2_staticBody);
        }
    }
    b2CircleShape ball;
    ball.m_radius = Ball::kRadius;
    b2Filter filter;
    filter.categoryBits = Ball::kCategory;
    filter.maskBits = Ball::kMask;
    for (const Vec2Data& position : m_Data.m_Balls) {
        const b2Transform at(finite_values::Position(position), b2Rot(0.0f));
        if (fits(FixedOverlaps(world, ball, at, filter, nullptr))) {
            AddBall(position);
        }
    }
}

b2Body* Level::BuildBody(const BodyData& data, const std::string& file, ShapeCount& shapes) {
    b2BodyDef def;
    def.type = data.m_Density > 0.0f ? b2_dynamicBody : b2_staticBody;
    def.position = data.m_Position;
    def.angle = data.m_Rotation;
    b2Body* body = m_Physics.CreateBody(def);
    if (body == nullptr) {
        return nullptr;
    }
    BuildFixtures(body, data, file, shapes);
    BuildVisual(body, data);
    if (!data.m_Name.empty()) {
        m_NamedBodies[data.m_Name] = body;
    }
    for (const JointData& joint : data.m_Joints) {
        BuildJoint(body, joint);
    }
    if (!data.m_SoundType.empty()) {
        SoundManager::GetInstance().SetBodyType(body, data.m_SoundType);
        m_SoundBodies.push_back(body);
    }
    return body;
}

void Level::BuildFixtures(b2Body* body, const BodyData& data, const std::string& file, ShapeCount& levelShapes) {
    std::vector<Shape> shapes;
    std::vector<bool> green;
    for (const FixtureData& fixture : data.m_Fixtures) {
        for (Shape& shape : ShapesOf(fixture, file, data.m_Name)) {
            shapes.push_back(std::move(shape));
            green.push_back(fixture.m_Green == 1);
        }
    }
    const bool moves = body->GetType() == b2_dynamicBody;
    size_t kept = shapes.size();
    if (moves) {
        kept = std::min(kept, Room(kept, LevelLimits::kMaxMovingShapes, levelShapes.moving, levelShapes.movingCut,
                                   "moving bodies' ", file));
    }
    kept = std::min(kept, Room(kept, LevelLimits::kMaxFixtures, levelShapes.all, levelShapes.cut, "", file));
    shapes.resize(kept);
    levelShapes.all += shapes.size();
    levelShapes.moving += moves ? shapes.size() : 0;
    if (moves && !TurnsSafely(shapes)) {
        log_error("Level::Load: %s: body \"%s\" is too small for its distance from its origin to turn; it does not",
                  file.c_str(), data.m_Name.c_str());
        body->SetFixedRotation(true);
    }
    b2FixtureDef def;
    def.friction = kFriction;
    def.restitution = data.m_Restitution;
    def.density = data.m_Density;
    def.isSensor = false;
    def.filter.maskBits = static_cast<uint16>(data.m_FilterMask);
    def.filter.groupIndex = 0;
    for (size_t i = 0; i < shapes.size(); ++i) {
        def.filter.categoryBits = green[i] ? kGreenCategory : static_cast<uint16>(data.m_FilterCategory);
        def.shape = std::visit([](const b2Shape& shape) { return &shape; }, shapes[i]);
        body->CreateFixture(&def);
    }
}

void Level::BuildVisual(b2Body* body, const BodyData& data) {
    if (data.m_FlashFile.empty()) {
        if (data.m_ShowShapes) {
            m_Elements.push_back(std::make_unique<PhysicalShape>(body, 1.0f));
        }
        return;
    }
    auto visual = std::make_unique<FlashBody>(body, data.m_FlashFile);
    const FlashMovie& movie = visual->GetFrontMovie();
    visual->SetCentre(data.m_CenterVisual ? sf::Vector2f(movie.GetWidth() / 2.0f, movie.GetHeight() / 2.0f)
                                          : sf::Vector2f(data.m_VisualOffset.x, data.m_VisualOffset.y));
    visual->SetVisualRotation(data.m_VisualRotation);
    m_Elements.push_back(std::move(visual));
}

void Level::BuildJoint(b2Body* body, const JointData& joint) {
    const b2Vec2 anchor = body->GetWorldPoint(joint.m_Pos1);
    if (joint.m_Type == "revolute") {
        b2RevoluteJointDef def;
        def.Initialize(m_Physics.GetGround(), body, anchor);
        JointFactory::Create(m_Physics, def);
    } else if (joint.m_Type == "revolutespring") {
        b2RevoluteSpringJointDef def;
        def.Initialize(m_Physics.GetGround(), body, anchor);
        def.stiffness = joint.m_Param1;
        def.maxMotorTorque = joint.m_Param2;
        JointFactory::Create(m_Physics, def);
    }
}
