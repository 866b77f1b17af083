#include "swfplayer/base/base_string.h"

#include "swfplayer/base/utf8.h"

#include <cassert>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>
#include <stdexcept>
#include <utility>

namespace swfplayer {

namespace {

// Heap capacity for a text of n >= 15 bytes: the smallest multiple of 16 above n.
uint32_t heap_capacity_for(int n) {
    return (static_cast<uint32_t>(n) + 16) & ~static_cast<uint32_t>(15);
}

int64_t s_storage_bytes = 0;
base_string::storage_watch s_storage_watch = nullptr;

// Counts bytes of heap storage taken (positive) or given back (negative).
void note_storage(int64_t bytes) {
    s_storage_bytes += bytes;
    if (bytes > 0 && s_storage_watch != nullptr) {
        s_storage_watch(bytes);
    }
}

// Number of bytes encode_utf8_char writes for the code point.
int utf8_encoded_size(uint32_t code_point) {
    if (code_point < 0x80)
        return 1;
    if (code_point <= 0x7FF)
        return 2;
    if (code_point <= 0xFFFF)
        return 3;
    if (code_point <= 0x1FFFFF)
        return 4;
    if (code_point <= 0x3FFFFFF)
        return 5;
    if (code_point <= 0x7FFFFFFF)
        return 6;
    return 0;
}

}  // namespace

base_string::base_string(const char* bytes, int length) : base_string() {
    if (length > 0) {
        assert(bytes);
        resize(length);
        std::memcpy(data(), bytes, length);
    }
}

base_string::base_string(const base_string& other) : base_string() {
    *this = other;
}

int64_t base_string::storage_bytes() {
    return s_storage_bytes;
}

void base_string::set_storage_watch(storage_watch watch) {
    s_storage_watch = watch;
}

// Buffers are taken with malloc and zeroed here, and a small buffer grows into a new one by hand:
// glibc serves small malloc and free calls from a per-thread cache, which calloc and realloc
// bypass. Larger buffers, and buffers that shrink, go through realloc, which can extend, remap or
// split them without copying.
constexpr uint32_t small_buffer_capacity = 1024;

char* base_string::new_buffer(uint32_t capacity, const char* text, size_t count) {
    auto* header = static_cast<shared_header*>(std::malloc(sizeof(shared_header) + capacity));
    if (header == nullptr) {
        throw std::bad_alloc();
    }
    header->refs = 1;
    header->text_length = -1;
    char* buffer = reinterpret_cast<char*>(header + 1);
    std::memcpy(buffer, text, count);
    std::memset(buffer + count, 0, capacity - count);
    return buffer;
}

char* base_string::allocate_buffer(uint32_t capacity, const char* text, size_t count) {
    char* buffer = new_buffer(capacity, text, count);
    note_storage(static_cast<int64_t>(sizeof(shared_header) + capacity));
    return buffer;
}

void base_string::unshare() {
    const int length = size();
    const bool known_whole = header()->text_length == length;
    const uint32_t capacity = heap_capacity_for(length);
    char* buffer = allocate_buffer(capacity, m_heap.buffer, static_cast<size_t>(length) + 1);
    header()->refs--;  // others hold it still
    m_heap.buffer = buffer;
    m_heap.capacity = capacity;
    if (known_whole) {
        header()->text_length = length;
    }
}

int base_string::copied_length() const {
    shared_header* shared = header();
    if (shared->text_length < 0) {
        shared->text_length = static_cast<int32_t>(std::strlen(m_heap.buffer));
    }
    return shared->text_length;
}

base_string::base_string(base_string&& other) noexcept
    : m_tag(other.m_tag), m_hash_known(other.m_hash_known), m_folded_hash(other.m_folded_hash) {
    if (other.is_heap()) {
        m_heap = other.m_heap;
    } else {
        std::memcpy(m_local, other.m_local, local_capacity);
    }
    other.m_tag = 1;
    other.m_local[0] = 0;
    other.m_hash_known = false;
}

void base_string::free_heap() {
    if (is_heap()) {
        shared_header* shared = header();
        if (--shared->refs == 0) {
            note_storage(-static_cast<int64_t>(sizeof(shared_header) + m_heap.capacity));
            std::free(shared);
        }
        m_tag = 1;
        m_local[0] = 0;
        m_hash_known = false;
    }
}

base_string& base_string::operator=(const char* text) {
    if (text == nullptr || text == c_str()) {
        return *this;
    }
    const char* own = c_str();
    if (text > own && text < own + capacity()) {
        // The text lies inside this string: resizing could move or free it.
        base_string copy(text);
        return *this = std::move(copy);
    }
    int length = static_cast<int>(std::strlen(text));
    resize(length);
    std::memcpy(data(), text, length);
    return *this;
}

base_string& base_string::operator=(const base_string& other) {
    if (this == &other) {
        return *this;
    }
    // Like every copy, this one ends at the first NUL.
    if (!other.is_heap()) {
        free_heap();
        const size_t length = std::strlen(other.m_local);
        std::memcpy(m_local, other.m_local, length + 1);
        m_tag = static_cast<uint8_t>(length + 1);
    } else {
        const int length = other.copied_length();
        if (length < local_capacity) {
            char text[local_capacity];
            std::memcpy(text, other.m_heap.buffer, static_cast<size_t>(length));
            free_heap();
            std::memcpy(m_local, text, static_cast<size_t>(length));
            m_local[length] = 0;
            m_tag = static_cast<uint8_t>(length + 1);
        } else {
            // The text is shared, cut at its first NUL when it holds one before its end: the
            // bytes after it are never read again.
            other.header()->refs++;
            free_heap();
            m_tag = heap_tag;
            m_heap.size = static_cast<uint32_t>(length) + 1;
            m_heap.capacity = other.m_heap.capacity;
            m_heap.buffer = other.m_heap.buffer;
        }
    }
    take_hash(other);
    return *this;
}

base_string& base_string::operator=(base_string&& other) noexcept {
    if (this != &other) {
        free_heap();
        m_tag = other.m_tag;
        take_hash(other);
        if (other.is_heap()) {
            m_heap = other.m_heap;
        } else {
            std::memcpy(m_local, other.m_local, local_capacity);
        }
        other.m_tag = 1;
        other.m_local[0] = 0;
        other.m_hash_known = false;
    }
    return *this;
}

void base_string::append_with_resize(const char* bytes, int count) {
    if (count > max_length - size()) {
        throw std::length_error("base_string: text too long");
    }
    const char* own = c_str();
    if (bytes >= own && bytes < own + capacity()) {
        // Appending (part of) this string to itself: the source must outlive the resize.
        base_string copy(bytes, count);
        append_with_resize(copy.c_str(), count);
        return;
    }
    // The length a copy takes stays known across the append when it was known before; text that
    // leaves the inline storage is measured only if a copy asks.
    const int old_length = size();
    const bool known_whole = is_heap() && header()->text_length == old_length;
    resize(old_length + count);
    std::memcpy(data() + old_length, bytes, static_cast<size_t>(count));
    if (known_whole) {
        header()->text_length = old_length + count;
    }
}

base_string base_string::operator+(const char* text) const {
    base_string result(*this);
    result += text;
    return result;
}

void base_string::erase(int index, int count) {
    int length = size();
    if (index < 0 || index >= length || count <= 0) {
        return;
    }
    if (count > length - index) {
        count = length - index;
    }
    char* text = data();
    std::memmove(text + index, text + index + count, length - index - count);
    resize(length - count);
}

void base_string::insert(int index, char c) {
    int length = size();
    if (index < 0) {
        index = 0;
    } else if (index > length) {
        index = length;
    }
    resize(length + 1);
    char* text = data();
    std::memmove(text + index + 1, text + index, length - index);
    text[index] = c;
}

void base_string::resize(int n) {
    assert(n >= 0);
    if (n > max_length) {
        throw std::length_error("base_string: text too long");
    }
    int length = size();
    if (n == length) {
        return;
    }
    m_hash_known = false;
    if (!is_heap()) {
        if (n < local_capacity) {
            m_tag = static_cast<uint8_t>(n + 1);
            m_local[n] = 0;
            return;
        }
        // The whole inline storage is copied, a few fixed moves, and what lay in it past the text
        // is cleared: a copy of just the text's variable length compiles to a slow string move.
        uint32_t capacity = heap_capacity_for(n);
        char* buffer = allocate_buffer(capacity, m_local, local_capacity);
        std::memset(buffer + length + 1, 0, static_cast<size_t>(local_capacity - 1 - length));
        m_tag = heap_tag;
        m_heap.size = static_cast<uint32_t>(n) + 1;
        m_heap.capacity = capacity;
        m_heap.buffer = buffer;
        return;
    }
    if (n < local_capacity) {
        char text[local_capacity];
        std::memcpy(text, m_heap.buffer, local_capacity);
        free_heap();
        std::memcpy(m_local, text, local_capacity);
        m_tag = static_cast<uint8_t>(n + 1);
        m_local[n] = 0;
        return;
    }
    uint32_t capacity = heap_capacity_for(n);
    if (is_shared()) {
        // A buffer of the string's own, holding what stays of the text; the rest is zero.
        char* buffer = allocate_buffer(capacity, m_heap.buffer, static_cast<size_t>(n < length ? n : length));
        header()->refs--;  // others hold it still
        m_heap.buffer = buffer;
        m_heap.capacity = capacity;
    } else if (capacity != m_heap.capacity) {
        move_buffer(capacity);
    }
    m_heap.size = static_cast<uint32_t>(n) + 1;
    m_heap.buffer[n] = 0;
    header()->text_length = -1;
}

void base_string::move_buffer(uint32_t capacity) {
    const uint32_t old_capacity = m_heap.capacity;
    if (capacity > old_capacity && capacity <= small_buffer_capacity) {
        char* buffer = new_buffer(capacity, m_heap.buffer, m_heap.size);
        std::free(header());
        m_heap.buffer = buffer;
    } else {
        auto* shared = static_cast<shared_header*>(std::realloc(header(), sizeof(shared_header) + capacity));
        if (shared == nullptr) {
            throw std::bad_alloc();
        }
        m_heap.buffer = reinterpret_cast<char*>(shared + 1);
        if (capacity > old_capacity) {
            std::memset(m_heap.buffer + old_capacity, 0, capacity - old_capacity);
        }
    }
    m_heap.capacity = capacity;
    // The buffer grew or shrank by the difference, however it moved.
    note_storage(static_cast<int64_t>(capacity) - static_cast<int64_t>(old_capacity));
}

int base_string::utf8_char_count(const char* bytes, int byte_count) {
    if (byte_count < 1) {
        return 0;
    }
    const char* p = bytes;
    int count = 0;
    while (decode_next_utf8_char(&p) != 0) {
        count++;
        if (p - bytes >= byte_count) {
            break;
        }
    }
    return count;
}

int base_string::utf8_length() const {
    return utf8_char_count(c_str(), size());
}

uint32_t base_string::utf8_char_at(int index) const {
    if (index < 0) {
        return 0;
    }
    const char* p = c_str();
    for (int i = 0;; i++) {
        uint32_t c = decode_next_utf8_char(&p);
        if (c == 0 || i == index) {
            return c;
        }
    }
}

base_string base_string::utf8_substring(int start, int end) const {
    if (start < 0) {
        start = 0;
    }
    if (start >= end) {
        return base_string();
    }
    // Byte offsets of the first character and of the character at end (or the text's end).
    const char* p = c_str();
    const char* first = nullptr;
    for (int i = 0; i < end; i++) {
        if (i == start) {
            first = p;
        }
        const char* before = p;
        if (decode_next_utf8_char(&p) == 0) {
            p = before;  // an interrupted last sequence is not a character
            break;
        }
    }
    if (first == nullptr) {
        return base_string();
    }
    return base_string(first, static_cast<int>(p - first));
}

base_string base_string::utf8_map_ascii(bool to_upper) const {
    // A first pass sizes the result exactly; a bad byte grows to the 3 bytes of U+FFFD.
    int64_t total = 0;
    const char* p = c_str();
    for (uint32_t c; (c = decode_next_utf8_char(&p)) != 0;) {
        total += utf8_encoded_size(c);
    }
    assert(total < 0x7FFFFFFF);
    base_string result;
    result.resize(static_cast<int>(total));
    char* out = result.data();
    int written = 0;
    p = c_str();
    for (uint32_t c; (c = decode_next_utf8_char(&p)) != 0;) {
        if (to_upper && c >= 'a' && c <= 'z') {
            c -= 'a' - 'A';
        } else if (!to_upper && c >= 'A' && c <= 'Z') {
            c += 'a' - 'A';
        }
        encode_utf8_char(out, &written, c);
    }
    return result;
}

base_string base_string::utf8_to_upper() const {
    return utf8_map_ascii(true);
}

base_string base_string::utf8_to_lower() const {
    return utf8_map_ascii(false);
}

void base_string::append_wide_char(uint16_t c) {
    append_wide_char(static_cast<uint32_t>(c));
}

void base_string::append_wide_char(uint32_t c) {
    if (c == 0) {
        return;
    }
    char encoded[7];
    int length = 0;
    encode_utf8_char(encoded, &length, c);
    encoded[length] = 0;
    *this += encoded;
}

template <class unit>
void base_string::encode_wide(base_string* result, const unit* wide) {
    assert(result && wide);
    int64_t total = 0;
    for (const unit* w = wide; *w != 0; w++) {
        total += utf8_encoded_size(static_cast<uint32_t>(*w));
    }
    assert(total < 0x7FFFFFFF);
    result->resize(static_cast<int>(total));
    char* out = result->data();
    int written = 0;
    for (const unit* w = wide; *w != 0; w++) {
        encode_utf8_char(out, &written, static_cast<uint32_t>(*w));
    }
}

void base_string::encode_utf8_from_wchar(base_string* result, const uint16_t* wide) {
    encode_wide(result, wide);
}

void base_string::encode_utf8_from_wchar(base_string* result, const uint32_t* wide) {
    encode_wide(result, wide);
}

void base_string::encode_utf8_from_wchar(base_string* result, const wchar_t* wide) {
    encode_wide(result, wide);
}

base_string format_base_string(const char* format, ...) {
    char buffer[500];
    va_list args;
    va_start(args, format);
    if (std::vsnprintf(buffer, sizeof(buffer), format, args) < 0) {
        buffer[0] = 0;
    }
    va_end(args);
    return base_string(buffer);
}

}  // namespace swfplayer
