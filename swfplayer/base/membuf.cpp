#include "swfplayer/base/membuf.h"

#include <algorithm>
#include <cassert>
#include <climits>
#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <new>
#include <utility>

namespace swfplayer {

namespace {

constexpr int growth_step = 4096;

// The allocation for n bytes: n rounded up to the step, one step for 0.
int capacity_for(int n) {
    if (n == 0) {
        return growth_step;
    }
    int64_t rounded = (static_cast<int64_t>(n) + growth_step - 1) / growth_step * growth_step;
    return rounded > INT_MAX ? n : static_cast<int>(rounded);
}

}  // namespace

membuf::membuf(const void* data, int size)
    : m_size(size), m_data(static_cast<uint8_t*>(const_cast<void*>(data))), m_read_only(true) {
    assert(size >= 0 && (data || size == 0));
}

membuf::membuf(const membuf& other) {
    *this = other;
}

membuf::membuf(membuf&& other) noexcept {
    *this = std::move(other);
}

membuf::~membuf() {
    release();
}

void membuf::release() {
    if (!m_read_only) {
        std::free(m_data);
    }
    m_size = 0;
    m_capacity = 0;
    m_data = nullptr;
    m_read_only = false;
}

membuf& membuf::operator=(const membuf& other) {
    if (this != &other) {
        release();
        if (other.m_size > 0) {
            resize(other.m_size);
            std::memcpy(m_data, other.m_data, other.m_size);
        }
    }
    return *this;
}

membuf& membuf::operator=(membuf&& other) noexcept {
    if (this != &other) {
        release();
        m_size = other.m_size;
        m_capacity = other.m_capacity;
        m_data = other.m_data;
        m_read_only = other.m_read_only;
        other.m_size = 0;
        other.m_capacity = 0;
        other.m_data = nullptr;
        other.m_read_only = false;
    }
    return *this;
}

void* membuf::data() {
    assert(!m_read_only);
    return m_data;
}

void membuf::resize(int n) {
    assert(!m_read_only);
    assert(n >= 0);
    if (n == m_size) {
        return;
    }
    int capacity = capacity_for(n);
    if (capacity != m_capacity) {
        reallocate(capacity);
    }
    m_size = n;
}

void membuf::reserve(int n) {
    assert(!m_read_only);
    if (n > m_capacity) {
        reallocate(n);
    }
}

void membuf::grow_to(int n) {
    assert(!m_read_only);
    assert(n >= m_size);
    if (n > m_capacity) {
        int doubled = m_capacity > INT_MAX / 2 ? INT_MAX : 2 * m_capacity;
        reallocate(std::max(capacity_for(n), doubled));
    }
    m_size = n;
}

void membuf::reallocate(int capacity) {
    uint8_t* data = static_cast<uint8_t*>(std::realloc(m_data, capacity));
    if (data == nullptr) {
        throw std::bad_alloc();
    }
    m_data = data;
    m_capacity = capacity;
}

void membuf::append(uint8_t byte) {
    grow_to(m_size + 1);
    m_data[m_size - 1] = byte;
}

void membuf::append(const void* bytes, int count) {
    if (count <= 0) {
        return;
    }
    assert(count <= INT_MAX - m_size);
    int old_size = m_size;
    const uint8_t* source = static_cast<const uint8_t*>(bytes);
    if (m_data && source >= m_data && source < m_data + m_capacity) {
        // Appending from this buffer: growing may move it, so keep the offset.
        std::ptrdiff_t offset = source - m_data;
        grow_to(old_size + count);
        std::memmove(m_data + old_size, m_data + offset, count);
        return;
    }
    grow_to(old_size + count);
    std::memcpy(m_data + old_size, bytes, count);
}

uint8_t& membuf::operator[](int index) {
    assert(!m_read_only);
    assert(index >= 0 && index < m_size);
    return m_data[index];
}

const uint8_t& membuf::operator[](int index) const {
    assert(index >= 0 && index < m_size);
    return m_data[index];
}

}  // namespace swfplayer
