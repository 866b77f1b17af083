#include "swfplayer/main/as3/abc_disasm.h"

#include "swfplayer/base/hash.h"
#include "swfplayer/base/log.h"
#include "swfplayer/main/as3/abc_def.h"
#include "swfplayer/main/as3/as_3_function.h"

#include <cstdio>

namespace swfplayer {

namespace {

// What an operand is, and so how it is read and printed.
enum operand_kind : uint8_t {
    MULTINAME = 1,
    NAMESPACE = 2,
    BYTE = 3,
    SHORT = 4,
    INT_INDEX = 5,
    UINT_INDEX = 6,
    DOUBLE_INDEX = 7,
    STRING_INDEX = 8,
    ARG_COUNT = 9,
    CLASS_INDEX = 10,
    METHOD_INDEX = 11,
    EXCEPTION_INDEX = 12,
    REGISTER = 13,
    SLOT_INDEX = 14,
    BRANCH_OFFSET = 15,
    SWITCH_TABLE = 16,
};

struct avm2_instruction {
    uint8_t m_opcode;
    const char* m_mnemonic;
    // The operand kinds in order, ending with 0.
    uint8_t m_operands[5];
};

const avm2_instruction s_instructions[] = {
    {0x03, "throw", {}},
    {0x04, "getsuper", {MULTINAME}},
    {0x05, "setsuper", {}},
    {0x06, "dxns", {}},
    {0x07, "dxnslate", {}},
    {0x08, "kill", {REGISTER}},
    {0x09, "label", {}},
    {0x0C, "ifnlt", {BRANCH_OFFSET}},
    {0x0D, "ifnle", {BRANCH_OFFSET}},
    {0x0E, "ifngt", {BRANCH_OFFSET}},
    {0x0F, "ifnge", {BRANCH_OFFSET}},
    {0x10, "jump", {BRANCH_OFFSET}},
    {0x11, "iftrue", {BRANCH_OFFSET}},
    {0x12, "iffalse", {BRANCH_OFFSET}},
    {0x13, "ifeq", {BRANCH_OFFSET}},
    {0x14, "ifne", {BRANCH_OFFSET}},
    {0x15, "iflt", {BRANCH_OFFSET}},
    {0x16, "ifle", {BRANCH_OFFSET}},
    {0x17, "ifgt", {BRANCH_OFFSET}},
    {0x18, "ifge", {BRANCH_OFFSET}},
    {0x19, "ifstricteq", {BRANCH_OFFSET}},
    {0x1A, "ifstrictne", {BRANCH_OFFSET}},
    {0x1B, "lookupswitch", {SWITCH_TABLE}},
    {0x1C, "pushwith", {}},
    {0x1D, "popscope", {}},
    {0x1E, "nextname", {}},
    {0x1F, "hasnext", {}},
    {0x20, "pushnull", {}},
    {0x21, "pushundefined", {}},
    {0x23, "nextvalue", {}},
    {0x24, "pushbyte", {BYTE}},
    {0x25, "pushshort", {SHORT}},
    {0x26, "pushtrue", {}},
    {0x27, "pushfalse", {}},
    {0x28, "pushnan", {}},
    {0x29, "pop", {}},
    {0x2A, "dup", {}},
    {0x2B, "swap", {}},
    {0x2C, "pushstring", {STRING_INDEX}},
    {0x2D, "pushint", {INT_INDEX}},
    {0x2E, "pushuint", {UINT_INDEX}},
    {0x2F, "pushdouble", {DOUBLE_INDEX}},
    {0x30, "pushscope", {}},
    {0x31, "pushnamespace", {NAMESPACE}},
    {0x32, "hasnext2", {REGISTER, REGISTER}},
    {0x40, "newfunction", {METHOD_INDEX}},
    {0x41, "call", {ARG_COUNT}},
    {0x42, "construct", {ARG_COUNT}},
    {0x43, "callmethod", {SHORT, ARG_COUNT}},
    {0x44, "callstatic", {METHOD_INDEX, ARG_COUNT}},
    {0x45, "callsuper", {MULTINAME, ARG_COUNT}},
    {0x46, "callproperty", {MULTINAME, ARG_COUNT}},
    {0x47, "returnvoid", {}},
    {0x48, "returnvalue", {}},
    {0x49, "constructsuper", {ARG_COUNT}},
    {0x4A, "constructprop", {MULTINAME, ARG_COUNT}},
    {0x4C, "callproplex", {MULTINAME, ARG_COUNT}},
    {0x4E, "callsupervoid", {MULTINAME, ARG_COUNT}},
    {0x4F, "callpropvoid", {MULTINAME, ARG_COUNT}},
    {0x55, "newobject", {ARG_COUNT}},
    {0x56, "newarray", {ARG_COUNT}},
    {0x57, "newactivation", {}},
    {0x58, "newclass", {CLASS_INDEX}},
    {0x59, "getdescendants", {MULTINAME}},
    {0x5A, "newcatch", {EXCEPTION_INDEX}},
    {0x5D, "findpropstrict", {MULTINAME}},
    {0x5E, "findproperty", {MULTINAME}},
    {0x60, "getlex", {MULTINAME}},
    {0x61, "setproperty", {MULTINAME}},
    {0x62, "getlocal", {REGISTER}},
    {0x63, "setlocal", {REGISTER}},
    {0x64, "getglobalscope", {}},
    {0x65, "getscopeobject", {BYTE}},
    {0x66, "getproperty", {MULTINAME}},
    {0x68, "initproperty", {MULTINAME}},
    {0x6A, "deleteproperty", {MULTINAME}},
    {0x6C, "getslot", {SLOT_INDEX}},
    {0x6D, "setslot", {SLOT_INDEX}},
    {0x6E, "getglobalslot", {SLOT_INDEX}},
    {0x6F, "setglobalslot", {SLOT_INDEX}},
    {0x70, "convert_s", {}},
    {0x71, "esc_xelem", {}},
    {0x72, "esc_xattr", {}},
    {0x73, "convert_i", {}},
    {0x74, "convert_u", {}},
    {0x75, "convert_d", {}},
    {0x76, "convert_b", {}},
    {0x77, "convert_o", {}},
    {0x78, "checkfilter", {}},
    {0x80, "coerce", {MULTINAME}},
    {0x82, "coerce_a", {}},
    {0x85, "coerce_s", {}},
    {0x86, "astype", {MULTINAME}},
    {0x87, "astypelate", {MULTINAME}},
    {0x90, "negate", {}},
    {0x91, "increment", {}},
    {0x92, "inclocal", {REGISTER}},
    {0x93, "decrement", {}},
    {0x94, "declocal", {REGISTER}},
    {0x95, "typeof", {}},
    {0x96, "not", {}},
    {0x97, "bitnot", {}},
    {0xA0, "add", {}},
    {0xA1, "subtract", {}},
    {0xA2, "multiply", {}},
    {0xA3, "divide", {}},
    {0xA4, "modulo", {}},
    {0xA5, "lshift", {}},
    {0xA6, "rshift", {}},
    {0xA7, "urshift", {}},
    {0xA8, "bitand", {}},
    {0xA9, "bitor", {}},
    {0xAA, "bitxor", {}},
    {0xAB, "equals", {}},
    {0xAC, "strictequals", {}},
    {0xAD, "lessthan", {}},
    {0xAE, "lessequals", {}},
    {0xAF, "greaterequals", {}},
    {0xB1, "instanceof", {}},
    {0xB2, "istype", {MULTINAME}},
    {0xB3, "istypelate", {}},
    {0xB4, "in", {}},
    {0xC0, "increment_i", {}},
    {0xC1, "decrement_i", {}},
    {0xC2, "inclocal_i", {REGISTER}},
    {0xC3, "declocal_i", {REGISTER}},
    {0xC4, "negate_i", {}},
    {0xC5, "add_i", {}},
    {0xC6, "subtract_i", {}},
    {0xC7, "multiply_i", {}},
    {0xD0, "getlocal_0", {}},
    {0xD1, "getlocal_1", {}},
    {0xD2, "getlocal_2", {}},
    {0xD3, "getlocal_3", {}},
    {0xD4, "setlocal_0", {}},
    {0xD5, "setlocal_1", {}},
    {0xD6, "setlocal_2", {}},
    {0xD7, "setlocal_3", {}},
    {0xEF, "debug", {BYTE, STRING_INDEX, BYTE, SHORT}},
    {0xF0, "debugline", {SHORT}},
    {0xF1, "debugfile", {STRING_INDEX}},
};

// The table by opcode, built on first use.
hash<int, const avm2_instruction*> s_table;

const hash<int, const avm2_instruction*>& instruction_table() {
    if (s_table.is_empty()) {
        for (const avm2_instruction& instruction : s_instructions) {
            s_table.add(instruction.m_opcode, &instruction);
        }
    }
    return s_table;
}

// Reads and prints the operands of one instruction; the cursor moves past them. False when an
// operand runs past the end of the code.
class operand_printer {
public:
    operand_printer(const std::vector<uint8_t>& code, const abc_def* def, int* pc)
        : m_code(code), m_def(def), m_pc(*pc) {}

    bool print(uint8_t kind) {
        switch (kind) {
        case BYTE:
            if (m_pc >= static_cast<int>(m_code.size())) {
                return false;
            }
            log_msg("\t\tvalue: %i\n", static_cast<int8_t>(m_code[m_pc++]));
            return true;
        case BRANCH_OFFSET: return print_offset("\t\toffset: %i\n", -1);
        case SWITCH_TABLE: return print_switch();
        default: return print_u30(kind);
        }
    }

private:
    bool u30(uint32_t* value) {
        int used = read_vu30(m_code, m_pc, value);
        m_pc += used;
        return used > 0;
    }
    bool s24(int* value) {
        if (m_pc + 3 > static_cast<int>(m_code.size())) {
            return false;
        }
        uint32_t bits = m_code[m_pc] | m_code[m_pc + 1] << 8 | m_code[m_pc + 2] << 16;
        *value = static_cast<int>(bits << 8) >> 8;
        m_pc += 3;
        return true;
    }
    // One three-byte offset printed with format (its case number first when case_index >= 0).
    bool print_offset(const char* format, int case_index) {
        int offset = 0;
        if (!s24(&offset)) {
            return false;
        }
        if (case_index < 0) {
            log_msg(format, offset);
        } else {
            log_msg(format, case_index, offset);
        }
        return true;
    }
    // The default offset, the case count and count + 1 case offsets, as far as the code goes.
    bool print_switch() {
        uint32_t count = 0;
        if (!print_offset("\t\tdefault offset: %i\n", -1) || !u30(&count)) {
            return false;
        }
        for (uint64_t i = 0; i <= count; i++) {
            if (!print_offset("\t\toffset %i: %i\n", static_cast<int>(i))) {
                return false;
            }
        }
        return true;
    }
    // A pooled number printed with format, or "?" when its index is out of range.
    template <class number>
    static void print_value(const char* format, const number* value) {
        if (value) {
            log_msg(format, *value);
        } else {
            log_msg("\t\tvalue: %s\n", "?");
        }
    }
    static void print_text(const char* label, const base_string* text) {
        log_msg("\t\t%s: %s\n", label, text ? text->c_str() : "?");
    }
    bool print_u30(uint8_t kind) {
        uint32_t index = 0;
        if (!u30(&index)) {
            return false;
        }
        int value = static_cast<int>(index);
        switch (kind) {
        case MULTINAME: return print_multiname(index);
        case NAMESPACE: {
            const namespace_info* ns = m_def->find_namespace(index);
            print_text("namespace", ns ? m_def->find_string(ns->m_name) : nullptr);
            return true;
        }
        case SHORT: log_msg("\t\tvalue: %i\n", value); return true;
        case INT_INDEX: print_value("\t\tvalue: %i\n", m_def->find_integer(index)); return true;
        case UINT_INDEX: print_value("\t\tvalue: %ui\n", m_def->find_uinteger(index)); return true;
        case DOUBLE_INDEX: print_value("\t\tvalue: %f\n", m_def->find_double(index)); return true;
        case STRING_INDEX: print_text("string", m_def->find_string(index)); return true;
        case METHOD_INDEX: {
            const as_3_function* method = m_def->find_method(index);
            print_text("function", method ? m_def->find_string(method->m_name) : nullptr);
            return true;
        }
        default: log_msg("%s%i\n", index_label(kind), value); return true;
        }
    }
    bool print_multiname(uint32_t index) {
        const multiname* name = m_def->find_multiname(index);
        if (name && (name->m_kind == abc_def::CONSTANT_MULTINAME_L || name->m_kind == abc_def::CONSTANT_MULTINAME_LA)) {
            log_msg("\t\tmultiname: runtime %i\n", static_cast<int>(index));
        } else {
            print_text("multiname", name ? m_def->find_string(name->m_name) : nullptr);
        }
        return true;
    }
    // The line start of the kinds printed as plain numbers.
    static const char* index_label(uint8_t kind) {
        switch (kind) {
        case ARG_COUNT: return "\t\tcount: ";
        case CLASS_INDEX: return "\t\tclass: ";
        case EXCEPTION_INDEX: return "\t\texception: ";
        case REGISTER: return "\t\tregister: ";
        default: return "\t\tslot index: ";
        }
    }

    const std::vector<uint8_t>& m_code;
    const abc_def* m_def;
    int& m_pc;
};

}  // namespace

void log_disasm_avm2(const std::vector<uint8_t>& code, const abc_def* def) {
    if (code.empty() || def == nullptr) {
        return;
    }
    const hash<int, const avm2_instruction*>& table = instruction_table();
    int pc = 0;
    int size = static_cast<int>(code.size());
    while (pc < size) {
        const avm2_instruction* instruction = nullptr;
        if (!table.get(code[pc], &instruction)) {
            log_msg(":\tunknown opcode 0x%02X\n", code[pc]);
            pc++;
            continue;
        }
        std::printf(":\t%s\n", instruction->m_mnemonic);
        pc++;
        operand_printer operands(code, def, &pc);
        for (uint8_t kind : instruction->m_operands) {
            if (kind == 0) {
                break;
            }
            if (!operands.print(kind)) {
                return;
            }
        }
    }
}

void clear_disasm() {
    s_table.clear();
}

int get_disasm_avm2_opcode_count() {
    return instruction_table().size();
}

}  // namespace swfplayer
