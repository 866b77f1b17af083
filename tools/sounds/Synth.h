#pragma once

#include <cstdint>
#include <string>
#include <vector>

// A tiny additive synthesiser for the game's sound effects and music: mono float samples at
// 44100 Hz, mixed into a track, then written as 16-bit stereo PCM (both channels alike).
namespace synth {

constexpr unsigned int kSampleRate = 44100;

// Mono samples, nominally within -1 to 1.
using Track = std::vector<float>;

// A pitch glide and a volume envelope: attack to `volume`, then an exponential decay whose
// level halves every `halfLife` seconds, cut at `duration`.
struct Tone {
    float startHz = 440.0f;
    float endHz = 440.0f;
    float duration = 0.2f;
    float volume = 0.5f;
    float attack = 0.005f;
    float halfLife = 0.05f;
    // Strength of the second and third harmonics relative to the fundamental.
    float harmonic2 = 0.0f;
    float harmonic3 = 0.0f;
    // A slow wobble of the pitch: its rate in Hz and depth as a fraction of the pitch.
    float vibratoHz = 0.0f;
    float vibratoDepth = 0.0f;
};

// Deterministic noise, so that every build writes the same files.
class Noise {
public:
    explicit Noise(uint32_t seed) : m_State(seed != 0 ? seed : 1) {}
    // The next value, -1 to 1.
    float Next();

private:
    uint32_t m_State;
};

// Adds the tone at `start` seconds, lengthening the track as needed.
void AddTone(Track& track, float start, const Tone& tone);
// Adds noise of `duration` seconds with the envelope of `tone` (its pitch fields unused),
// smoothed by a one-pole low-pass filter with the given cut-off.
void AddNoise(Track& track, float start, const Tone& tone, float cutoffHz, Noise& noise);
// Adds a plucked string (Karplus-Strong) of the given pitch and length.
void AddPluck(Track& track, float start, float hz, float duration, float volume, Noise& noise);
// Scales the track so that its loudest sample has the given peak; fades the last milliseconds
// out so that no effect ends with a click.
void Finish(Track& track, float peak);
// Writes the track as 16-bit stereo; the format follows the extension (".wav", ".ogg"). False
// when the file cannot be written.
bool Write(const Track& track, const std::string& fileName);

}  // namespace synth
