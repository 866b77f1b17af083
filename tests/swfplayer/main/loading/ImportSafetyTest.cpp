#include "swfplayer/main/loading/movie_loader.h"
#include "swfplayer/main/loading/sprite_definition.h"
#include "tests/support/TempDir.h"
#include "tests/swfplayer/main/loading/SwfLoadingFixture.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<uint8_t>;
using swfkit::Movie;
using swfplayer::movie_def_impl;

// A library movie of version 8 exporting a two-frame sprite as "Shared".
Movie Library() {
    Movie movie(8, {0, 100, 0, 100}, 24.0);
    swfkit::TagList sprite(8);
    sprite.ShowFrame().ShowFrame();
    movie.Tags().DefineSprite(1, sprite).ExportAssets({{1, "Shared"}}).ShowFrame();
    return movie;
}

// Files the registered opener serves, by name, and the names it was asked for.
std::map<std::string, Bytes> s_virtual_files;
std::vector<std::string> s_opened;

swfplayer::base_file* open_virtual(const char* name) {
    s_opened.push_back(name);
    auto found = s_virtual_files.find(name);
    return found == s_virtual_files.end()
               ? nullptr
               : new swfplayer::base_file(swfplayer::memory_buffer, static_cast<int>(found->second.size()),
                                          found->second.data());
}

class ImportSafetyTest : public swf_testing::SwfLoadingFixture {
protected:
    void SetUp() override {
        SwfLoadingFixture::SetUp();
        std::filesystem::create_directories(m_dir / "movies");
        Write("../library.swf", Library());
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
    // A version 6 movie importing "Shared" from url as character 20.
    swfplayer::smart_ptr<movie_def_impl> LoadImporter(const std::string& url) {
        return LoadBuilt(6, [&](swfkit::TagList& t) { t.ImportAssets(url, {{20, "Shared"}}).ShowFrame(); });
    }
    swfplayer::smart_ptr<movie_def_impl> LoadFile(const std::string& name) {
        return swfplayer::load_movie_definition(m_player.get_ptr(), (m_dir / "movies" / name).string().c_str());
    }

    testing_support::TempDir m_dir;
};

// The sprite answers through the movie it came from, long after the import loader returned.
TEST_F(ImportSafetyTest, an_imported_sprite_keeps_its_source_movie_alive) {
    auto def = LoadImporter("library.swf");
    ASSERT_TRUE(def);
    auto* sprite = dynamic_cast<swfplayer::sprite_definition*>(def->get_character_def(20));
    ASSERT_TRUE(sprite);
    EXPECT_EQ(sprite->get_version(), 8);
    EXPECT_FLOAT_EQ(sprite->get_frame_rate(), 24.0f);
    EXPECT_EQ(sprite->get_frame_count(), 2);
}

TEST_F(ImportSafetyTest, names_that_leave_the_working_directory_are_refused) {
    const std::string absolute = (m_dir / "library.swf").string();
    const std::string overlong = std::string(swfplayer::max_movie_name_length, 'a') + ".swf";
    auto expect = [&](const std::string& url, bool imported) {
        SCOPED_TRACE(url.substr(0, 40));
        ClearLog();
        auto def = LoadImporter(url);
        ASSERT_TRUE(def);
        EXPECT_EQ(def->get_character_def(20) != nullptr, imported);
        EXPECT_EQ(Logged("refused"), !imported);
    };
    expect("library.swf", true);
    expect("./library.swf", true);
    for (const std::string& url : {absolute, overlong, std::string()}) {
        expect(url, false);
    }
    for (const char* url :
         {"../library.swf", "x/../../library.swf", "..\\library.swf", "C:/library.swf", "\\library.swf"}) {
        expect(url, false);
    }
}

TEST_F(ImportSafetyTest, imports_open_through_the_registered_opener_inside_the_working_directory) {
    s_virtual_files["movies/library.swf"] = Library().Write(false);
    swfplayer::register_file_opener_callback(open_virtual);
    m_player->set_workdir("movies/");
    auto def = LoadImporter("library.swf");
    ASSERT_TRUE(def);
    EXPECT_TRUE(def->get_character_def(20));
    EXPECT_EQ(s_opened, (std::vector<std::string>{"library.swf", "movies/library.swf"}));
}

TEST_F(ImportSafetyTest, imported_symbols_enter_the_dictionary_and_a_missing_movie_is_logged_once) {
    auto def = LoadBuilt(6, [](swfkit::TagList& t) {
        t.ImportAssets("library.swf", {{20, "shared"}, {21, "absent"}});
        t.ImportAssets("nowhere.swf", {{22, "a"}, {23, "b"}}).ShowFrame();
    });
    ASSERT_TRUE(def);
    auto* imported = static_cast<swfplayer::movie_definition*>(def->get_character_def(20));
    ASSERT_TRUE(imported);
    EXPECT_EQ(imported->get_frame_count(), 2);
    EXPECT_EQ(def->get_character_def(21), nullptr);
    EXPECT_EQ(CountLogged("can't import movie from url"), 1);
    EXPECT_EQ(def->get_character_def(22), nullptr);
}

// Self and cyclic imports end (a imports b, whose import of a is refused; a still gets b's
// symbol), and so do chains of different files deeper than loads may nest.
TEST_F(ImportSafetyTest, self_cyclic_and_deep_imports_end) {
    for (const auto& [name, url] : {std::pair{"self.swf", "self.swf"}, {"a.swf", "b.swf"}, {"b.swf", "a.swf"}}) {
        Movie movie = Library();
        movie.Tags().ImportAssets(url, {{30, "Shared"}});
        Write(name, movie);
    }
    for (int i = 0; i < 20; i++) {
        Movie movie = Library();
        movie.Tags().ImportAssets("chain" + std::to_string(i + 1) + ".swf", {{40, "Shared"}});
        Write("chain" + std::to_string(i) + ".swf", movie);
    }
    auto loaded = LoadFile("self.swf");
    ASSERT_TRUE(loaded);
    EXPECT_TRUE(Logged("imports itself through its own imports"));
    EXPECT_EQ(loaded->get_character_def(30), nullptr);
    ClearLog();
    auto cyclic = LoadFile("a.swf");
    ASSERT_TRUE(cyclic);
    EXPECT_TRUE(cyclic->get_character_def(30));
    EXPECT_TRUE(Logged("imports itself through its own imports"));
    ASSERT_TRUE(LoadFile("chain0.swf"));
    EXPECT_TRUE(Logged("imports nested too deep"));
}

// Collects the source urls it is shown.
class url_collector : public movie_def_impl::import_visitor {
public:
    void visit(const swfplayer::base_string& source_url) override { urls.push_back(source_url.c_str()); }
    std::vector<std::string> urls;
};

TEST_F(ImportSafetyTest, waiting_imports_are_listed_once_per_source_and_reported_on_lookup) {
    swfplayer::smart_ptr<movie_def_impl> def = new movie_def_impl(m_player.get_ptr(), 0, 0);
    def->add_import("lib.swf", 3, "a");
    def->add_import("other.swf", 4, "b");
    def->add_import("LIB.SWF", 5, "c");
    ClearLog();
    def->add_import("lib.swf", 3, "again");
    EXPECT_EQ(CountLogged("character 3 is already waiting"), 1);
    for (int id : {3, 4, 5, 6}) {
        EXPECT_EQ(def->in_import_table(id), id != 6) << id;
    }
    url_collector collector;
    def->visit_imported_movies(&collector);
    EXPECT_EQ(collector.urls, (std::vector<std::string>{"lib.swf", "other.swf"}));
    ClearLog();
    EXPECT_EQ(def->get_character_def(4), nullptr);
    EXPECT_EQ(def->get_font(5), nullptr);
    EXPECT_EQ(def->get_character_def(6), nullptr);
    EXPECT_EQ(Log(), (std::vector<std::string>{"get_character_def(): character_id 4 is still waiting to be imported\n",
                                               "get_font(): font_id 5 is still waiting to be imported\n"}));
}

}  // namespace
