#pragma once

#include "swfplayer/base/array.h"
#include "swfplayer/base/base_string.h"
#include "swfplayer/base/smart_ptr.h"
#include "swfplayer/main/script/action_buffer.h"
#include "swfplayer/main/script/as_function.h"
#include "swfplayer/main/script/with_stack_entry.h"

#include <cstdint>

namespace swfplayer {

class as_environment;

// The DefineFunction2 flags: what a call preloads into registers and which locals it leaves out.
enum function2_flag : uint16_t {
    PRELOAD_THIS = 0x0001,
    SUPPRESS_THIS = 0x0002,
    PRELOAD_ARGUMENTS = 0x0004,
    SUPPRESS_ARGUMENTS = 0x0008,
    PRELOAD_SUPER = 0x0010,
    SUPPRESS_SUPER = 0x0020,
    PRELOAD_ROOT = 0x0040,
    PRELOAD_PARENT = 0x0080,
    PRELOAD_GLOBAL = 0x0100,
};

// A script function: a byte range of an action buffer defined by DefineFunction or
// DefineFunction2, with the with-stack and the target in force where it was defined.
class as_s_function : public as_function {
public:
    // One declared parameter: register 0 passes it as a named local.
    struct arg_entry {
        int m_register = 0;
        base_string m_name;
    };

    // The body starts at start_pc of the buffer; env's current target becomes the defining
    // target. The function refers to itself as "this" object and gets the hidden members
    // "prototype" and "call".
    as_s_function(as_environment* env, const action_buffer& buffer, int start_pc,
                  const array<with_stack_entry>& with_stack);

    bool is(int class_id) const override { return class_id == AS_S_FUNCTION || as_function::is(class_id); }
    // Builds the call frame (see function_call_frame.h), runs the body, removes the frame.
    void call(const fn_call& fn) override;
    // Also the objects of the with-blocks the function was defined in.
    void clear_refs(as_object_set* visited, as_object* target) override;
    void this_alive(player* marker) override;

    void add_arg(int register_number, const char* name);
    void set_length(int length) { m_length = length < 0 ? 0 : length; }
    void set_is_function2(bool on) { m_is_function2 = on; }
    void set_local_register_count(uint8_t count) { m_local_register_count = count; }
    void set_function2_flags(uint16_t flags) { m_function2_flags = flags; }

    const action_buffer& get_action_buffer() const { return m_action_buffer; }
    int get_start_pc() const { return m_start_pc; }
    int get_length() const { return m_length; }
    const array<arg_entry>& get_args() const { return m_args; }
    bool is_function2() const { return m_is_function2; }
    uint8_t get_local_register_count() const { return m_local_register_count; }
    uint16_t get_function2_flags() const { return m_function2_flags; }
    // The character that was the target at definition, or null once it is gone.
    as_object* get_target() const { return m_target.get_ptr(); }

private:
    action_buffer m_action_buffer;
    array<with_stack_entry> m_with_stack;
    int m_start_pc;
    int m_length = 0;
    array<arg_entry> m_args;
    bool m_is_function2 = false;
    uint8_t m_local_register_count = 0;
    uint16_t m_function2_flags = 0;
    weak_ptr<as_object> m_target;
};

// The "call" method of script functions: runs "this" (the function) with argument 0's object as
// "this" and argument 1, if given, as its only argument. Without arguments nothing happens.
void as_s_function_call(const fn_call& fn);

}  // namespace swfplayer
