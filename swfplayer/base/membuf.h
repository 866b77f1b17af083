#pragma once

#include <cstdint>

namespace swfplayer {

// A growable byte buffer, or a read-only view of borrowed bytes (never written, grown or freed).
// resize allocates in 4,096-byte steps; appending past the capacity at least doubles it, so a
// buffer filled by appends costs linear time.
class membuf {
public:
    membuf() = default;
    // Borrows size bytes read-only.
    membuf(const void* data, int size);
    // Copies give an owned, writable buffer with the same bytes.
    membuf(const membuf& other);
    membuf(membuf&& other) noexcept;
    ~membuf();
    membuf& operator=(const membuf& other);
    membuf& operator=(membuf&& other) noexcept;

    int size() const { return m_size; }
    // Bytes allocated; 0 for a borrowed buffer.
    int capacity() const { return m_capacity; }
    bool is_read_only() const { return m_read_only; }
    const void* data() const { return m_data; }
    // Writable buffers only.
    void* data();

    // Sets the size in bytes (writable buffers only); the allocation becomes n rounded up to a
    // multiple of 4,096 (4,096 for 0). New bytes are not initialised.
    void resize(int n);
    // Makes room for n bytes without changing the size (writable buffers only); the allocation
    // becomes exactly n when it was smaller, so a caller that knows the final size allocates once.
    void reserve(int n);
    // Appends one byte / count bytes (writable buffers only).
    void append(uint8_t byte);
    void append(const void* bytes, int count);

    // The byte at index (0 <= index < size; writing needs a writable buffer).
    uint8_t& operator[](int index);
    const uint8_t& operator[](int index) const;

private:
    void release();
    // Sets the size to n, growing the allocation geometrically when n is past it.
    void grow_to(int n);
    void reallocate(int capacity);

    int m_size = 0;
    int m_capacity = 0;
    uint8_t* m_data = nullptr;
    bool m_read_only = false;
};

}  // namespace swfplayer
