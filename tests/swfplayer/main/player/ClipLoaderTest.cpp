#include "swfplayer/main/display/sprite_instance.h"
#include "swfplayer/main/loading/movie_loader.h"
#include "swfplayer/main/player/clip_loader.h"
#include "swfplayer/main/player/movie_player.h"
#include "swfplayer/main/script/load_file.h"
#include "tests/support/JpegWriter.h"
#include "tests/support/TempDir.h"
#include "tests/swfplayer/main/loading/SwfLoadingFixture.h"
#include "tests/swfplayer/main/player/PlayerMovies.h"
#include "tools/swfkit/Movie.h"

namespace swf_testing {

using namespace swfplayer;

int s_opened = 0;

// Movies and images in a working folder, loaded into the "clip" sprite of a playing shapes
// movie through the script core's load_file.
class ClipLoaderTest : public SwfLoadingFixture {
protected:
    void SetUp() override {
        SwfLoadingFixture::SetUp();
        register_clip_loader();
        m_player->set_workdir((m_dir.Path().string() + "/").c_str());
        for (const char* name : {"child.swf", "a.swf", "shapes.swf"}) {
            Write(name, player_movies::ShapesMovie(2, 30));
        }
        Write("pic.JPG", testing_support::WriteJpeg(8, 8, [](int, int) {
                  return std::array<uint8_t, 3>{200, 10, 10};
              }));
        m_root = m_player->load_file((m_dir / "shapes.swf").c_str());
        ASSERT_TRUE(m_root);
    }
    void TearDown() override {
        m_root = nullptr;
        SwfLoadingFixture::TearDown();
    }
    void Write(const std::string& name, const std::vector<uint8_t>& bytes) {
        testing_support::WriteFile(m_dir / name, std::string(bytes.begin(), bytes.end()));
    }
    sprite_instance* Stage() { return m_root->get_root_sprite(); }
    character* Clip() { return Stage()->get_display_list().get_character_by_name("clip"); }

    testing_support::TempDir m_dir;
    smart_ptr<root> m_root;
};

TEST_F(ClipLoaderTest, movies_and_images_take_the_place_of_the_clip_and_nothing_else_is_loaded) {
    enum Expect { Movie, Image, Nothing };
    const std::pair<const char*, Expect> cases[] = {
        {"child.swf", Movie},    {"a.swf", Movie},          {"pic.JPG", Image},
        {".swf", Nothing},       {"missing.swf", Nothing},  {"child.txt", Nothing},
        {"/etc/x.swf", Nothing}, {"../child.swf", Nothing}, {"x.3ds", Nothing},
    };
    for (const auto& [url, expect] : cases) {
        SetUp();
        smart_ptr<character> before = Clip();
        ASSERT_TRUE(before) << url;
        const std::pair<int, float> place(before->get_depth(), before->get_cxform().m[0][0]);
        smart_ptr<as_object> loaded = load_file(Stage()->get_environment(), url, as_value("clip"));
        EXPECT_EQ(Clip(), expect == Nothing ? before.get_ptr() : loaded.get_ptr()) << url;
        EXPECT_EQ(std::make_pair(Clip()->get_depth(), Clip()->get_cxform().m[0][0]), place) << url;
        EXPECT_EQ(loaded && loaded->is(AS_SPRITE), expect == Movie) << url;
        EXPECT_EQ(loaded == nullptr, expect == Nothing) << url;
        TearDown();
    }
}

// A url that gives nothing gives null and no message of load_file's own: a url of no known type
// is not logged at all, a missing file or a refused name only by what refused it.
TEST_F(ClipLoaderTest, a_load_that_gives_nothing_is_null_without_a_message) {
    as_environment* env = Stage()->get_environment();
    for (const char* url : {".swf", "child.txt", "abc", "missing.swf", "../child.swf"}) {
        ClearLog();
        EXPECT_FALSE(load_file(env, url, as_value("clip"))) << url;
        for (const std::string& line : Log()) {
            EXPECT_EQ(line.find("load_file"), std::string::npos) << url << ": " << line;
        }
    }
    for (const char* url : {"child.txt", "abc"}) {
        ClearLog();
        EXPECT_FALSE(load_file(env, url, as_value("clip"))) << url;
        EXPECT_TRUE(Log().empty()) << url;
    }
}

TEST_F(ClipLoaderTest, an_empty_url_unloads_and_a_movie_replaces_the_root_at_its_next_advance) {
    as_environment* env = Stage()->get_environment();
    EXPECT_FALSE(load_file(env, "child.swf", as_value("nosuchclip")));
    // The root movie stays in place until the root advances; an image cannot replace it.
    EXPECT_EQ(load_file(env, "child.swf", as_value("")), Stage());
    EXPECT_FALSE(load_file(env, "pic.JPG", as_value("")));
    EXPECT_TRUE(Logged("character can't replace _root"));
    EXPECT_EQ(m_root->get_root_sprite(), Stage());
    EXPECT_FALSE(m_root->get_replacement());
    EXPECT_FALSE(load_file(env, "", as_value("clip")));
    EXPECT_FALSE(Clip());
    EXPECT_TRUE(Stage()->get_display_list().get_character_by_name("red"));
    load_file(env, "", as_value(""));
    EXPECT_EQ(Stage()->get_display_list().size(), 0);
    m_root->advance(0.0f);
    ASSERT_TRUE(m_root->get_replacement());
    EXPECT_EQ(m_player->get_root(), m_root->get_replacement());
    EXPECT_TRUE(m_root->get_replacement()->get_root_sprite()->get_display_list().get_character_by_name("clip"));
}

TEST_F(ClipLoaderTest, imports_are_read_once_into_the_shared_library) {
    swfkit::Movie source(8, {0, 2000, 0, 2000}, 30);
    source.Tags().DefineSprite(5, swfkit::TagList(8)).ExportAssets({{5, "thing"}}).ShowFrame();
    Write("source.swf", source.Write(false));
    swfkit::Movie user(8, {0, 2000, 0, 2000}, 30);
    user.Tags().ImportAssets("source.swf", {{7, "thing"}}).ShowFrame();
    Write("user.swf", user.Write(false));
    register_file_opener_callback([](const char* name) {
        s_opened++;
        return new base_file(name, "rb");
    });
    // The import is found inside the working folder; the movie itself by its full name.
    movie_def_impl* def = m_player->create_movie((m_dir / "user.swf").c_str());
    ASSERT_TRUE(def);
    EXPECT_TRUE(def->get_character_def(7));
    const int opened = s_opened;
    movie_def_impl* again = m_player->create_movie((m_dir.Path().string() + "/source.swf").c_str());
    EXPECT_EQ(again->get_character_def(5), def->get_character_def(7));
    EXPECT_EQ(m_player->create_movie((m_dir / "user.swf").c_str()), def);
    EXPECT_EQ(s_opened, opened);
}

}  // namespace swf_testing
