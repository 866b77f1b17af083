// The game's movie wrapper: children by name, labels, FSCommands, the mesh cache file, shared
// characters, texts, the root canvas and particles.
#include "flash/FSCommand.h"
#include "flash/FlashMovie.h"
#include "flash/FlashParticles.h"
#include "platform/FileTag.h"
#include "swfplayer/base/log.h"
#include "swfplayer/main/common/swf_tag.h"
#include "swfplayer/main/display/sprite_instance.h"
#include "swfplayer/main/shapes/canvas.h"
#include "tests/flash/FlashTestKit.h"
#include "tests/support/FileSizeLimit.h"
#include "tests/support/KilledSave.h"
#include "tests/swfplayer/main/player/PlayerMovies.h"
#include "tools/swfkit/ActionAssembler.h"
#include "tools/swfkit/Movie.h"
#include "tools/swfkit/TextWriter.h"

#include <physfs.h>
#include <utime.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>

namespace flash_testing {
namespace {

std::vector<std::string> s_log;

// The kit's shapes movie in shapes.swf, and the player's log lines caught.
class FlashMovieTest : public MovieFolderTest {
protected:
    void SetUp() override {
        MovieFolderTest::SetUp();
        Write("shapes.swf", player_movies::ShapesMovie(3, 30));
        s_log.clear();
        m_Previous = swfplayer::register_log_callback([](bool, const char* message) { s_log.push_back(message); });
    }
    void TearDown() override {
        swfplayer::register_log_callback(m_Previous);
        MovieFolderTest::TearDown();
    }
    // Sets the file's modification time, seconds since the epoch.
    void SetTime(const std::string& name, time_t seconds) {
        const utimbuf times{seconds, seconds};
        ASSERT_EQ(utime((m_Dir / name).c_str(), &times), 0);
    }

    swfplayer::log_callback m_Previous = nullptr;
};

TEST_F(FlashMovieTest, children_are_found_by_name_moved_in_twips_and_coloured_with_finite_multipliers) {
    FlashMovie movie("shapes.swf");
    ASSERT_TRUE(movie.GetRoot());
    EXPECT_EQ(movie.GetWidth(), 200.0f);
    EXPECT_EQ(movie.GetHeight(), 100.0f);
    EXPECT_TRUE(movie.GetCharacter("red"));
    EXPECT_TRUE(movie.GetChildCharacter("clip", "green"));
    EXPECT_FALSE(movie.GetCharacter("green"));
    EXPECT_FALSE(movie.GetChildCharacter("red", "green"));
    EXPECT_FALSE(movie.SetCharacterPosition("nobody", {1.0f, 1.0f}));

    swfplayer::character* red = movie.SetCharacterPosition("red", {1.5f, -2.0f});
    ASSERT_TRUE(red);
    EXPECT_EQ(red->get_matrix().m[0][2], 30.0f);
    EXPECT_EQ(red->get_matrix().m[1][2], -40.0f);
    movie.SetChildCharacterPosition("clip", "green", {NAN, INFINITY});
    EXPECT_EQ(movie.GetChildCharacter("clip", "green")->get_matrix().m[0][2], 0.0f);

    // The clip's placement halves red and green; only the multipliers change.
    swfplayer::character* clip = movie.SetCharacterColor("clip", NAN, 1.0f, 1.0f, 1.0f);
    ASSERT_TRUE(clip);
    EXPECT_EQ(clip->get_cxform().m[0][0], 0.0f);
    EXPECT_EQ(clip->get_cxform().m[1][0], 1.0f);
    EXPECT_EQ(clip->get_cxform().m[0][1], 0.0f);

    // A copy is a second handle on the same movie.
    FlashMovie copy = movie;
    copy.SetColor(0.25f, 0.5f, 0.75f, 1.0f);
    EXPECT_EQ(movie.GetRoot()->get_root_sprite()->get_cxform().m[2][0], 0.75f);
}

TEST_F(FlashMovieTest, labels_move_the_movie_and_unknown_ones_change_nothing) {
    FlashMovie movie("shapes.swf");
    ASSERT_TRUE(movie.GetRoot());
    movie.GetRoot()->set_play_state(swfplayer::character::STOP);
    EXPECT_FALSE(movie.GotoLabel("nowhere", true));
    EXPECT_EQ(movie.GetRoot()->get_play_state(), swfplayer::character::STOP);
    EXPECT_EQ(movie.GetRoot()->get_current_frame(), 0);
    EXPECT_TRUE(movie.GotoLabel("middle", true));
    EXPECT_EQ(movie.GetRoot()->get_current_frame(), 1);
    EXPECT_EQ(movie.GetRoot()->get_play_state(), swfplayer::character::PLAY);
    EXPECT_FALSE(movie.IsCharacterDisabled("clip"));
    EXPECT_FALSE(movie.IsCharacterDisabled("nobody"));

    FlashMovie missing("missing.swf");
    EXPECT_TRUE(missing.GetPlayer());
    EXPECT_FALSE(missing.GetRoot());
    EXPECT_FALSE(missing.GotoLabel("middle", true));
    EXPECT_FALSE(missing.GetCharacter("red"));
    missing.Advance(1.0f);
}

// Receives FSCommands; the first one may drop the movie that sent it.
class CommandReceiver : public sigslot::has_slots<> {
public:
    void OnCommand(const char* command) {
        commands.push_back(command);
        if (drop) {
            *drop = FlashMovie();
        }
    }
    std::vector<std::string> commands;
    FlashMovie* drop = nullptr;
};

TEST_F(FlashMovieTest, an_fscommand_reaches_the_game_as_its_command_text_even_when_the_handler_drops_the_movie) {
    Write("command.swf", player_movies::ShapesMovie(2, 30, player_movies::FsCommandAction("quit", "now")));
    for (bool drop : {false, true}) {
        FlashMovie movie("command.swf");
        ASSERT_TRUE(movie.GetRoot());
        CommandReceiver receiver;
        receiver.drop = drop ? &movie : nullptr;
        FSCommandSignal().connect(&receiver, &CommandReceiver::OnCommand);
        // The load precomputed every frame without a word.
        EXPECT_TRUE(receiver.commands.empty());
        for (int i = 0; i < 3; ++i) {
            movie.Update(nullptr, 1.0f / 30.0f);
        }
        EXPECT_EQ(receiver.commands, std::vector<std::string>{"quit"}) << drop;
        EXPECT_EQ(movie.GetRoot() == nullptr, drop);
    }
}

// A handle's size is that of the movie its last successful load found: 0 before any, and a
// reload that fails keeps the size of the movie before it (and of its copies).
TEST_F(FlashMovieTest, a_failed_reload_keeps_the_size_of_the_movie_loaded_before) {
    FlashMovie movie;
    EXPECT_EQ(movie.GetWidth(), 0.0f);
    EXPECT_EQ(movie.GetHeight(), 0.0f);
    movie.Load("missing.swf");
    EXPECT_EQ(movie.GetWidth(), 0.0f);
    movie.Load("shapes.swf");
    ASSERT_TRUE(movie.GetRoot());
    const FlashMovie copy = movie;
    movie.Load("missing.swf");
    EXPECT_FALSE(movie.GetRoot());
    EXPECT_EQ(movie.GetWidth(), 200.0f);
    EXPECT_EQ(movie.GetHeight(), 100.0f);
    EXPECT_EQ(copy.GetWidth(), 200.0f);
    swfkit::Movie wide(8, {0, 300 * kTwips, 0, 40 * kTwips}, 30);
    wide.Tags().ShowFrame();
    Write("wide.swf", wide.Write(false));
    movie.Load("wide.swf");
    EXPECT_EQ(movie.GetWidth(), 300.0f);
    EXPECT_EQ(movie.GetHeight(), 40.0f);
    EXPECT_EQ(copy.GetWidth(), 200.0f);
}

// A movie that loads another into its root hands the handle, and its copies, the new root: the
// new movie is what plays and what the game finds, shown in the size of the movie the handle
// loaded; loading precomputes only up to the load.
TEST_F(FlashMovieTest, a_movie_loaded_into_the_root_takes_over_the_handle_and_its_copies) {
    swfkit::Movie loader(8, {0, 100 * kTwips, 0, 50 * kTwips}, 30);
    loader.Tags().DoAction(player_movies::GetUrlAction("shapes.swf", "_root"));
    loader.Tags().ShowFrame().ShowFrame().ShowFrame();
    Write("loader.swf", loader.Write(false));
    FlashMovie movie("loader.swf");
    ASSERT_TRUE(movie.GetRoot());
    EXPECT_TRUE(std::none_of(s_log.begin(), s_log.end(),
                             [](const std::string& line) { return line.find("not reached") != line.npos; }));
    const FlashMovie copy = movie;
    const swfplayer::root* first = movie.GetRoot();
    EXPECT_EQ(movie.GetWidth(), 100.0f);
    EXPECT_FALSE(movie.GetCharacter("red"));
    movie.Advance(1.0f / 30.0f);
    EXPECT_NE(movie.GetRoot(), first);
    EXPECT_EQ(movie.GetRoot()->get_movie_width(), 200);
    EXPECT_EQ(movie.GetWidth(), 100.0f);
    EXPECT_TRUE(movie.GetCharacter("red"));
    EXPECT_EQ(copy.GetRoot(), movie.GetRoot());
    EXPECT_TRUE(copy.GetChildCharacter("clip", "green"));
    EXPECT_EQ(movie.GetPlayer()->get_root(), movie.GetRoot());
}

// The cache tests need a file system that keeps a file's tags (ext4, btrfs, xfs; tmpfs before
// Linux 6.6 does not).
bool FileTagsWork(const std::filesystem::path& folder) {
    const std::filesystem::path probe = folder / "tag-probe";
    std::FILE* file = std::fopen(probe.c_str(), "wb");
    const bool tagged = platform::SetFileTag(file, "pondorix.probe", "1");
    if (file) {
        std::fclose(file);
    }
    std::filesystem::remove(probe);
    return tagged;
}

// The cache a movie gets when it has none, in a folder of its own.
std::string FreshCacheOf(const swfkit::Bytes& movie) {
    testing_support::TempDir other;
    testing_support::WriteFile(other / "m.swf", std::string(movie.begin(), movie.end()));
    PHYSFS_unmount(PHYSFS_getRealDir("shapes.swf"));
    EXPECT_NE(PHYSFS_mount(other.Path().c_str(), nullptr, 0), 0);
    FlashMovie loaded("m.swf");
    PHYSFS_unmount(other.Path().c_str());
    return testing_support::ReadFile(other / "m.swf.gsc");
}

bool Logged(const char* text) {
    return std::any_of(s_log.begin(), s_log.end(),
                       [text](const std::string& line) { return line.find(text) != std::string::npos; });
}

TEST_F(FlashMovieTest, a_cache_file_belongs_to_the_movie_it_was_made_from_whatever_the_file_times) {
    if (!FileTagsWork(m_Dir.Path())) {
        GTEST_SKIP() << "the temporary folder keeps no file tags";
    }
    const auto cache = m_Dir / "shapes.swf.gsc";
    SetTime("shapes.swf", 1000000);
    EXPECT_TRUE(FlashMovie("shapes.swf").GetRoot());
    const std::string written = testing_support::ReadFile(cache);
    ASSERT_GE(written.size(), 6u);
    EXPECT_EQ(written.substr(0, 4), std::string("gsc\x06"));
    const auto key = platform::GetFileTag(cache.string(), "pondorix.movie");
    ASSERT_TRUE(key);
    // Kept while the movie stays the same, older or newer than it.
    for (time_t cache_time : {999999, 1000001}) {
        SetTime("shapes.swf.gsc", cache_time);
        s_log.clear();
        FlashMovie("shapes.swf");
        EXPECT_EQ(testing_support::ReadFile(cache), written) << cache_time;
        EXPECT_FALSE(Logged("cache file")) << cache_time;
    }
    // Another movie put in its place with an older time (as cp -p leaves it) gets its own cache.
    const swfkit::Bytes replacement = player_movies::ShapeHeavyMovie(3, 2);
    Write("shapes.swf", replacement);
    SetTime("shapes.swf", 999000);
    FlashMovie("shapes.swf");
    const std::string rewritten = testing_support::ReadFile(cache);
    EXPECT_NE(rewritten, written);
    EXPECT_NE(platform::GetFileTag(cache.string(), "pondorix.movie"), key);
    EXPECT_EQ(rewritten, FreshCacheOf(replacement));
}

TEST_F(FlashMovieTest, a_cache_that_fails_to_read_is_removed_and_written_again) {
    if (!FileTagsWork(m_Dir.Path())) {
        GTEST_SKIP() << "the temporary folder keeps no file tags";
    }
    const auto cache = m_Dir / "shapes.swf.gsc";
    FlashMovie("shapes.swf");
    const std::string written = testing_support::ReadFile(cache);
    const auto key = platform::GetFileTag(cache.string(), "pondorix.movie");
    ASSERT_TRUE(key);
    // Junk carrying the movie's key is judged fresh and read, which fails.
    testing_support::WriteFile(cache, "junk that is no cache file");
    std::FILE* junk = std::fopen(cache.c_str(), "r+b");
    ASSERT_TRUE(platform::SetFileTag(junk, "pondorix.movie", *key));
    std::fclose(junk);
    s_log.clear();
    FlashMovie("shapes.swf");
    EXPECT_TRUE(Logged("does not have the correct format"));
    EXPECT_EQ(testing_support::ReadFile(cache), written);
}

TEST_F(FlashMovieTest, a_cache_written_in_part_is_never_put_in_place) {
    // The disk refuses the cache's bytes: a file size limit below the cache.
    bool loaded = false;
    {
        testing_support::FileSizeLimit limit(16);
        ASSERT_TRUE(limit.IsSet());
        loaded = FlashMovie("shapes.swf").GetRoot() != nullptr;
    }
    EXPECT_TRUE(loaded);
    EXPECT_FALSE(std::filesystem::exists(m_Dir / "shapes.swf.gsc"));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(m_Dir.Path()), {}), 1) << "no temporary file is left";
}

TEST_F(FlashMovieTest, links_planted_at_the_cache_names_are_replaced_not_followed) {
    const auto victim = m_Dir / "victim";
    testing_support::WriteFile(victim, "victim");
    // The old fixed temporary name, and the cache's own name.
    std::filesystem::create_symlink(victim, m_Dir / "shapes.swf.gsc.tmp");
    std::filesystem::create_symlink(victim, m_Dir / "shapes.swf.gsc");
    EXPECT_TRUE(FlashMovie("shapes.swf").GetRoot());
    EXPECT_EQ(testing_support::ReadFile(victim), "victim");
    if (FileTagsWork(m_Dir.Path())) {
        EXPECT_TRUE(std::filesystem::is_regular_file(std::filesystem::symlink_status(m_Dir / "shapes.swf.gsc")));
    }
}

// A game killed while it wrote a cache left the cache's temporary file; the cache is stale then,
// so the next load writes it, and removes that file first. Files that only look alike stay.
TEST_F(FlashMovieTest, writing_a_cache_removes_what_cut_short_writes_of_it_left) {
    for (int i = 0; i < 2; ++i) {
        ASSERT_TRUE(testing_support::KillDuringSave((m_Dir / "shapes.swf.gsc").string()));
    }
    const std::vector<std::string> kept = {"shapes.swf.gsc.old", "shapes.swf.gsc.Ab12Cd", "shapes.swf.Ab12Cd",
                                           "other.swf.gsc.Ab12Cd"};
    for (const std::string& name : kept) {
        testing_support::WriteFile(m_Dir / name, "kept");
    }
    EXPECT_TRUE(FlashMovie("shapes.swf").GetRoot());
    for (const std::string& name : kept) {
        EXPECT_EQ(testing_support::ReadFile(m_Dir / name), "kept") << name;
    }
    const bool cached = std::filesystem::exists(m_Dir / "shapes.swf.gsc");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(m_Dir.Path()), {}),
              static_cast<std::ptrdiff_t>(1 + kept.size() + (cached ? 1 : 0)))
        << "the movie, the files kept and the cache, and no temporary file";
}

TEST_F(FlashMovieTest, a_replacing_character_is_shared_and_outlives_the_movie_it_came_from) {
    FlashMovie movie("shapes.swf");
    swfplayer::character* clip = movie.GetCharacter("clip");
    ASSERT_TRUE(clip);
    const int depth = clip->get_depth();
    const float halfRed = clip->get_cxform().m[0][0];
    swfplayer::smart_ptr<swfplayer::character> red;
    {
        FlashMovie other("shapes.swf");
        EXPECT_FALSE(movie.ReplaceCharacter("clip", other, "nobody"));
        EXPECT_FALSE(movie.ReplaceCharacter("nobody", other, "red"));
        EXPECT_TRUE(movie.ReplaceCharacter("clip", other, "red"));
        red = other.GetCharacter("red");
        // Both display lists hold it; it took the replaced clip's depth and colour transform.
        EXPECT_FALSE(movie.GetCharacter("clip"));
        EXPECT_EQ(movie.GetRoot()->get_root_sprite()->get_display_list().get_character_at_depth(depth), red.get_ptr());
        EXPECT_EQ(red->get_cxform().m[0][0], halfRed);
    }
    // The other movie is gone; this one still holds and plays its character.
    EXPECT_EQ(movie.GetRoot()->get_root_sprite()->get_display_list().get_character_at_depth(depth), red.get_ptr());
    red = nullptr;
    for (int i = 0; i < 4; ++i) {
        movie.Advance(1.0f / 30.0f);
    }
    EXPECT_TRUE(movie.GetCharacter("red"));
}

// A plain field (no font, no colour) takes texts the game sets; names of no field are ignored.
TEST_F(FlashMovieTest, texts_are_set_in_edit_text_fields_only) {
    swfkit::Movie movie(8, {0, 4000, 0, 2000}, 30);
    swfkit::EditText field;
    field.id = 1;
    field.bounds = {0, 2000, 0, 400};
    field.text = "before";
    movie.Tags().Tag(swfplayer::tag_define_edit_text, swfkit::DefineEditTextBody(field));
    swfkit::Placement label;
    label.characterId = 1;
    label.name = "label";
    movie.Tags().PlaceObject2(label).ShowFrame();
    Write("text.swf", movie.Write(false));
    FlashMovie text("text.swf");
    ASSERT_TRUE(text.GetCharacter("label"));
    text.SetText("label", "after");
    text.SetText("nobody", "ignored");
    EXPECT_STREQ(text.GetCharacter("label")->to_string(), "after");
}

// The game's one call into a movie's script: the root movie's function runs at once with the root
// movie as "this", and what it sends reaches the game; a name that is no function does nothing.
TEST_F(FlashMovieTest, a_root_function_runs_at_once_and_other_names_do_nothing) {
    const swfkit::Bytes define = swfkit::assemble(
                                     "fn:OverallOnly() { 'red' get_var '_visible' false set_member "
                                     "'this' get_var '_alpha' 40 set_member #83:'FSCommand:hidden','' }")
                                     .bytes();
    Write("function.swf", player_movies::ShapesMovie(1, 30, define));
    FlashMovie movie("function.swf");
    ASSERT_TRUE(movie.GetRoot());
    movie.Advance(0.0f);
    CommandReceiver receiver;
    FSCommandSignal().connect(&receiver, &CommandReceiver::OnCommand);
    ASSERT_TRUE(movie.GetCharacter("red")->get_visible());

    EXPECT_TRUE(movie.CallRootMethod("NoSuchFunction"));
    EXPECT_TRUE(movie.GetCharacter("red")->get_visible());
    EXPECT_TRUE(receiver.commands.empty());

    EXPECT_TRUE(movie.CallRootMethod("OverallOnly"));
    EXPECT_FALSE(movie.GetCharacter("red")->get_visible());
    EXPECT_NEAR(movie.GetRoot()->get_root_sprite()->get_cxform().m[3][0], 0.4f, 0.01f);
    EXPECT_EQ(receiver.commands, std::vector<std::string>{"hidden"});

    FlashMovie empty;
    EXPECT_FALSE(empty.CallRootMethod("OverallOnly"));
    EXPECT_FALSE(movie.CallRootMethod(nullptr));
}

// The root's drawing is emptied; its canvas stays where it was placed.
TEST_F(FlashMovieTest, the_root_canvas_is_emptied_in_its_place) {
    FlashMovie movie("shapes.swf");
    ASSERT_TRUE(movie.GetRoot());
    swfplayer::sprite_instance* stage = movie.GetRoot()->get_root_sprite();
    const int children = stage->get_display_list().size();
    swfplayer::canvas* drawing = stage->get_canvas();
    ASSERT_TRUE(drawing);
    drawing->line_to(100.0f, 100.0f);
    EXPECT_EQ(stage->get_display_list().size(), children + 1);
    ClearRootCanvas(movie);
    EXPECT_EQ(stage->get_display_list().size(), children + 1);
    EXPECT_EQ(stage->get_canvas(), drawing);
    EXPECT_TRUE(drawing->m_paths.empty());
    FlashMovie empty;
    ClearRootCanvas(empty);
    FlashMovie fresh("shapes.swf");
    ASSERT_TRUE(fresh.GetRoot());
    swfplayer::sprite_instance* fresh_stage = fresh.GetRoot()->get_root_sprite();
    const int before = fresh_stage->get_display_list().size();
    ClearRootCanvas(fresh);  // made on first use, empty
    EXPECT_EQ(fresh_stage->get_display_list().size(), before + 1);
    ASSERT_TRUE(fresh_stage->get_canvas());
    EXPECT_TRUE(fresh_stage->get_canvas()->m_paths.empty());
}

TEST_F(FlashMovieTest, particles_move_while_their_movie_plays_and_go_when_it_stops) {
    Write("plays.swf", player_movies::ShapesMovie(30, 30));
    Write("stops.swf", player_movies::WaitingMovie(3, 30, true));
    const float transform[4] = {0.0f, 10.0f, 20.0f, 2.0f};
    FlashParticles particles(transform);
    const uint8_t colour[4] = {255, 128, 0, 255};
    particles.Spawn("plays.swf", {1.0f, 2.0f}, colour, 4.0f, -2.0f, 0.5f);
    particles.Spawn("stops.swf", {0.0f, 0.0f}, colour, 1.0f, 1.0f, 0.0f);
    EXPECT_EQ(particles.GetCount(), 2);
    // Shown where they were spawned before their first update: (position + offset) x scale.
    const std::vector<sf::Vector2f> spawned = particles.GetPositions();
    ASSERT_EQ(spawned.size(), 2u);
    EXPECT_EQ(spawned[0], sf::Vector2f(22.0f, 44.0f));
    EXPECT_EQ(spawned[1], sf::Vector2f(20.0f, 40.0f));
    particles.Update(0.5f);
    // The stopping one went in its first update; the playing one stays.
    ASSERT_EQ(particles.GetCount(), 1);
    particles.Update(0.0f);
    EXPECT_EQ(particles.GetCount(), 1);
}

}  // namespace
}  // namespace flash_testing
