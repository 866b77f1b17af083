// The tutorial: its FSCommands on a small movie of its own, the blocks' levels, creatures, balls
// and plank, the director's ids 2 and 3 and the way back to the main menu, the replay of a
// recording in its recorded steps, record mode, and blocks without a recording or a level.
#include "app/Application.h"
#include "app/EventPlayer.h"
#include "app/KeyCodes.h"
#include "game/Globbo.h"
#include "game/Level.h"
#include "game/SpitGame.h"
#include "gui/GUIDirector.h"
#include "gui/GUITutorial.h"
#include "tests/gui/GuiTestKit.h"
#include "tests/gui/KitMovies.h"
#include "tests/support/FileTail.h"
#include "tools/swfkit/ActionAssembler.h"
#include "tools/swfkit/Movie.h"

#include <box2d/b2_body.h>
#include <box2d/b2_joint.h>
#include <gtest/gtest.h>
#include <physfs.h>

namespace gui_testing {
namespace {

using Ids = std::deque<int>;

// One recorded step: its length and the input events before it.
struct Step {
    float seconds;
    std::vector<InputEvent> events;
};

InputEvent KeyPress(uint32_t key) {
    InputEvent event;
    event.type = InputEvent::KeyPressed;
    event.key = key;
    return event;
}

// A 400 x 300 movie with the two buttons (a red square each, with the frames "over", "pressed"
// and "disabled") on its first frame, a second that sends "block01" and stops, then two frames
// for each label, as lessons have: the label's, and one that sends the block after the label's
// ("block01": "block02") and stops.
swfkit::Bytes LessonMovie(const std::vector<std::string>& labels) {
    swfkit::Movie movie(8, {0, 400 * 20, 0, 300 * 20}, 10.0);
    swfkit::TagList& tags = movie.Tags();
    swfkit::ShapeBuilder box;
    box.SetFillStyle1(box.AddFillStyle(swfkit::FillStyle::Solid({255, 0, 0, 255})));
    box.MoveTo(-400, -200);
    box.LineTo(400, -200);
    box.LineTo(400, 200);
    box.LineTo(-400, 200);
    box.LineTo(-400, -200);
    tags.DefineShape(1, box);
    swfkit::TagList button(8);
    for (const char* label : {"", "over", "pressed", "disabled"}) {
        if (*label != '\0') {
            button.FrameLabel(label);
        }
        button.DoAction(swfkit::assemble("stop").bytes());
        button.ShowFrame();
    }
    tags.DefineSprite(2, button);
    for (auto [name, depth, x] : {std::tuple{"pausebutton", 1, 100}, {"nextbutton", 2, 300}}) {
        swfkit::Placement placement;
        placement.depth = static_cast<uint16_t>(depth);
        placement.characterId = 2;
        placement.name = name;
        swfkit::Matrix at;
        at.translateX = x * 20;
        at.translateY = 250 * 20;
        placement.matrix = at;
        tags.PlaceObject2(placement);
    }
    tags.PlaceObject2([] {
        swfkit::Placement shape;
        shape.depth = 3;
        shape.characterId = 1;
        return shape;
    }());
    tags.ShowFrame();
    tags.DoAction(swfkit::assemble("#83:'FSCommand:block01','' stop").bytes());
    tags.ShowFrame();
    for (const std::string& label : labels) {
        const int number = std::stoi(label.substr(5)) + 1;
        const std::string command = (number < 10 ? "block0" : "block") + std::to_string(number);
        tags.FrameLabel(label);
        tags.ShowFrame();
        tags.DoAction(swfkit::assemble("#83:'FSCommand:" + command + "','' stop").bytes());
        tags.ShowFrame();
    }
    return movie.Write(false);
}

// The game's data with recordings of the test's own, a director with the game's main menu and
// the tutorial, and two controllers. With a lesson movie, the tutorial's description shows it.
class GUITutorialTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_Data.emplace();
        ASSERT_NE(PHYSFS_setWriteDir(m_Data->Path().c_str()), 0);
        TiXmlIOProxy::SetCurrent(&m_Proxy);
        log.emplace(VirtualFoldersAccess::LogFile());
    }
    void TearDown() override {
        director.reset();
        TiXmlIOProxy::SetCurrent(nullptr);
        m_Data.reset();
    }

    // The director, with the lesson movie in place of the game's tutorial movie when given.
    void MakeDirector(const std::vector<std::string>& lessons = {}) {
        if (!lessons.empty()) {
            const swfkit::Bytes bytes = LessonMovie(lessons);
            testing_support::WriteFile(m_Data->Path() / "data/gui/lessons.swf",
                                       std::string(bytes.begin(), bytes.end()));
            testing_support::WriteFile(m_Data->Path() / "data/gui/tutorial.xml",
                                       Description("data/child.ttf", {{"tutorial", "data/gui/lessons.swf"}}, {}));
        }
        director.emplace([this](GUIDirector& made) {
            auto screen = std::make_unique<GUITutorial>(made);
            tutorial = screen.get();
            made.RegisterTutorial(std::move(screen));
        });
    }
    // Writes the recording into the data folder under the name.
    static void Record(const std::string& name, const std::vector<Step>& steps) {
        EventPlayer recording(name, true);
        for (const Step& step : steps) {
            for (const InputEvent& event : step.events) {
                recording.OnEvent(event);
            }
            recording.RecordFrame(step.seconds, nullptr);
        }
        ASSERT_TRUE(recording.Save());
    }
    // A recording of a second in steps of 1/60 s, the right arrow held from the start.
    static void RecordEveryBlock() {
        std::vector<Step> steps(60, Step{1.0f / 60.0f, {}});
        steps[0].events.push_back(KeyPress(Key::Right));
        for (const char* number : {"04", "07", "08", "11", "12"}) {
            Record(std::string("data/tutorial_block") + number + ".xml", steps);
        }
    }
    swfplayer::root* Root() { return tutorial->GetFirstMovie()->GetRoot(); }
    bool ClipEnabled(const char* name) {
        swfplayer::as_value value;
        swfplayer::character* clip = tutorial->GetFirstMovie()->GetCharacter(name);
        return clip != nullptr && clip->get_member("enabled", &value) && value.to_bool();
    }
    b2Vec2 Centre(const Globbo* creature) {
        b2Vec2 sum(0.0f, 0.0f);
        for (b2Body* body : creature->GetRingBodies()) {
            sum += body->GetPosition();
        }
        return (1.0f / static_cast<float>(creature->GetRingBodies().size())) * sum;
    }
    // The balls a level file brings by itself.
    static size_t BallsOf(const std::string& file) {
        Level level;
        level.Load(file, nullptr);
        return level.GetBalls().size();
    }

    struct VirtualFoldersAccess : VirtualFolders {
        using VirtualFolders::LogFile;
    };
    std::optional<GameDataCopy> m_Data;
    TinyxmlPhysfsProxy m_Proxy;
    Application& application = Application::GetInstance();
    AppControllers controllers;
    std::optional<testing_support::FileTail> log;
    std::optional<GUIDirector> director;
    GUITutorial* tutorial = nullptr;
};

TEST_F(GUITutorialTest, fs_commands_set_blocks_leave_pause_and_step_through_the_labels) {
    MakeDirector({"block01", "block02", "block07"});
    director->PushScreen(GUIDirector::kTutorialWithButtons);
    // The movie's first update runs its first frame.
    director->Update(kFrameTime);
    struct Case {
        const char* command;
        int blockBefore;
        int blockAfter;
        // The navigation after the command, the running flag, the root's frame (-1: unchanged).
        bool navigation;
        bool running;
        int frame;
        // The block once the movie has run the frame it went to.
        int blockLater;
    };
    const Case cases[] = {
        {"block07", 0, 7, false, true, -1, 7},
        {"block7", 0, 7, false, true, -1, 7},
        {"block00", 3, 0, false, true, -1, 0},
        {"blockXY", 3, 3, true, true, -1, 3},
        {"block", 3, 3, true, true, -1, 3},
        {"block100", 3, 3, true, true, -1, 3},
        {"block-1", 3, 3, true, true, -1, 3},
        {"block 7", 3, 3, true, true, -1, 3},
        {"xblock07", 3, 3, true, true, -1, 3},
        {"stopped", 3, 3, true, false, -1, 3},
        {" stopped", 3, 3, true, false, -1, 3},
        {"Stopped", 3, 3, true, true, -1, 3},
        // The jump to the label of the block passes it; the next lesson then names its own.
        {"nextbutton", 1, 2, true, true, 2, 2},
        {"nextbutton", 2, 3, true, true, 4, 3},
        {"nextbutton", 7, 8, true, true, 6, 8},
        {"nextbutton", 3, 3, true, true, -1, 3},
        {"nextbutton", 8, 8, true, true, -1, 8},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.command);
        // From the start the movie goes on to its first lesson, which names block 1.
        tutorial->Reset();
        EXPECT_EQ(tutorial->GetBlock(), 0);
        tutorial->Update(application, kFrameTime);
        EXPECT_EQ(tutorial->GetBlock(), 1);
        EXPECT_EQ(Root()->get_current_frame(), 1);
        char block[16];
        std::snprintf(block, sizeof(block), "block%02d", c.blockBefore);
        director->OnFSCommand(block);
        tutorial->SetNavigationEnabled(true);
        ASSERT_EQ(tutorial->GetBlock(), c.blockBefore);
        const int frameBefore = Root()->get_current_frame();
        director->OnFSCommand(c.command);
        EXPECT_EQ(tutorial->GetBlock(), c.blockAfter);
        EXPECT_EQ(tutorial->IsNavigationEnabled(), c.navigation);
        EXPECT_EQ(tutorial->IsLoaded(), c.running);
        EXPECT_EQ(Root()->get_current_frame(), c.frame == -1 ? frameBefore : c.frame);
        if (c.running) {
            // The lesson's next frame names its block and stops there.
            tutorial->Update(application, kFrameTime);
            tutorial->Update(application, kFrameTime);
            EXPECT_EQ(tutorial->GetBlock(), c.blockLater);
            EXPECT_EQ(Root()->get_current_frame(), c.frame == -1 ? frameBefore : c.frame + 1);
        }
    }
    // Garbage numbers are named in the log; the others are not.
    const std::string text = log->Text();
    for (const char* bad : {"blockXY", "block100", "block-1", "xblock07"}) {
        EXPECT_NE(text.find(std::string("no block number in ") + bad), std::string::npos) << bad;
    }
    EXPECT_EQ(text.find("no block number in block07"), std::string::npos);
}

TEST_F(GUITutorialTest, the_pause_button_stops_and_restarts_the_movie_and_the_match) {
    RecordEveryBlock();
    MakeDirector({"block01"});
    director->PushScreen(GUIDirector::kTutorialWithButtons);
    tutorial->OnFSCommand("block04");
    ASSERT_NE(tutorial->GetGame(), nullptr);
    const Globbo* creature = tutorial->GetGame()->GetGlobbo1();
    for (bool paused : {true, false}) {
        SCOPED_TRACE(paused);
        director->OnFSCommand("pausebutton");
        EXPECT_EQ(tutorial->IsPaused(), paused);
        EXPECT_EQ(Root()->get_play_state(), paused ? swfplayer::character::STOP : swfplayer::character::PLAY);
        const b2Vec2 before = Centre(creature);
        const float time = tutorial->GetPlaybackTime();
        director->Update(0.1f);
        EXPECT_EQ(tutorial->GetPlaybackTime() == time, paused);
        EXPECT_EQ(Centre(creature).x == before.x && Centre(creature).y == before.y, paused);
    }
}

TEST_F(GUITutorialTest, blocks_build_their_level_creatures_balls_and_plank) {
    RecordEveryBlock();
    MakeDirector();
    director->PushScreen(GUIDirector::kTutorialWithButtons);
    const size_t plain = BallsOf("data/tutorial_level.xml");
    const size_t fun = BallsOf("data/tutorial_level_fun.xml");
    struct Case {
        int block;
        const char* level;
        b2Vec2 creature1;
        b2Vec2 creature2;
        size_t balls;
    };
    const Case cases[] = {
        {4, "data/tutorial_level.xml", {0, 15}, {0, 200}, plain},
        {5, "data/tutorial_level.xml", {0, 15}, {0, 200}, plain + 2},
        {7, "data/tutorial_level.xml", {15, 15}, {-15, 15}, plain + 5},
        {8, "data/tutorial_level.xml", {15, 15}, {-15, 15}, plain + 3},
        {11, "data/tutorial_level.xml", {15, 15}, {-15, 15}, plain + 1},
        {12, "data/tutorial_level_fun.xml", {15, 5}, {-15, 5}, fun},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.block);
        director->OnFSCommand(((c.block < 10 ? "block0" : "block") + std::to_string(c.block)).c_str());
        EXPECT_EQ(tutorial->GetBlock(), c.block);
        ASSERT_NE(tutorial->GetGame(), nullptr);
        EXPECT_EQ(tutorial->GetLevelFile(), c.level);
        EXPECT_EQ(&tutorial->GetGame()->GetLevel(), tutorial->GetLevel());
        EXPECT_EQ(tutorial->GetLevel()->GetBalls().size(), c.balls);
        const Globbo* one = tutorial->GetGame()->GetGlobbo1();
        const Globbo* two = tutorial->GetGame()->GetGlobbo2();
        EXPECT_NEAR(Centre(one).x, c.creature1.x, 1.0f);
        EXPECT_NEAR(Centre(one).y, c.creature1.y, 1.0f);
        EXPECT_NEAR(Centre(two).x, c.creature2.x, 1.0f);
        EXPECT_NEAR(Centre(two).y, c.creature2.y, 1.0f);
        // The match borrows the screen's controllers, each on its own creature.
        EXPECT_NE(tutorial->GetGame()->m_Controller1, nullptr);
        EXPECT_EQ(tutorial->GetGame()->m_Controller1->GetCreature(), one);
        EXPECT_EQ(tutorial->GetGame()->m_Controller2->GetCreature(), two);
        // Only the seesaw's plank is pinned, to the ground, where it lies.
        b2Body* plank = tutorial->GetLevel()->GetBodyByName("Plank");
        EXPECT_EQ(plank != nullptr, c.block == 12);
        if (plank != nullptr) {
            ASSERT_NE(plank->GetJointList(), nullptr);
            b2Joint* pin = plank->GetJointList()->joint;
            EXPECT_EQ(pin->GetType(), e_revoluteJoint);
            EXPECT_EQ(pin->GetBodyA(), tutorial->GetLevel()->GetPhysics().GetGround());
            EXPECT_NEAR((pin->GetAnchorB() - plank->GetPosition()).Length(), 0.0f, 1e-3f);
        }
        // A few steps of the match run with whatever the block built.
        for (int i = 0; i < 5; ++i) {
            director->Update(1.0f / 60.0f);
        }
    }
    EXPECT_EQ(log->Text().find("ERROR: GUITutorial"), std::string::npos) << log->Text();
    // Unloading (as the director does at shutdown) lets go of the match with the movie.
    tutorial->Unload();
    EXPECT_EQ(tutorial->GetGame(), nullptr);
    EXPECT_EQ(tutorial->GetLevel(), nullptr);
    EXPECT_EQ(tutorial->GetRecording(), nullptr);
    EXPECT_TRUE(tutorial->GetLayers().empty());
}

TEST_F(GUITutorialTest, blocks_without_a_level_or_a_recording_show_no_match_and_say_so) {
    for (const char* number : {"04", "07", "08", "11", "12"}) {
        std::filesystem::remove(m_Data->Path() / (std::string("data/tutorial_block") + number + ".xml"));
    }
    MakeDirector();
    director->PushScreen(GUIDirector::kTutorialWithButtons);
    // Balls before any level.
    director->OnFSCommand("block05");
    EXPECT_EQ(tutorial->GetLevel(), nullptr);
    EXPECT_NE(log->Text().find("GUITutorial: block 5 has no level for its balls"), std::string::npos);
    // No recording: no match, and block 5 after it still has no level.
    director->OnFSCommand("block07");
    EXPECT_EQ(tutorial->GetGame(), nullptr);
    EXPECT_EQ(tutorial->GetRecording(), nullptr);
    EXPECT_NE(log->Text().find("the recording data/tutorial_block07.xml is missing or empty; block 7 shows no match"),
              std::string::npos);
    director->OnFSCommand("block05");
    EXPECT_EQ(tutorial->GetLevel(), nullptr);
    // A level that cannot be read leaves nothing either.
    RecordEveryBlock();
    std::filesystem::remove(m_Data->Path() / "data/tutorial_level_fun.xml");
    director->OnFSCommand("block12");
    EXPECT_EQ(tutorial->GetGame(), nullptr);
    EXPECT_EQ(tutorial->GetLevel(), nullptr);
    EXPECT_NE(log->Text().find("the level data/tutorial_level_fun.xml cannot be played; block 12 shows no match"),
              std::string::npos);
    // The screen updates and draws without a match.
    director->Update(0.1f);
    NullTarget target;
    tutorial->Render(target, sf::RenderStates::Default);
    // Blocks without a set-up keep what there is.
    director->OnFSCommand("block04");
    SpitGame* game = tutorial->GetGame();
    ASSERT_NE(game, nullptr);
    for (const char* block : {"block01", "block06", "block09", "block13"}) {
        director->OnFSCommand(block);
        EXPECT_EQ(tutorial->GetGame(), game) << block;
    }
}

TEST_F(GUITutorialTest, id_2_ends_at_any_command_and_id_3_resets_with_the_buttons_on) {
    RecordEveryBlock();
    MakeDirector({"block01"});
    GUIMainMenu& menu = director->GetMainMenu();
    for (bool menuBelow : {false, true}) {
        SCOPED_TRACE(menuBelow);
        director->PopAll();
        if (menuBelow) {
            director->PushScreen(GUIDirector::kMainMenu);
            menu.MoveAllFocus("stats");
        }
        director->PushScreen(GUIDirector::kTutorial);
        EXPECT_FALSE(tutorial->AreButtonsEnabled());
        EXPECT_FALSE(ClipEnabled("pausebutton"));
        EXPECT_FALSE(ClipEnabled("nextbutton"));
        director->Update(0.1f);
        EXPECT_EQ(director->GetCurrentScreenId(), GUIDirector::kTutorial);
        application.frameSkip = false;
        director->HandleCommand(controllers[1], Controller::kRight);
        EXPECT_EQ(director->GetCurrentScreenId(), GUIDirector::kTutorial) << "it ends at the next update";
        director->Update(0.1f);
        EXPECT_EQ(director->GetIds(), (Ids{GUIDirector::kMainMenu}));
        EXPECT_EQ(menu.GetSharedCursor()->GetItem()->GetName(), "newgamepvp");
        EXPECT_TRUE(application.frameSkip);
    }

    // Id 3: the state of a lesson goes, the buttons come on.
    director->PopAll();
    director->PushScreen(GUIDirector::kMainMenu);
    director->PushScreen(GUIDirector::kTutorialWithButtons);
    director->OnFSCommand("block07");
    director->OnFSCommand("pausebutton");
    director->Update(0.1f);
    ASSERT_NE(tutorial->GetGame(), nullptr);
    director->PopScreen();
    director->PushScreen(GUIDirector::kTutorialWithButtons);
    EXPECT_EQ(tutorial->GetBlock(), 0);
    EXPECT_FALSE(tutorial->IsPaused());
    EXPECT_EQ(tutorial->GetGame(), nullptr);
    EXPECT_EQ(tutorial->GetLevel(), nullptr);
    EXPECT_EQ(tutorial->GetPlaybackTime(), 0.0f);
    EXPECT_TRUE(tutorial->IsLoaded());
    EXPECT_EQ(Root()->get_current_frame(), 0);
    EXPECT_TRUE(tutorial->AreButtonsEnabled());
    EXPECT_TRUE(ClipEnabled("pausebutton"));
    EXPECT_TRUE(ClipEnabled("nextbutton"));
    EXPECT_EQ(tutorial->GetSharedCursor()->GetItem()->GetName(), "pausebutton");
    // With the buttons on (and the navigation back on, as the movie's lessons turn it on),
    // commands move the cursor and the tutorial stays.
    director->OnFSCommand("EnableNavigation");
    director->HandleCommand(controllers[0], Controller::kRight);
    EXPECT_EQ(tutorial->GetSharedCursor()->GetItem()->GetName(), "nextbutton");
    director->HandleCommand(controllers[0], Controller::kLeft);
    EXPECT_EQ(tutorial->GetSharedCursor()->GetItem()->GetName(), "pausebutton");
    director->Update(0.1f);
    EXPECT_EQ(director->GetCurrentScreenId(), GUIDirector::kTutorialWithButtons);
    // "stopped" leaves for the menu below, whose cursor goes to "newgamepvp".
    director->OnFSCommand("stopped");
    director->Update(0.1f);
    EXPECT_EQ(director->GetIds(), (Ids{GUIDirector::kMainMenu}));
    EXPECT_EQ(menu.GetSharedCursor()->GetItem()->GetName(), "newgamepvp");
}

TEST_F(GUITutorialTest, the_replay_runs_in_recorded_steps_and_a_bounded_number_per_update) {
    MakeDirector({"block01"});
    director->PushScreen(GUIDirector::kTutorialWithButtons);
    // Steps of 0.02 s, one too short to step the match that presses Up, then steps that grow.
    std::vector<Step> steps = {{0.02f, {}}, {0.03f, {}}, {0.0005f, {KeyPress(Key::Up)}}};
    for (int i = 0; i < 30; ++i) {
        steps.push_back({0.01f + 0.0001f * static_cast<float>(i), {}});
    }
    Record("data/tutorial_block04.xml", steps);
    director->OnFSCommand("block04");
    ASSERT_NE(tutorial->GetGame(), nullptr);
    EventPlayer& recording = *tutorial->GetRecording();
    // The keyboard's player steers creature 2; the pond has no gravity, so only steering moves it.
    const Globbo* creature = tutorial->GetGame()->GetGlobbo2();

    tutorial->Update(application, 0.015f);
    EXPECT_FLOAT_EQ(tutorial->GetPlaybackTime(), 0.015f) << "short of the first step";
    EXPECT_FLOAT_EQ(recording.NextFrameTime(), 0.02f);
    tutorial->Update(application, 0.01f);
    EXPECT_NEAR(tutorial->GetPlaybackTime(), 0.005f, 1e-6f);
    EXPECT_FLOAT_EQ(recording.NextFrameTime(), 0.03f);
    // The 0.03 s step, then the short one: its key is replayed, the creature does not move.
    tutorial->Update(application, 0.025f);
    EXPECT_FLOAT_EQ(recording.NextFrameTime(), 0.0005f);
    const b2Vec2 before = Centre(creature);
    EXPECT_FALSE(recording.IsKeyDown(Key::Up));
    tutorial->Update(application, 0.0006f);
    EXPECT_TRUE(recording.IsKeyDown(Key::Up));
    EXPECT_EQ(Centre(creature).x, before.x);
    EXPECT_EQ(Centre(creature).y, before.y);
    EXPECT_NEAR(tutorial->GetPlaybackTime(), 0.0001f, 1e-6f);
    // A long stall replays a bounded number of steps and drops the rest of its time.
    tutorial->Update(application, 5.0f);
    EXPECT_FLOAT_EQ(recording.NextFrameTime(), 0.01f + 0.0001f * GUITutorial::kMaxStepsPerUpdate);
    EXPECT_EQ(tutorial->GetPlaybackTime(), 0.0f);
    // At the end of the recording nothing more moves, whatever the time.
    for (int i = 0; i < 10; ++i) {
        tutorial->Update(application, 0.5f);
    }
    EXPECT_EQ(recording.NextFrameTime(), EventPlayer::kNoFrameLeft);
    const b2Vec2 end = Centre(creature);
    EXPECT_LT(end.y, before.y) << "Up steers it upwards";
    tutorial->Update(application, 1000.0f);
    EXPECT_EQ(Centre(creature).x, end.x);
    EXPECT_EQ(Centre(creature).y, end.y);

    // A recording without frame events never moves the creatures.
    {
        EventPlayer keysOnly("data/tutorial_block08.xml", true);
        keysOnly.OnEvent(KeyPress(Key::Left));
        ASSERT_TRUE(keysOnly.Save());
    }
    director->OnFSCommand("block08");
    ASSERT_NE(tutorial->GetGame(), nullptr);
    const b2Vec2 still = Centre(tutorial->GetGame()->GetGlobbo1());
    tutorial->Update(application, 2.0f);
    EXPECT_EQ(Centre(tutorial->GetGame()->GetGlobbo1()).y, still.y);
    EXPECT_EQ(tutorial->GetRecording()->NextFrameTime(), EventPlayer::kNoFrameLeft);
}

TEST_F(GUITutorialTest, record_mode_plays_live_and_records_every_step_and_key) {
    MakeDirector({"block01"});
    director->PushScreen(GUIDirector::kTutorialWithButtons);
    tutorial->SetRecordMode(true);
    director->OnFSCommand("block07");
    ASSERT_NE(tutorial->GetGame(), nullptr);
    EventPlayer& recording = *tutorial->GetRecording();
    EXPECT_TRUE(recording.IsRecording());
    EXPECT_STREQ(tutorial->GetGame()->m_Controller1->TypeName(), "gamepadcontroller");
    EXPECT_STREQ(tutorial->GetGame()->m_Controller2->TypeName(), "keyboardcontroller");
    const b2Vec2 before = Centre(tutorial->GetGame()->GetGlobbo2());
    sf::Event press;
    press.type = sf::Event::KeyPressed;
    press.key = {sf::Keyboard::Left, false, false, false, false};
    tutorial->OnEvent(press);
    for (int i = 0; i < 3; ++i) {
        tutorial->Update(application, 0.02f);
    }
    EXPECT_NE(Centre(tutorial->GetGame()->GetGlobbo2()).y, before.y) << "the match runs by dt";
    std::vector<int> types;
    for (const StoredEvent& event : recording.GetEvents()) {
        types.push_back(event.type);
    }
    EXPECT_EQ(types, (std::vector<int>{StoredEvent::kKeyPressed, StoredEvent::kSnapshot, StoredEvent::kFrame,
                                       StoredEvent::kFrame, StoredEvent::kFrame}));
    // Reset saves the recording as the recording's file; a replay of it then runs.
    tutorial->Reset();
    tutorial->SetRecordMode(false);
    EXPECT_TRUE(std::filesystem::exists(m_Data->Path() / "data/tutorial_block07.xml"));
    director->OnFSCommand("block07");
    ASSERT_NE(tutorial->GetGame(), nullptr);
    EXPECT_FLOAT_EQ(tutorial->GetRecording()->NextFrameTime(), 0.02f);
}

// The game's own movie, pressed through with a controller as a player does: every lesson in turn,
// each naming its block once, the matches of the blocks that have them, and at the end the way
// back to the main menu.
TEST_F(GUITutorialTest, the_game_movie_goes_through_every_lesson_to_the_main_menu) {
    RecordEveryBlock();
    MakeDirector();
    director->PushScreen(GUIDirector::kMainMenu);
    director->PushScreen(GUIDirector::kTutorialWithButtons);
    std::vector<int> blocks;
    std::vector<int> matches;
    auto run = [&](float seconds) {
        for (float t = 0; t < seconds && director->GetCurrentScreenId() == GUIDirector::kTutorialWithButtons;
             t += 1.0f / 30.0f) {
            director->Update(1.0f / 30.0f);
            if (blocks.empty() || blocks.back() != tutorial->GetBlock()) {
                blocks.push_back(tutorial->GetBlock());
                if (tutorial->GetGame() != nullptr) {
                    matches.push_back(tutorial->GetBlock());
                }
            }
        }
    };
    run(1.0f);
    EXPECT_TRUE(tutorial->IsNavigationEnabled());
    director->HandleCommand(controllers[0], Controller::kRight);
    ASSERT_EQ(tutorial->GetSharedCursor()->GetItem()->GetName(), "nextbutton");
    for (int press = 0; press < 12; ++press) {
        director->HandleCommand(controllers[0], Controller::kSpit);
        run(1.0f);
    }
    EXPECT_EQ(blocks, (std::vector<int>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13}));
    EXPECT_EQ(matches, (std::vector<int>{4, 5, 6, 7, 8, 9, 10, 11, 12, 13}));
    // Past the last lesson the button does nothing; the movie ends the tutorial by itself.
    director->HandleCommand(controllers[0], Controller::kSpit);
    run(5.0f);
    EXPECT_EQ(director->GetIds(), (Ids{GUIDirector::kMainMenu}));
    EXPECT_EQ(director->GetMainMenu().GetSharedCursor()->GetItem()->GetName(), "newgamepvp");
    EXPECT_EQ(log->Text().find("ERROR: GUITutorial"), std::string::npos) << log->Text();
}

}  // namespace
}  // namespace gui_testing
