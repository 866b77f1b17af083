#pragma once

namespace swfplayer {

// What the player hands sound data and play commands to. The host may register one; the game
// registers none, so movies stay silent while everything else about them works. Ids are the
// handler's own: the player only passes back what create_sound returned.
class sound_handler {
public:
    // The format code create_sound receives for 16-bit signed samples in the machine's byte order,
    // channels interleaved, left first (expanded ADPCM and 16-bit uncompressed data).
    static constexpr int format_native16 = 7;

    virtual ~sound_handler() = default;

    // A new sound; data may be null with data_bytes 0 for a stream sound that blocks are appended
    // to. sample_rate is in Hz.
    virtual int create_sound(void* data, int data_bytes, int sample_count, int format, int sample_rate,
                             bool stereo) = 0;
    virtual void append_sound(int sound_id, void* data, int data_bytes) = 0;
    virtual void play_sound(int sound_id, int loop_count) = 0;
    virtual void set_volume(int sound_id, int volume) = 0;
    virtual void stop_sound(int sound_id) = 0;
    virtual void delete_sound(int sound_id) = 0;
    // Whether the handler can play at all; an unusable one is treated as absent by
    // get_sound_handler.
    virtual bool is_usable() const = 0;
    // Pauses or resumes a sound (a sprite that stops or starts playing its stream sound).
    virtual void pause(int sound_id, bool paused) = 0;
    virtual int get_volume(int sound_id) = 0;
    // Stops every sound that plays (the StopSounds action).
    virtual void stop_all_sounds() = 0;
    // A new sound read from the file at path (the script Sound's loadSound); -1 when the handler
    // loads no files, which is what the base does.
    virtual int load_sound(const char* /*path*/) { return -1; }
    // How far the sound has played, in milliseconds; 0 in the base.
    virtual int get_position(int /*sound_id*/) { return 0; }
};

// The process-wide handler, null at start (also set to null while a movie's cache data is
// computed). It is borrowed: the caller keeps it alive while it is set.
void set_sound_handler(sound_handler* handler);
// The set handler when it is usable, else null.
sound_handler* get_sound_handler();
// The set handler whether usable or not: the sound definition tags and the sample clean-up speak
// to any handler that is set.
sound_handler* get_stored_sound_handler();

}  // namespace swfplayer
