// Takes arbitrary text apart as a "playsound" FSCommand and formats its sound name as a file
// name pattern with the range's bounds, checking that a formatted name never grows by more than
// one padded number.
#include "app/SoundManager.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

namespace {

// The longest text one conversion can become: a width of 99, or a sign and ten digits.
constexpr size_t kMaxNumberLength = 99;

void CheckFormat(const std::string& pattern, int index) {
    std::optional<std::string> name = SoundManager::FormatFileName(pattern, index);
    if (name && name->size() > pattern.size() + kMaxNumberLength) {
        std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string command(reinterpret_cast<const char*>(data), size);
    const SoundCommand parsed = SoundManager::ParseCommand(command);
    switch (parsed.status) {
    case SoundCommand::Ranged:
        CheckFormat(parsed.name, parsed.first);
        CheckFormat(parsed.name, parsed.last);
        break;
    case SoundCommand::Single:
    case SoundCommand::BadRange: CheckFormat(parsed.name, 0); break;
    case SoundCommand::NoName:
        if (!parsed.name.empty()) {
            std::abort();
        }
        break;
    }
    return 0;
}
