#pragma once

#include <string>

// Whether the audio library will have a device to play on. SFML plays through OpenAL's default
// device with a context of its own; this asks OpenAL for the same two things and releases both
// at once. The empty text when both come; otherwise why not, for the log. It writes nothing
// itself, and asks nothing of SFML, which reports every call it makes without a device.
std::string FindAudioDeviceProblem();
