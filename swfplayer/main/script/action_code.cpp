#include "swfplayer/main/script/action_code.h"

#include <cstring>

namespace swfplayer {

namespace {

constexpr uint8_t push_id = 0x96;
constexpr uint8_t jump_id = 0x99;
constexpr uint8_t branch_if_true_id = 0x9D;
constexpr uint8_t with_id = 0x94;
constexpr uint8_t store_register_id = 0x87;

size_t heap_bytes(const base_string& text) {
    return text.capacity() > base_string().capacity() ? static_cast<size_t>(text.capacity()) : 0;
}

}  // namespace

action_code::action_code(const uint8_t* code, int size)
    : m_code(code), m_size(size < 0 ? 0 : size), m_index(static_cast<size_t>(m_size), -1) {}

size_t action_code::kept_bytes() const {
    return m_actions.size() * sizeof(decoded_action) + m_operands.size() * sizeof(push_operand) +
           m_texts.size() * sizeof(base_string) + m_text_heap_bytes;
}

size_t action_code::held_bytes() const {
    return m_index.capacity() * sizeof(int32_t) + m_actions.capacity() * sizeof(decoded_action) +
           m_operands.capacity() * sizeof(push_operand) + m_texts.capacity() * sizeof(base_string) + m_text_heap_bytes;
}

void action_code::drop_unkept() {
    m_operands.resize(m_kept_operands);
    for (size_t i = m_kept_texts; i < m_texts.size(); i++) {
        m_text_heap_bytes -= heap_bytes(m_texts[i]);
    }
    m_texts.resize(m_kept_texts);
}

const decoded_action& action_code::decode_at(int pc) {
    drop_unkept();
    decode(pc, &m_scratch);
    size_t bound = kept_bytes_per_code_byte * static_cast<size_t>(m_size) + kept_bytes_allowance;
    if (!s_keeping || kept_bytes() + sizeof(decoded_action) > bound) {
        return m_scratch;
    }
    m_index[static_cast<size_t>(pc)] = static_cast<int32_t>(m_actions.size());
    m_actions.push_back(m_scratch);
    m_kept_operands = m_operands.size();
    m_kept_texts = m_texts.size();
    return m_actions.back();
}

void action_code::decode(int pc, decoded_action* out) {
    *out = decoded_action{};
    out->m_id = static_cast<uint8_t>(u8_at(pc));
    out->m_next_pc = pc + 3 + u16_at(pc + 1);
    out->m_first_push = static_cast<int>(m_operands.size());
    if (out->m_next_pc > m_size) {
        return;
    }
    switch (out->m_id) {
    case push_id: decode_push(pc + 3, out->m_next_pc, out); break;
    // Branch offsets count from the next record.
    case jump_id:
    case branch_if_true_id: out->m_operand = out->m_next_pc + static_cast<int16_t>(u16_at(pc + 3)); break;
    case with_id: out->m_operand = out->m_next_pc + u16_at(pc + 3); break;
    case store_register_id: out->m_operand = u8_at(pc + 3); break;
    default: break;  // the other records read their payload from the bytes when they run
    }
}

void action_code::decode_push(int pc, int end, decoded_action* out) {
    // A value's data may reach past the payload into the bytes after it, as when it is read in
    // place; the payload ends at the first value that starts at or after its end.
    while (pc < end) {
        push_operand value{};
        value.m_type = static_cast<uint8_t>(u8_at(pc++));
        switch (value.m_type) {
        case 0: {
            const void* terminator = std::memchr(m_code + pc, 0, static_cast<size_t>(end - pc));
            int length =
                terminator ? static_cast<int>(static_cast<const uint8_t*>(terminator) - (m_code + pc)) : end - pc;
            m_texts.emplace_back(reinterpret_cast<const char*>(m_code + pc), length);
            m_texts.back().folded_hash();
            m_text_heap_bytes += heap_bytes(m_texts.back());
            value.m_index = static_cast<int>(m_texts.size()) - 1;
            pc = terminator ? pc + length + 1 : end;
            break;
        }
        case 1: {
            uint32_t bits = u32_at(pc);
            float number;
            std::memcpy(&number, &bits, sizeof(number));
            value.m_number = number;
            pc += 4;
            break;
        }
        case 2:
        case 3: break;
        case 4: value.m_index = u8_at(pc++); break;
        case 5: value.m_number = u8_at(pc++) != 0 ? 1 : 0; break;
        case 6: {
            // The high word comes first, each word little-endian.
            uint64_t bits = (static_cast<uint64_t>(u32_at(pc)) << 32) | u32_at(pc + 4);
            std::memcpy(&value.m_number, &bits, sizeof(double));
            pc += 8;
            break;
        }
        case 7:
            value.m_number = static_cast<int32_t>(u32_at(pc));
            pc += 4;
            break;
        case 8: value.m_index = u8_at(pc++); break;
        case 9:
            value.m_index = u16_at(pc);
            pc += 2;
            break;
        default: continue;  // an unknown type byte pushes nothing
        }
        m_operands.push_back(value);
        out->m_push_count++;
    }
}

}  // namespace swfplayer
