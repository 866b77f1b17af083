#include "swfplayer/main/script/action_buffer.h"

#include "swfplayer/base/log.h"
#include "swfplayer/main/script/action_disasm.h"
#include "swfplayer/main/script/action_interpreter.h"
#include "swfplayer/main/script/as_environment.h"

#include <cassert>

namespace swfplayer {

namespace {

// The id of the ConstantPool record and the text of entries its strings do not supply.
constexpr uint8_t constant_pool_id = 0x88;
const char* const invalid_entry = "<invalid>";

}  // namespace

action_buffer::action_buffer() : m_buffer(new shared_bytes()) {}

action_buffer::action_buffer(const action_buffer& other)
    : m_buffer(other.m_buffer),
      m_dictionary(other.m_dictionary),
      m_decl_dict_processed_at(other.m_decl_dict_processed_at) {
    m_buffer->m_ref_count++;
}

action_buffer::~action_buffer() {
    release();
}

action_buffer& action_buffer::operator=(const action_buffer& other) {
    if (this != &other) {
        other.m_buffer->m_ref_count++;
        release();
        m_buffer = other.m_buffer;
        m_dictionary = other.m_dictionary;
        m_decl_dict_processed_at = other.m_decl_dict_processed_at;
    }
    return *this;
}

void action_buffer::release() {
    assert(m_buffer->m_ref_count > 0);
    if (--m_buffer->m_ref_count == 0) {
        delete m_buffer;
    }
    m_buffer = nullptr;
}

action_code& action_buffer::decoded() const {
    if (!m_buffer->m_code) {
        m_buffer->m_code = std::make_unique<action_code>(data(), size());
    }
    return *m_buffer->m_code;
}

int action_buffer::read(const uint8_t* data, int size) {
    membuf& bytes = m_buffer->m_bytes;
    m_buffer->m_code.reset();
    bool verbose = get_verbose_action();
    int pos = 0;
    while (pos < size) {
        uint8_t id = data[pos];
        int record_pc = bytes.size();
        if (id < 0x80) {
            bytes.append(id);
            pos++;
            if (verbose) {
                log_record(record_pc);
            }
            if (id == 0) {
                return pos;
            }
            continue;
        }
        // The declared length is checked against the bytes really there.
        if (size - pos < 3) {
            break;
        }
        int length = data[pos + 1] | (data[pos + 2] << 8);
        if (size - pos - 3 < length) {
            break;
        }
        bytes.append(data + pos, 3 + length);
        pos += 3 + length;
        if (verbose) {
            log_record(record_pc);
        }
    }
    log_error("error: action records end without an end action at byte %d of %d\n", pos, size);
    bytes.append(static_cast<uint8_t>(0));
    return pos;
}

void action_buffer::log_record(int pc) const {
    log_msg("%4d\t", pc);
    log_disasm(*this, pc);
}

void action_buffer::execute(as_environment* env) const {
    if (env->get_local_frame_count() >= as_environment::max_local_frames) {
        log_error("error: actions skipped: %d local variables in use (scripts nested too deep)\n",
                  env->get_local_frame_count());
        return;
    }
    // What frame and event actions leave on the stack stays there for later actions of the
    // character to pop; the stack's floor stays where it is, so actions run from inside a call
    // still cannot reach below that call's values. The interpreter bounds the stack's size.
    array<with_stack_entry> empty_with_stack;
    execute(env, 0, size(), nullptr, empty_with_stack, false);
}

void action_buffer::execute(as_environment* env, int start_pc, int exec_bytes, as_value* retval,
                            const array<with_stack_entry>& initial_with_stack, bool is_function2) const {
    if (env == nullptr) {
        return;
    }
    action_interpreter interpreter(*this, env, start_pc, exec_bytes, retval, initial_with_stack, is_function2);
    interpreter.run();
}

void action_buffer::process_decl_dict(int start_pc, int stop_pc) const {
    // The record must lie inside the buffer and hold at least its length and count.
    if (start_pc < 0 || stop_pc > size() || stop_pc - start_pc < 5 || (*this)[start_pc] != constant_pool_id) {
        log_error("error: process_decl_dict(%d, %d): not a constant pool record\n", start_pc, stop_pc);
        return;
    }
    if (m_decl_dict_processed_at == start_pc) {
        return;  // the same record again: the pool is in place
    }
    if (m_decl_dict_processed_at != -1) {
        log_error("error: process_decl_dict(%d, %d): decl_dict was already processed at %d\n", start_pc, stop_pc,
                  m_decl_dict_processed_at);
        return;
    }
    m_decl_dict_processed_at = start_pc;
    int count = read_u16(start_pc + 3);
    m_dictionary.resize(count);
    int cursor = start_pc + 5;
    for (int i = 0; i < count; i++) {
        int end = cursor;
        while (end < stop_pc && (*this)[end] != 0) {
            end++;
        }
        if (end >= stop_pc) {
            log_error("error: action buffer dict length exceeded\n");
            for (int j = i; j < count; j++) {
                m_dictionary[j] = invalid_entry;
            }
            return;
        }
        const uint8_t* bytes = static_cast<const uint8_t*>(m_buffer->m_bytes.data());
        m_dictionary[i] = base_string(reinterpret_cast<const char*>(bytes + cursor), end - cursor);
        // Hashed once here: the copies pushed take the hash along to their lookups.
        m_dictionary[i].folded_hash();
        cursor = end + 1;
    }
}

}  // namespace swfplayer
