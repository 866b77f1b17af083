// The Flash GUI framework on kit movies: descriptions and their texts, anchors, tags, layers,
// the mouse, the screen's colour, clips as focus items, unloading and loading again.
#include "flash/FSCommand.h"
#include "gui/FlashFocusItem.h"
#include "gui/FlashGUI.h"
#include "serializeme/XmlStorageBuffer.h"
#include "swfplayer/main/display/sprite_instance.h"
#include "tests/flash/FlashTestKit.h"
#include "tests/gui/GuiTestKit.h"
#include "tests/gui/KitMovies.h"
#include "tests/support/FileTail.h"

#include <gtest/gtest.h>

namespace gui_testing {
namespace {

constexpr const char* kFont = "/usr/share/fonts/truetype/comfortaa/Comfortaa-Bold.ttf";

// The menu movie and a blue backdrop movie in the game folder, with the font as "child.ttf".
class FlashGUITest : public VirtualFolders {
protected:
    void SetUp() override {
        VirtualFolders::SetUp();
        m_Log.emplace(LogFile());
        Write("menu.swf", MenuMovie());
        Write("blue.swf", FilledMovie(0x0000FF));
        std::filesystem::copy(kFont, GameDir() / "child.ttf");
    }
    void Write(const std::string& name, const swfkit::Bytes& bytes) {
        testing_support::WriteFile(GameDir() / name, std::string(bytes.begin(), bytes.end()));
    }
    void WriteText(const std::string& name, const std::string& text) {
        testing_support::WriteFile(GameDir() / name, text);
    }
    static sf::Vector2f PositionOf(const FlashGUI& screen, size_t text) {
        return screen.GetTextElements()[text].text.getPosition();
    }

    std::optional<testing_support::FileTail> m_Log;
    FlashGUI screen;
};

TEST_F(FlashGUITest, a_description_gives_layers_in_order_and_texts_with_line_breaks) {
    WriteText("screen.xml", Description("child.ttf", {{"top", "menu.swf"}, {"bottom", "blue.swf"}},
                                        {"m_Tag=\"two\" m_Text=\"a\\nb\" m_Size=\"18\" m_ColorR=\"10\" m_ColorG=\"20\" "
                                         "m_ColorB=\"300\" m_PosX=\"5\" m_PosY=\"7.5\"",
                                         "m_Tag=\"feed\" m_Text=\"a&#10;b\\\\c\"", "m_Tag=\"plain\""}));
    screen.SetLoaded(false);
    screen.Load("screen.xml");
    EXPECT_TRUE(screen.IsLoaded());
    ASSERT_EQ(screen.GetLayers().size(), 2u);
    EXPECT_EQ(screen.GetLayers()[0]->GetName(), "top");
    EXPECT_EQ(screen.GetLayers()[1]->GetName(), "bottom");
    EXPECT_NE(screen.GetLayers()[0]->GetMovie().GetCharacter("button"), nullptr);
    EXPECT_EQ(screen.GetFirstMovie(), &screen.GetLayers()[0]->GetMovie());

    const std::vector<TextElement>& texts = screen.GetTextElements();
    ASSERT_EQ(texts.size(), 3u);
    EXPECT_EQ(texts[0].tag, "two");
    EXPECT_EQ(texts[0].text.getString().toAnsiString(), "a\nb");
    EXPECT_EQ(texts[0].text.getCharacterSize(), 18u);
    EXPECT_EQ(texts[0].text.getFillColor(), sf::Color(10, 20, 255, 255));
    EXPECT_EQ(texts[0].text.getPosition(), sf::Vector2f(5.0f, 7.5f));
    EXPECT_EQ(texts[0].text.getFont(), &screen.GetFont());
    // A line feed already in the text stays; a backslash before anything else stays too.
    EXPECT_EQ(texts[1].text.getString().toAnsiString(), "a\nb\\\\c");
    EXPECT_TRUE(texts[2].visible);
    EXPECT_NE(&screen.GetFont(), &Application::GetInstance().font);
    EXPECT_EQ(m_Log->Text().find("ERROR"), std::string::npos) << m_Log->Text();
}

TEST_F(FlashGUITest, line_breaks_are_the_backslash_n_pairs_only) {
    const std::pair<const char*, const char*> cases[] = {
        {"a\\nb", "a\nb"}, {"\\n", "\n"}, {"a\\", "a\\"}, {"\\\\n", "\\\n"}, {"n\\", "n\\"}, {"\\N", "\\N"}, {"", ""},
    };
    for (const auto& [text, expanded] : cases) {
        EXPECT_EQ(ExpandLineBreaks(text), expanded) << text;
    }
}

TEST_F(FlashGUITest, a_missing_description_or_font_is_logged_and_leaves_a_usable_screen) {
    screen.Load("nothing.xml");
    EXPECT_TRUE(screen.GetLayers().empty());
    EXPECT_NE(m_Log->Text().find("ERROR: FlashGUI::Load: cannot read nothing.xml"), std::string::npos);
    WriteText("nofont.xml", Description("missing.ttf", {{"top", "menu.swf"}}, {"m_Tag=\"t\" m_Text=\"x\""}));
    screen.Load("nofont.xml");
    EXPECT_NE(m_Log->Text().find("ERROR: FlashGUI::Load: cannot load the font missing.ttf"), std::string::npos);
    EXPECT_EQ(&screen.GetFont(), &Application::GetInstance().font);
    EXPECT_EQ(screen.GetTextElements()[0].text.getFont(), &Application::GetInstance().font);
    // Text that is not a description.
    WriteText("broken.xml", "<resource><flashgui><array name=\"m_Layers\"><guilayer");
    screen.Load("broken.xml");
    EXPECT_TRUE(screen.GetLayers().empty());
    screen.Update(Application::GetInstance(), kFrameTime);
    NullTarget target;
    screen.Render(target, {});
}

TEST_F(FlashGUITest, anchored_texts_follow_their_clip_every_frame_unless_hidden) {
    WriteText("screen.xml", Description("child.ttf", {{"top", "menu.swf"}},
                                        {"m_Tag=\"follow\" m_Anchor=\"mover\" m_PosX=\"5\" m_PosY=\"-5\"",
                                         "m_Tag=\"hidden\" m_Anchor=\"mover\" m_PosX=\"1\" m_PosY=\"2\"",
                                         "m_Tag=\"lost\" m_Anchor=\"nothing\" m_PosX=\"3\" m_PosY=\"4\"",
                                         "m_Tag=\"free\" m_PosX=\"8\""}));
    screen.Load("screen.xml");
    screen.SetTextVisible("hidden", false);
    screen.SetTextPosition("free", {50, 60});
    for (int frame = 0; frame < 4; ++frame) {
        SCOPED_TRACE(frame);
        screen.Update(Application::GetInstance(), kFrameTime);
        const float x = 10.0f + 20 * frame;
        const float y = 20.0f + 20 * frame;
        EXPECT_EQ(PositionOf(screen, 0), sf::Vector2f(x + 5, y - 5));
        EXPECT_EQ(PositionOf(screen, 1), sf::Vector2f(1, 2));
        EXPECT_EQ(PositionOf(screen, 2), sf::Vector2f(3, 4));
        EXPECT_EQ(PositionOf(screen, 3), sf::Vector2f(50, 60));
    }
}

TEST_F(FlashGUITest, text_operations_act_on_every_text_of_the_tag) {
    WriteText("screen.xml", Description("child.ttf", {},
                                        {"m_Tag=\"score\" m_Text=\"1\" m_ColorR=\"200\"", "m_Tag=\"other\"",
                                         "m_Tag=\"score\" m_Text=\"2\" m_ColorG=\"100\"", "m_Tag=\"scores\""}));
    screen.Load("screen.xml");
    auto visible = [&] {
        std::string flags;
        for (const TextElement& text : screen.GetTextElements()) {
            flags += text.visible ? '1' : '0';
        }
        return flags;
    };
    screen.SetAllTextsVisible(false);
    EXPECT_EQ(visible(), "0000");
    screen.SetTextVisible("score", true);
    EXPECT_EQ(visible(), "1010");
    screen.SetTextVisible("Score", false);
    EXPECT_EQ(visible(), "1010");
    screen.ShowTextsWithTagPart("core");
    EXPECT_EQ(visible(), "1011");
    screen.SetTextAlpha("score", 0.5f);
    EXPECT_EQ(screen.GetTextElements()[0].text.getFillColor(), sf::Color(200, 255, 255, 127));
    EXPECT_EQ(screen.GetTextElements()[2].text.getFillColor(), sf::Color(255, 100, 255, 127));
    EXPECT_EQ(screen.GetTextElements()[1].text.getFillColor().a, 255);
    screen.SetTextAlpha("score", NAN);
    EXPECT_EQ(screen.GetTextElements()[0].text.getFillColor().a, 0);
    screen.SetText("score",
                   "gr\xC3\xB6\xC3\x9F"
                   "er");
    const std::basic_string<sf::Uint8> utf8 = screen.GetTextElements()[2].text.getString().toUtf8();
    EXPECT_EQ(std::string(utf8.begin(), utf8.end()),
              "gr\xC3\xB6\xC3\x9F"
              "er");
    screen.SetTextPosition("score", {9, 9});
    EXPECT_EQ(PositionOf(screen, 0), sf::Vector2f(9, 9));
    EXPECT_EQ(PositionOf(screen, 2), sf::Vector2f(9, 9));
    EXPECT_EQ(PositionOf(screen, 3), sf::Vector2f(0, 0));
}

TEST_F(FlashGUITest, both_layers_get_the_mouse_and_the_screens_colour) {
    WriteText("screen.xml", Description("child.ttf", {{"top", "menu.swf"}, {"bottom", "blue.swf"}}, {}));
    screen.Load("screen.xml");
    auto buttons = [&](size_t layer) {
        int x = 0, y = 0, b = -1;
        screen.GetLayers()[layer]->GetMovie().GetRoot()->get_mouse_state(&x, &y, &b);
        return b;
    };
    const std::pair<sf::Event::EventType, sf::Mouse::Button> events[] = {
        {sf::Event::MouseButtonPressed, sf::Mouse::Right},
        {sf::Event::MouseButtonPressed, sf::Mouse::Left},
        {sf::Event::MouseButtonReleased, sf::Mouse::Left},
        {sf::Event::MouseButtonReleased, sf::Mouse::Right}};
    const int expected[] = {2, 1, 2, 0};
    for (size_t i = 0; i < std::size(events); ++i) {
        sf::Event event{};
        event.type = events[i].first;
        event.mouseButton.button = events[i].second;
        screen.OnEvent(event);
        for (size_t layer = 0; layer < 2; ++layer) {
            EXPECT_EQ(screen.GetLayers()[layer]->GetMouseButtons(), expected[i]);
            EXPECT_EQ(buttons(layer), expected[i]);
        }
    }
    // Key events are not the layers' business.
    sf::Event key{};
    key.type = sf::Event::KeyPressed;
    screen.OnEvent(key);
    // Activation lets go of the buttons.
    sf::Event press{};
    press.type = sf::Event::MouseButtonPressed;
    press.mouseButton.button = sf::Mouse::Left;
    screen.OnEvent(press);
    screen.Activate();
    EXPECT_EQ(screen.GetLayers()[1]->GetMouseButtons(), 0);
    screen.Update(Application::GetInstance(), 0.0f);
    EXPECT_EQ(buttons(1), 0);

    screen.SetColor(sf::Color(255, 51, 0, 102));
    screen.Update(Application::GetInstance(), kFrameTime);
    for (size_t layer = 0; layer < 2; ++layer) {
        const swfplayer::cxform& cx = screen.GetLayers()[layer]->GetMovie().GetRoot()->get_root_sprite()->get_cxform();
        EXPECT_FLOAT_EQ(cx.m[0][0], 1.0f);
        EXPECT_FLOAT_EQ(cx.m[1][0], 0.2f);
        EXPECT_FLOAT_EQ(cx.m[2][0], 0.0f);
        EXPECT_FLOAT_EQ(cx.m[3][0], 0.4f);
    }
}

TEST_F(FlashGUITest, clips_are_focus_items_that_play_their_labels_and_can_be_disabled) {
    WriteText("screen.xml", Description("child.ttf", {{"top", "menu.swf"}}, {}));
    screen.Load("screen.xml");
    screen.AddFlashFocusItem("button");
    screen.AddFlashFocusItem("missing");
    FocusItem* button = screen.FindFocusItem("button");
    FocusItem* missing = screen.FindFocusItem("missing");
    EXPECT_EQ(screen.GetCurrentFocusItem(), button);
    const FocusRect rect = button->GetRect();
    EXPECT_EQ(std::tie(rect.left, rect.top, rect.right, rect.bottom), std::make_tuple(80.0f, 40.0f, 120.0f, 60.0f));
    const FocusRect none = missing->GetRect();
    EXPECT_EQ(std::tie(none.left, none.top, none.right, none.bottom), std::make_tuple(0.0f, 0.0f, 0.0f, 0.0f));
    EXPECT_TRUE(button->IsEnabled());
    EXPECT_FALSE(missing->IsEnabled());
    missing->OnFocus(nullptr);
    missing->OnPress(nullptr);

    swfplayer::character* clip = screen.GetFirstMovie()->GetCharacter("button");
    CommandEar ear;
    button->OnFocus(nullptr);
    EXPECT_EQ(clip->get_current_frame(), 1);
    EXPECT_TRUE(ear.heard.empty());
    button->OnPress(nullptr);
    EXPECT_EQ(clip->get_current_frame(), 2);
    EXPECT_EQ(ear.heard, std::vector<std::string>{"pressed"});
    clip->goto_labeled_frame("disabled");
    EXPECT_FALSE(button->IsEnabled());
}

// The action command presses whatever clip the cursor is on: a disabled one plays its press and
// its script sends the command.
TEST_F(FlashGUITest, a_disabled_clip_under_the_cursor_plays_its_press_and_sends_its_command) {
    WriteText("screen.xml", Description("child.ttf", {{"top", "menu.swf"}}, {}));
    screen.Load("screen.xml");
    screen.AddFlashFocusItem("button");
    AppControllers controllers;
    screen.SetFocus("button");
    swfplayer::character* clip = screen.GetFirstMovie()->GetCharacter("button");
    clip->goto_labeled_frame("disabled");
    ASSERT_FALSE(screen.FindFocusItem("button")->IsEnabled());
    CommandEar ear;
    screen.OnCommand(controllers[1], Controller::kSpit);
    EXPECT_EQ(clip->get_current_frame(), 2);
    EXPECT_EQ(ear.heard, std::vector<std::string>{"pressed"});
}

// The press's script sends the command that unloads the very screen (as a reload does): the
// item keeps its movie alive until the press is over, and the screen hears of no item it has
// lost. The sanitizer build checks that nothing freed is touched.
TEST_F(FlashGUITest, a_press_whose_command_unloads_the_screen_ends_cleanly) {
    WriteText("screen.xml", Description("child.ttf", {{"top", "menu.swf"}}, {}));
    screen.Load("screen.xml");
    screen.AddFlashFocusItem("button");
    AppControllers controllers;
    screen.SetFocus("button");
    CommandEar ear;
    ear.onCommand = [&](const std::string&) {
        screen.Unload();
        screen.Load("screen.xml");
    };
    screen.OnCommand(controllers[0], Controller::kSpit);
    EXPECT_EQ(ear.heard, std::vector<std::string>{"pressed"});
    EXPECT_TRUE(screen.GetFocusItems().empty());
    EXPECT_EQ(screen.GetSharedCursor(), nullptr);
    EXPECT_EQ(screen.GetLayers().size(), 1u);
}

TEST_F(FlashGUITest, unloading_keeps_the_description_and_loading_again_rebuilds_it) {
    WriteText("screen.xml", Description("child.ttf", {{"top", "menu.swf"}}, {"m_Tag=\"t\""}));
    screen.Load("screen.xml");
    screen.AddFlashFocusItem("button");
    screen.SetFocus("button");
    screen.Unload();
    EXPECT_FALSE(screen.IsLoaded());
    EXPECT_TRUE(screen.GetLayers().empty());
    EXPECT_TRUE(screen.GetTextElements().empty());
    EXPECT_TRUE(screen.GetFocusItems().empty());
    EXPECT_EQ(screen.GetCurrentFocusItem(), nullptr);
    EXPECT_EQ(screen.GetSharedCursor(), nullptr);
    EXPECT_EQ(screen.GetData().m_Layers.size(), 1u);
    screen.Load("screen.xml");
    EXPECT_TRUE(screen.IsLoaded());
    EXPECT_EQ(screen.GetLayers().size(), 1u);
    EXPECT_EQ(screen.GetTextElements().size(), 1u);
}

TEST_F(FlashGUITest, layers_are_inserted_by_name_and_rewound_together) {
    WriteText("screen.xml", Description("child.ttf", {{"top", "menu.swf"}, {"background", "blue.swf"}}, {}));
    screen.Load("screen.xml");
    screen.InsertLayerBefore(std::make_shared<FlashGUI::Layer>("game"), "background");
    screen.InsertLayerBefore(std::make_shared<FlashGUI::Layer>("last"), "nothing");
    std::vector<std::string> names;
    for (const auto& layer : screen.GetLayers()) {
        names.push_back(layer->GetName());
    }
    EXPECT_EQ(names, (std::vector<std::string>{"top", "game", "background", "last"}));
    for (int frame = 0; frame < 3; ++frame) {
        screen.Update(Application::GetInstance(), kFrameTime);
    }
    swfplayer::root* root = screen.GetFirstMovie()->GetRoot();
    root->set_play_state(swfplayer::character::STOP);
    EXPECT_EQ(root->get_current_frame(), 2);
    screen.RewindLayers();
    EXPECT_EQ(root->get_current_frame(), 0);
    EXPECT_EQ(root->get_play_state(), swfplayer::character::PLAY);
}

// Drawn in a window: the first layer over the second, the texts over both.
class FlashGUIWindowTest : public flash_testing::WindowTest {};

TEST_F(FlashGUIWindowTest, the_first_layer_is_drawn_over_the_second) {
    Write("menu.swf", MenuMovie(true));
    Write("blue.swf", FilledMovie(0x0000FF));
    const std::string xml = Description("", {{"top", "menu.swf"}, {"bottom", "blue.swf"}}, {});
    testing_support::WriteFile(m_Dir / "screen.xml", xml);
    FlashGUI screen;
    screen.Load("screen.xml");
    m_Window->clear(sf::Color::Black);
    m_Window->draw(screen);
    // The left half is the top layer's red backdrop; the right half shows the blue below.
    ExpectNear(Read(50, 150), {255, 0, 0}, 2, "left");
    ExpectNear(Read(300, 150), {0, 0, 255}, 2, "right");
}

}  // namespace
}  // namespace gui_testing
