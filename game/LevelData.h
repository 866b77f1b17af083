#pragma once

#include "app/Vec2Data.h"
#include "serializeme/Serializable.h"

#include <cstdint>
#include <string>
#include <vector>

// The records of a level file. Positions are world units (the arena spans -50..50 by -37.5..37.5,
// y down, 8 pixels a unit) unless a record says otherwise; angles are radians. Reading makes
// every number safe (finite, positions within 1,000 units of the origin; see FiniteValues.h), so
// whatever holds these records can hand them to the physics engine and to drawing as they are.

// One collision outline of a body. Only the vertices are stored; the SVG reader sets the rest.
class FixtureData : public sme::Serializable {
public:
    enum Kind : int32_t { kCircle = 0, kPolygon = 1 };

    bool Serialize(sme::StorageBuffer& buffer) override;
    const char* TypeName() const override { return "fixture"; }

    int32_t m_Kind = kPolygon;
    // 1 when the SVG path is filled "fill:#00ff00": the fixture never makes path-finding walls.
    int32_t m_Green = 0;
    // Polygon vertices in body units; a circle's one entry is its centre.
    std::vector<Vec2Data> m_Vertices;
    // A circle's radius in units.
    float m_Radius = 0.0f;
};

// A joint between its body and the world's ground body.
class JointData : public sme::Serializable {
public:
    bool Serialize(sme::StorageBuffer& buffer) override;
    const char* TypeName() const override { return "joint"; }

    // "revolute" or "revolutespring"; other types build nothing.
    std::string m_Type;
    // The anchor in body units.
    Vec2Data m_Pos1;
    // For "revolutespring": the spring's stiffness and its largest torque.
    float m_Param1 = 0.0f;
    float m_Param2 = 0.0f;
};

// One physical body with its outlines, its picture and its joints.
class BodyData : public sme::Serializable {
public:
    bool Serialize(sme::StorageBuffer& buffer) override;
    const char* TypeName() const override { return "body"; }

    // A body with a name can be looked up by it.
    std::string m_Name;
    // Stored and read; nothing uses it.
    int32_t m_BodyType = 0;
    // The collision-sound kind of the body (a body type of the sound table).
    std::string m_SoundType;
    Vec2Data m_Position;
    float m_Rotation = 0.0f;
    // The movie drawn on the body.
    std::string m_FlashFile;
    // The movie's origin in movie pixels, unless m_CenterVisual puts it at the movie's centre.
    Vec2Data m_VisualOffset;
    float m_VisualRotation = 0.0f;
    bool m_CenterVisual = false;
    // A drawing whose paths become fixtures, each point moved by m_SVGOffset SVG pixels first; the
    // level appends them to m_Fixtures when it loads (see LevelLimits).
    std::string m_SVGFile;
    Vec2Data m_SVGOffset;
    // Above 0 the body is dynamic, else static; never negative after reading.
    float m_Density = 1.0f;
    float m_Restitution = 0.4f;
    // The collision filter of every fixture (16-bit values).
    uint32_t m_FilterCategory = 1;
    uint32_t m_FilterMask = 65535;
    std::vector<FixtureData> m_Fixtures;
    std::vector<JointData> m_Joints;
    // Draw the outlines when the body has no movie.
    bool m_ShowShapes = false;
};

// A decorative movie. Its position, unlike every other, is in screen pixels of the 800 x 600
// match screen.
class StaticElementData : public sme::Serializable {
public:
    bool Serialize(sme::StorageBuffer& buffer) override;
    const char* TypeName() const override { return "staticelement"; }

    std::string m_FlashFile;
    Vec2Data m_Position;
};

// An active element; "teleporter" is the one type built.
class ActiveElementData : public sme::Serializable {
public:
    bool Serialize(sme::StorageBuffer& buffer) override;
    const char* TypeName() const override { return "activeelement"; }

    std::string m_Type;
    Vec2Data m_Position;
    Vec2Data m_Position2;
};

// A whole level: the root record of a level file, under the key "data".
class LevelData : public sme::Serializable {
public:
    bool Serialize(sme::StorageBuffer& buffer) override;
    const char* TypeName() const override { return "level"; }

    std::vector<BodyData> m_Bodies;
    // The start position of each ball.
    std::vector<Vec2Data> m_Balls;
    std::vector<StaticElementData> m_Statics;
    std::vector<ActiveElementData> m_Actives;
    // The background picture; may be empty.
    std::string m_Background;
    Vec2Data m_Player1StartPos;
    Vec2Data m_Player2StartPos;
    // The zoom of the match view; always above 0 after reading.
    float m_ViewZoom = 1.0f;
};
