// The Sound object against a recording sound handler, on a movie that exports a sample as "snd"
// and a clip as "clip".
#include "swfplayer/main/sound/sound_handler.h"
#include "tests/swfplayer/main/display/DisplayTestKit.h"
#include "tests/swfplayer/main/script/ScriptTestKit.h"
#include "tools/swfkit/Movie.h"

#include <cmath>

namespace display_test {

namespace {

using namespace script_test;

// Writes every call as text; sounds get ids from 10 up.
class recording_sound_handler : public sound_handler {
public:
    int create_sound(void*, int, int, int, int, bool) override { return m_next_id++; }
    void append_sound(int, void*, int) override {}
    void play_sound(int id, int loops) override { note("play " + std::to_string(id) + " " + std::to_string(loops)); }
    void set_volume(int id, int volume) override {
        note("volume " + std::to_string(id) + " " + std::to_string(volume));
    }
    void stop_sound(int id) override { note("stop " + std::to_string(id)); }
    void delete_sound(int id) override { note("delete " + std::to_string(id)); }
    bool is_usable() const override { return true; }
    void pause(int, bool) override {}
    int get_volume(int) override { return 100; }
    int load_sound(const char* path) override {
        note(std::string("load ") + path);
        return m_next_id++;
    }
    int get_position(int id) override { return id * 100; }

    void note(const std::string& call) { m_calls += (m_calls.empty() ? "" : "|") + call; }
    std::string m_calls;
    int m_next_id = 10;
};

class SoundTest : public DisplayFixture {
protected:
    void SetUp() override {
        DisplayFixture::SetUp();
        set_sound_handler(&m_handler);
        swfkit::Movie movie(6, {0, 8000, 0, 6000}, 30.0);
        swfkit::TagList clip(6);
        clip.ShowFrame();
        // DefineSound 7: raw 8-bit mono at 5512 Hz, four samples.
        movie.Tags().Tag(14, {7, 0, 0x00, 4, 0, 0, 0, 1, 2, 3, 4}).DefineSprite(8, clip);
        movie.Tags().ExportAssets({{7, "snd"}, {8, "clip"}}).ShowFrame();
        m_def = LoadMovie(movie.Write(false));
        m_sprite = make_root_sprite(m_def.get_ptr());
        m_player->set_root_movie(m_sprite.get_ptr());
    }
    void TearDown() override {
        m_sprite = nullptr;
        m_def = nullptr;
        set_sound_handler(nullptr);
        DisplayFixture::TearDown();
    }
    as_value method(const as_value& sound, const char* name, const std::vector<as_value>& args = {}) {
        as_value function;
        sound.to_object()->get_member(name, &function);
        return call(*m_sprite->get_environment(), function, sound, args);
    }

    recording_sound_handler m_handler;
    smart_ptr<movie_def_impl> m_def;
    smart_ptr<sprite_instance> m_sprite;
};

// One script, with and without a handler: only the handler's calls differ. Its first start
// has nothing attached; attaching releases the loaded sound.
TEST_F(SoundTest, methods_reach_the_handler_and_release_what_they_loaded) {
    const std::vector<std::pair<const char*, std::vector<as_value>>> script = {{"start", {}},
                                                                               {"attachSound", {"snd"}},
                                                                               {"start", {0, 3}},
                                                                               {"start", {}},
                                                                               {"setVolume", {50}},
                                                                               {"stop", {}},
                                                                               {"loadSound", {"music.mp3"}},
                                                                               {"attachSound", {"snd"}},
                                                                               {"loadSound", {"/again.mp3"}},
                                                                               {"attachSound", {"clip"}},
                                                                               {"attachSound", {"nothing"}},
                                                                               {"attachSound", {}},
                                                                               {"setVolume", {}}};
    m_player->set_workdir("movies/");
    for (bool with_handler : {true, false}) {
        set_sound_handler(with_handler ? &m_handler : nullptr);
        m_handler.m_calls.clear();
        ClearLog();
        {
            as_value constructor = member(m_player->get_global(), "Sound");
            as_value sound = call(*m_sprite->get_environment(), constructor, as_value(), {});
            ASSERT_TRUE(sound.to_object() && sound.to_object()->is(AS_SOUND));
            for (const auto& [name, args] : script) {
                method(sound, name, args);
            }
            double position = member(sound.to_object(), "position").to_number();
            EXPECT_TRUE(with_handler ? position == 1200.0 : std::isnan(position));
        }  // the last loaded sound goes with the object
        m_player->sweep_heap();
        EXPECT_EQ(m_handler.m_calls, with_handler ? "play 10 3|play 10 0|volume 10 50|stop 10|load "
                                                    "movies/music.mp3|delete 11|load /again.mp3|delete 12"
                                                  : "");
        for (const char* message : {"sound sample is NULL", "import error: resource 'nothing' is not exported",
                                    "attach sound needs one argument", "set volume of sound needs one argument"}) {
            EXPECT_TRUE(Logged(message)) << message;
        }
    }
}

}  // namespace

}  // namespace display_test
