#include "swfplayer/base/log.h"
#include "swfplayer/main/script/action_interpreter.h"
#include "swfplayer/main/script/instruction_budget.h"

#include <cmath>
#include <cstring>

namespace swfplayer {

namespace {

// Instructions a new string costs besides its bytes: a string joined by add_typed, which costs one
// instruction when it adds numbers.
constexpr int64_t text_made_cost = 16;

// Byte-wise order of two texts: negative, zero or positive. The bytes compared are charged.
int compare_bytes(const base_string& a, const base_string& b) {
    int common = a.size() < b.size() ? a.size() : b.size();
    instruction_budget::charge_bytes(common);
    int order = std::memcmp(a.c_str(), b.c_str(), static_cast<size_t>(common));
    if (order != 0) {
        return order;
    }
    return a.size() - b.size();
}

as_value text_value(const base_string& text) {
    as_value value;
    value.set_base_string(text);
    return value;
}

}  // namespace

namespace {

// a = a op b for the numeric and bitwise opcodes.
void apply_binary(int id, as_value& a, const as_value& b) {
    switch (id) {
    case 0x0A: a.set_double(a.to_number() + b.to_number()); break;
    case 0x0B: a.set_double(a.to_number() - b.to_number()); break;
    case 0x0C: a.set_double(a.to_number() * b.to_number()); break;
    case 0x0D: a.set_double(a.to_number() / b.to_number()); break;
    case 0x3F: {
        double y = b.to_number();
        double x = a.to_number();
        if (y == 0) {
            a.set_undefined();
        } else {
            a.set_double(std::fmod(x, y));
        }
        break;
    }
    case 0x60: a &= b.to_int(); break;
    case 0x61: a |= b.to_int(); break;
    case 0x62: a ^= b.to_int(); break;
    case 0x63: a.shl(b.to_int()); break;
    case 0x64: a.asr(b.to_int()); break;
    default: a.lsr(b.to_int()); break;
    }
    // The result carries no member flags of the operand it replaced.
    a.set_flags(0);
}

// The comparison and logic opcodes on a (deeper) and b.
bool apply_compare(int id, const as_value& a, const as_value& b) {
    switch (id) {
    case 0x0F: return a < b.to_number();
    case 0x10: return a.to_bool() && b.to_bool();
    case 0x11: return a.to_bool() || b.to_bool();
    case 0x48: return a.is_string() ? compare_bytes(a.to_base_string(), b.to_base_string()) < 0 : a < b.to_number();
    case 0x67:
        return a.is_string() ? compare_bytes(a.to_base_string(), b.to_base_string()) > 0
                             : a.to_number() > b.to_number();
    default: return a == b;  // 0x0E, 0x49 and 0x66 share one equality
    }
}

}  // namespace

void action_interpreter::binary_number(int id) {
    // In place on the deeper operand; with fewer than two operands the missing ones are undefined.
    as_value* a = m_env->top_slot(1);
    if (a) {
        apply_binary(id, *a, *m_env->top_slot(0));
        m_env->drop(1);
        return;
    }
    as_value b = pop();
    as_value result;
    apply_binary(id, result, b);
    push(static_cast<as_value&&>(result));
}

void action_interpreter::add_typed() {
    as_value* a = m_env->top_slot(1);
    as_value* b = m_env->top_slot(0);
    if (a && !a->is_string() && !b->is_string()) {
        a->set_double(a->to_number() + b->to_number());
        a->set_flags(0);
        m_env->drop(1);
        return;
    }
    as_value right = pop();
    as_value left = pop();
    if (!left.is_string() && !right.is_string()) {
        push(as_value(left.to_number() + right.to_number()));
        return;
    }
    const base_string& left_text = left.to_base_string();
    const base_string& right_text = right.to_base_string();
    if (static_cast<int64_t>(left_text.size()) + right_text.size() > max_script_string_bytes) {
        instruction_budget::stop_all("string too long");
        push(as_value());
        return;
    }
    instruction_budget::charge(text_made_cost);
    base_string joined = left_text;
    joined += right_text;
    push(text_value(joined));
}

void action_interpreter::compare(int id) {
    as_value* a = m_env->top_slot(1);
    if (a) {
        bool result = apply_compare(id, *a, *m_env->top_slot(0));
        a->set_bool(result);
        a->set_flags(0);
        m_env->drop(1);
        return;
    }
    as_value b = pop();
    push(as_value(apply_compare(id, as_value(), b)));
}

void action_interpreter::string_op(int id) {
    if (id == 0x14 || id == 0x32 || id == 0x33) {
        as_value a = pop();
        if (id == 0x14) {
            const base_string& text = a.to_base_string();
            instruction_budget::charge_bytes(text.size());
            push(as_value(base_string::utf8_char_count(text.c_str(), text.size())));
        } else if (id == 0x32) {
            push(as_value(static_cast<int>(static_cast<int8_t>(a.to_base_string().c_str()[0]))));
        } else {
            char c = static_cast<char>(a.to_int() & 0xFF);
            push(text_value(base_string(&c, c == 0 ? 0 : 1)));
        }
        return;
    }
    as_value b = pop();
    as_value a = pop();
    const base_string& left = a.to_base_string();
    const base_string& right = b.to_base_string();
    switch (id) {
    case 0x13: push(as_value(compare_bytes(left, right) == 0)); break;
    case 0x29: push(as_value(compare_bytes(left, right) < 0)); break;
    case 0x68: push(as_value(compare_bytes(left, right) > 0)); break;
    default: {
        if (static_cast<int64_t>(left.size()) + right.size() > max_script_string_bytes) {
            instruction_budget::stop_all("string too long");
            push(as_value());
            return;
        }
        base_string joined = left;
        joined += right;
        push(text_value(joined));
        break;
    }
    }
}

void action_interpreter::substring() {
    int64_t count = pop().to_int();
    int64_t start = static_cast<int64_t>(pop().to_int()) - 1;
    as_value source = pop();
    const base_string& text = source.to_base_string();
    int64_t length = text.size();
    if (start > length - 1) {
        start = length - 1;
    }
    if (start < 0) {
        start = 0;
    }
    if (count > length - start) {
        count = length - start;
    }
    if (count < 0) {
        count = 0;
    }
    push(text_value(base_string(text.c_str() + start, static_cast<int>(count))));
}

void action_interpreter::push_data(int first, int count) {
    // One record may push thousands of values: each past the first costs an instruction.
    if (count > 1) {
        instruction_budget::charge(count - 1);
    }
    bool verbose = m_verbose;
    for (int i = first; i < first + count; i++) {
        const push_operand& operand = m_code_form.operand(i);
        switch (operand.m_type) {
        case 0: {
            as_value& text = m_env->push_slot();
            text.set_base_string(m_code_form.text(operand.m_index));
            if (verbose) {
                log_msg("-------------- pushed '%s'\n", text.to_string());
            }
            break;
        }
        case 1:
            if (verbose) {
                log_msg("-------------- pushed '%f'\n", operand.m_number);
            }
            m_env->push_slot().set_double(operand.m_number);
            break;
        case 2:
            if (verbose) {
                log_msg("-------------- pushed NULL\n");
            }
            m_env->push_slot().set_null();
            break;
        case 3:
            if (verbose) {
                log_msg("-------------- pushed UNDEFINED\n");
            }
            m_env->push_slot();
            break;
        case 4:
            if (m_is_function2 && !verbose) {
                // Registers live apart from the stack: growing the stack leaves the slot valid.
                const as_value* slot = m_env->register_slot(operand.m_index);
                slot ? m_env->push(*slot) : static_cast<void>(m_env->push_slot());
            } else {
                push_register(operand.m_index);
            }
            break;
        case 5:
            if (verbose) {
                log_msg("-------------- pushed %s\n", operand.m_number != 0 ? "true" : "false");
            }
            m_env->push_slot().set_bool(operand.m_number != 0);
            break;
        case 6:
            if (verbose) {
                log_msg("-------------- pushed double %f\n", operand.m_number);
            }
            m_env->push_slot().set_double(operand.m_number);
            break;
        case 7:
            if (verbose) {
                log_msg("-------------- pushed int32 %d\n", static_cast<int>(operand.m_number));
            }
            m_env->push_slot().set_double(operand.m_number);
            break;
        default: push_pool_entry(operand.m_index, operand.m_type == 8); break;
        }
    }
}

void action_interpreter::push_register(int n) {
    as_value value;
    if (m_is_function2) {
        value = m_env->get_register(n);
        if (m_verbose) {
            log_msg("-------------- pushed local register[%d] = '%s'\n", n, value.to_string());
        }
    } else if (n < 4) {
        value = m_env->get_global_register(n);
        if (m_verbose) {
            log_msg("-------------- pushed global register[%d], '%s', 0x%p\n", n, value.to_string(),
                    static_cast<void*>(value.to_object()));
        }
    } else {
        log_error("push register[%d] -- register out of bounds!\n", n);
    }
    push(static_cast<as_value&&>(value));
}

void action_interpreter::push_pool_entry(int index, bool short_index) {
    // The pool in force is the running buffer's own, filled when its ConstantPool record ran.
    if (index < m_buffer.get_dictionary_size()) {
        as_value& text = m_env->push_slot();
        text.set_base_string(m_buffer.get_dictionary_entry(index));
        if (m_verbose) {
            log_msg("-------------- pushed '%s'\n", text.to_string());
        }
        return;
    }
    log_error("error: dict_lookup(%d) is out of bounds!\n", index);
    if (m_verbose) {
        log_msg(short_index ? "-------------- pushed 0\n" : "-------------- pushed 0");
    }
    m_env->push_slot().set_double(0);
}

}  // namespace swfplayer
