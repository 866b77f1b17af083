#pragma once

#include <climits>
#include <cstdint>
#include <cstring>
#include <stdexcept>

namespace swfplayer {

// The player's byte string. It holds UTF-8 text (any bytes, in fact) and always keeps a
// terminating NUL. Strings of up to 14 bytes live inside the object; longer ones live in a heap
// buffer whose capacity is a multiple of 16 bytes. Lengths are in bytes, except in the
// operations whose name begins with utf8_, which count characters.
//
// Copies of a heap string share its buffer: a copy takes a counted reference instead of the
// bytes, and a string that changes first takes a buffer of its own while other strings still
// hold its buffer. So a text pushed, stored and passed around by scripts costs its bytes once,
// however many values hold it. The counts are plain integers: strings are used on one thread.
class base_string {
public:
    base_string() : m_tag(1), m_hash_known(false), m_folded_hash(0) { m_local[0] = 0; }
    // Copies the NUL-terminated text; a null pointer gives the empty string. Inline, so that the
    // length of a literal is known where it is written.
    base_string(const char* text) : base_string() {
        if (text) {
            append(text, static_cast<int>(std::strlen(text)));
        }
    }
    // Copies exactly length bytes, then adds the NUL.
    base_string(const char* bytes, int length);
    base_string(const base_string& other);
    base_string(base_string&& other) noexcept;
    ~base_string() {
        if (is_heap()) {
            free_heap();
        }
    }

    // A null pointer leaves the string unchanged. The text may lie inside this string.
    base_string& operator=(const char* text);
    base_string& operator=(const base_string& other);
    base_string& operator=(base_string&& other) noexcept;
    // Replaces the text with length bytes that hold no NUL and lie outside this string.
    void assign(const char* bytes, int length) {
        if (!is_heap() && length >= 0 && length < local_capacity) {
            m_hash_known = false;
            std::memcpy(m_local, bytes, static_cast<size_t>(length));
            m_local[length] = 0;
            m_tag = static_cast<uint8_t>(length + 1);
        } else {
            *this = base_string(bytes, length);
        }
    }

    // The NUL-terminated text.
    const char* c_str() const { return is_heap() ? m_heap.buffer : m_local; }
    operator const char*() const { return c_str(); }

    // Length in bytes.
    int size() const { return is_heap() ? static_cast<int>(m_heap.size) - 1 : m_tag - 1; }
    int length() const { return size(); }
    // Bytes of storage for the text and its NUL: 15 while inline, else the heap capacity.
    int capacity() const { return is_heap() ? static_cast<int>(m_heap.capacity) : local_capacity; }

    // Byte-for-byte equality up to the NULs.
    bool operator==(const char* text) const { return compare(c_str(), text) == 0; }
    bool operator==(const base_string& other) const { return *this == other.c_str(); }
    bool operator!=(const char* text) const { return !(*this == text); }
    bool operator!=(const base_string& other) const { return !(*this == other.c_str()); }
    // Unsigned bytewise order, as strcmp.
    bool operator<(const char* text) const { return compare(c_str(), text) < 0; }
    bool operator<(const base_string& other) const { return *this < other.c_str(); }
    bool operator>(const char* text) const { return compare(c_str(), text) > 0; }
    bool operator>(const base_string& other) const { return *this > other.c_str(); }

    // Appends the text (which may be this string's own); a null pointer appends nothing.
    base_string& operator+=(const char* text) {
        if (text != nullptr) {
            append(text, static_cast<int>(std::strlen(text)));
        }
        return *this;
    }
    base_string& operator+=(const base_string& other) { return *this += other.c_str(); }
    // Appends one byte; a NUL appends nothing.
    base_string& operator+=(char c) {
        if (c != 0) {
            append(&c, 1);
        }
        return *this;
    }
    // This string followed by the text.
    base_string operator+(const char* text) const;

    // The byte at the index; the index is not checked. The reference is for writing the byte at
    // once: it is good until the string is next copied or changed.
    char& operator[](int index) { return data()[index]; }
    const char& operator[](int index) const { return c_str()[index]; }

    // Removes count bytes from index on; the range is clipped to the string.
    void erase(int index, int count);
    // Inserts one byte before the byte at index (clamped to 0..length).
    void insert(int index, char c);
    void clear() { resize(0); }
    // The longest text, so that the text, its NUL and the rounding of the storage stay within
    // int. Growing past it throws std::length_error and leaves the string as it was.
    static constexpr int max_length = INT_MAX - 16;
    // Sets the length in bytes (n >= 0) and writes the NUL at n. A longer string keeps whatever
    // bytes lie between the old and the new end until the caller writes them.
    void resize(int n);

    // The hash of the text with its ASCII letters lower-cased, the hash base_stringi keys use.
    // It is worked out on first demand and kept until the text changes; copies and moves take
    // it along, so a name hashed once is not hashed again wherever its copies are looked up.
    uint32_t folded_hash() const {
        if (!m_hash_known) {
            m_folded_hash = compute_folded_hash();
            m_hash_known = true;
        }
        return m_folded_hash;
    }
    // Whether folded_hash() is already known.
    bool is_hash_known() const { return m_hash_known; }

    // Case-insensitive comparison folding ASCII letters only, like _stricmp in the C locale:
    // negative, zero or positive; a null text is empty.
    static int stricmp(const char* a, const char* b);

    // The number of characters decode_next_utf8_char yields from bytes before it returns 0 or
    // consumes byte_count bytes (the character that reaches or passes the limit counts).
    static int utf8_char_count(const char* bytes, int byte_count);
    // Number of characters of the whole text.
    int utf8_length() const;
    // Code point of the character at a character index; 0 at or beyond the end.
    uint32_t utf8_char_at(int index) const;
    // Characters [start, end), copied as bytes; clamped to the text, empty when start >= end.
    base_string utf8_substring(int start, int end) const;
    // ASCII letters mapped to upper / lower case; every other character is kept (re-encoded as
    // UTF-8, so invalid input comes out as U+FFFD). Keeping them whole keeps the result valid
    // UTF-8: a character beyond ASCII cut to one byte would corrupt the text.
    base_string utf8_to_upper() const;
    base_string utf8_to_lower() const;

    // Heap bytes that strings hold now, each shared buffer counted once.
    static int64_t storage_bytes();
    // A function told, with the bytes, of every heap buffer a string takes and of every growth
    // of one; null for none. The script engines watch while scripts run, to charge and bound the
    // text they make.
    typedef void (*storage_watch)(int64_t added_bytes);
    static void set_storage_watch(storage_watch watch);

    // Appends the UTF-8 form of a code unit / code point; 0 appends nothing.
    void append_wide_char(uint16_t c);
    void append_wide_char(uint32_t c);

    // Replaces *result with the UTF-8 encoding of a 0-terminated wide text. Each unit is
    // encoded by itself (a UTF-16 surrogate pair becomes two 3-byte sequences).
    static void encode_utf8_from_wchar(base_string* result, const uint16_t* wide);
    static void encode_utf8_from_wchar(base_string* result, const uint32_t* wide);
    // wchar_t holds whole code points on this platform.
    static void encode_utf8_from_wchar(base_string* result, const wchar_t* wide);

private:
    static constexpr int local_capacity = 15;  // 14 bytes of text and the NUL
    static constexpr uint8_t heap_tag = 255;

    // strcmp's order over unsigned bytes (negative, zero or positive); a null text is empty.
    static int compare(const char* a, const char* b);
    bool is_heap() const { return m_tag == heap_tag; }

    // What a heap buffer holds in front of its text.
    struct shared_header {
        uint32_t refs;  // the strings holding the buffer
        // Bytes before the first NUL of the text, which is what a copy takes; -1 until a copy
        // has worked it out since the text last changed.
        int32_t text_length;
    };
    shared_header* header() const { return reinterpret_cast<shared_header*>(m_heap.buffer) - 1; }
    bool is_shared() const { return is_heap() && header()->refs > 1; }
    // A new buffer for capacity bytes of text, held once, holding the count bytes of text
    // (count <= capacity) and zeros after them; allocate_buffer also counts it as storage.
    static char* new_buffer(uint32_t capacity, const char* text, size_t count);
    static char* allocate_buffer(uint32_t capacity, const char* text, size_t count);
    // Moves the string's own heap buffer to a new capacity, keeping the text that fits and
    // zero-filling what is new.
    void move_buffer(uint32_t capacity);
    // Gives this heap string a buffer of its own with the same text.
    void unshare();
    // The length a copy takes (up to the first NUL), worked out once per text.
    int copied_length() const;

    // Writable text: whoever asks for it may change the text, so the kept hash and length are
    // dropped, and a shared buffer is first swapped for one of the string's own.
    char* data() {
        m_hash_known = false;
        if (!is_heap()) {
            return m_local;
        }
        if (header()->refs > 1) {
            unshare();
        }
        header()->text_length = -1;
        return m_heap.buffer;
    }
    uint32_t compute_folded_hash() const;
    // Takes the other string's kept hash; the caller has just given this string its text.
    void take_hash(const base_string& other) {
        m_hash_known = other.m_hash_known;
        m_folded_hash = other.m_folded_hash;
    }
    // Lets go of the heap buffer (freed once no string holds it); the string is empty and inline.
    void free_heap();
    // Appends count bytes that hold no NUL. While the text and its NUL still fit storage the
    // string alone holds, the storage rule would keep it as it is, so the bytes are copied in
    // place; otherwise the string resizes. This is the path of every name a script builds by
    // appends, so it reads each field once and keeps the length a copy takes when it was known.
    void append(const char* bytes, int count) {
        if (is_heap()) {
            const int length = static_cast<int>(m_heap.size) - 1;
            shared_header* shared = header();
            if (shared->refs == 1 && count < static_cast<int>(m_heap.capacity) - length) {
                m_hash_known = false;
                std::memcpy(m_heap.buffer + length, bytes, static_cast<size_t>(count));
                m_heap.buffer[length + count] = 0;
                m_heap.size = static_cast<uint32_t>(length + count) + 1;
                shared->text_length = shared->text_length == length ? length + count : -1;
                return;
            }
        } else {
            const int length = m_tag - 1;
            if (count < local_capacity - length) {
                m_hash_known = false;
                std::memcpy(m_local + length, bytes, static_cast<size_t>(count));
                m_local[length + count] = 0;
                m_tag = static_cast<uint8_t>(length + count + 1);
                return;
            }
        }
        append_with_resize(bytes, count);
    }
    void append_with_resize(const char* bytes, int count);
    template <class unit>
    static void encode_wide(base_string* result, const unit* wide);
    base_string utf8_map_ascii(bool to_upper) const;

    // Inline: the length + 1 (1 to 15). Heap: 255.
    uint8_t m_tag;
    // The kept folded hash; both fit the bytes that aligning the union leaves free.
    mutable bool m_hash_known;
    mutable uint32_t m_folded_hash;
    union {
        char m_local[local_capacity];
        struct {
            uint32_t size;      // length + 1
            uint32_t capacity;  // bytes in the buffer, a multiple of 16
            char* buffer;       // the text, after its shared_header
        } m_heap;
    };
};

// The same string, compared without regard to ASCII letter case; used for every member name
// and name lookup of the player. Its hash (stringi_hash_functor) folds case the same way, so
// strings that compare equal always hash equal. A comparison with == or != that involves a
// base_stringi on either side ignores case.
class base_stringi : public base_string {
public:
    base_stringi() = default;
    base_stringi(const char* text) : base_string(text) {}
    base_stringi(const char* bytes, int length) : base_string(bytes, length) {}
    base_stringi(const base_string& other) : base_string(other) {}

    bool operator==(const char* text) const { return stricmp(c_str(), text ? text : "") == 0; }
    bool operator==(const base_string& other) const { return *this == other.c_str(); }
    // Names found in a table mostly match in case as well: the same bytes settle it at once.
    bool operator==(const base_stringi& other) const { return same_bytes(other) || *this == other.c_str(); }
    bool operator!=(const char* text) const { return !(*this == text); }
    bool operator!=(const base_string& other) const { return !(*this == other.c_str()); }
    bool operator!=(const base_stringi& other) const { return !(*this == other.c_str()); }
    bool operator<(const char* text) const { return stricmp(c_str(), text ? text : "") < 0; }
    bool operator<(const base_string& other) const { return *this < other.c_str(); }
    bool operator>(const char* text) const { return stricmp(c_str(), text ? text : "") > 0; }
    bool operator>(const base_string& other) const { return *this > other.c_str(); }

private:
    // Whether both hold the same bytes. Names are short: they are compared inline, without a
    // call to memcmp.
    bool same_bytes(const base_stringi& other) const {
        const int length = size();
        if (length != other.size()) {
            return false;
        }
        const char* a = c_str();
        const char* b = other.c_str();
        if (length > 16) {
            return std::memcmp(a, b, static_cast<size_t>(length)) == 0;
        }
        for (int i = 0; i < length; i++) {
            if (a[i] != b[i]) {
                return false;
            }
        }
        return true;
    }
};

// Byte value -> the same value with the ASCII letters lower-cased.
struct ascii_fold_table {
    uint8_t lower[256];
    constexpr ascii_fold_table() : lower() {
        for (int c = 0; c < 256; c++) {
            lower[c] = static_cast<uint8_t>(c >= 'A' && c <= 'Z' ? c + ('a' - 'A') : c);
        }
    }
};
inline constexpr ascii_fold_table ascii_fold;

// ASCII-only lower case, the folding that base_stringi's compare and hash share.
inline int ascii_tolower(unsigned char c) {
    return ascii_fold.lower[c];
}

// The comparisons and hashes below are defined here so that they inline into the hash table's
// lookups: the player's strings are short names, and a call costs as much as the work.

inline int base_string::compare(const char* a, const char* b) {
    const unsigned char* p = reinterpret_cast<const unsigned char*>(a ? a : "");
    const unsigned char* q = reinterpret_cast<const unsigned char*>(b ? b : "");
    if (p == q) {
        return 0;  // copies of one text share its bytes
    }
    while (*p == *q && *p != 0) {
        p++;
        q++;
    }
    return *p - *q;
}

inline int base_string::stricmp(const char* a, const char* b) {
    const unsigned char* p = reinterpret_cast<const unsigned char*>(a ? a : "");
    const unsigned char* q = reinterpret_cast<const unsigned char*>(b ? b : "");
    if (p == q) {
        return 0;
    }
    for (;; p++, q++) {
        // Most names compare in the same case: skip equal bytes before folding.
        if (*p == *q) {
            if (*p == 0) {
                return 0;
            }
            continue;
        }
        int difference = ascii_tolower(*p) - ascii_tolower(*q);
        if (difference != 0) {
            return difference;
        }
    }
}

// h = byte ^ (h * 33) over the first length bytes from the last to the first, seed 5381, with
// ASCII letters lower-cased first when fold_case is set; *has_nul tells whether a byte was 0.
template <bool fold_case>
uint32_t hash_bytes(const unsigned char* bytes, size_t length, bool* has_nul) {
    uint32_t h = 5381;
    bool nul = false;
    for (size_t i = length; i > 0; i--) {
        uint32_t byte = fold_case ? ascii_fold.lower[bytes[i - 1]] : bytes[i - 1];
        h = (h * 33) ^ byte;
        nul |= byte == 0;
    }
    *has_nul = nul;
    return h;
}

// Hash of a string's text, which ends at its first NUL as in every comparison. Finding that
// NUL first would put a strlen in front of every hash, and almost no string holds a NUL before
// its end: the whole length is hashed, and only a string found to hold a NUL is hashed again
// up to it.
template <bool fold_case>
uint32_t hash_text(const base_string& s) {
    const unsigned char* bytes = reinterpret_cast<const unsigned char*>(s.c_str());
    bool has_nul = false;
    uint32_t h = hash_bytes<fold_case>(bytes, static_cast<size_t>(s.size()), &has_nul);
    if (has_nul) {
        h = hash_bytes<fold_case>(bytes, std::strlen(s.c_str()), &has_nul);
    }
    return h;
}

// Hash of base_string keys.
struct string_hash_functor {
    uint32_t operator()(const base_string& s) const { return hash_text<false>(s); }
};

// The same over ASCII-lower-cased bytes, for base_stringi keys.
struct stringi_hash_functor {
    uint32_t operator()(const base_string& s) const { return s.folded_hash(); }
};

inline uint32_t base_string::compute_folded_hash() const {
    return hash_text<true>(*this);
}

// A new string holding the printf-style formatting of the arguments, cut to 499 bytes.
base_string format_base_string(const char* format, ...) __attribute__((format(printf, 1, 2)));

}  // namespace swfplayer
