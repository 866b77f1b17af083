#include "game/LevelData.h"

#include "game/FiniteValues.h"
#include "serializeme/StorageBuffer.h"
#include "serializeme/VectorSerialization.h"

#include <algorithm>

namespace {

using finite_values::Coordinate;
using finite_values::OrZero;
using finite_values::Position;

// Densities beyond this would overflow the masses and inertias Box2D sums up in floats.
constexpr float kMaxDensity = 1.0e6f;
// Static clips are placed in screen pixels: the same reach as world positions.
constexpr float kMaxScreenCoordinate = finite_values::kMaxCoordinate * 8.0f;

void MakeSafe(Vec2Data& v) {
    v = Vec2Data(Position(v));
}

}  // namespace

bool FixtureData::Serialize(sme::StorageBuffer& buffer) {
    if (buffer.IsWriting()) {
        sme::WriteVector(buffer, "m_Vertices", m_Vertices);
        return true;
    }
    const bool read = sme::ReadVector(buffer, "m_Vertices", m_Vertices);
    for (Vec2Data& v : m_Vertices) {
        MakeSafe(v);
    }
    return read;
}

bool JointData::Serialize(sme::StorageBuffer& buffer) {
    if (buffer.IsWriting()) {
        buffer.WriteString("m_Type", m_Type);
        buffer.WriteObject("m_Pos1", m_Pos1);
        buffer.WriteFloat("m_Param1", m_Param1);
        buffer.WriteFloat("m_Param2", m_Param2);
        return true;
    }
    buffer.ReadString("m_Type", m_Type);
    buffer.ReadObject("m_Pos1", m_Pos1);
    buffer.ReadFloat("m_Param1", m_Param1);
    buffer.ReadFloat("m_Param2", m_Param2);
    MakeSafe(m_Pos1);
    m_Param1 = OrZero(m_Param1);
    m_Param2 = OrZero(m_Param2);
    return true;
}

bool BodyData::Serialize(sme::StorageBuffer& buffer) {
    if (buffer.IsWriting()) {
        buffer.WriteString("m_Name", m_Name);
        buffer.WriteInt("m_BodyType", m_BodyType);
        buffer.WriteString("m_SoundType", m_SoundType);
        buffer.WriteObject("m_Position", m_Position);
        buffer.WriteFloat("m_Rotation", m_Rotation);
        buffer.WriteString("m_FlashFile", m_FlashFile);
        buffer.WriteFloat("m_VisualRotation", m_VisualRotation);
        buffer.WriteObject("m_VisualOffset", m_VisualOffset);
        buffer.WriteBool("m_CenterVisual", m_CenterVisual);
        buffer.WriteString("m_SVGFile", m_SVGFile);
        buffer.WriteObject("m_SVGOffset", m_SVGOffset);
        sme::WriteVector(buffer, "m_Fixtures", m_Fixtures);
        sme::WriteVector(buffer, "m_Joints", m_Joints);
        buffer.WriteFloat("m_Density", m_Density);
        buffer.WriteFloat("m_Restitution", m_Restitution);
        buffer.WriteUInt("m_FilterCategory", m_FilterCategory);
        buffer.WriteUInt("m_FilterMask", m_FilterMask);
        buffer.WriteBool("m_ShowShapes", m_ShowShapes);
        return true;
    }
    buffer.ReadString("m_Name", m_Name);
    buffer.ReadInt("m_BodyType", m_BodyType);
    buffer.ReadString("m_SoundType", m_SoundType);
    buffer.ReadObject("m_Position", m_Position);
    buffer.ReadFloat("m_Rotation", m_Rotation);
    buffer.ReadString("m_FlashFile", m_FlashFile);
    buffer.ReadFloat("m_VisualRotation", m_VisualRotation);
    buffer.ReadObject("m_VisualOffset", m_VisualOffset);
    buffer.ReadBool("m_CenterVisual", m_CenterVisual);
    buffer.ReadString("m_SVGFile", m_SVGFile);
    buffer.ReadObject("m_SVGOffset", m_SVGOffset);
    bool read = sme::ReadVector(buffer, "m_Fixtures", m_Fixtures);
    read = sme::ReadVector(buffer, "m_Joints", m_Joints) && read;
    buffer.ReadFloat("m_Density", m_Density);
    buffer.ReadFloat("m_Restitution", m_Restitution);
    buffer.ReadUInt("m_FilterCategory", m_FilterCategory);
    buffer.ReadUInt("m_FilterMask", m_FilterMask);
    buffer.ReadBool("m_ShowShapes", m_ShowShapes);

    MakeSafe(m_Position);
    m_Rotation = OrZero(m_Rotation);
    m_VisualRotation = OrZero(m_VisualRotation);
    m_VisualOffset = Vec2Data(OrZero(m_VisualOffset.x), OrZero(m_VisualOffset.y));
    MakeSafe(m_SVGOffset);
    m_Density = std::min(std::max(OrZero(m_Density), 0.0f), kMaxDensity);
    m_Restitution = OrZero(m_Restitution);
    return read;
}

bool StaticElementData::Serialize(sme::StorageBuffer& buffer) {
    if (buffer.IsWriting()) {
        buffer.WriteString("m_FlashFile", m_FlashFile);
        buffer.WriteObject("m_Position", m_Position);
        return true;
    }
    buffer.ReadString("m_FlashFile", m_FlashFile);
    buffer.ReadObject("m_Position", m_Position);
    m_Position = Vec2Data(finite_values::Clamped(m_Position.x, kMaxScreenCoordinate),
                          finite_values::Clamped(m_Position.y, kMaxScreenCoordinate));
    return true;
}

bool ActiveElementData::Serialize(sme::StorageBuffer& buffer) {
    if (buffer.IsWriting()) {
        buffer.WriteString("m_Type", m_Type);
        buffer.WriteObject("m_Position", m_Position);
        buffer.WriteObject("m_Position2", m_Position2);
        return true;
    }
    buffer.ReadString("m_Type", m_Type);
    buffer.ReadObject("m_Position", m_Position);
    buffer.ReadObject("m_Position2", m_Position2);
    MakeSafe(m_Position);
    MakeSafe(m_Position2);
    return true;
}

bool LevelData::Serialize(sme::StorageBuffer& buffer) {
    if (buffer.IsWriting()) {
        buffer.WriteString("m_Background", m_Background);
        sme::WriteVector(buffer, "m_Bodies", m_Bodies);
        sme::WriteVector(buffer, "m_Balls", m_Balls);
        sme::WriteVector(buffer, "m_Statics", m_Statics);
        sme::WriteVector(buffer, "m_Actives", m_Actives);
        buffer.WriteObject("m_Player1StartPos", m_Player1StartPos);
        buffer.WriteObject("m_Player2StartPos", m_Player2StartPos);
        buffer.WriteFloat("m_ViewZoom", m_ViewZoom);
        return true;
    }
    buffer.ReadString("m_Background", m_Background);
    bool read = sme::ReadVector(buffer, "m_Bodies", m_Bodies);
    read = sme::ReadVector(buffer, "m_Balls", m_Balls) && read;
    read = sme::ReadVector(buffer, "m_Statics", m_Statics) && read;
    read = sme::ReadVector(buffer, "m_Actives", m_Actives) && read;
    buffer.ReadObject("m_Player1StartPos", m_Player1StartPos);
    buffer.ReadObject("m_Player2StartPos", m_Player2StartPos);
    buffer.ReadFloat("m_ViewZoom", m_ViewZoom);
    for (Vec2Data& ball : m_Balls) {
        MakeSafe(ball);
    }
    MakeSafe(m_Player1StartPos);
    MakeSafe(m_Player2StartPos);
    if (!(m_ViewZoom > 0.0f) || !std::isfinite(m_ViewZoom)) {
        m_ViewZoom = 1.0f;
    }
    return read;
}
