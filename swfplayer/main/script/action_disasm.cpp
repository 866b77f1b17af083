#include "swfplayer/main/script/action_disasm.h"

#include "swfplayer/base/log.h"
#include "swfplayer/main/script/action_buffer.h"

#include <cstdarg>
#include <cstdint>
#include <cstdio>
#include <cstring>

namespace swfplayer {

namespace {

enum arg_format {
    ARG_NONE = 0,
    ARG_STR = 1,
    ARG_HEX = 2,
    ARG_U8 = 3,
    ARG_U16 = 4,
    ARG_S16 = 5,
    ARG_PUSH_DATA = 6,
    ARG_DECL_DICT = 7,
    ARG_FUNCTION2 = 8,
};

struct inst_info {
    int m_action_id;
    const char* m_instruction;
    int m_arg_format;
};

// Every action id the listing names; the table ends with the end action.
const inst_info s_instruction_table[] = {
    {0x04, "next_frame", ARG_NONE},
    {0x05, "prev_frame", ARG_NONE},
    {0x06, "play", ARG_NONE},
    {0x07, "stop", ARG_NONE},
    {0x08, "toggle_qlty", ARG_NONE},
    {0x09, "stop_sounds", ARG_NONE},
    {0x0A, "add", ARG_NONE},
    {0x0B, "sub", ARG_NONE},
    {0x0C, "mul", ARG_NONE},
    {0x0D, "div", ARG_NONE},
    {0x0E, "equ", ARG_NONE},
    {0x0F, "lt", ARG_NONE},
    {0x10, "and", ARG_NONE},
    {0x11, "or", ARG_NONE},
    {0x12, "not", ARG_NONE},
    {0x13, "str_eq", ARG_NONE},
    {0x14, "str_len", ARG_NONE},
    {0x15, "substr", ARG_NONE},
    {0x17, "pop", ARG_NONE},
    {0x18, "floor", ARG_NONE},
    {0x1C, "get_var", ARG_NONE},
    {0x1D, "set_var", ARG_NONE},
    {0x20, "set_target_exp", ARG_NONE},
    {0x21, "str_cat", ARG_NONE},
    {0x22, "get_prop", ARG_NONE},
    {0x23, "set_prop", ARG_NONE},
    {0x24, "dup_sprite", ARG_NONE},
    {0x25, "rem_sprite", ARG_NONE},
    {0x26, "trace", ARG_NONE},
    {0x27, "start_drag", ARG_NONE},
    {0x28, "stop_drag", ARG_NONE},
    {0x29, "str_lt", ARG_NONE},
    {0x2B, "cast_object", ARG_NONE},
    {0x30, "random", ARG_NONE},
    {0x31, "mb_length", ARG_NONE},
    {0x32, "ord", ARG_NONE},
    {0x33, "chr", ARG_NONE},
    {0x34, "get_timer", ARG_NONE},
    {0x35, "substr_mb", ARG_NONE},
    {0x36, "ord_mb", ARG_NONE},
    {0x37, "chr_mb", ARG_NONE},
    {0x3A, "delete", ARG_NONE},
    {0x3B, "delete_all", ARG_NONE},
    {0x3C, "set_local", ARG_NONE},
    {0x3D, "call_func", ARG_NONE},
    {0x3E, "return", ARG_NONE},
    {0x3F, "mod", ARG_NONE},
    {0x40, "new", ARG_NONE},
    {0x41, "decl_local", ARG_NONE},
    {0x42, "decl_array", ARG_NONE},
    {0x43, "decl_obj", ARG_NONE},
    {0x44, "type_of", ARG_NONE},
    {0x45, "get_target", ARG_NONE},
    {0x46, "enumerate", ARG_NONE},
    {0x47, "add_t", ARG_NONE},
    {0x48, "lt_t", ARG_NONE},
    {0x49, "eq_t", ARG_NONE},
    {0x4A, "number", ARG_NONE},
    {0x4B, "string", ARG_NONE},
    {0x4C, "dup", ARG_NONE},
    {0x4D, "swap", ARG_NONE},
    {0x4E, "get_member", ARG_NONE},
    {0x4F, "set_member", ARG_NONE},
    {0x50, "inc", ARG_NONE},
    {0x51, "dec", ARG_NONE},
    {0x52, "call_method", ARG_NONE},
    {0x53, "new_method", ARG_NONE},
    {0x54, "is_inst_of", ARG_NONE},
    {0x55, "enum_object", ARG_NONE},
    {0x60, "bit_and", ARG_NONE},
    {0x61, "bit_or", ARG_NONE},
    {0x62, "bit_xor", ARG_NONE},
    {0x63, "shl", ARG_NONE},
    {0x64, "asr", ARG_NONE},
    {0x65, "lsr", ARG_NONE},
    {0x66, "eq_strict", ARG_NONE},
    {0x67, "gt_t", ARG_NONE},
    {0x68, "gt_str", ARG_NONE},
    {0x69, "extends", ARG_NONE},
    {0x81, "goto_frame", ARG_U16},
    {0x83, "get_url", ARG_STR},
    {0x87, "store_register", ARG_U8},
    {0x88, "decl_dict", ARG_DECL_DICT},
    {0x8A, "wait_for_frame", ARG_HEX},
    {0x8B, "set_target", ARG_STR},
    {0x8C, "goto_frame_lbl", ARG_STR},
    {0x8D, "wait_for_fr_exp", ARG_HEX},
    {0x8E, "function2", ARG_FUNCTION2},
    {0x94, "with", ARG_U16},
    {0x96, "push_data", ARG_PUSH_DATA},
    {0x99, "goto", ARG_S16},
    {0x9A, "get_url2", ARG_HEX},
    {0x9B, "func", ARG_HEX},
    {0x9D, "branch_if_true", ARG_S16},
    {0x9E, "call_frame", ARG_HEX},
    {0x9F, "goto_frame_exp", ARG_HEX},
    {0x00, "<end>", ARG_NONE},
};

const inst_info* find_instruction(int id) {
    for (const inst_info& info : s_instruction_table) {
        if (info.m_action_id == id) {
            return &info;
        }
    }
    return nullptr;
}

// Appends printf-style text.
void append(std::string* out, const char* format, ...) __attribute__((format(printf, 2, 3)));

void append(std::string* out, const char* format, ...) {
    char text[256];
    va_list args;
    va_start(args, format);
    std::vsnprintf(text, sizeof(text), format, args);
    va_end(args);
    out->append(text);
}

// Reads the payload [pc, end) of one record; bytes past the buffer read as 0.
class payload_reader {
public:
    payload_reader(const action_buffer& buffer, int pc, int end) : m_buffer(buffer), m_pc(pc), m_end(end) {}

    bool at_end() const { return m_pc >= m_end; }
    int u8() { return m_buffer[m_pc++]; }
    int u16() {
        int low = u8();
        return low | (u8() << 8);
    }
    uint32_t u32() {
        uint32_t low = static_cast<uint32_t>(u16());
        return low | (static_cast<uint32_t>(u16()) << 16);
    }
    // The characters up to a NUL or the payload end; *complete tells whether a NUL ended them.
    std::string text(bool* complete = nullptr) {
        std::string result;
        while (m_pc < m_end && m_buffer[m_pc] != 0) {
            result.push_back(static_cast<char>(m_buffer[m_pc++]));
        }
        bool found = m_pc < m_end;
        if (found) {
            m_pc++;
        }
        if (complete) {
            *complete = found;
        }
        return result;
    }

private:
    const action_buffer& m_buffer;
    int m_pc;
    int m_end;
};

// A double stored as its high word first, each word little-endian.
double swapped_double(payload_reader& in) {
    uint64_t high = in.u32();
    uint64_t bits = (high << 32) | in.u32();
    double value;
    std::memcpy(&value, &bits, sizeof(value));
    return value;
}

void push_data(payload_reader& in, std::string* out) {
    out->append("\n");
    while (!in.at_end()) {
        out->append("\t\t");
        switch (in.u8()) {
        case 0: out->append("\"" + in.text() + "\"\n"); break;
        case 1: {
            uint32_t bits = in.u32();
            float value;
            std::memcpy(&value, &bits, sizeof(value));
            append(out, "(float) %f\n", value);
            break;
        }
        case 2: out->append("NULL\n"); break;
        case 3: out->append("undef\n"); break;
        case 4: append(out, "reg[%d]\n", in.u8()); break;
        case 5: append(out, "bool(%d)\n", in.u8()); break;
        case 6: append(out, "(double) %f\n", swapped_double(in)); break;
        case 7: append(out, "(int) %d\n", static_cast<int32_t>(in.u32())); break;
        case 8: append(out, "dict_lookup[%d]\n", in.u8()); break;
        case 9: append(out, "dict_lookup_lg[%d]\n", in.u16()); break;
        default: break;
        }
    }
}

void decl_dict(payload_reader& in, std::string* out) {
    int count = in.u16();
    append(out, " [%d]\n", count);
    for (int i = 0; i < count; i++) {
        bool complete = false;
        out->append("\t\t\"" + in.text(&complete));
        if (!complete) {
            out->append("<disasm error -- length exceeded>\n\"\n");
            return;
        }
        out->append("\"\n");
    }
}

void function2(payload_reader& in, int length, std::string* out) {
    std::string name = in.text();
    int arg_count = in.u16();
    int reg_count = in.u8();
    append(out, "\n\t\tname = '%s', arg_count = %d, reg_count = %d\n", name.c_str(), arg_count, reg_count);
    int flags = in.u16();
    auto bit = [flags](int n) {
        return (flags >> n) & 1;
    };
    append(out,
           "\t\t        pg = %d\n\t\t        pp = %d\n\t\t        pr = %d\n\t\tss = %d, ps = %d\n\t\tsa = %d, pa = "
           "%d\n\t\tst = %d, pt = %d\n",
           bit(8), bit(7), bit(6), bit(5), bit(4), bit(3), bit(2), bit(1), bit(0));
    // The parameters cannot outnumber the payload bytes (two at least each).
    for (int i = 0; i < arg_count && i <= length; i++) {
        int reg = in.u8();
        append(out, "\t\targ[%d] - reg[%d] - '%s'\n", i, reg, in.text().c_str());
    }
    append(out, "\t\tfunction length = %d\n", in.u16());
}

}  // namespace

std::string disasm_record(const action_buffer& buffer, int pc) {
    std::string out;
    int id = buffer[pc];
    const inst_info* info = find_instruction(id);
    int format = ARG_HEX;
    if (info) {
        append(&out, "%-15s", info->m_instruction);
        format = info->m_arg_format;
    } else {
        append(&out, "<unknown>[0x%02X]", id);
    }
    if (id < 0x80) {
        out.append("\n");
        return out;
    }
    int length = buffer[pc + 1] | (buffer[pc + 2] << 8);
    int end = pc + 3 + length;
    if (end > buffer.size()) {
        end = buffer.size();
    }
    payload_reader in(buffer, pc + 3, end);
    switch (format) {
    case ARG_STR:
        out.append(" \"");
        while (!in.at_end()) {
            int c = in.u8();
            if (c == 0) {
                out.append("\\0");
            } else {
                out.push_back(static_cast<char>(c));
            }
        }
        out.append("\"\n");
        break;
    case ARG_U8: append(&out, " %d\n", in.u8()); break;
    case ARG_U16: append(&out, " %d\n", in.u16()); break;
    case ARG_S16: append(&out, " %d\n", static_cast<int16_t>(in.u16())); break;
    case ARG_PUSH_DATA: push_data(in, &out); break;
    case ARG_DECL_DICT: decl_dict(in, &out); break;
    case ARG_FUNCTION2: function2(in, length, &out); break;
    default:
        while (!in.at_end()) {
            append(&out, " 0x%02X", in.u8());
        }
        out.append("\n");
        break;
    }
    return out;
}

void log_disasm(const action_buffer& buffer, int pc) {
    std::string text = disasm_record(buffer, pc);
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        end = end == std::string::npos ? text.size() : end + 1;
        log_msg("%s", text.substr(start, end - start).c_str());
        start = end;
    }
}

}  // namespace swfplayer
