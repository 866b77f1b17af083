// The player's own services: movie creation through the file opener, the process-wide clean-up,
// the numbered properties and the random steps of a new player.
#include "swfplayer/base/base_random.h"
#include "swfplayer/base/base_timer.h"
#include "swfplayer/base/log.h"
#include "swfplayer/main/common/swf_tag.h"
#include "swfplayer/main/loading/movie_loader.h"
#include "swfplayer/main/loading/tag_loaders.h"
#include "swfplayer/main/player/player_cleanup.h"
#include "swfplayer/main/player/root.h"
#include "swfplayer/main/script/as_object.h"
#include "swfplayer/main/script/extension_modules.h"
#include "swfplayer/main/script/standard_member.h"
#include "swfplayer/main/text/glyph_provider.h"
#include "tests/support/TempDir.h"
#include "tests/swfplayer/main/loading/SwfLoadingFixture.h"
#include "tests/swfplayer/main/player/PlayerMovies.h"

#include <string>
#include <vector>

namespace swf_testing {
namespace {

using namespace swfplayer;

class PlayerTest : public SwfLoadingFixture {
protected:
    void SetUp() override {
        SwfLoadingFixture::SetUp();
        const swfkit::Bytes bytes = player_movies::ShapesMovie(2, 30);
        testing_support::WriteFile(m_dir / "shapes.swf", std::string(bytes.begin(), bytes.end()));
        testing_support::WriteFile(m_dir / "text.swf", "not a movie");
    }
    std::string Path(const char* name) { return (m_dir / name).string(); }

    testing_support::TempDir m_dir;
};

// An opener that answers every name with a file in error.
base_file* open_broken(const char*) {
    return new base_file("/nonexistent-folder/file", "rb");
}

TEST_F(PlayerTest, create_movie_needs_an_opener_that_opens_the_file) {
    const struct {
        const char* label;
        file_opener_function opener;
        const char* name;
        const char* logged;
    } cases[] = {
        {"no opener", nullptr, "shapes.swf",
         "error: no file opener function; can't create movie.\tSee swfplayer::register_file_opener_callback\n"},
        {"no such file", OpenPlainFile, "missing.swf", "failed to open '%s'; can't create movie.\n"},
        {"a file in error", open_broken, "shapes.swf", "error: file opener can't open '%s'\n"},
        {"not a movie", OpenPlainFile, "text.swf", "file does not start with a SWF header"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        ClearLog();
        register_file_opener_callback(c.opener);
        const std::string path = Path(c.name);
        EXPECT_EQ(m_player->create_movie(path.c_str()), nullptr);
        EXPECT_FALSE(m_player->load_file(path.c_str()));
        std::string logged = c.logged;
        if (logged.find("%s") != std::string::npos) {
            logged.replace(logged.find("%s"), 2, path);
        }
        EXPECT_TRUE(Logged(logged)) << logged;
    }
    // Once read, a movie comes from the library without the opener.
    register_file_opener_callback(OpenPlainFile);
    const std::string shapes = Path("shapes.swf");
    movie_def_impl* def = m_player->create_movie(shapes.c_str());
    ASSERT_TRUE(def);
    register_file_opener_callback(nullptr);
    EXPECT_EQ(m_player->create_movie(shapes.c_str()), def);
    smart_ptr<root> played = m_player->load_file(shapes.c_str());
    ASSERT_TRUE(played);
    EXPECT_EQ(m_player->get_root(), played.get_ptr());
}

TEST_F(PlayerTest, cleanup_after_the_last_player_forgets_the_loaders_libraries_and_glyph_provider) {
    register_tag_loaders();
    create_glyph_provider();
    (*get_extension_registry())["pondorix_test_module"] = std::make_unique<base_loadlib>("pondorix_test_module");
    get_standard_member("_x");
    // A player alive keeps the name table, whatever action_clear says.
    player::action_clear();
    EXPECT_TRUE(has_standard_members());
    m_player = nullptr;
    EXPECT_FALSE(has_standard_members());
    get_standard_member("_x");
    player::action_clear();
    EXPECT_FALSE(has_standard_members());
    player_cleanup();
    EXPECT_FALSE(get_tag_loader(tag_define_sprite, nullptr));
    EXPECT_TRUE(get_extension_registry()->empty());
    EXPECT_EQ(get_glyph_provider(), nullptr);
    // The next movie registers the loaders again.
    m_player = new player();
    const std::string shapes = Path("shapes.swf");
    movie_def_impl* def = m_player->create_movie(shapes.c_str());
    ASSERT_TRUE(def);
    EXPECT_TRUE(def->get_character_def(1));
}

TEST_F(PlayerTest, numbered_properties_read_and_write_members_by_one_table) {
    smart_ptr<as_object> object = new as_object(m_player.get_ptr());
    for (const auto& [number, name] : {std::pair{13, "_name"}, {19, "@@ mystery quality member"}, {21, "_ymouse"}}) {
        set_property(object.get_ptr(), number, as_value(number + 0.5));
        as_value stored;
        EXPECT_TRUE(object->get_member(name, &stored) && stored.to_number() == number + 0.5) << name;
        EXPECT_EQ(get_property(object.get_ptr(), number).to_number(), number + 0.5) << name;
    }
    ClearLog();
    set_property(object.get_ptr(), 22, as_value(1.0));
    EXPECT_TRUE(get_property(object.get_ptr(), -1).is_undefined());
    EXPECT_EQ(Log(), (std::vector<std::string>{"error: invalid set_property, property number 22\n",
                                               "error: invalid property query, property number -1\n"}));
}

TEST_F(PlayerTest, a_new_player_steps_the_random_generator_by_the_low_byte_of_the_time) {
    // The second may turn during the construction; then the count is taken again.
    for (int attempt = 0; attempt < 3; ++attempt) {
        const uint64_t before = base_timer::get_systime();
        base_random::seed_random(4321);
        smart_ptr<player> made = new player();
        const uint32_t after_player = base_random::next_random();
        if (base_timer::get_systime() != before) {
            continue;
        }
        base_random::seed_random(4321);
        for (uint64_t i = 0; i < (before & 0xFF); ++i) {
            base_random::next_random();
        }
        EXPECT_EQ(after_player, base_random::next_random());
        return;
    }
    FAIL() << "the clock kept turning";
}

}  // namespace
}  // namespace swf_testing
