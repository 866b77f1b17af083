#include "swfplayer/main/loading/movie_loader.h"
#include "swfplayer/main/loading/sprite_definition.h"
#include "tests/support/TempDir.h"
#include "tests/swfplayer/main/loading/SwfLoadingFixture.h"
#include "tools/swfkit/Movie.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<uint8_t>;
using swfkit::Movie;

// A library movie of version 8 exporting a two-frame sprite as "Shared".
Movie Library() {
    Movie movie(8, {0, 100, 0, 100}, 24.0);
    swfkit::TagList sprite(8);
    sprite.ShowFrame().ShowFrame();
    movie.Tags().DefineSprite(1, sprite).ExportAssets({{1, "Shared"}}).ShowFrame();
    return movie;
}

// A version 6 movie importing "Shared" from url as character 20.
Bytes Importer(const std::string& url) {
    Movie movie(6, {0, 100, 0, 100}, 12.0);
    movie.Tags().ImportAssets(url, {{20, "Shared"}}).ShowFrame();
    return movie.Write(false);
}

// Files the registered opener serves, by name, and the names it was asked for.
std::map<std::string, Bytes> s_virtual_files;
std::vector<std::string> s_opened;

swfplayer::base_file* open_virtual(const char* name) {
    s_opened.push_back(name);
    auto found = s_virtual_files.find(name);
    if (found == s_virtual_files.end()) {
        return nullptr;
    }
    return new swfplayer::base_file(swfplayer::memory_buffer, static_cast<int>(found->second.size()),
                                    found->second.data());
}

class ImportSafetyTest : public swf_testing::SwfLoadingFixture {
protected:
    void SetUp() override {
        SwfLoadingFixture::SetUp();
        std::filesystem::create_directories(m_dir / "movies");
        Bytes library = Library().Write(false);
        testing_support::WriteFile((m_dir / "library.swf").string(), std::string(library.begin(), library.end()));
        Write("library.swf", Library());
        m_player->set_workdir(((m_dir / "movies").string() + "/").c_str());
    }
    void TearDown() override {
        swfplayer::register_file_opener_callback(nullptr);
        s_virtual_files.clear();
        s_opened.clear();
        SwfLoadingFixture::TearDown();
    }

    // Writes the movie into the working directory.
    void Write(const std::string& name, const Movie& movie) {
        Bytes bytes = movie.Write(false);
        testing_support::WriteFile((m_dir / "movies" / name).string(), std::string(bytes.begin(), bytes.end()));
    }

    testing_support::TempDir m_dir;
};

TEST_F(ImportSafetyTest, an_imported_sprite_keeps_its_source_movie_alive) {
    auto def = LoadMovie(Importer("library.swf"));
    ASSERT_TRUE(def);
    auto* sprite = dynamic_cast<swfplayer::sprite_definition*>(def->get_character_def(20));
    ASSERT_TRUE(sprite);
    // The sprite answers through the movie it came from, long after the import loader returned.
    EXPECT_EQ(sprite->get_version(), 8);
    EXPECT_FLOAT_EQ(sprite->get_frame_rate(), 24.0f);
    EXPECT_EQ(sprite->get_frame_count(), 2);
}

TEST_F(ImportSafetyTest, names_that_leave_the_working_directory_are_refused) {
    const std::string absolute = (m_dir / "library.swf").string();
    const std::string overlong = std::string(swfplayer::max_movie_name_length, 'a') + ".swf";
    struct Case {
        std::string url;
        bool imported;
    };
    const Case cases[] = {
        {"library.swf", true},
        {"./library.swf", true},
        {absolute, false},
        {"../library.swf", false},
        {"x/../../library.swf", false},
        {"..\\library.swf", false},
        {"C:/library.swf", false},
        {"\\library.swf", false},
        {overlong, false},
        {"", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.url.substr(0, 40));
        ClearLog();
        auto def = LoadMovie(Importer(c.url));
        ASSERT_TRUE(def);
        EXPECT_EQ(def->get_character_def(20) != nullptr, c.imported);
        EXPECT_EQ(Logged("refused"), !c.imported);
    }
}

TEST_F(ImportSafetyTest, imports_open_through_the_registered_opener_inside_the_working_directory) {
    s_virtual_files["movies/library.swf"] = Library().Write(false);
    swfplayer::register_file_opener_callback(open_virtual);
    m_player->set_workdir("movies/");

    auto def = LoadMovie(Importer("library.swf"));
    ASSERT_TRUE(def);
    EXPECT_TRUE(def->get_character_def(20));
    EXPECT_EQ(s_opened, (std::vector<std::string>{"library.swf", "movies/library.swf"}));
}

TEST_F(ImportSafetyTest, imported_symbols_enter_the_dictionary_and_a_missing_movie_is_logged_once) {
    Movie movie(6, {0, 100, 0, 100}, 12.0);
    movie.Tags().ImportAssets("library.swf", {{20, "shared"}, {21, "absent"}});
    movie.Tags().ImportAssets("nowhere.swf", {{22, "a"}, {23, "b"}}).ShowFrame();
    auto def = LoadMovie(movie.Write(false));
    ASSERT_TRUE(def);
    auto* imported = static_cast<swfplayer::movie_definition*>(def->get_character_def(20));
    ASSERT_TRUE(imported);
    EXPECT_EQ(imported->get_frame_count(), 2);
    EXPECT_EQ(def->get_character_def(21), nullptr);
    EXPECT_EQ(CountLogged("can't import movie from url"), 1);
    EXPECT_EQ(def->get_character_def(22), nullptr);
}

TEST_F(ImportSafetyTest, self_and_cyclic_imports_end) {
    std::string self = (m_dir / "movies" / "self.swf").string();
    Movie selfMovie = Library();
    selfMovie.Tags().ImportAssets("self.swf", {{30, "Shared"}});
    Write("self.swf", selfMovie);
    std::string a = (m_dir / "movies" / "a.swf").string();
    Movie movieA = Library();
    movieA.Tags().ImportAssets("b.swf", {{30, "Shared"}});
    Write("a.swf", movieA);
    Movie movieB = Library();
    movieB.Tags().ImportAssets("a.swf", {{31, "Shared"}});
    Write("b.swf", movieB);

    auto loaded = swfplayer::load_movie_definition(m_player.get_ptr(), self.c_str());
    ASSERT_TRUE(loaded);
    EXPECT_TRUE(Logged("imports itself through its own imports"));
    EXPECT_EQ(loaded->get_character_def(30), nullptr);

    ClearLog();
    auto cyclic = swfplayer::load_movie_definition(m_player.get_ptr(), a.c_str());
    ASSERT_TRUE(cyclic);
    // a imports b, whose import of a is refused; a still gets b's symbol.
    EXPECT_TRUE(cyclic->get_character_def(30));
    EXPECT_TRUE(Logged("imports itself through its own imports"));
}

TEST_F(ImportSafetyTest, import_chains_are_cut_at_a_depth) {
    // Each movie imports the next one, under different file names, deeper than loads may nest.
    for (int i = 0; i < 20; i++) {
        Movie movie = Library();
        movie.Tags().ImportAssets("chain" + std::to_string(i + 1) + ".swf", {{40, "Shared"}});
        Write("chain" + std::to_string(i) + ".swf", movie);
    }
    auto loaded =
        swfplayer::load_movie_definition(m_player.get_ptr(), (m_dir / "movies" / "chain0.swf").string().c_str());
    ASSERT_TRUE(loaded);
    EXPECT_TRUE(Logged("imports nested too deep"));
}

}  // namespace
