#include "tools/sounds/Synth.h"

#include <SFML/Audio/OutputSoundFile.hpp>

#include <algorithm>
#include <cmath>
#include <numbers>

namespace synth {

namespace {

constexpr float kTwoPi = 2.0f * std::numbers::pi_v<float>;
// Fade applied to the end of every track.
constexpr float kFadeSeconds = 0.005f;

size_t ToSamples(float seconds) {
    return static_cast<size_t>(std::max(0.0f, seconds) * static_cast<float>(kSampleRate));
}

// The envelope's level at time t seconds into the tone.
float Envelope(const Tone& tone, float t) {
    if (t < tone.attack) {
        return tone.volume * t / tone.attack;
    }
    return tone.volume * std::exp2(-(t - tone.attack) / tone.halfLife);
}

void Reserve(Track& track, size_t end) {
    if (track.size() < end) {
        track.resize(end, 0.0f);
    }
}

}  // namespace

float Noise::Next() {
    m_State ^= m_State << 13;
    m_State ^= m_State >> 17;
    m_State ^= m_State << 5;
    return static_cast<float>(m_State) / 2147483648.0f - 1.0f;
}

void AddTone(Track& track, float start, const Tone& tone) {
    const size_t first = ToSamples(start);
    const size_t count = ToSamples(tone.duration);
    Reserve(track, first + count);
    float phase = 0.0f;
    for (size_t i = 0; i < count; ++i) {
        const float t = static_cast<float>(i) / kSampleRate;
        const float progress = t / tone.duration;
        // Glides are exponential, so they sound even across octaves.
        float hz = tone.startHz * std::pow(tone.endHz / tone.startHz, progress);
        hz *= 1.0f + tone.vibratoDepth * std::sin(kTwoPi * tone.vibratoHz * t);
        phase += kTwoPi * hz / kSampleRate;
        if (phase > kTwoPi) {
            phase -= kTwoPi;
        }
        const float wave =
            std::sin(phase) + tone.harmonic2 * std::sin(2.0f * phase) + tone.harmonic3 * std::sin(3.0f * phase);
        track[first + i] += wave * Envelope(tone, t);
    }
}

void AddNoise(Track& track, float start, const Tone& tone, float cutoffHz, Noise& noise) {
    const size_t first = ToSamples(start);
    const size_t count = ToSamples(tone.duration);
    Reserve(track, first + count);
    const float smoothing = 1.0f - std::exp(-kTwoPi * cutoffHz / kSampleRate);
    float filtered = 0.0f;
    for (size_t i = 0; i < count; ++i) {
        const float t = static_cast<float>(i) / kSampleRate;
        filtered += smoothing * (noise.Next() - filtered);
        track[first + i] += filtered * Envelope(tone, t);
    }
}

void AddPluck(Track& track, float start, float hz, float duration, float volume, Noise& noise) {
    const size_t first = ToSamples(start);
    const size_t count = ToSamples(duration);
    Reserve(track, first + count);
    // A delay line one period long, filled with noise and averaged as it circulates: the noise
    // settles into a decaying string tone.
    std::vector<float> line(std::max<size_t>(2, static_cast<size_t>(kSampleRate / hz)));
    for (float& value : line) {
        value = noise.Next();
    }
    size_t at = 0;
    for (size_t i = 0; i < count; ++i) {
        const size_t next = (at + 1) % line.size();
        const float sample = line[at];
        line[at] = 0.996f * 0.5f * (line[at] + line[next]);
        at = next;
        track[first + i] += volume * sample;
    }
}

void Finish(Track& track, float peak) {
    float loudest = 0.0f;
    for (float sample : track) {
        loudest = std::max(loudest, std::fabs(sample));
    }
    if (loudest > 0.0f) {
        for (float& sample : track) {
            sample *= peak / loudest;
        }
    }
    const size_t fade = std::min(track.size(), ToSamples(kFadeSeconds));
    for (size_t i = 0; i < fade; ++i) {
        track[track.size() - 1 - i] *= static_cast<float>(i) / static_cast<float>(fade);
    }
}

bool Write(const Track& track, const std::string& fileName) {
    std::vector<sf::Int16> samples;
    samples.reserve(track.size() * 2);
    for (float sample : track) {
        const auto value = static_cast<sf::Int16>(std::lround(std::clamp(sample, -1.0f, 1.0f) * 32767.0f));
        samples.push_back(value);
        samples.push_back(value);
    }
    // The file writer encodes without an audio device, so the tool runs on build machines.
    sf::OutputSoundFile file;
    if (!file.openFromFile(fileName, kSampleRate, 2)) {
        return false;
    }
    file.write(samples.data(), samples.size());
    return true;
}

}  // namespace synth
