// Level tests that need the window system: a background texture, drawing into a target.
#include "app/Logger.h"
#include "game/FlashClip.h"
#include "game/PhysicalShape.h"
#include "game/Teleporter.h"
#include "tests/game/LevelTestKit.h"
#include "tools/pictures/Canvas.h"
#include "tools/pictures/PngWriter.h"

#include <SFML/Graphics/RenderTexture.hpp>

namespace {

using namespace level_testing;

class LevelWindow : public LevelFolder {
protected:
    bool Load(const LevelData& data) {
        Write("data/levels/test.xml", data);
        return m_Level.Load("data/levels/test.xml", nullptr);
    }

    Level m_Level;
};

TEST_F(LevelWindow, the_background_loads_only_when_named_and_readable) {
    pictures::Canvas picture(40, 30, pictures::Rgba{1.0, 0.5, 0.0, 1.0});
    ASSERT_TRUE(WritePng((GameDir() / "data/back.png").string(), 40, 30, picture.Bytes()));
    LevelData data;
    ASSERT_TRUE(Load(data));
    EXPECT_FALSE(m_Level.HasBackground());
    EXPECT_EQ(Logged(), "");
    data.m_Background = "data/back.png";
    ASSERT_TRUE(Load(data));
    EXPECT_TRUE(m_Level.HasBackground());
    EXPECT_EQ(Logged(), "");
    data.m_Background = "data/missing.png";
    ASSERT_TRUE(Load(data));
    EXPECT_FALSE(m_Level.HasBackground());
    EXPECT_EQ(m_Log->Count("Failed to load background image data/missing.png."), 1);
}

// The background's sprite stands centred on the screen with or without a picture: a level that
// has none, or whose picture fails, leaves it there too, with its centre at its corner.
TEST_F(LevelWindow, the_background_sprite_is_centred_on_the_screen_whatever_loaded) {
    pictures::Canvas picture(40, 30, pictures::Rgba{1.0, 0.5, 0.0, 1.0});
    ASSERT_TRUE(WritePng((GameDir() / "data/back.png").string(), 40, 30, picture.Bytes()));
    struct Case {
        const char* file;
        sf::Vector2f origin;
    };
    const Case cases[] = {{"", {0, 0}}, {"data/back.png", {20, 15}}, {"data/missing.png", {0, 0}}, {"", {0, 0}}};
    LevelData data;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        data.m_Background = c.file;
        ASSERT_TRUE(Load(data));
        EXPECT_EQ(m_Level.GetBackground().getPosition(), sf::Vector2f(400, 300));
        EXPECT_EQ(m_Level.GetBackground().getOrigin(), c.origin);
    }
}

TEST_F(LevelWindow, statics_sit_at_screen_pixels_and_teleporters_are_the_one_active_element) {
    Write("data/clip.swf", FramesMovie({"", ""}, false));
    LevelData data;
    StaticElementData clip;
    clip.m_FlashFile = "data/clip.swf";
    clip.m_Position = Vec2Data(120, 80);
    data.m_Statics.push_back(clip);
    for (const char* type : {"teleporter", "catapult"}) {
        ActiveElementData active;
        active.m_Type = type;
        active.m_Position = Vec2Data(-10, 5);
        active.m_Position2 = Vec2Data(20, -5);
        data.m_Actives.push_back(active);
    }
    data.m_Bodies = {Body("shown", {0, 0}, 0.0f, {Polygon(Box(1, 1))})};
    data.m_Bodies[0].m_ShowShapes = true;
    data.m_Bodies.push_back(Body("hidden", {0, 0}, 0.0f, {Polygon(Box(1, 1))}));
    ASSERT_TRUE(Load(data));
    const auto& elements = m_Level.GetElements();
    ASSERT_EQ(elements.size(), 3u);
    EXPECT_NE(dynamic_cast<PhysicalShape*>(elements[0].get()), nullptr);
    auto* placed = dynamic_cast<FlashClip*>(elements[1].get());
    ASSERT_NE(placed, nullptr);
    EXPECT_EQ(placed->GetMovie().getPosition(), sf::Vector2f(120, 80));
    auto* teleporter = dynamic_cast<Teleporter*>(elements[2].get());
    ASSERT_NE(teleporter, nullptr);
    sf::RenderTexture target;
    ASSERT_TRUE(target.create(8, 8));
    teleporter->DrawOverlay(target, sf::RenderStates::Default, m_Level.GetPhysics());
    EXPECT_EQ(teleporter->GetEntryMark().getRadius(), 80.0f);
    EXPECT_EQ(teleporter->GetEntryMark().getPosition(), sf::Vector2f(320, 340));
    EXPECT_EQ(teleporter->GetEntryMark().getFillColor(), sf::Color(255, 0, 0, 255));
    EXPECT_EQ(teleporter->GetExitMark().getRadius(), 5.0f);
    EXPECT_EQ(teleporter->GetExitMark().getPosition(), sf::Vector2f(560, 260));
    EXPECT_EQ(teleporter->GetExitMark().getFillColor(), sf::Color(0, 255, 0, 255));
}

// The outline sketch: clicks go through the window's view and the level's transform; P writes
// the shapes as level fixtures into the user's data folder.
TEST_F(LevelWindow, the_sketch_maps_clicks_onto_the_level_and_writes_its_shapes_on_p) {
    ASSERT_TRUE(Load(LevelData{}));
    sf::RenderTexture target;
    ASSERT_TRUE(target.create(400, 300));
    target.setView(sf::View(sf::FloatRect(0, 0, 800, 600)));  // half-size window
    sf::Transform zoom;                                       // the level drawn at half size about the screen's centre
    zoom.translate(200, 150).scale(0.5f, 0.5f);
    auto press = [&](sf::Mouse::Button button, int x, int y) {
        sf::Event event;
        event.type = sf::Event::MouseButtonPressed;
        event.mouseButton = {button, x, y};
        m_Level.HandleEvent(event, target, zoom);
    };
    press(sf::Mouse::Left, 200, 150);  // the screen's centre
    press(sf::Mouse::Left, 100, 75);   // screen (200, 150): the level's corner
    press(sf::Mouse::Left, 150, 75);
    press(sf::Mouse::Right, 0, 0);
    press(sf::Mouse::Middle, 0, 0);
    const std::vector<sf::ConvexShape>& shapes = m_Level.GetSketch().GetShapes();
    ASSERT_EQ(shapes.size(), 2u);
    ASSERT_EQ(shapes[0].getPointCount(), 3u);
    EXPECT_EQ(shapes[0].getPoint(0), sf::Vector2f(400, 300));
    EXPECT_EQ(shapes[0].getPoint(1), sf::Vector2f(0, 0));
    EXPECT_EQ(shapes[0].getPoint(2), sf::Vector2f(200, 0));
    EXPECT_EQ(shapes[0].getFillColor(), sf::Color(0, 255, 0, 200));
    EXPECT_EQ(shapes[1].getPointCount(), 0u);

    sf::Event key;
    key.type = sf::Event::KeyPressed;
    key.key = {sf::Keyboard::P, false, false, false, false};
    m_Level.HandleEvent(key, target, zoom);
    const std::string expected =
        "\t\t\t\t\t<fixture>\n\t\t\t\t\t\t<array name=\"m_Vertices\">\n"
        "\t\t\t\t\t\t\t<vec2 x=\"0.000000\" y=\"0.000000\"/>\n"
        "\t\t\t\t\t\t\t<vec2 x=\"-50.000000\" y=\"-37.500000\"/>\n"
        "\t\t\t\t\t\t\t<vec2 x=\"-25.000000\" y=\"-37.500000\"/>\n"
        "\t\t\t\t\t\t</array>\n\t\t\t\t\t</fixture>\n"
        "\t\t\t\t\t<fixture>\n\t\t\t\t\t\t<array name=\"m_Vertices\">\n"
        "\t\t\t\t\t\t</array>\n\t\t\t\t\t</fixture>\n";
    EXPECT_EQ(testing_support::ReadFile(Logger::GetInstance().GetUserFolder() + "/data/shapes.xml"), expected);
}

}  // namespace
