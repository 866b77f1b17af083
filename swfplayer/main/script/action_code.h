#pragma once
// Internal to the interpreter: the long action records of one buffer, decoded the first time
// each one runs and kept for the runs after it, so that the loop reads a record's length, its
// operands and its branch target once instead of on every pass.

#include "swfplayer/base/base_string.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace swfplayer {

// One value of a Push record. Its text, if any, is kept with its hash worked out, so that the
// copies pushed are looked up without hashing them again. Constant-pool entries are looked up
// when they are pushed, since the pool in force belongs to the running buffer's copy and may
// change while it runs.
struct push_operand {
    uint8_t m_type;  // the record's type byte (0..9), which also picks the trace text
    // Type 0: the index of the text; types 4, 8 and 9: the register number or pool index.
    int m_index;
    double m_number;  // types 1, 5 (0 or 1), 6 and 7
};

// One long record (id 0x80 or above) as the loop runs it.
struct decoded_action {
    // Where the next record starts: the record's pc + 3 + its payload length. Past the end of
    // the buffer when the payload runs past it; such a record is not run and has no operands.
    int m_next_pc;
    // Jump and If: the target pc. With: the pc where the block ends. StoreRegister: the register.
    int m_operand;
    // Push: the record's values, [m_first_push, m_first_push + m_push_count) of the operands.
    int m_first_push;
    uint16_t m_push_count;
    uint8_t m_id;
};

class action_code {
public:
    // Decoded records and operands kept per code byte, beyond a fixed allowance: Push records
    // packed with one-byte values and jumps into the middle of records can ask for more, and
    // the records past the bound are decoded afresh each time they run.
    static constexpr size_t kept_bytes_per_code_byte = 16;
    static constexpr size_t kept_bytes_allowance = 1024;
    static constexpr size_t unkept_bytes_per_code_byte = 32;

    // The code bytes stay owned by the caller and must outlive this object unchanged.
    action_code(const uint8_t* code, int size);

    // The long record at pc (0 <= pc < size, code[pc] >= 0x80), decoded. The reference and the
    // push operands it names stay valid until the next call of at().
    const decoded_action& at(int pc) {
        int kept = m_index[static_cast<size_t>(pc)];
        return kept >= 0 ? m_actions[static_cast<size_t>(kept)] : decode_at(pc);
    }
    const push_operand& operand(int index) const { return m_operands[static_cast<size_t>(index)]; }
    const base_string& text(int index) const { return m_texts[static_cast<size_t>(index)]; }

    // Bytes held by the decoded form, the pc index included.
    size_t held_bytes() const;
    // The most held_bytes() reaches for code of that many bytes: the pc index, the records kept
    // and the one decoded last and not kept (a Push holds at most unkept_bytes_per_code_byte per
    // byte of its payload, and a little more for a text cut by the payload's end), each vector
    // with room to double.
    static size_t held_bytes_bound(size_t code_size) {
        return sizeof(int32_t) * code_size +
               2 * ((kept_bytes_per_code_byte + unkept_bytes_per_code_byte) * code_size + kept_bytes_allowance);
    }

    // Whether decoded records are kept for later runs (on by default). Off, every record is
    // decoded afresh each time it runs: the form a test checks the kept one against.
    static void set_keeping(bool keep) { s_keeping = keep; }

private:
    const decoded_action& decode_at(int pc);
    // Fills out from the record at pc and appends its push operands.
    void decode(int pc, decoded_action* out);
    void decode_push(int pc, int end, decoded_action* out);
    // Bytes outside the buffer read as 0.
    int u8_at(int pc) const { return pc >= 0 && pc < m_size ? m_code[pc] : 0; }
    int u16_at(int pc) const { return u8_at(pc) | (u8_at(pc + 1) << 8); }
    uint32_t u32_at(int pc) const {
        return static_cast<uint32_t>(u16_at(pc)) | (static_cast<uint32_t>(u16_at(pc + 2)) << 16);
    }
    size_t kept_bytes() const;
    // Drops what the record decoded last left behind when it was not kept.
    void drop_unkept();

    const uint8_t* m_code;
    int m_size;
    // Per pc: the index of the kept record starting there, or -1.
    std::vector<int32_t> m_index;
    std::vector<decoded_action> m_actions;
    // The operands of the kept records; the ones of a record not kept follow them until the next
    // record is decoded.
    std::vector<push_operand> m_operands;
    std::vector<base_string> m_texts;
    size_t m_kept_operands = 0;
    size_t m_kept_texts = 0;
    // Heap bytes of the texts longer than a string holds in place.
    size_t m_text_heap_bytes = 0;
    // The record decoded last when it is not kept.
    decoded_action m_scratch{};

    static inline bool s_keeping = true;
};

}  // namespace swfplayer
