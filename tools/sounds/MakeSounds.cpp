// Writes the game's sound effects (16-bit PCM WAV) and its two music loops (Ogg Vorbis) into a
// data folder: <data>/sounds/*.wav and <data>/music/acoustic/track01.ogg, track02.ogg.
#include "tools/sounds/Synth.h"

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

namespace {

using synth::Noise;
using synth::Tone;
using synth::Track;

// Each effect comes in numbered variants that differ a little in pitch, so that repeated
// effects do not sound mechanical.
float Variant(int number, float spread) {
    return 1.0f + spread * static_cast<float>(number - 3);
}

float MidiHz(int note) {
    return 440.0f * std::exp2(static_cast<float>(note - 69) / 12.0f);
}

// A creature spits a ball: a breathy puff and a falling pop.
Track Shoot(int number) {
    Track track;
    Noise noise(100 + number);
    AddNoise(track, 0.0f, Tone{.duration = 0.12f, .volume = 0.6f, .attack = 0.002f, .halfLife = 0.025f}, 3000.0f,
             noise);
    const float pitch = Variant(number, 0.07f);
    AddTone(track, 0.01f,
            Tone{.startHz = 700.0f * pitch,
                 .endHz = 180.0f * pitch,
                 .duration = 0.16f,
                 .volume = 0.8f,
                 .attack = 0.003f,
                 .halfLife = 0.04f,
                 .harmonic2 = 0.2f});
    return track;
}

// A ball strikes a creature of the other colour: a soft, low thwack.
Track Hit(int number) {
    Track track;
    Noise noise(200 + number);
    AddNoise(track, 0.0f, Tone{.duration = 0.03f, .volume = 0.7f, .attack = 0.001f, .halfLife = 0.006f}, 6000.0f,
             noise);
    const float pitch = Variant(number, 0.06f);
    AddTone(track, 0.0f,
            Tone{.startHz = 220.0f * pitch,
                 .endHz = 90.0f * pitch,
                 .duration = 0.28f,
                 .volume = 1.0f,
                 .attack = 0.002f,
                 .halfLife = 0.06f,
                 .harmonic2 = 0.35f,
                 .harmonic3 = 0.1f});
    return track;
}

// A creature takes in a ball: a wobbling gulp, down and up again.
Track Swallow(int number) {
    Track track;
    const float pitch = Variant(number, 0.05f);
    AddTone(track, 0.0f,
            Tone{.startHz = 320.0f * pitch,
                 .endHz = 130.0f * pitch,
                 .duration = 0.16f,
                 .volume = 0.8f,
                 .attack = 0.01f,
                 .halfLife = 0.12f,
                 .harmonic2 = 0.3f,
                 .vibratoHz = 18.0f,
                 .vibratoDepth = 0.05f});
    AddTone(track, 0.15f,
            Tone{.startHz = 160.0f * pitch,
                 .endHz = 260.0f * pitch,
                 .duration = 0.14f,
                 .volume = 0.7f,
                 .attack = 0.01f,
                 .halfLife = 0.05f,
                 .harmonic2 = 0.3f});
    return track;
}

// The focus moves onto a menu item: a rising bubble blip, on the notes of a pentatonic scale.
Track BubbleOver(int number) {
    static const int kNotes[] = {72, 74, 76, 79, 81};
    Track track;
    const float hz = MidiHz(kNotes[(number - 1) % 5]);
    AddTone(track, 0.0f,
            Tone{.startHz = hz * 0.6f,
                 .endHz = hz * 1.3f,
                 .duration = 0.1f,
                 .volume = 0.8f,
                 .attack = 0.004f,
                 .halfLife = 0.03f,
                 .harmonic2 = 0.15f});
    return track;
}

// The match is won: a short rising fanfare with a held last chord.
Track MatchOver() {
    Track track;
    const int notes[] = {60, 64, 67, 72};
    for (int i = 0; i < 4; ++i) {
        const float hz = MidiHz(notes[i]);
        const bool last = i == 3;
        AddTone(track, 0.16f * static_cast<float>(i),
                Tone{.startHz = hz,
                     .endHz = hz,
                     .duration = last ? 1.2f : 0.3f,
                     .volume = 0.6f,
                     .attack = 0.01f,
                     .halfLife = last ? 0.35f : 0.12f,
                     .harmonic2 = 0.4f,
                     .harmonic3 = 0.2f,
                     .vibratoHz = last ? 5.0f : 0.0f,
                     .vibratoDepth = last ? 0.006f : 0.0f});
    }
    for (int note : {64, 67}) {
        const float hz = MidiHz(note);
        AddTone(track, 0.48f,
                Tone{.startHz = hz,
                     .endHz = hz,
                     .duration = 1.2f,
                     .volume = 0.35f,
                     .attack = 0.01f,
                     .halfLife = 0.35f,
                     .harmonic2 = 0.3f});
    }
    return track;
}

// Two balls knock together: a short, bright click.
Track Clack(int number) {
    Track track;
    Noise noise(300 + number);
    AddNoise(track, 0.0f, Tone{.duration = 0.02f, .volume = 0.5f, .attack = 0.0005f, .halfLife = 0.004f}, 8000.0f,
             noise);
    const float hz = 1100.0f * Variant(number, 0.1f);
    AddTone(track, 0.0f,
            Tone{.startHz = hz,
                 .endHz = hz * 0.9f,
                 .duration = 0.09f,
                 .volume = 0.7f,
                 .attack = 0.0005f,
                 .halfLife = 0.015f,
                 .harmonic3 = 0.3f});
    return track;
}

// A ball bumps into the level: a dull thump.
Track Bump(int number) {
    Track track;
    Noise noise(400 + number);
    AddNoise(track, 0.0f, Tone{.duration = 0.05f, .volume = 0.6f, .attack = 0.001f, .halfLife = 0.01f}, 1500.0f, noise);
    const float hz = 130.0f * Variant(number, 0.1f);
    AddTone(track, 0.0f,
            Tone{.startHz = hz * 1.4f,
                 .endHz = hz,
                 .duration = 0.2f,
                 .volume = 1.0f,
                 .attack = 0.001f,
                 .halfLife = 0.04f,
                 .harmonic2 = 0.25f});
    return track;
}

// One chord of a music loop: the bass note and the three notes of the arpeggio (MIDI numbers).
struct Chord {
    int bass;
    int notes[3];
};

// A music loop of plucked strings: per bar one chord, eight arpeggiated eighths over a bass on
// beats one and three, optionally with soft off-beat shakers. Exactly `bars` bars long, so it
// loops seamlessly.
Track Music(const std::vector<Chord>& chords, float beatsPerMinute, bool shakers, uint32_t seed) {
    const float beat = 60.0f / beatsPerMinute;
    const float bar = 4.0f * beat;
    const int pattern[8] = {0, 1, 2, 3, 2, 1, 2, 1};
    Noise noise(seed);
    Track track;
    for (size_t b = 0; b < chords.size(); ++b) {
        const Chord& chord = chords[b];
        const float barStart = bar * static_cast<float>(b);
        for (int beatNumber : {0, 2}) {
            AddPluck(track, barStart + beat * static_cast<float>(beatNumber), MidiHz(chord.bass), 2.0f * beat, 0.5f,
                     noise);
        }
        for (int eighth = 0; eighth < 8; ++eighth) {
            const int step = pattern[eighth];
            const int note = step == 3 ? chord.notes[0] + 12 : chord.notes[step];
            const float accent = eighth % 2 == 0 ? 0.35f : 0.25f;
            AddPluck(track, barStart + beat * 0.5f * static_cast<float>(eighth), MidiHz(note), 1.5f * beat, accent,
                     noise);
            if (shakers && eighth % 2 == 1) {
                AddNoise(track, barStart + beat * 0.5f * static_cast<float>(eighth),
                         Tone{.duration = 0.08f, .volume = 0.12f, .attack = 0.005f, .halfLife = 0.02f}, 9000.0f, noise);
            }
        }
    }
    track.resize(static_cast<size_t>(bar * static_cast<float>(chords.size()) * synth::kSampleRate));
    return track;
}

bool Save(const Track& source, float peak, const std::filesystem::path& file) {
    Track track = source;
    synth::Finish(track, peak);
    if (!synth::Write(track, file.string())) {
        std::fprintf(stderr, "make_sounds: cannot write %s\n", file.c_str());
        return false;
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_sounds <data folder>\n");
        return 2;
    }
    const std::filesystem::path data = argv[1];
    const std::filesystem::path sounds = data / "sounds";
    const std::filesystem::path music = data / "music/acoustic";
    std::error_code error;
    std::filesystem::create_directories(sounds, error);
    std::filesystem::create_directories(music, error);

    bool ok = true;
    for (int i = 1; i <= 5; ++i) {
        const std::string n = std::to_string(i);
        ok = Save(Shoot(i), 0.8f, sounds / ("shoot" + n + ".wav")) && ok;
        ok = Save(Hit(i), 0.8f, sounds / ("hit" + n + ".wav")) && ok;
        ok = Save(Swallow(i), 0.8f, sounds / ("swallow" + n + ".wav")) && ok;
        ok = Save(BubbleOver(i), 0.6f, sounds / ("bubbleover" + n + ".wav")) && ok;
    }
    for (int i = 1; i <= 3; ++i) {
        const std::string n = std::to_string(i);
        ok = Save(Clack(i), 0.7f, sounds / ("clack" + n + ".wav")) && ok;
        ok = Save(Bump(i), 0.8f, sounds / ("bump" + n + ".wav")) && ok;
    }
    ok = Save(MatchOver(), 0.8f, sounds / "matchover.wav") && ok;

    // C, G, A minor, F: calm, for the menus.
    const std::vector<Chord> menu = {{36, {60, 64, 67}}, {36, {60, 64, 67}}, {43, {59, 62, 67}}, {43, {59, 62, 67}},
                                     {45, {60, 64, 69}}, {45, {60, 64, 69}}, {41, {60, 65, 69}}, {43, {59, 62, 67}}};
    // A minor, F, C, G twice, faster and with shakers: for the matches.
    const std::vector<Chord> match = {{45, {60, 64, 69}}, {41, {60, 65, 69}}, {36, {60, 64, 67}}, {43, {59, 62, 67}},
                                      {45, {60, 64, 69}}, {41, {60, 65, 69}}, {36, {60, 64, 67}}, {43, {62, 67, 71}}};
    ok = Save(Music(menu, 96.0f, false, 501), 0.7f, music / "track01.ogg") && ok;
    ok = Save(Music(match, 124.0f, true, 502), 0.7f, music / "track02.ogg") && ok;
    return ok ? 0 : 1;
}
