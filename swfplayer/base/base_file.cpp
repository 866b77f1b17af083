#include "swfplayer/base/base_file.h"

#include "swfplayer/base/membuf.h"

#include <algorithm>
#include <climits>
#include <cstring>

namespace swfplayer {

namespace {

constexpr int copy_block = 4096;

// Standard-file callbacks; the data word is the FILE*.
int std_read(void* dst, int bytes, void* data) {
    return bytes > 0 ? static_cast<int>(std::fread(dst, 1, bytes, static_cast<FILE*>(data))) : 0;
}

int std_write(const void* src, int bytes, void* data) {
    return bytes > 0 ? static_cast<int>(std::fwrite(src, 1, bytes, static_cast<FILE*>(data))) : 0;
}

int std_seek(int position, void* data) {
    FILE* fp = static_cast<FILE*>(data);
    std::clearerr(fp);
    return std::fseek(fp, position, SEEK_SET) == 0 ? base_file::no_error : base_file::seek_error;
}

int std_seek_to_end(void* data) {
    return std::fseek(static_cast<FILE*>(data), 0, SEEK_END) == 0 ? base_file::no_error : base_file::seek_error;
}

// Positions are ints: a position past INT_MAX (or a failed tell) reads as -1, never as a
// wrapped-around position.
int std_tell(void* data) {
    const long position = std::ftell(static_cast<FILE*>(data));
    return position >= 0 && position <= INT_MAX ? static_cast<int>(position) : -1;
}

bool std_get_eof(void* data) {
    return std::feof(static_cast<FILE*>(data)) != 0;
}

int std_close(void* data) {
    return std::fclose(static_cast<FILE*>(data)) == 0 ? base_file::no_error : base_file::close_error;
}

// A memory file: its bytes and the read/write position (0 <= position <= size).
struct memory_file {
    membuf buffer;
    int position = 0;
};

int memory_read(void* dst, int bytes, void* data) {
    memory_file* file = static_cast<memory_file*>(data);
    int available = file->buffer.size() - file->position;
    int count = bytes < available ? bytes : available;
    if (count <= 0) {
        return 0;
    }
    const membuf& content = file->buffer;  // borrowed buffers are read through the const view
    std::memcpy(dst, static_cast<const uint8_t*>(content.data()) + file->position, count);
    file->position += count;
    return count;
}

int memory_write(const void* src, int bytes, void* data) {
    memory_file* file = static_cast<memory_file*>(data);
    // Borrowed bytes belong to the caller and are never written.
    if (bytes <= 0 || file->buffer.is_read_only() || bytes > INT32_MAX - file->position) {
        return 0;
    }
    // Bytes over the old content replace it; the rest is appended, which grows the buffer
    // geometrically so that a file written in small pieces costs linear time.
    int overwritten = std::min(bytes, file->buffer.size() - file->position);
    if (overwritten > 0) {
        std::memcpy(static_cast<uint8_t*>(file->buffer.data()) + file->position, src, overwritten);
    }
    file->buffer.append(static_cast<const uint8_t*>(src) + overwritten, bytes - overwritten);
    file->position += bytes;
    return bytes;
}

int memory_seek(int position, void* data) {
    memory_file* file = static_cast<memory_file*>(data);
    if (position < 0) {
        file->position = 0;
        return base_file::seek_error;
    }
    if (position > file->buffer.size()) {
        file->position = file->buffer.size();
        return base_file::seek_error;
    }
    file->position = position;
    return base_file::no_error;
}

int memory_seek_to_end(void* data) {
    memory_file* file = static_cast<memory_file*>(data);
    file->position = file->buffer.size();
    return base_file::no_error;
}

int memory_tell(void* data) {
    return static_cast<memory_file*>(data)->position;
}

bool memory_get_eof(void* data) {
    memory_file* file = static_cast<memory_file*>(data);
    return file->position >= file->buffer.size();
}

int memory_close(void* data) {
    delete static_cast<memory_file*>(data);
    return base_file::no_error;
}

uint32_t from_little_endian32(const uint8_t* bytes) {
    return static_cast<uint32_t>(bytes[0]) | static_cast<uint32_t>(bytes[1]) << 8 |
           static_cast<uint32_t>(bytes[2]) << 16 | static_cast<uint32_t>(bytes[3]) << 24;
}

void to_little_endian32(uint32_t value, uint8_t* bytes) {
    for (int i = 0; i < 4; i++) {
        bytes[i] = static_cast<uint8_t>(value >> (8 * i));
    }
}

}  // namespace

base_file::base_file(void* data, read_func read, write_func write, seek_func seek, seek_to_end_func seek_to_end,
                     tell_func tell, get_eof_func get_eof, close_func close)
    : m_data(data),
      m_read(read),
      m_write(write),
      m_seek(seek),
      m_seek_to_end(seek_to_end),
      m_tell(tell),
      m_get_eof(get_eof),
      m_close(close) {}

base_file::base_file(FILE* fp, bool auto_close) {
    if (fp == nullptr) {
        m_error = open_error;
        return;
    }
    m_data = fp;
    m_read = std_read;
    m_write = std_write;
    m_seek = std_seek;
    m_seek_to_end = std_seek_to_end;
    m_tell = std_tell;
    m_get_eof = std_get_eof;
    m_close = auto_close ? std_close : nullptr;
}

base_file::base_file(const char* name, const char* mode)
    : base_file(name && mode ? std::fopen(name, mode) : nullptr, true) {}

base_file::base_file(memory_buffer_enum)
    : base_file(new memory_file(), memory_read, memory_write, memory_seek, memory_seek_to_end, memory_tell,
                memory_get_eof, memory_close) {}

base_file::base_file(memory_buffer_enum, int size, const void* data)
    : base_file(new memory_file{membuf(data, size), 0}, memory_read, memory_write, memory_seek, memory_seek_to_end,
                memory_tell, memory_get_eof, memory_close) {}

base_file::~base_file() {
    if (m_close) {
        m_close(m_data);
    }
    m_data = nullptr;
    m_read = nullptr;
    m_write = nullptr;
    m_seek = nullptr;
    m_seek_to_end = nullptr;
    m_tell = nullptr;
    m_get_eof = nullptr;
    m_close = nullptr;
}

int base_file::read_bytes(void* dst, int count) {
    return m_read && count > 0 ? m_read(dst, count, m_data) : 0;
}

int base_file::write_bytes(const void* src, int count) {
    return m_write && count > 0 ? m_write(src, count, m_data) : 0;
}

uint8_t base_file::read_byte() {
    uint8_t value = 0;
    read_bytes(&value, 1);
    return value;
}

int base_file::write_byte(uint8_t value) {
    return write_bytes(&value, 1);
}

float base_file::read_float32() {
    uint8_t bytes[4] = {};
    if (read_bytes(bytes, 4) != 4) {
        return 0.0f;
    }
    uint32_t bits = from_little_endian32(bytes);
    float value;
    std::memcpy(&value, &bits, sizeof(value));
    return value;
}

int base_file::write_float32(float value) {
    uint32_t bits;
    std::memcpy(&bits, &value, sizeof(bits));
    uint8_t bytes[4];
    to_little_endian32(bits, bytes);
    return write_bytes(bytes, 4);
}

double base_file::read_double64() {
    uint8_t bytes[8] = {};
    if (read_bytes(bytes, 8) != 8) {
        return 0.0;
    }
    uint64_t bits = from_little_endian32(bytes) | static_cast<uint64_t>(from_little_endian32(bytes + 4)) << 32;
    double value;
    std::memcpy(&value, &bits, sizeof(value));
    return value;
}

int base_file::write_double64(double value) {
    uint64_t bits;
    std::memcpy(&bits, &value, sizeof(bits));
    uint8_t bytes[8];
    to_little_endian32(static_cast<uint32_t>(bits), bytes);
    to_little_endian32(static_cast<uint32_t>(bits >> 32), bytes + 4);
    return write_bytes(bytes, 8);
}

int base_file::get_position() {
    return m_tell ? m_tell(m_data) : 0;
}

void base_file::set_position(int position) {
    if (m_seek) {
        m_seek(position, m_data);
    }
}

void base_file::go_to_end() {
    if (m_seek_to_end) {
        m_seek_to_end(m_data);
    }
}

bool base_file::get_eof() {
    // A file without an end-of-file test has nothing to read.
    return m_get_eof ? m_get_eof(m_data) : true;
}

void base_file::write_string(const char* text) {
    write_bytes(text, static_cast<int>(std::strlen(text)) + 1);
}

int base_file::read_string(char* dst, int max_length, char delimiter) {
    if (max_length <= 0) {
        return -1;
    }
    for (int i = 0; i < max_length; i++) {
        char c;
        if (read_bytes(&c, 1) != 1) {
            dst[i] = 0;
            return -1;
        }
        if (c == delimiter) {
            dst[i] = 0;
            return i;
        }
        dst[i] = c;
    }
    dst[max_length - 1] = 0;
    return -1;
}

void base_file::copy_from(base_file* src) {
    uint8_t block[copy_block];
    for (;;) {
        int count = src->read_bytes(block, copy_block);
        if (count <= 0) {
            return;
        }
        if (count > copy_block) {
            count = copy_block;
        }
        if (write_bytes(block, count) != count) {
            return;
        }
    }
}

void base_file::copy_to(membuf* dst) {
    uint8_t block[copy_block];
    for (;;) {
        int count = read_bytes(block, copy_block);
        if (count <= 0) {
            return;
        }
        dst->append(block, count > copy_block ? copy_block : count);
    }
}

int base_file::copy_bytes(base_file* src, int count) {
    uint8_t block[copy_block];
    int copied = 0;
    while (copied < count) {
        int wanted = count - copied < copy_block ? count - copied : copy_block;
        int read = src->read_bytes(block, wanted);
        if (read <= 0) {
            break;
        }
        if (read > wanted) {
            read = wanted;
        }
        int written = write_bytes(block, read);
        if (written > 0) {
            copied += written > read ? read : written;
        }
        if (read < wanted || written != read) {
            break;
        }
    }
    return copied;
}

}  // namespace swfplayer
