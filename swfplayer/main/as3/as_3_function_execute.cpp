// The AVM2 interpreter loop of as_3_function: the opcodes it runs and what each does with the
// operand stack, the scope stack and the registers of one call.
#include "swfplayer/base/log.h"
#include "swfplayer/main/as3/abc_def.h"
#include "swfplayer/main/as3/as_3_function.h"
#include "swfplayer/main/script/as_environment.h"
#include "swfplayer/main/script/call_method.h"
#include "swfplayer/main/script/instruction_budget.h"

#include <algorithm>

namespace swfplayer {

namespace {

// Instructions a call costs besides its own: it builds an environment, registers and stacks,
// looks names up and may log a refusal, as much work as this many plain instructions.
constexpr int64_t call_cost = 100;
// Instructions a name lookup is charged for each scope entry it asks: asking a clip or an object
// for a member takes about as long as this many plain instructions. A lookup through a deep
// scope stack thus costs what it walks, not one instruction.
constexpr int64_t scope_entry_cost = 8;

enum avm2_opcode : uint8_t {
    OP_PUSHBYTE = 0x24,
    OP_PUSHSTRING = 0x2C,
    OP_PUSHINT = 0x2D,
    OP_PUSHDOUBLE = 0x2F,
    OP_PUSHSCOPE = 0x30,
    OP_RETURNVOID = 0x47,
    OP_CONSTRUCTSUPER = 0x49,
    OP_CALLPROPVOID = 0x4F,
    OP_FINDPROPSTRICT = 0x5D,
    OP_FINDPROPERTY = 0x5E,
    OP_GETLEX = 0x60,
    OP_GETPROPERTY = 0x66,
    OP_INITPROPERTY = 0x68,
    OP_GETLOCAL_0 = 0xD0,
    OP_GETLOCAL_3 = 0xD3,
};

// One run of a method body. Each handler gives false when the method ends. Missing operands
// read as undefined and counts are cut to what the stack holds; an operand past the code, an
// index out of its pool or a stack past its cap ends the method with a log line.
class avm2_run {
public:
    avm2_run(as_3_function& function, abc_def& abc, std::vector<as_value>& registers, std::vector<as_value>& stack,
             std::vector<as_value>& scope, as_value* result)
        : m_function(function),
          m_abc(abc),
          m_code(function.m_code),
          m_registers(registers),
          m_stack(stack),
          m_scope(scope),
          m_result(result),
          m_verbose(get_verbose_action()) {}

    void run() {
        int size = static_cast<int>(m_code.size());
        while (m_pc < size && instruction_budget::take()) {
            if (!step(m_code[m_pc++])) {
                return;
            }
        }
    }

private:
    bool step(uint8_t opcode) {
        switch (opcode) {
        case OP_PUSHBYTE: return push_byte();
        case OP_PUSHSTRING: return push_string();
        case OP_PUSHINT: return push_int();
        case OP_PUSHDOUBLE: return push_double();
        case OP_PUSHSCOPE: return push_scope();
        case OP_RETURNVOID:
            if (m_verbose) {
                log_msg("EX: returnvoid\t\n");
            }
            m_result->set_undefined();
            return false;
        case OP_CONSTRUCTSUPER: return construct_super();
        case OP_CALLPROPVOID: return call_prop_void();
        case OP_FINDPROPSTRICT: return find_property("findpropstrict");
        case OP_FINDPROPERTY: return find_property("findproperty");
        case OP_GETLEX: return get_lex();
        case OP_GETPROPERTY: return get_property();
        case OP_INITPROPERTY: return init_property();
        default:
            if (opcode >= OP_GETLOCAL_0 && opcode <= OP_GETLOCAL_3) {
                return get_local(opcode & 3);
            }
            log_msg("TODO opcode 0x%02X\n", opcode);
            return false;
        }
    }

    // Operands.
    bool operand(uint32_t* value) {
        int used = read_vu30(m_code, m_pc, value);
        if (used == 0) {
            return stop("an operand runs past the end of the code");
        }
        m_pc += used;
        return true;
    }
    bool multiname_operand(const base_string** name) {
        uint32_t index = 0;
        if (!operand(&index)) {
            return false;
        }
        const multiname* entry = m_abc.find_multiname(index);
        const base_string* text = entry ? m_abc.find_string(entry->m_name) : nullptr;
        if (text == nullptr) {
            return stop("a multiname index is out of range");
        }
        *name = text;
        return true;
    }
    bool stop(const char* reason) {
        log_error("as_3_function::execute: method #%d: %s at %d\n", m_function.m_method, reason, m_pc);
        return false;
    }

    // Stacks: a missing value reads as undefined.
    bool push(const as_value& value) {
        if (static_cast<int>(m_stack.size()) >= as_3_function::max_stack_size) {
            return stop("the operand stack is full");
        }
        m_stack.push_back(value);
        return true;
    }
    as_value pop() {
        if (m_stack.empty()) {
            return as_value();
        }
        as_value value = static_cast<as_value&&>(m_stack.back());
        m_stack.pop_back();
        return value;
    }
    // Removes up to count values.
    void drop(uint32_t count) { m_stack.resize(m_stack.size() - std::min<size_t>(count, m_stack.size())); }

    bool push_byte() {
        if (m_pc >= static_cast<int>(m_code.size())) {
            return stop("an operand runs past the end of the code");
        }
        // Compilers use it for -128..127.
        int value = static_cast<int8_t>(m_code[m_pc++]);
        if (m_verbose) {
            log_msg("EX: pushbyte\t %d\n", value);
        }
        return push(as_value(value));
    }
    bool push_string() {
        uint32_t index = 0;
        if (!operand(&index)) {
            return false;
        }
        const base_string* text = m_abc.find_string(index);
        if (text == nullptr) {
            return stop("a string index is out of range");
        }
        if (m_verbose) {
            log_msg("EX: pushstring\t '%s'\n", text->c_str());
        }
        // The value shares the pool's bytes.
        as_value value;
        value.set_base_string(*text);
        return push(value);
    }
    bool push_int() {
        uint32_t index = 0;
        if (!operand(&index)) {
            return false;
        }
        const int32_t* value = m_abc.find_integer(index);
        if (value == nullptr) {
            return stop("an integer index is out of range");
        }
        if (m_verbose) {
            log_msg("EX: pushint\t %d\n", *value);
        }
        return push(as_value(*value));
    }
    bool push_double() {
        uint32_t index = 0;
        if (!operand(&index)) {
            return false;
        }
        const double* value = m_abc.find_double(index);
        if (value == nullptr) {
            return stop("a double index is out of range");
        }
        if (m_verbose) {
            log_msg("EX: pushdouble\t %f\n", *value);
        }
        return push(as_value(*value));
    }
    bool push_scope() {
        if (static_cast<int>(m_scope.size()) >= as_3_function::max_stack_size) {
            return stop("the scope stack is full");
        }
        m_scope.push_back(pop());
        if (m_verbose) {
            log_msg("EX: pushscope\t %s\n", m_scope.back().to_string());
        }
        return true;
    }
    bool construct_super() {
        uint32_t count = 0;
        if (!operand(&count)) {
            return false;
        }
        drop(count);
        as_value receiver = pop();
        if (m_verbose) {
            log_msg("EX: constructsuper\t 0x%p(args:%d)\n", static_cast<void*>(receiver.to_object()),
                    static_cast<int>(count));
        }
        return true;
    }
    bool call_prop_void() {
        const base_string* name = nullptr;
        uint32_t count = 0;
        if (!multiname_operand(&name) || !operand(&count)) {
            return false;
        }
        int nargs = static_cast<int>(std::min<size_t>(count, m_stack.size()));
        // The arguments go onto a temporary environment, first argument on top.
        as_environment env(m_function.get_player());
        for (int i = 0; i < nargs; i++) {
            env.push(m_stack[m_stack.size() - 1 - i]);
        }
        drop(static_cast<uint32_t>(nargs));
        smart_ptr<as_object> receiver = pop().to_object();
        if (m_verbose) {
            log_msg("EX: callpropvoid\t 0x%p.%s(args:%d)\n", static_cast<void*>(receiver.get_ptr()), name->c_str(),
                    nargs);
        }
        as_value method;
        if (receiver && receiver->get_member(*name, &method)) {
            instruction_budget::charge(call_cost);
            call_method(method, &env, as_value(receiver.get_ptr()), nargs, env.get_top_index());
        }
        return true;
    }
    // The last scope entry that answers for the name, or -1. Each entry asked is charged.
    int find_scope(const base_string& name, as_value* value) const {
        const int size = static_cast<int>(m_scope.size());
        int found = size - 1;
        while (found >= 0 && !m_scope[found].get_member(m_function.get_player(), name, value)) {
            found--;
        }
        const int asked = found < 0 ? size : size - found;
        instruction_budget::charge(asked * scope_entry_cost);
        return found;
    }
    bool find_property(const char* mnemonic) {
        const base_string* name = nullptr;
        if (!multiname_operand(&name)) {
            return false;
        }
        as_value value;
        int found = find_scope(*name, &value);
        as_object* object = found < 0 ? nullptr : m_scope[found].to_object();
        if (m_verbose) {
            log_msg("EX: %s\t %s, obj=0x%p\n", mnemonic, name->c_str(), static_cast<void*>(object));
        }
        return push(as_value(object));
    }
    bool get_lex() {
        const base_string* name = nullptr;
        if (!multiname_operand(&name)) {
            return false;
        }
        as_value value;
        if (find_scope(*name, &value) < 0) {
            value.set_undefined();
        }
        if (m_verbose) {
            log_msg("EX: getlex\t %s, value=%s\n", name->c_str(), value.to_string());
        }
        return push(value);
    }
    bool get_property() {
        const base_string* name = nullptr;
        if (!multiname_operand(&name)) {
            return false;
        }
        as_value value;
        smart_ptr<as_object> object = pop().to_object();
        if (object == nullptr || !object->get_member(*name, &value)) {
            value.set_undefined();
        }
        if (m_verbose) {
            log_msg("EX: getproperty\t %s, value=%s\n", name->c_str(), value.to_string());
        }
        return push(value);
    }
    bool init_property() {
        const base_string* name = nullptr;
        if (!multiname_operand(&name)) {
            return false;
        }
        as_value value = pop();
        smart_ptr<as_object> object = pop().to_object();
        if (m_verbose) {
            log_msg("EX: initproperty\t 0x%p.%s=%s\n", static_cast<void*>(object.get_ptr()), name->c_str(),
                    value.to_string());
        }
        if (object) {
            object->set_member(*name, value);
        }
        return true;
    }
    bool get_local(int n) {
        // The call made local count + 1 registers (at most the four these opcodes reach).
        as_value value = n < static_cast<int>(m_registers.size()) ? m_registers[n] : as_value();
        if (m_verbose) {
            log_msg("EX: getlocal_%d\t %s\n", n, value.to_string());
        }
        return push(value);
    }

    as_3_function& m_function;
    abc_def& m_abc;
    const std::vector<uint8_t>& m_code;
    std::vector<as_value>& m_registers;
    std::vector<as_value>& m_stack;
    std::vector<as_value>& m_scope;
    as_value* m_result;
    int m_pc = 0;
    bool m_verbose;
};

}  // namespace

int read_vu30(const std::vector<uint8_t>& code, int pc, uint32_t* result) {
    uint32_t value = 0;
    int size = static_cast<int>(code.size());
    for (int used = 0; used < 5; used++) {
        if (pc < 0 || pc + used >= size) {
            return 0;
        }
        uint8_t byte = code[pc + used];
        value |= static_cast<uint32_t>(byte & 0x7F) << (7 * used);
        if ((byte & 0x80) == 0 || used == 4) {
            *result = value;
            return used + 1;
        }
    }
    return 0;
}

void as_3_function::execute(std::vector<as_value>& registers, std::vector<as_value>& stack,
                            std::vector<as_value>& scope, as_value* result) {
    smart_ptr<abc_def> abc = get_abc();
    if (abc == nullptr) {
        log_error("as_3_function::execute: method #%d has lost its block\n", m_method);
        return;
    }
    avm2_run(*this, *abc, registers, stack, scope, result).run();
}

}  // namespace swfplayer
