// MovieClipLoader on kit-built movies in a working folder, loaded into the "clip" sprite of a
// playing shapes movie.
#include "swfplayer/main/display/sprite_instance.h"
#include "swfplayer/main/player/as_mcloader.h"
#include "swfplayer/main/player/clip_loader.h"
#include "swfplayer/main/player/movie_player.h"
#include "swfplayer/main/script/fn_call.h"
#include "tests/support/TempDir.h"
#include "tests/swfplayer/main/loading/SwfLoadingFixture.h"
#include "tests/swfplayer/main/player/PlayerMovies.h"
#include "tests/swfplayer/main/script/ScriptTestKit.h"

#include <functional>
#include <string>
#include <vector>

namespace swf_testing {

using namespace swfplayer;
using script_test::call;
using script_test::member;

namespace {

// Every listener call as "<listener name>.<handler>(<arguments>)".
std::vector<std::string> s_calls;
std::function<void(const fn_call&, const std::string&)> s_after_call;

template <const char* Name>
void record_call(const fn_call& fn) {
    std::string text = std::string(member(fn.this_ptr, "name").to_string()) + "." + Name + "(";
    for (int i = 0; i < fn.nargs; i++) {
        text += (i ? "," : "") + std::string(fn.arg(i).to_string());
    }
    s_calls.push_back(text + ")");
    if (s_after_call) {
        s_after_call(fn, Name);
    }
}

constexpr char kStart[] = "onLoadStart";
constexpr char kInit[] = "onLoadInit";
constexpr char kProgress[] = "onLoadProgress";
constexpr char kComplete[] = "onLoadComplete";
constexpr char kError[] = "onLoadError";

}  // namespace

class MovieClipLoaderTest : public SwfLoadingFixture {
protected:
    void SetUp() override {
        register_clip_loader();  // before the player is made, so its globals hold the class
        SwfLoadingFixture::SetUp();
        s_calls.clear();
        s_after_call = nullptr;
        m_player->set_workdir((m_dir.Path().string() + "/").c_str());
        for (const char* name : {"child.swf", "shapes.swf"}) {
            std::vector<uint8_t> bytes = player_movies::ShapesMovie(name[0] == 'c' ? 3 : 2, 30);
            testing_support::WriteFile(m_dir / name, std::string(bytes.begin(), bytes.end()));
        }
        m_root = load_file(m_player.get_ptr(), (m_dir / "shapes.swf").c_str());
        ASSERT_TRUE(m_root);
        m_loader = construct();
    }
    void TearDown() override {
        s_after_call = nullptr;
        m_loader.set_undefined();
        m_listeners.clear();
        m_root = nullptr;
        SwfLoadingFixture::TearDown();
    }

    sprite_instance* stage() { return m_root->get_root_sprite(); }
    as_environment& env() { return *stage()->get_environment(); }
    character* clip() { return stage()->get_display_list().get_character_by_name("clip"); }
    as_value construct() { return call(env(), member(m_player->get_global(), "MovieClipLoader"), as_value(), {}); }
    as_value invoke(const char* name, const std::vector<as_value>& args) {
        return call(env(), member(m_loader.to_object(), name), m_loader, args);
    }
    // A listener named name with every handler, added to the loader.
    as_object* listen(const char* name) {
        smart_ptr<as_object> listener = new as_object(m_player.get_ptr());
        listener->set_member("name", name);
        listener->set_member(kStart, as_value(record_call<kStart>));
        listener->set_member(kInit, as_value(record_call<kInit>));
        listener->set_member(kProgress, as_value(record_call<kProgress>));
        listener->set_member(kComplete, as_value(record_call<kComplete>));
        listener->set_member(kError, as_value(record_call<kError>));
        m_listeners.push_back(listener);
        EXPECT_TRUE(invoke("addListener", {as_value(listener.get_ptr())}).to_bool());
        return listener.get_ptr();
    }
    void frame() { m_player->advance_frame_objects(1.0f / 30.0f); }
    static std::string calls() {
        std::string joined;
        for (const std::string& c : s_calls) {
            joined += (joined.empty() ? "" : " ") + c;
        }
        s_calls.clear();
        return joined;
    }
    std::string bytes_of(const char* name) {
        movie_def_impl* def = create_movie(m_player.get_ptr(), (m_dir / name).c_str());
        return def ? std::to_string(def->get_loaded_bytes()) + "," + std::to_string(def->get_file_bytes()) : "";
    }

    testing_support::TempDir m_dir;
    smart_ptr<root> m_root;
    as_value m_loader;
    std::vector<smart_ptr<as_object>> m_listeners;
};

TEST_F(MovieClipLoaderTest, a_whole_movie_starts_at_the_call_and_inits_progresses_and_completes_next_frame) {
    ASSERT_TRUE(m_loader.to_object() && m_loader.to_object()->is(AS_MCLOADER));
    listen("a");
    smart_ptr<character> before = clip();
    EXPECT_TRUE(invoke("loadClip", {"child.swf", "clip"}).to_bool());
    EXPECT_EQ(calls(), "a.onLoadStart(undefined)");
    EXPECT_EQ(clip(), before.get_ptr());
    frame();
    const std::string bytes = bytes_of("child.swf");
    EXPECT_EQ(calls(), "a.onLoadInit(null) a.onLoadProgress(null," + bytes + ") a.onLoadComplete(null," + bytes + ")");
    sprite_instance* loaded = cast_to_sprite_instance(clip());
    ASSERT_TRUE(loaded);
    EXPECT_NE(loaded, before.get_ptr());
    EXPECT_EQ(loaded->get_frame_count(), 3);
    EXPECT_TRUE(m_player->has_frame_object(m_loader.to_object()));
    frame();
    EXPECT_FALSE(m_player->has_frame_object(m_loader.to_object()));
    EXPECT_EQ(calls(), "");
}

TEST_F(MovieClipLoaderTest, files_that_cannot_be_read_or_named_are_url_not_found) {
    listen("a");
    for (const char* url : {"missing.swf", "/etc/passwd", "../child.swf", "sub/../../child.swf", "C:/x.swf", ""}) {
        EXPECT_FALSE(invoke("loadClip", {url, "clip"}).to_bool()) << url;
        EXPECT_EQ(calls(), "a.onLoadError(undefined,URLNotFound)") << url;
    }
    EXPECT_EQ(static_cast<as_mcloader*>(m_loader.to_object())->get_queue_size(), 0);
}

TEST_F(MovieClipLoaderTest, a_listener_removing_itself_mid_notification_hears_nothing_more) {
    as_object* a = listen("a");
    listen("b");
    s_after_call = [&](const fn_call& fn, const std::string& name) {
        if (name == kInit && fn.this_ptr == a) {
            invoke("removeListener", {as_value(a)});
        }
    };
    invoke("loadClip", {"child.swf", "clip"});
    frame();
    const std::string bytes = bytes_of("child.swf");
    std::string all = calls();
    EXPECT_NE(all.find("b.onLoadComplete(null," + bytes + ")"), std::string::npos) << all;
    EXPECT_EQ(all.find("a.onLoadProgress"), std::string::npos) << all;
    EXPECT_EQ(all.find("a.onLoadComplete"), std::string::npos) << all;
}

TEST_F(MovieClipLoaderTest, loads_started_by_handlers_and_after_the_queue_emptied_wait_for_a_frame) {
    listen("a");
    bool again = true;
    s_after_call = [&](const fn_call&, const std::string& name) {
        if (name == kComplete && again) {
            again = false;
            invoke("loadClip", {"shapes.swf", "clip"});
        }
    };
    invoke("loadClip", {"child.swf", "clip"});
    calls();
    frame();
    std::string first = calls();
    EXPECT_EQ(first.find("a.onLoadInit"), first.rfind("a.onLoadInit")) << "one load per frame here: " << first;
    EXPECT_NE(first.find("a.onLoadStart(undefined)"), std::string::npos);
    frame();
    EXPECT_NE(calls().find("a.onLoadComplete"), std::string::npos);
    EXPECT_EQ(cast_to_sprite_instance(clip())->get_frame_count(), 2);
    frame();
    EXPECT_FALSE(m_player->has_frame_object(m_loader.to_object()));
    // A later load puts the loader back on the frame tick.
    EXPECT_TRUE(invoke("loadClip", {"child.swf", "clip"}).to_bool());
    frame();
    EXPECT_EQ(cast_to_sprite_instance(clip())->get_frame_count(), 3);
}

TEST_F(MovieClipLoaderTest, a_root_target_or_a_gone_target_is_not_replaced) {
    listen("a");
    EXPECT_TRUE(invoke("loadClip", {"child.swf", as_value(stage())}).to_bool());
    EXPECT_TRUE(invoke("loadClip", {"child.swf", "nosuchclip"}).to_bool());
    frame();
    EXPECT_EQ(m_root->get_root_sprite(), stage());
    EXPECT_EQ(stage()->get_frame_count(), 2);
    EXPECT_TRUE(Logged("character can't replace _root"));
    EXPECT_EQ(static_cast<as_mcloader*>(m_loader.to_object())->get_queue_size(), 0);
}

TEST_F(MovieClipLoaderTest, get_progress_unload_clip_and_argument_counts) {
    const std::string bytes = bytes_of("shapes.swf");
    as_value progress = invoke("getProgress", {as_value(stage())});
    EXPECT_EQ(std::string(member(progress.to_object(), "bytesLoaded").to_string()) + "," +
                  member(progress.to_object(), "bytesTotal").to_string(),
              bytes);
    EXPECT_TRUE(invoke("getProgress", {"clip"}).is_null());
    EXPECT_TRUE(invoke("getProgress", {}).is_null());
    const struct {
        const char* name;
        std::vector<as_value> args;
    } refused[] = {
        {"addListener", {}},
        {"addListener", {1, 2}},
        {"removeListener", {}},
        {"unloadClip", {}},
        {"unloadClip", {1, 2}},
        {"loadClip", {"child.swf"}},
        {"loadClip", {"child.swf", "clip", 3}},
    };
    for (const auto& r : refused) {
        EXPECT_FALSE(invoke(r.name, r.args).to_bool()) << r.name << " " << r.args.size();
    }
    EXPECT_TRUE(clip());
    EXPECT_TRUE(invoke("unloadClip", {"clip"}).to_bool());
    EXPECT_FALSE(clip());
    as_value plain = as_value(new as_object(m_player.get_ptr()));
    EXPECT_TRUE(call(env(), member(m_loader.to_object(), "loadClip"), plain, {"child.swf", "clip"}).is_undefined());
}

}  // namespace swf_testing
