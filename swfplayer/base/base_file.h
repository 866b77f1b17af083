#pragma once

#include <cstdint>
#include <cstdio>

namespace swfplayer {

class membuf;

// Tag for the memory-file constructors of base_file.
enum memory_buffer_enum { memory_buffer };

// The player's file: an opaque handle plus seven callbacks, so the same readers work over
// standard files, memory, the game's virtual file system and an inflating view of another file.
// A missing callback makes its operation fail (0 bytes, error result) instead of crashing.
// Multi-byte values are little-endian.
class base_file {
public:
    // Returns the number of bytes read into dst.
    typedef int (*read_func)(void* dst, int bytes, void* data);
    // Returns the number of bytes written.
    typedef int (*write_func)(const void* src, int bytes, void* data);
    // Returns 0 or an error code.
    typedef int (*seek_func)(int position, void* data);
    typedef int (*seek_to_end_func)(void* data);
    // Returns the current position in bytes.
    typedef int (*tell_func)(void* data);
    typedef bool (*get_eof_func)(void* data);
    // Returns 0 or an error code.
    typedef int (*close_func)(void* data);

    // Error codes: get_error gives no_error or open_error; the callbacks return the others.
    enum error_code { no_error = 0, open_error = 1, seek_error = 4, close_error = 5 };

    base_file(void* data, read_func read, write_func write, seek_func seek, seek_to_end_func seek_to_end,
              tell_func tell, get_eof_func get_eof, close_func close);
    // A standard file; it is closed with this object only when auto_close is true.
    base_file(FILE* fp, bool auto_close);
    // Opens the named file with fopen; on failure get_error gives open_error.
    base_file(const char* name, const char* mode);
    // An empty, writable memory file that grows as it is written.
    explicit base_file(memory_buffer_enum);
    // A read-only memory file over size borrowed bytes; writes past its content are refused.
    base_file(memory_buffer_enum, int size, const void* data);
    // Calls the close callback when there is one.
    ~base_file();
    base_file(const base_file&) = delete;
    base_file& operator=(const base_file&) = delete;

    int read_bytes(void* dst, int count);
    int write_bytes(const void* src, int count);
    // 0 when nothing could be read.
    uint8_t read_byte();
    int write_byte(uint8_t value);
    // IEEE 754 values, little-endian; 0 when the bytes could not be read.
    float read_float32();
    int write_float32(float value);
    double read_double64();
    int write_double64(double value);

    // The position in bytes; -1 when it is unknown or past what an int holds.
    int get_position();
    // Seeks; the result is ignored (a memory file clamps the position).
    void set_position(int position);
    void go_to_end();
    bool get_eof();
    // no_error, or open_error when the constructor could not open the file.
    int get_error() const { return m_error; }

    // Writes the text and its NUL.
    void write_string(const char* text);
    // Reads bytes into dst until the delimiter, which is stored as NUL, and returns the number
    // of bytes before it. When max_length bytes pass without it (or the file ends), dst is
    // NUL-terminated within max_length bytes and the result is -1.
    int read_string(char* dst, int max_length, char delimiter = '\0');
    // Copies the other file byte by byte until its end or its error.
    void copy_from(base_file* src);
    // Appends the rest of this file to the buffer.
    void copy_to(membuf* dst);
    // Copies count bytes from src into this file; returns the number copied.
    int copy_bytes(base_file* src, int count);

private:
    void* m_data = nullptr;
    read_func m_read = nullptr;
    write_func m_write = nullptr;
    seek_func m_seek = nullptr;
    seek_to_end_func m_seek_to_end = nullptr;
    tell_func m_tell = nullptr;
    get_eof_func m_get_eof = nullptr;
    close_func m_close = nullptr;
    int m_error = no_error;
};

}  // namespace swfplayer
