// Feeds arbitrary bytes to the action-record reader, then processes every ConstantPool record
// the stored stream holds, twice (as a frame run again would), and reads the pool back. The
// stored stream never outgrows the input (plus the end action it may add), and the pool's
// strings all come from the input; a failed check traps, so libFuzzer reports the input.
// Then the stream runs twice as a clip's frame actions under a small instruction budget, and
// must leave no call behind (the clip's stack floor, register frames and the player's call depth
// as it found them; what it leaves on the stack stays for later actions), and the records it
// decoded for running within their bound of the stream's bytes.
#include "swfplayer/base/log.h"
#include "swfplayer/main/display/character.h"
#include "swfplayer/main/script/action_buffer.h"
#include "swfplayer/main/script/as_environment.h"
#include "swfplayer/main/script/instruction_budget.h"
#include "swfplayer/main/script/player.h"
#include "swfplayer/main/swfplayer_as_classes/builtin_classes.h"

#include <cstddef>
#include <cstdint>

namespace {

// A clip with an environment of its own whose target is itself, as a sprite has.
class fuzz_clip : public swfplayer::character {
public:
    explicit fuzz_clip(swfplayer::player* owner) : character(owner, nullptr, -1), m_env(owner) {}
    swfplayer::as_environment* get_environment() override { return &m_env; }
    swfplayer::as_environment m_env;
};

void run_as_frame_actions(const swfplayer::action_buffer& buffer) {
    // Hostile scripts log an error per bad record: quiet, so that the fuzzer runs fast.
    swfplayer::log_callback previous = swfplayer::register_log_callback(nullptr);
    swfplayer::register_builtin_classes();
    swfplayer::instruction_budget::set_budget(100000);
    swfplayer::smart_ptr<swfplayer::player> owner = new swfplayer::player();
    swfplayer::smart_ptr<fuzz_clip> clip = new fuzz_clip(owner.get_ptr());
    clip->m_env.set_target(clip.get_ptr());
    owner->set_root_movie(clip.get_ptr());
    for (int pass = 0; pass < 2; pass++) {
        buffer.execute(&clip->m_env);
        const swfplayer::as_environment& env = clip->m_env;
        if (env.get_stack_floor() != 0 || env.get_register_frame_size() != 0 || owner->call_depth() != 0) {
            __builtin_trap();
        }
    }
    // The clip's environment refers to the clip, and so may what the actions left there (its
    // stack, locals and registers) or stored in its members: every reference to it goes, as the
    // player's collection would drop them.
    swfplayer::as_object_set visited;
    clip->m_env.clear_refs(&visited, clip.get_ptr());
    swfplayer::as_object::walk_clear_refs(clip.get_ptr(), &visited, clip.get_ptr());
    swfplayer::register_log_callback(previous);
}

}  // namespace

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
    run_as_frame_actions(buffer);
    if (buffer.decoded_bytes() > swfplayer::action_code::held_bytes_bound(static_cast<size_t>(buffer.size()))) {
        __builtin_trap();
    }
    return 0;
}
