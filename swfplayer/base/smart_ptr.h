#pragma once

#include "swfplayer/base/ref_counted.h"

#include <cassert>

namespace swfplayer {

// A strong, counting pointer to a reference-counted object (anything with add_ref/drop_ref).
template <class T>
class smart_ptr {
public:
    smart_ptr() = default;
    smart_ptr(T* ptr) : m_ptr(ptr) {
        if (m_ptr)
            m_ptr->add_ref();
    }
    smart_ptr(const smart_ptr& other) : smart_ptr(other.m_ptr) {}
    smart_ptr(smart_ptr&& other) noexcept : m_ptr(other.m_ptr) { other.m_ptr = nullptr; }
    template <class U>
    smart_ptr(const smart_ptr<U>& other) : smart_ptr(other.get_ptr()) {}
    ~smart_ptr() {
        if (m_ptr)
            m_ptr->drop_ref();
    }

    smart_ptr& operator=(T* ptr) {
        if (ptr != m_ptr) {
            // Take the new hold first: dropping the old target may destroy the new one's owner.
            if (ptr)
                ptr->add_ref();
            T* old = m_ptr;
            m_ptr = ptr;
            if (old)
                old->drop_ref();
        }
        return *this;
    }
    smart_ptr& operator=(const smart_ptr& other) { return *this = other.m_ptr; }
    smart_ptr& operator=(smart_ptr&& other) noexcept {
        if (this != &other) {
            T* old = m_ptr;
            m_ptr = other.m_ptr;
            other.m_ptr = nullptr;
            if (old)
                old->drop_ref();
        }
        return *this;
    }

    T* get_ptr() const { return m_ptr; }
    T* get() const { return m_ptr; }
    T* operator->() const {
        assert(m_ptr);
        return m_ptr;
    }
    T& operator*() const {
        assert(m_ptr);
        return *m_ptr;
    }
    explicit operator bool() const { return m_ptr != nullptr; }

    bool operator==(const T* ptr) const { return m_ptr == ptr; }
    bool operator==(const smart_ptr& other) const { return m_ptr == other.m_ptr; }
    bool operator<(const smart_ptr& other) const { return m_ptr < other.m_ptr; }

private:
    T* m_ptr = nullptr;
};

// A weak pointer to a ref_counted object: it holds the object's proxy, not the object, and
// yields null once the object has been deleted. Test it with get_ptr before use.
template <class T>
class weak_ptr {
public:
    weak_ptr() = default;
    weak_ptr(T* ptr) { *this = ptr; }
    weak_ptr(const smart_ptr<T>& ptr) { *this = ptr.get_ptr(); }
    weak_ptr(const weak_ptr& other) { *this = other; }
    ~weak_ptr() { release_proxy(); }

    weak_ptr& operator=(T* ptr) {
        m_ptr = ptr;
        if (ptr) {
            weak_proxy* proxy = ptr->get_weak_proxy();
            if (proxy != m_proxy) {
                proxy->add_ref();
                release_proxy();
                m_proxy = proxy;
            }
        } else {
            release_proxy();
        }
        return *this;
    }
    weak_ptr& operator=(const smart_ptr<T>& ptr) { return *this = ptr.get_ptr(); }
    weak_ptr& operator=(const weak_ptr& other) { return *this = other.get_ptr(); }

    // The object, or null when it has died (then the proxy is released) or none was set.
    T* get_ptr() const {
        if (m_proxy && !m_proxy->is_alive()) {
            release_proxy();
            m_ptr = nullptr;
        }
        return m_proxy ? m_ptr : nullptr;
    }
    T* operator->() const {
        T* ptr = get_ptr();
        assert(ptr);
        return ptr;
    }
    bool operator==(const T* ptr) const { return get_ptr() == ptr; }
    bool operator==(const smart_ptr<T>& ptr) const { return get_ptr() == ptr.get_ptr(); }

private:
    void release_proxy() const {
        if (m_proxy) {
            m_proxy->drop_ref();
            m_proxy = nullptr;
        }
    }

    mutable weak_proxy* m_proxy = nullptr;
    mutable T* m_ptr = nullptr;
};

}  // namespace swfplayer
