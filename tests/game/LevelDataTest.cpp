#include "game/LevelData.h"
#include "tests/serializeme/SampleRecords.h"

#include <gtest/gtest.h>

#include <tuple>

namespace {

BodyData FilledBody() {
    BodyData body;
    body.m_Name = "mill";
    body.m_BodyType = 3;
    body.m_SoundType = "ball";
    body.m_Position = Vec2Data(1, -2);
    body.m_Rotation = 0.5f;
    body.m_FlashFile = "data/mill.swf";
    body.m_VisualRotation = 0.25f;
    body.m_VisualOffset = Vec2Data(7, 8);
    body.m_CenterVisual = true;
    body.m_SVGOffset = Vec2Data(-4, 4);
    FixtureData fixture;
    fixture.m_Vertices = {Vec2Data(0, 0), Vec2Data(1, 0), Vec2Data(0, 1)};
    body.m_Fixtures = {fixture};
    JointData joint;
    joint.m_Type = "revolutespring";
    joint.m_Pos1 = Vec2Data(0.5f, 0);
    joint.m_Param1 = 6;
    joint.m_Param2 = 4000;
    body.m_Joints = {joint};
    body.m_Density = 0.5f;
    body.m_Restitution = 0.25f;
    body.m_FilterCategory = 2;
    body.m_FilterMask = 0xFFF0;
    body.m_ShowShapes = true;
    return body;
}

LevelData FilledLevel() {
    LevelData level;
    level.m_Background = "data/back.png";
    level.m_Bodies = {FilledBody()};
    level.m_Balls = {Vec2Data(3, 4)};
    StaticElementData clip;
    clip.m_FlashFile = "data/clip.swf";
    clip.m_Position = Vec2Data(100, 200);
    level.m_Statics = {clip};
    ActiveElementData teleporter;
    teleporter.m_Type = "teleporter";
    teleporter.m_Position = Vec2Data(-1, -1);
    teleporter.m_Position2 = Vec2Data(1, 1);
    level.m_Actives = {teleporter};
    level.m_Player1StartPos = Vec2Data(-30, 0);
    level.m_Player2StartPos = Vec2Data(30, 0);
    level.m_ViewZoom = 0.8f;
    return level;
}

TEST(LevelData, records_are_named_and_start_at_their_defaults) {
    EXPECT_STREQ(FixtureData().TypeName(), "fixture");
    EXPECT_STREQ(JointData().TypeName(), "joint");
    EXPECT_STREQ(BodyData().TypeName(), "body");
    EXPECT_STREQ(StaticElementData().TypeName(), "staticelement");
    EXPECT_STREQ(ActiveElementData().TypeName(), "activeelement");
    EXPECT_STREQ(LevelData().TypeName(), "level");
    const FixtureData fixture;
    EXPECT_EQ(fixture.m_Kind, FixtureData::kPolygon);
    EXPECT_EQ(fixture.m_Green, 0);
    EXPECT_EQ(fixture.m_Radius, 0.0f);
    const BodyData body;
    EXPECT_EQ(body.m_Density, 1.0f);
    EXPECT_EQ(body.m_Restitution, 0.4f);
    EXPECT_EQ(body.m_FilterCategory, 1u);
    EXPECT_EQ(body.m_FilterMask, 65535u);
    EXPECT_FALSE(body.m_CenterVisual);
    EXPECT_EQ(LevelData().m_ViewZoom, 1.0f);
}

// The XML layout of the storage layer, in the orders of the level file format.
TEST(LevelData, records_are_stored_in_the_level_files_order) {
    LevelData level = FilledLevel();
    EXPECT_EQ(
        sample::WrittenXml(level, "data"),
        "<level m_Background=\"data/back.png\" m_ViewZoom=\"0.8\" name=\"data\">"
        "<array name=\"m_Bodies\"><body m_Name=\"mill\" m_BodyType=\"3\" m_SoundType=\"ball\" "
        "m_Rotation=\"0.5\" m_FlashFile=\"data/mill.swf\" m_VisualRotation=\"0.25\" m_CenterVisual=\"true\" "
        "m_SVGFile=\"\" m_Density=\"0.5\" m_Restitution=\"0.25\" m_FilterCategory=\"2\" m_FilterMask=\"65520\" "
        "m_ShowShapes=\"true\">"
        "<vec2 x=\"1\" y=\"-2\" name=\"m_Position\" /><vec2 x=\"7\" y=\"8\" name=\"m_VisualOffset\" />"
        "<vec2 x=\"-4\" y=\"4\" name=\"m_SVGOffset\" />"
        "<array name=\"m_Fixtures\"><fixture><array name=\"m_Vertices\"><vec2 x=\"0\" y=\"0\" />"
        "<vec2 x=\"1\" y=\"0\" /><vec2 x=\"0\" y=\"1\" /></array></fixture></array>"
        "<array name=\"m_Joints\"><joint m_Type=\"revolutespring\" m_Param1=\"6\" m_Param2=\"4000\">"
        "<vec2 x=\"0.5\" y=\"0\" name=\"m_Pos1\" /></joint></array></body></array>"
        "<array name=\"m_Balls\"><vec2 x=\"3\" y=\"4\" /></array>"
        "<array name=\"m_Statics\"><staticelement m_FlashFile=\"data/clip.swf\">"
        "<vec2 x=\"100\" y=\"200\" name=\"m_Position\" /></staticelement></array>"
        "<array name=\"m_Actives\"><activeelement m_Type=\"teleporter\">"
        "<vec2 x=\"-1\" y=\"-1\" name=\"m_Position\" /><vec2 x=\"1\" y=\"1\" name=\"m_Position2\" />"
        "</activeelement></array>"
        "<vec2 x=\"-30\" y=\"0\" name=\"m_Player1StartPos\" /><vec2 x=\"30\" y=\"0\" name=\"m_Player2StartPos\" />"
        "</level>");
}

// Both storage formats give back every stored member (written again, the copy is the same text);
// a fixture stores its vertices alone.
TEST(LevelData, a_level_reads_back_as_written) {
    for (sample::Format format : {sample::Format::Xml, sample::Format::Binary}) {
        SCOPED_TRACE(sample::NameOf(format));
        LevelData level = FilledLevel();
        FixtureData& fixture = level.m_Bodies[0].m_Fixtures[0];
        fixture.m_Kind = FixtureData::kCircle;
        fixture.m_Green = 1;
        fixture.m_Radius = 2.0f;
        LevelData copy;
        ASSERT_TRUE(sample::RoundTrip(format, level, copy));
        EXPECT_EQ(sample::WrittenXml(copy, "data"), sample::WrittenXml(level, "data"));
        const FixtureData& read = copy.m_Bodies.at(0).m_Fixtures.at(0);
        EXPECT_EQ(std::tie(read.m_Kind, read.m_Green, read.m_Radius),
                  std::make_tuple(static_cast<int32_t>(FixtureData::kPolygon), 0, 0.0f));
    }
}

}  // namespace
