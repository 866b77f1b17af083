// Feeds arbitrary bytes to the action-record reader, then processes every ConstantPool record
// the stored stream holds, twice (as a frame run again would), and reads the pool back. The
// stored stream never outgrows the input (plus the end action it may add), and the pool's
// strings all come from the input; a failed check traps, so libFuzzer reports the input.
#include "swfplayer/main/script/action_buffer.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    swfplayer::action_buffer buffer;
    int used = buffer.read(data, static_cast<int>(size > 1 << 20 ? 1 << 20 : size));
    if (used < 0 || used > static_cast<int>(size)) {
        __builtin_trap();
    }
    swfplayer::action_buffer copy(buffer);
    for (int pass = 0; pass < 2; pass++) {
        int pc = 0;
        while (pc < copy.size() && copy[pc] != 0) {
            int next = pc + 1;
            if (copy[pc] >= 0x80) {
                next = pc + 3 + (copy[pc + 1] | (copy[pc + 2] << 8));
            }
            if (copy[pc] == 0x88) {
                copy.process_decl_dict(pc, next);
            }
            pc = next;
        }
    }
    if (copy.size() > static_cast<int>(size) + 1) {
        __builtin_trap();
    }
    size_t total = 0;
    for (int i = 0; i < copy.get_dictionary_size(); i++) {
        const swfplayer::base_string& entry = copy.get_dictionary_entry(i);
        total += entry == "<invalid>" ? 0 : static_cast<size_t>(entry.size());
    }
    if (total > size) {
        __builtin_trap();
    }
    return 0;
}
