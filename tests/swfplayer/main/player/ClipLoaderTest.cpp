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

#include <string>
#include <vector>

namespace swf_testing {

using swfplayer::character;
using swfplayer::smart_ptr;

namespace {

int s_opened = 0;

swfplayer::base_file* counting_opener(const char* name) {
    s_opened++;
    auto* file = new swfplayer::base_file(name, "rb");
    return file;
}

}  // namespace

// Movies and images in a working folder, loaded into the "clip" sprite of a playing shapes
// movie through the script core's load_file.
class ClipLoaderTest : public SwfLoadingFixture {
protected:
    void SetUp() override {
        SwfLoadingFixture::SetUp();
        swfplayer::register_clip_loader();
        m_player->set_workdir((m_dir.Path().string() + "/").c_str());
        for (const char* name : {"child.swf", "a.swf", "shapes.swf"}) {
            Write(name, player_movies::ShapesMovie(2, 30));
        }
        const std::vector<uint8_t> jpeg = testing_support::WriteJpeg(8, 8, [](int, int) {
            return std::array<uint8_t, 3>{200, 10, 10};
        });
        Write("pic.JPG", jpeg);
        m_root = swfplayer::load_file(m_player.get_ptr(), (m_dir / "shapes.swf").c_str());
        ASSERT_TRUE(m_root);
    }
    void TearDown() override {
        swfplayer::register_file_opener_callback(nullptr);
        m_root = nullptr;
        SwfLoadingFixture::TearDown();
    }
    void Write(const std::string& name, const std::vector<uint8_t>& bytes) {
        testing_support::WriteFile(m_dir / name, std::string(bytes.begin(), bytes.end()));
    }
    swfplayer::sprite_instance* Stage() { return m_root->get_root_sprite(); }
    character* Clip() { return Stage()->get_display_list().get_character_by_name("clip"); }

    testing_support::TempDir m_dir;
    smart_ptr<swfplayer::root> m_root;
};

TEST_F(ClipLoaderTest, movies_and_images_take_the_place_of_the_clip_and_nothing_else_is_loaded) {
    enum Expect { Movie, Image, Nothing };
    const struct {
        const char* url;
        Expect expect;
    } cases[] = {
        {"child.swf", Movie},    {"a.swf", Movie},          {"pic.JPG", Image},
        {".swf", Nothing},       {"missing.swf", Nothing},  {"child.txt", Nothing},
        {"/etc/x.swf", Nothing}, {"../child.swf", Nothing}, {"x.3ds", Nothing},
    };
    for (const auto& c : cases) {
        SetUp();
        smart_ptr<character> before = Clip();
        ASSERT_TRUE(before) << c.url;
        const int depth = before->get_depth();
        const float red_multiplier = before->get_cxform().m[0][0];
        smart_ptr<swfplayer::as_object> loaded =
            swfplayer::load_file(Stage()->get_environment(), c.url, swfplayer::as_value("clip"));
        if (c.expect == Nothing) {
            EXPECT_FALSE(loaded) << c.url;
            EXPECT_EQ(Clip(), before.get_ptr()) << c.url;
        } else {
            ASSERT_TRUE(loaded) << c.url;
            EXPECT_EQ(Clip(), loaded.get_ptr()) << c.url;
            EXPECT_EQ(Clip()->get_depth(), depth) << c.url;
            EXPECT_EQ(Clip()->get_cxform().m[0][0], red_multiplier) << c.url;
            EXPECT_EQ(loaded->is(swfplayer::AS_SPRITE), c.expect == Movie) << c.url;
        }
        TearDown();
    }
}

TEST_F(ClipLoaderTest, an_empty_url_unloads_and_a_root_movie_is_not_replaced) {
    swfplayer::as_environment* env = Stage()->get_environment();
    EXPECT_FALSE(swfplayer::load_file(env, "child.swf", swfplayer::as_value("nosuchclip")));
    EXPECT_FALSE(swfplayer::load_file(env, "child.swf", swfplayer::as_value("")));
    EXPECT_EQ(m_root->get_root_sprite(), Stage());
    EXPECT_FALSE(swfplayer::load_file(env, "", swfplayer::as_value("clip")));
    EXPECT_FALSE(Clip());
    EXPECT_TRUE(Stage()->get_display_list().get_character_by_name("red"));
    swfplayer::load_file(env, "", swfplayer::as_value(""));
    EXPECT_EQ(Stage()->get_display_list().size(), 0);
}

TEST_F(ClipLoaderTest, imports_are_read_once_into_the_shared_library) {
    swfkit::Movie source(8, {0, 2000, 0, 2000}, 30);
    source.Tags().DefineSprite(5, swfkit::TagList(8)).ExportAssets({{5, "thing"}}).ShowFrame();
    Write("source.swf", source.Write(false));
    swfkit::Movie user(8, {0, 2000, 0, 2000}, 30);
    user.Tags().ImportAssets("source.swf", {{7, "thing"}}).ShowFrame();
    Write("user.swf", user.Write(false));
    s_opened = 0;
    swfplayer::register_file_opener_callback(counting_opener);
    // The import is found inside the working folder; the movie itself by its full name.
    swfplayer::movie_def_impl* def = swfplayer::create_movie(m_player.get_ptr(), (m_dir / "user.swf").c_str());
    ASSERT_TRUE(def);
    EXPECT_TRUE(def->get_character_def(7));
    const int opened = s_opened;
    const std::string source_name = m_dir.Path().string() + "/source.swf";
    swfplayer::movie_def_impl* again = swfplayer::create_movie(m_player.get_ptr(), source_name.c_str());
    EXPECT_EQ(s_opened, opened);
    EXPECT_EQ(again->get_character_def(5), def->get_character_def(7));
    EXPECT_EQ(swfplayer::create_movie(m_player.get_ptr(), (m_dir / "user.swf").c_str()), def);
    EXPECT_EQ(s_opened, opened);
}

}  // namespace swf_testing
