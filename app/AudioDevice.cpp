#include "app/AudioDevice.h"

#include <AL/alc.h>

std::string FindAudioDeviceProblem() {
    ALCdevice* device = alcOpenDevice(nullptr);
    if (device == nullptr) {
        return "OpenAL opened no audio device";
    }
    const char* name = alcGetString(device, ALC_DEVICE_SPECIFIER);
    const std::string deviceName = name != nullptr ? name : "";
    std::string problem;
    if (ALCcontext* context = alcCreateContext(device, nullptr)) {
        alcDestroyContext(context);
    } else {
        problem = "OpenAL opened the audio device \"" + deviceName + "\" but made no context on it";
    }
    alcCloseDevice(device);
    return problem;
}
