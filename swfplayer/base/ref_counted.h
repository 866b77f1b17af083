#pragma once

namespace swfplayer {

// The small heap record shared by an object and the weak pointers to it. It outlives the
// object as long as a weak pointer holds it, and tells them whether the object still lives.
class weak_proxy {
public:
    weak_proxy() = default;
    weak_proxy(const weak_proxy&) = delete;
    weak_proxy& operator=(const weak_proxy&) = delete;

    void add_ref();
    // Releases one hold; the last release deletes the proxy.
    void drop_ref();
    bool is_alive() const { return m_alive; }
    // Called by the object's destructor.
    void notify_object_died() { m_alive = false; }
    int get_ref_count() const { return m_ref_count; }

private:
    ~weak_proxy() = default;

    int m_ref_count = 0;  // the object itself while it lives, plus each weak pointer
    bool m_alive = true;
};

// Base of every reference-counted object of the player. An object starts with no owner; the
// last drop_ref deletes it. Weak pointers watch it through a proxy made on first demand.
class ref_counted {
public:
    ref_counted() = default;
    virtual ~ref_counted();
    // A count belongs to one object: copies start afresh rather than sharing it.
    ref_counted(const ref_counted&) = delete;
    ref_counted& operator=(const ref_counted&) = delete;

    void add_ref() const;
    // Releases one strong owner; at 0 the object deletes itself.
    void drop_ref() const;
    int get_ref_count() const { return m_ref_count; }
    // The object's proxy, made with the object's own hold on first demand.
    weak_proxy* get_weak_proxy() const;

private:
    mutable int m_ref_count = 0;
    mutable weak_proxy* m_weak_proxy = nullptr;
};

}  // namespace swfplayer
