#pragma once

#include "swfplayer/base/array.h"
#include "swfplayer/base/base_string.h"
#include "swfplayer/base/membuf.h"
#include "swfplayer/main/script/action_code.h"
#include "swfplayer/main/script/with_stack_entry.h"

#include <cstdint>
#include <memory>
#include <utility>

namespace swfplayer {

class as_environment;
class as_value;

// One stream of ActionScript 1/2 action records with the constant pool it declares. Copies
// share the bytes. A record is an id byte; ids of 0x80 and above add a little-endian u16
// payload length and that many payload bytes. The id 0x00 ends the stream.
class action_buffer {
public:
    action_buffer();
    action_buffer(const action_buffer& other);
    ~action_buffer();
    // Shares the other buffer's bytes and copies its constant pool.
    action_buffer& operator=(const action_buffer& other);

    // Appends the records of data[0..size) up to and including the end action 0x00 and
    // returns the bytes used. A record cut short by the end of the data is dropped; when no end
    // action was found one is appended, so the stream is always terminated.
    int read(const uint8_t* data, int size);

    // Runs the whole buffer against env's target; what it leaves on env's stack stays there for
    // later code to pop. Refused (with a message) when env already holds max_local_frames local
    // slots.
    void execute(as_environment* env) const;
    // Runs the records in [start_pc, start_pc + exec_bytes) with the interpreter, from a copy of
    // the with-stack. retval (may be null) receives a Return's value; is_function2 makes register
    // pushes and stores use the newest register frame. The range is cut to the buffer, jumps
    // out of it end the run, and every run started from a top-level one shares one instruction
    // budget (see action_interpreter.h). Ending by the End action leaves the target as the
    // script set it; any other end restores the target the run began with.
    void execute(as_environment* env, int start_pc, int exec_bytes, as_value* retval,
                 const array<with_stack_entry>& initial_with_stack, bool is_function2) const;

    // Fills the constant pool from the ConstantPool record (0x88) spanning [start_pc, stop_pc).
    // The first pool processed stays in force for the whole buffer.
    void process_decl_dict(int start_pc, int stop_pc) const;

    // Takes over bytes that hold whole records ending with the end action, as the loader
    // reads them from a tag, without copying them.
    void adopt(membuf&& bytes) {
        m_buffer->m_bytes = std::move(bytes);
        m_buffer->m_code.reset();
    }

    int size() const { return m_buffer->m_bytes.size(); }
    // Bytes allocated for the records.
    int capacity() const { return m_buffer->m_bytes.capacity(); }
    // The byte at pc; 0 (the end action) outside the buffer.
    uint8_t operator[](int pc) const { return pc >= 0 && pc < size() ? m_buffer->m_bytes[pc] : 0; }
    // The bytes themselves, size() of them.
    const uint8_t* data() const { return static_cast<const uint8_t*>(m_buffer->m_bytes.data()); }
    // Whether both buffers share the same bytes.
    bool shares_bytes_with(const action_buffer& other) const { return m_buffer == other.m_buffer; }
    // The records decoded for running, made on the first call and shared by every copy.
    action_code& decoded() const;
    // Bytes held by the decoded records; 0 before the buffer first runs.
    size_t decoded_bytes() const { return m_buffer->m_code ? m_buffer->m_code->held_bytes() : 0; }

    // The constant pool.
    int get_dictionary_size() const { return m_dictionary.size(); }
    const base_string& get_dictionary_entry(int index) const { return m_dictionary[index]; }
    int get_decl_dict_processed_at() const { return m_decl_dict_processed_at; }

private:
    // The shared bytes, counted by their holders.
    struct shared_bytes {
        membuf m_bytes;
        // Decoded from m_bytes; dropped whenever they change.
        std::unique_ptr<action_code> m_code;
        int m_ref_count = 1;
    };

    void release();
    // The verbose listing of the record at pc: its pc, a tab and its disassembly.
    void log_record(int pc) const;
    // Little-endian u16 at pc; bytes outside the buffer read as 0.
    int read_u16(int pc) const { return (*this)[pc] | ((*this)[pc + 1] << 8); }

    shared_bytes* m_buffer;
    // Filled lazily while the byte code runs, hence mutable.
    mutable array<base_string> m_dictionary;
    mutable int m_decl_dict_processed_at = -1;
};

}  // namespace swfplayer
