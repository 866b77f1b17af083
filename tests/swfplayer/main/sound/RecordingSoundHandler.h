#pragma once

#include "swfplayer/main/sound/sound_handler.h"

#include <set>
#include <string>
#include <vector>

namespace sound_test {

// A sound handler that writes down what the player asks of it ("play <id> <loops>") and keeps
// the ids of the sounds that play. Ids count from 100.
class RecordingSoundHandler : public swfplayer::sound_handler {
public:
    struct created {
        int bytes, samples, format, rate;
        bool stereo;
    };
    std::vector<created> sounds;
    std::vector<std::string> calls;
    std::set<int> playing;
    bool usable = true;

    int create_sound(void*, int bytes, int samples, int format, int rate, bool stereo) override {
        sounds.push_back({bytes, samples, format, rate, stereo});
        return 99 + static_cast<int>(sounds.size());
    }
    void append_sound(int id, void*, int bytes) override { note("append", id, bytes); }
    void play_sound(int id, int loops) override {
        note("play", id, loops);
        playing.insert(id);
    }
    void set_volume(int id, int volume) override { note("volume", id, volume); }
    void stop_sound(int id) override {
        note("stop", id, 0);
        playing.erase(id);
    }
    void delete_sound(int id) override { note("delete", id, 0); }
    bool is_usable() const override { return usable; }
    void pause(int id, bool paused) override { note("pause", id, paused); }
    int get_volume(int) override { return 100; }
    void stop_all_sounds() override {
        calls.push_back("stop all");
        playing.clear();
    }

private:
    void note(const char* what, int id, int value) {
        calls.push_back(std::string(what) + " " + std::to_string(id) + " " + std::to_string(value));
    }
};

}  // namespace sound_test
