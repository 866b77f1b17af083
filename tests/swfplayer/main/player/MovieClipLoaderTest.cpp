// MovieClipLoader on kit-built movies, loaded into the "clip" sprite of a playing shapes movie.
#include "swfplayer/main/display/sprite_instance.h"
#include "swfplayer/main/player/as_mcloader.h"
#include "swfplayer/main/player/clip_loader.h"
#include "swfplayer/main/player/movie_player.h"
#include "tests/support/TempDir.h"
#include "tests/swfplayer/main/loading/SwfLoadingFixture.h"
#include "tests/swfplayer/main/player/PlayerMovies.h"
#include "tests/swfplayer/main/swfplayer_as_classes/NetTestKit.h"

namespace swf_testing {

using namespace net_test;

constexpr char kStart[] = "onLoadStart", kInit[] = "onLoadInit", kProgress[] = "onLoadProgress",
               kComplete[] = "onLoadComplete", kError[] = "onLoadError";

class MovieClipLoaderTest : public SwfLoadingFixture {
protected:
    void SetUp() override {
        register_clip_loader();  // before the player is made, so that its globals hold the class
        SwfLoadingFixture::SetUp();
        s_events.clear(), s_labels.clear(), s_after_event = nullptr;
        m_player->set_workdir((m_dir.Path().string() + "/").c_str());
        for (int frames : {2, 3}) {
            std::vector<uint8_t> bytes = player_movies::ShapesMovie(frames, 30);
            testing_support::WriteFile(m_dir / (std::to_string(frames) + ".swf"),
                                       std::string(bytes.begin(), bytes.end()));
        }
        m_root = m_player->load_file((m_dir / "2.swf").c_str());
        ASSERT_TRUE(m_root);
        m_loader = call(env(), member(m_player->get_global(), "MovieClipLoader"), as_value(), {});
        ASSERT_TRUE(m_loader.to_object() && m_loader.to_object()->is(AS_MCLOADER));
    }
    void TearDown() override {
        s_after_event = nullptr;
        m_loader.set_undefined();
        m_listeners.clear();
        m_root = nullptr;
        SwfLoadingFixture::TearDown();
    }

    sprite_instance* stage() { return m_root->get_root_sprite(); }
    as_environment& env() { return *stage()->get_environment(); }
    sprite_instance* clip() {
        return cast_to_sprite_instance(stage()->get_display_list().get_character_by_name("clip"));
    }
    as_value invoke(const char* name, const std::vector<as_value>& args) {
        return call(env(), member(m_loader.to_object(), name), m_loader, args);
    }
    // A listener labelled name, added to the loader.
    as_object* listen(const char* name) {
        m_listeners.push_back(new as_object(m_player.get_ptr()));
        as_object* listener = m_listeners.back().get_ptr();
        s_labels[listener] = name;
        listener->set_member(kStart, as_value(m_player.get_ptr(), record_event<kStart>));
        listener->set_member(kInit, as_value(m_player.get_ptr(), record_event<kInit>));
        listener->set_member(kProgress, as_value(m_player.get_ptr(), record_event<kProgress>));
        listener->set_member(kComplete, as_value(m_player.get_ptr(), record_event<kComplete>));
        listener->set_member(kError, as_value(m_player.get_ptr(), record_event<kError>));
        EXPECT_TRUE(invoke("addListener", {as_value(listener)}).to_bool());
        return listener;
    }
    void frame() { m_player->advance_frame_objects(1.0f / 30.0f); }
    // "loaded,total" of a movie of the folder.
    std::string bytes(const char* name) {
        movie_def_impl* def = m_player->create_movie((m_dir.Path().string() + "/" + name).c_str());
        return std::to_string(def->get_loaded_bytes()) + "," + std::to_string(def->get_file_bytes());
    }

    testing_support::TempDir m_dir;
    smart_ptr<root> m_root;
    as_value m_loader;
    std::vector<smart_ptr<as_object>> m_listeners;
};

TEST_F(MovieClipLoaderTest, a_whole_movie_starts_at_the_call_then_inits_progresses_and_completes) {
    listen("a");
    sprite_instance* before = clip();
    EXPECT_TRUE(invoke("loadClip", {"3.swf", "clip"}).to_bool());
    EXPECT_EQ(s_events, "a.onLoadStart(undefined)");
    EXPECT_EQ(clip(), before);
    frame();
    EXPECT_EQ(s_events, "a.onLoadStart(undefined) a.onLoadInit(null) a.onLoadProgress(null," + bytes("3.swf") +
                            ") a.onLoadComplete(null," + bytes("3.swf") + ")");
    EXPECT_EQ(clip()->get_frame_count(), 3);
    EXPECT_TRUE(m_player->has_frame_object(m_loader.to_object()));
    frame();
    EXPECT_FALSE(m_player->has_frame_object(m_loader.to_object()));
}

TEST_F(MovieClipLoaderTest, files_that_cannot_be_read_or_named_are_url_not_found) {
    listen("a");
    for (const char* url : {"missing.swf", "/etc/passwd", "../3.swf", "sub/../../3.swf", ""}) {
        s_events.clear();
        EXPECT_FALSE(invoke("loadClip", {url, "clip"}).to_bool()) << url;
        EXPECT_EQ(s_events, "a.onLoadError(undefined,URLNotFound)") << url;
    }
}

TEST_F(MovieClipLoaderTest, a_listener_removing_itself_mid_notification_hears_nothing_more) {
    as_object* a = listen("a");
    listen("b");
    s_after_event = [&](const fn_call& fn, const std::string& name) {
        if (name == kInit && fn.this_ptr == a) {
            invoke("removeListener", {as_value(a)});
        }
    };
    invoke("loadClip", {"3.swf", "clip"});
    frame();
    EXPECT_NE(s_events.find("b.onLoadComplete"), std::string::npos) << s_events;
    EXPECT_EQ(s_events.find("a.onLoadProgress"), std::string::npos) << s_events;
}

TEST_F(MovieClipLoaderTest, loads_from_handlers_wait_a_frame_and_a_root_is_replaced_as_it_advances) {
    listen("a");
    bool again = true;
    s_after_event = [&](const fn_call&, const std::string& name) {
        if (name == kComplete && again) {
            again = false;
            invoke("loadClip", {"2.swf", "clip"});
        }
    };
    invoke("loadClip", {"3.swf", "clip"});
    invoke("loadClip", {"3.swf", as_value(stage())});
    frame();
    EXPECT_EQ(clip()->get_frame_count(), 3) << "the load the handler started waits";
    // The root takes the movie loaded into it at its next advance.
    EXPECT_EQ(m_root->get_root_sprite(), stage());
    EXPECT_FALSE(m_root->get_replacement());
    frame();
    EXPECT_EQ(clip()->get_frame_count(), 2);
    frame();
    EXPECT_FALSE(m_player->has_frame_object(m_loader.to_object()));
    EXPECT_TRUE(invoke("loadClip", {"3.swf", "clip"}).to_bool());  // back on the frame tick
    frame();
    EXPECT_EQ(clip()->get_frame_count(), 3);
    m_root->advance(0.0f);
    ASSERT_TRUE(m_root->get_replacement());
    EXPECT_EQ(m_root->get_replacement()->get_root_sprite()->get_frame_count(), 3);
}

TEST_F(MovieClipLoaderTest, get_progress_unload_clip_and_argument_counts) {
    as_value progress = invoke("getProgress", {as_value(stage())});
    EXPECT_EQ(std::string(member(progress.to_object(), "bytesLoaded").to_string()) + "," +
                  member(progress.to_object(), "bytesTotal").to_string(),
              bytes("2.swf"));
    EXPECT_TRUE(invoke("getProgress", {"clip"}).is_null());
    const std::pair<const char*, std::vector<as_value>> refused[] = {
        {"addListener", {}}, {"removeListener", {1, 2}}, {"unloadClip", {}}, {"loadClip", {"3.swf"}}};
    for (const auto& [name, args] : refused) {
        EXPECT_FALSE(invoke(name, args).to_bool()) << name;
    }
    as_value plain(new as_object(m_player.get_ptr()));
    EXPECT_TRUE(call(env(), member(m_loader.to_object(), "unloadClip"), plain, {"clip"}).is_undefined());
    EXPECT_TRUE(clip());
    EXPECT_TRUE(invoke("unloadClip", {"clip"}).to_bool());
    EXPECT_FALSE(clip());
}

}  // namespace swf_testing
