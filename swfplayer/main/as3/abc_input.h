#pragma once
// Internal to the ABC reader: the bounded byte reader every field of a block goes through.

#include "swfplayer/base/base_string.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace swfplayer {

class stream;

// The bytes of one DoABC tag, taken from the stream at once, and a cursor over them. A read that
// would run past the end records a failure and gives 0; so does every check that fails. Only
// the first failure is kept: a block is rejected at its first violated rule, with that rule as
// its one diagnostic.
//
// It also keeps what the block may still build: each table of records is charged the memory its
// entries take before it is allocated, and a block whose tables would take more than
// build_factor times its bytes (and build_floor besides) is rejected. Records of a few bytes
// become objects of hundreds, so without this a small movie could make gigabytes of them.
class abc_input {
public:
    // Memory a block's tables may take: this many times its bytes, and build_floor besides, so
    // that no small block is refused for it. The strings' and the code's bytes are the block's
    // own, copied once, and are not charged.
    static constexpr int64_t build_factor = 16;
    static constexpr int64_t build_floor = 1 << 20;
    // What the allocator adds to each object it hands out (its header, rounded up).
    static constexpr size_t allocation_overhead = 16;
    // The memory one record takes that is made with new and held through a smart pointer.
    template <class record>
    static constexpr size_t held_record_bytes = sizeof(record) + sizeof(void*) + allocation_overhead;

    // Takes the rest of the innermost open tag of in. A tag that claims bytes the file does not
    // have fails at once.
    explicit abc_input(stream* in);
    // A block held in memory (tests, the fuzzers, the benchmark).
    abc_input(const uint8_t* data, int size);

    uint8_t read_u8();
    uint16_t read_u16();
    // The ABC format's variable-length unsigned integer: 1 to 5 bytes, 7 bits each, low group
    // first, bit 7 set when another byte follows (the fifth byte gives bits 28 to 31).
    uint32_t read_vu32();
    double read_double();
    // count bytes appended to out (which the caller sized), or a failure when fewer are left.
    void read_bytes(uint32_t count, std::vector<uint8_t>* out);
    // count bytes as a string, 0 bytes dropped.
    void read_string(uint32_t count, base_string* out);

    int get_position() const { return m_position; }
    int get_size() const { return static_cast<int>(m_data.size()); }
    int bytes_left() const { return get_size() - m_position; }

    // False once a read or a check failed.
    bool ok() const { return m_failure.size() == 0; }
    // The first failure's text ("" while none).
    const base_string& get_failure() const { return m_failure; }
    // Records the failure (formatted) unless one is already recorded; always false.
    bool fail(const char* format, ...) __attribute__((format(printf, 2, 3)));
    // count records of at least min_bytes each must fit into the bytes left, and their memory,
    // entry_bytes each, into what the block may still build (which they then take): checked
    // before a table is allocated, so a huge count costs nothing.
    bool check_count(uint32_t count, int min_bytes, size_t entry_bytes, const char* what);
    // count entries of entry_bytes each must fit into what the block may still build, which they
    // then take.
    bool check_memory(uint32_t count, size_t entry_bytes, const char* what);
    // An index into a pool of pool_size entries: 0 (the default entry, present even in an empty
    // pool) or below the pool's size.
    bool check_index(uint32_t index, size_t pool_size, const char* what, int record);

private:
    // Fails with the place of the short read.
    bool past_end(int bytes);

    std::vector<uint8_t> m_data;
    int m_position = 0;
    base_string m_failure;
    // Bytes of memory the tables may still take (see build_factor).
    int64_t m_build_left = 0;
};

}  // namespace swfplayer
