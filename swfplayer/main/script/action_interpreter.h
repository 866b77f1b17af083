#pragma once
// Internal to the interpreter: the state of one run of a byte range and its opcode handlers,
// spread over action_interpreter*.cpp by aspect (the loop, values, objects, calls); the movie
// opcodes act on characters and so live with the display layer
// (display/action_interpreter_movie.cpp).

#include "swfplayer/base/array.h"
#include "swfplayer/base/base_string.h"
#include "swfplayer/base/smart_ptr.h"
#include "swfplayer/main/script/action_buffer.h"
#include "swfplayer/main/script/as_environment.h"
#include "swfplayer/main/script/with_stack_entry.h"

namespace swfplayer {

class action_interpreter {
public:
    // Nested with-blocks that one run honours.
    static constexpr int max_with_depth = 8;
    // Operand values one environment may hold; a script that piles up more is stopped, and the
    // values it can reach are dropped.
    static constexpr int max_stack_size = 1 << 20;

    action_interpreter(const action_buffer& buffer, as_environment* env, int start_pc, int exec_bytes, as_value* retval,
                       const array<with_stack_entry>& with_stack, bool is_function2);

    // Runs the range; see action_buffer::execute. Each instruction takes its cost from the
    // frame's budget (action_cost.h, instruction_budget.h), and the work behind it that grows
    // with its data is charged besides; the run ends once the budget is spent, and a run that begins
    // after that ends at once. An exception thrown inside (memory exhausted) stops the frame's
    // scripts and goes no further.
    void run();

private:
    // The loop over the records, until the range, the budget or an End action ends it.
    void run_records();

    // The dispatchers of the records the loop does not run itself, and the handlers of each
    // aspect. A long record's handler reads the decoded record before it runs any script: script
    // may decode more of the buffer, which moves the records.
    void execute_short(int id);
    void execute_long(int id, const decoded_action& action);

    // Values: stack, arithmetic, comparison, strings (action_interpreter_values.cpp).
    void binary_number(int id);
    void add_typed();
    void compare(int id);
    void string_op(int id);
    void substring();
    // The decoded record's values [first, first + count).
    void push_data(int first, int count);
    // A register's value outside the quiet function2 case, which push_data handles itself.
    void push_register(int n);
    void push_pool_entry(int index, bool short_index);

    // Control flow and the short stack records the loop runs itself (action_interpreter.cpp).
    // A branch target outside the range ends the run.
    void jump(int target, bool report_overshoot);
    void branch_if_true(int target);
    void logical_not();
    void step_number(double step);
    void pop_checked();
    void open_with(int block_end_pc);

    // Variables, objects, functions and classes (action_interpreter_objects.cpp and
    // action_interpreter_calls.cpp).
    void store_register(int r);
    void delete_member();
    void delete_variable();
    void get_member();
    void set_member();
    void init_object();
    void init_array();
    void enumerate(as_object* object);
    void instance_of();
    void cast_object();
    void extends();
    void call_function();
    void call_method_op();
    void new_object();
    void new_method();
    void define_function(bool function2);

    // Movie control (display/action_interpreter_movie.cpp).
    void movie_op(int id);
    void goto_frame_expression();
    void get_url(const base_string& url, const as_value& target);
    void start_drag();
    void property_op(bool set);
    void clone_sprite();
    void remove_sprite();
    void trace();

    // Operand helpers: missing operands read as undefined.
    as_value pop() { return m_env->pop(); }
    void push(const as_value& value) { m_env->push(value); }
    void push(as_value&& value) { m_env->push_slot() = static_cast<as_value&&>(value); }
    // Puts value in place of the top value (pushes it on an empty stack).
    void replace_top(as_value&& value) {
        if (as_value* top = m_env->top_slot(0)) {
            *top = static_cast<as_value&&>(value);
        } else {
            push(value);
        }
    }
    // Cuts a count read from the stack to the values present (above the floor).
    int clamp_count(int count) const;
    // Enters an object the script made into its player's heap, so that the collection can
    // break the reference cycles it takes part in.
    void register_with_heap(as_object* object);
    // A property value read as its current value.
    static as_value resolved(const as_value& value);

    // Payload helpers; bytes outside the buffer read as 0.
    int u8_at(int pc) const { return pc >= 0 && pc < m_code_size ? m_code[pc] : 0; }
    int u16_at(int pc) const { return u8_at(pc) | (u8_at(pc + 1) << 8); }
    // The NUL-terminated text at *cursor, cut at end; the cursor moves past its terminator.
    base_string string_at(int* cursor, int end) const;

    const action_buffer& m_buffer;
    // The buffer's bytes, read directly on the hot path.
    const uint8_t* m_code;
    int m_code_size;
    // The buffer's long records, decoded.
    action_code& m_code_form;
    as_environment* m_env;
    as_value* m_retval;
    array<with_stack_entry> m_with_stack;
    // The target when the run began, held alive until the run ends when it has an owner.
    as_object* m_entry_target;
    smart_ptr<as_object> m_entry_hold;
    int m_start_pc;
    int m_stop_pc;
    int m_pc;
    int m_next_pc = 0;
    bool m_is_function2;
    bool m_ended = false;  // an End action stopped the run
    // Whether actions are traced, read once when the run is set up.
    bool m_verbose;
};

}  // namespace swfplayer
