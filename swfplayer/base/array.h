#pragma once

#include <cassert>
#include <climits>
#include <cstddef>
#include <cstdint>
#include <new>
#include <utility>

namespace swfplayer {

// The player's growable array. It grows to n + n/2 when it runs out of room and shrinks only
// when it falls to half its capacity, so alternating pushes and pops do not reallocate each
// time. Elements are moved (never byte-copied) when the buffer is reallocated.
template <class T>
class array {
public:
    array() = default;
    // Starts with size default-constructed elements.
    explicit array(int size) { resize(size); }
    array(const array& other) { *this = other; }
    array(array&& other) noexcept { swap(other); }
    ~array() { clear(); }

    array& operator=(const array& other) {
        if (this != &other) {
            clear();
            reserve(other.m_size);
            for (int i = 0; i < other.m_size; i++) {
                new (m_data + i) T(other.m_data[i]);
            }
            m_size = other.m_size;
        }
        return *this;
    }
    array& operator=(array&& other) noexcept {
        if (this != &other) {
            clear();
            swap(other);
        }
        return *this;
    }

    int size() const { return m_size; }
    int capacity() const { return m_capacity; }
    bool empty() const { return m_size == 0; }

    T& operator[](int index) {
        assert(index >= 0 && index < m_size);
        return m_data[index];
    }
    const T& operator[](int index) const {
        assert(index >= 0 && index < m_size);
        return m_data[index];
    }
    T& front() { return (*this)[0]; }
    const T& front() const { return (*this)[0]; }
    T& back() { return (*this)[m_size - 1]; }
    const T& back() const { return (*this)[m_size - 1]; }

    // Appends a copy of the value; the value may be an element of this array.
    void push_back(const T& value) {
        if (holds(&value)) {
            T copy(value);  // growing may move the element the value refers to
            push_back(std::move(copy));
            return;
        }
        resize(m_size + 1);
        m_data[m_size - 1] = value;
    }
    void push_back(T&& value) {
        if (holds(&value)) {
            T moved(std::move(value));
            push_back(std::move(moved));
            return;
        }
        resize(m_size + 1);
        m_data[m_size - 1] = std::move(value);
    }
    void pop_back() {
        assert(m_size > 0);
        resize(m_size - 1);
    }

    // Sets the size (n >= 0). Elements from n on are destroyed in increasing index order, new
    // ones are default-constructed (numbers and pointers zero). Size 0 frees the buffer; a size
    // beyond the capacity, or at most half of it, reallocates to n + n/2.
    void resize(int n) {
        assert(n >= 0);
        for (int i = n; i < m_size; i++) {
            m_data[i].~T();
        }
        int old_size = n < m_size ? n : m_size;
        m_size = old_size;
        if (n == 0) {
            reserve(0);
        } else if (n > m_capacity || n <= m_capacity / 2) {
            int64_t grown = static_cast<int64_t>(n) + n / 2;
            reserve(grown > INT_MAX ? INT_MAX : static_cast<int>(grown));
        }
        for (int i = old_size; i < n; i++) {
            new (m_data + i) T();
        }
        m_size = n;
    }

    // Reallocates the buffer to room for capacity elements (at least the size); 0 frees it.
    void reserve(int capacity) {
        assert(capacity >= m_size);
        if (capacity == m_capacity) {
            return;
        }
        T* data = nullptr;
        if (capacity > 0) {
            data = static_cast<T*>(::operator new(sizeof(T) * static_cast<size_t>(capacity)));
            for (int i = 0; i < m_size; i++) {
                new (data + i) T(std::move(m_data[i]));
                m_data[i].~T();
            }
        }
        ::operator delete(m_data);
        m_data = data;
        m_capacity = capacity;
    }

    void clear() { resize(0); }

    void swap(array& other) noexcept {
        std::swap(m_data, other.m_data);
        std::swap(m_size, other.m_size);
        std::swap(m_capacity, other.m_capacity);
    }

    T* begin() { return m_data; }
    T* end() { return m_data + m_size; }
    const T* begin() const { return m_data; }
    const T* end() const { return m_data + m_size; }

private:
    bool holds(const T* element) const {
        auto address = reinterpret_cast<uintptr_t>(element);
        return address >= reinterpret_cast<uintptr_t>(m_data) && address < reinterpret_cast<uintptr_t>(m_data + m_size);
    }

    T* m_data = nullptr;
    int m_size = 0;
    int m_capacity = 0;
};

}  // namespace swfplayer
