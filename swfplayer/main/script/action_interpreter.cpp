#include "swfplayer/main/script/action_interpreter.h"

#include "swfplayer/base/base_random.h"
#include "swfplayer/base/log.h"
#include "swfplayer/main/script/action_cost.h"
#include "swfplayer/main/script/action_disasm.h"
#include "swfplayer/main/script/instruction_budget.h"
#include "swfplayer/main/script/player.h"

#include <cmath>
#include <exception>

namespace swfplayer {

namespace {

// A counted hold on an object that already has an owner (one with none is not ours to count).
as_object* owned_or_null(as_object* object) {
    return object && object->get_ref_count() > 0 ? object : nullptr;
}

}  // namespace

action_interpreter::action_interpreter(const action_buffer& buffer, as_environment* env, int start_pc, int exec_bytes,
                                       as_value* retval, const array<with_stack_entry>& with_stack, bool is_function2)
    : m_buffer(buffer),
      m_code(buffer.data()),
      m_code_size(buffer.size()),
      m_code_form(buffer.decoded()),
      m_env(env),
      m_retval(retval),
      m_with_stack(with_stack),
      m_entry_target(env->get_target()),
      m_entry_hold(owned_or_null(m_entry_target)),
      m_start_pc(start_pc < 0 ? 0 : start_pc),
      m_is_function2(is_function2),
      m_verbose(get_verbose_action()) {
    // The range never reaches past the buffer, whatever a function record declared.
    int64_t stop = static_cast<int64_t>(start_pc) + (exec_bytes < 0 ? 0 : exec_bytes);
    m_stop_pc = stop > buffer.size() ? buffer.size() : static_cast<int>(stop);
    m_pc = m_start_pc;
}

void action_interpreter::run() {
    instruction_budget::run_scope frame;
    try {
        run_records();
    } catch (const std::exception& error) {
        instruction_budget::stop_all(error.what());
    }
    if (!m_ended) {
        m_env->set_target(m_entry_target);
    }
}

inline void action_interpreter::jump(int target, bool report_overshoot) {
    m_next_pc = target;
    if (m_next_pc > m_stop_pc || m_next_pc < m_start_pc) {
        if (report_overshoot) {
            log_error("branch to offset %d -- this section only runs to %d\n", m_next_pc, m_stop_pc);
        }
        m_next_pc = m_stop_pc;
    }
}

inline void action_interpreter::logical_not() {
    as_value* slot = m_env->top_slot(0);
    if (slot) {
        slot->set_bool(!slot->to_bool());
        slot->set_flags(0);
    } else {
        push(as_value(true));
    }
}

inline void action_interpreter::step_number(double step) {
    as_value* slot = m_env->top_slot(0);
    if (slot) {
        slot->set_double(slot->to_number() + step);
        slot->set_flags(0);
    } else {
        push(as_value(as_value().to_number() + step));  // a missing operand is undefined
    }
}

inline void action_interpreter::pop_checked() {
    if (m_env->get_stack_depth() <= 0) {
        log_error("error: empty stack\n");
        return;
    }
    m_env->drop(1);
}

inline void action_interpreter::branch_if_true(int target) {
    as_value* slot = m_env->top_slot(0);
    bool taken = slot && slot->to_bool();
    m_env->drop(1);
    if (m_verbose) {
        log_msg(taken ? "-------------- branch is done\n" : "-------------- no branch\n");
    }
    if (taken) {
        jump(target, true);
    }
}

void action_interpreter::run_records() {
    while (m_pc < m_stop_pc) {
        // The range lies inside the buffer, so the pc does too.
        int id = m_code[m_pc];
        if (!instruction_budget::take(action_cost[id])) {
            break;
        }
        while (m_with_stack.size() > 0 && m_with_stack.back().m_block_end_pc <= m_pc) {
            m_with_stack.pop_back();
        }
        if (m_verbose) {
            log_msg("EX:\t");
            log_disasm(m_buffer, m_pc);
        }
        // The loop runs the commonest records itself and hands the others to the dispatchers.
        if (id < 0x80) {
            m_next_pc = m_pc + 1;
            switch (id) {
            case 0x00:
                m_ended = true;  // the End action leaves the target as the script set it
                return;
            case 0x12: logical_not(); break;
            case 0x17: pop_checked(); break;
            case 0x50: step_number(1); break;
            case 0x51: step_number(-1); break;
            default: execute_short(id); break;
            }
        } else {
            const decoded_action& action = m_code_form.at(m_pc);
            if (action.m_next_pc > m_code_size) {
                log_error("error: action record at %d runs past the end of its buffer\n", m_pc);
                break;
            }
            m_next_pc = action.m_next_pc;
            switch (id) {
            case 0x87: store_register(action.m_operand); break;
            case 0x96: push_data(action.m_first_push, action.m_push_count); break;
            case 0x99: jump(action.m_operand, false); break;
            case 0x9D: branch_if_true(action.m_operand); break;
            default: execute_long(id, action); break;
            }
        }
        if (m_env->get_stack_size() > max_stack_size) {
            // The values stay on the environment from run to run: those this run can reach go
            // too, or every later run on it would overflow at its first push.
            m_env->truncate_stack(m_env->get_stack_floor());
            instruction_budget::stop_all("operand stack overflow");
        }
        m_pc = m_next_pc;
    }
}

void action_interpreter::register_with_heap(as_object* object) {
    if (player* owner = m_env->get_player()) {
        owner->clear_heap_flag(object);
    }
}

int action_interpreter::clamp_count(int count) const {
    int available = m_env->get_stack_depth();
    if (count > available) {
        count = available;
    }
    return count < 0 ? 0 : count;
}

as_value action_interpreter::resolved(const as_value& value) {
    if (!value.is_property()) {
        return value;
    }
    as_value current;
    value.get_property_value(&current);
    return current;
}

base_string action_interpreter::string_at(int* cursor, int end) const {
    int start = *cursor;
    int pc = start;
    while (pc < end && m_code[pc] != 0) {
        pc++;
    }
    *cursor = pc < end ? pc + 1 : end;
    return base_string(reinterpret_cast<const char*>(m_code + start), pc - start);
}

void action_interpreter::open_with(int block_end_pc) {
    if (m_verbose) {
        log_msg("-------------- with block start: stack size is %d\n", m_with_stack.size());
    }
    as_value object = pop();
    if (m_with_stack.size() < max_with_depth) {
        m_with_stack.push_back(with_stack_entry(object.to_object(), block_end_pc));
    }
}

void action_interpreter::execute_short(int id) {
    switch (id) {
    case 0x04:
    case 0x05:
    case 0x06:
    case 0x07:
    case 0x09:
    case 0x20:
    case 0x28:
    case 0x34: movie_op(id); break;
    case 0x08:
    case 0x2A:
    case 0x2C:
    case 0x31:
    case 0x35:
    case 0x37:
    case 0x45: log_error("todo opcode: %02X\n", id); break;
    case 0x0A:
    case 0x0B:
    case 0x0C:
    case 0x0D:
    case 0x3F:
    case 0x60:
    case 0x61:
    case 0x62:
    case 0x63:
    case 0x64:
    case 0x65: binary_number(id); break;
    case 0x0E:
    case 0x0F:
    case 0x10:
    case 0x11:
    case 0x48:
    case 0x49:
    case 0x66:
    case 0x67: compare(id); break;
    case 0x13:
    case 0x14:
    case 0x21:
    case 0x29:
    case 0x32:
    case 0x33:
    case 0x68: string_op(id); break;
    case 0x15: substring(); break;
    case 0x18: push(as_value(as_value(std::floor(pop().to_number())).to_int())); break;
    case 0x1C: {
        // The name is taken off the stack first: a getter may run script on this stack.
        as_value* slot = m_env->top_slot(0);
        as_value name_value = slot ? static_cast<as_value&&>(*slot) : as_value();
        const base_stringi& name = name_value.to_base_stringi();
        as_value value = m_env->get_variable(name, m_with_stack);
        if (m_verbose && value.is_object()) {
            log_msg("-------------- get var: %s=%s at %p\n", name.c_str(), value.to_string(),
                    static_cast<void*>(value.to_object()));
        } else if (m_verbose) {
            log_msg("-------------- get var: %s=%s\n", name.c_str(), value.to_string());
        }
        replace_top(static_cast<as_value&&>(value));
        break;
    }
    case 0x1D: {
        as_value value = pop();
        as_value name_value = pop();
        const base_stringi& name = name_value.to_base_stringi();
        if (m_verbose) {
            log_msg("-------------- set var: %s \n", name.c_str());
        }
        m_env->set_variable(name, value, m_with_stack);
        break;
    }
    case 0x22:
    case 0x23: property_op(id == 0x23); break;
    case 0x24: clone_sprite(); break;
    case 0x25: remove_sprite(); break;
    case 0x26: trace(); break;
    case 0x27: start_drag(); break;
    case 0x2B: cast_object(); break;
    case 0x30: {
        int max = pop().to_int();
        uint32_t range = max < 1 ? 1u : static_cast<uint32_t>(max);
        push(as_value(static_cast<double>(base_random::next_random() % range)));
        break;
    }
    case 0x3A: delete_member(); break;
    case 0x3B: delete_variable(); break;
    case 0x3C: {
        as_value value = pop();
        as_value name = pop();
        m_env->set_local(name.to_base_string(), value);
        break;
    }
    case 0x3D: call_function(); break;
    case 0x3E: {
        as_value result = pop();
        if (m_retval) {
            *m_retval = static_cast<as_value&&>(result);
        }
        m_next_pc = m_stop_pc;
        break;
    }
    case 0x40: new_object(); break;
    case 0x41: m_env->declare_local(pop().to_base_string()); break;
    case 0x42: init_array(); break;
    case 0x43: init_object(); break;
    case 0x44: push(as_value(pop().typeof())); break;
    case 0x46: {
        as_value name = pop();
        as_value value = m_env->get_variable(name.to_base_string(), m_with_stack);
        enumerate(value.to_object());
        break;
    }
    case 0x47: add_typed(); break;
    case 0x4A: push(as_value(pop().to_number())); break;
    case 0x4B: {
        as_value value = pop();
        as_value text;
        text.set_base_string(value.to_base_string());
        push(static_cast<as_value&&>(text));
        break;
    }
    case 0x4C: push(m_env->top(0)); break;
    case 0x4D: {
        as_value a = pop();
        as_value b = pop();
        push(static_cast<as_value&&>(a));
        push(static_cast<as_value&&>(b));
        break;
    }
    case 0x4E: get_member(); break;
    case 0x4F: set_member(); break;
    case 0x52: call_method_op(); break;
    case 0x53: new_method(); break;
    case 0x54: instance_of(); break;
    case 0x55: {
        as_value object = pop();
        enumerate(object.to_object());
        break;
    }
    case 0x69: extends(); break;
    default: break;  // no handler: skipped
    }
}

void action_interpreter::execute_long(int id, const decoded_action& action) {
    switch (id) {
    case 0x81:
    case 0x83:
    case 0x8B:
    case 0x8C:
    case 0x8D:
    case 0x9A:
    case 0x9E:
    case 0x9F: movie_op(id); break;
    case 0x88: m_buffer.process_decl_dict(m_pc, m_next_pc); break;
    case 0x8E: define_function(true); break;
    case 0x9B: define_function(false); break;
    case 0x94: open_with(action.m_operand); break;
    default: break;  // no handler: the payload is skipped
    }
}

}  // namespace swfplayer
