#pragma once

// One-argument signals and their receivers. A signal calls member functions of any number of
// receivers in connection order; whichever side is destroyed first disconnects itself from the
// other, so neither calls into a dead object. Every signal and every receiver owns a re-entrant
// lock, so a slot may emit, connect or disconnect on the same thread while its signal is busy.
//
// A slot may also disconnect receivers (itself included, for instance by destroying itself)
// while the signal is emitting: the signal then only marks their connections dead and removes
// them when the outermost emit has finished. A signal must not be destroyed by one of its own
// slots.

#include <cstddef>
#include <iterator>
#include <list>
#include <memory>
#include <mutex>
#include <set>

namespace sigslot {

// The locking policy: one re-entrant lock per object.
class multi_threaded_local {
public:
    multi_threaded_local() = default;
    // A copy gets a lock of its own.
    multi_threaded_local(const multi_threaded_local&) {}
    multi_threaded_local& operator=(const multi_threaded_local&) { return *this; }
    virtual ~multi_threaded_local() = default;

    virtual void lock() { m_mutex.lock(); }
    virtual void unlock() { m_mutex.unlock(); }

private:
    std::recursive_mutex m_mutex;
};

// Holds a policy object's lock for the lifetime of the guard.
template <class mt_policy>
class lock_block {
public:
    explicit lock_block(mt_policy* mutex) : m_mutex(mutex) { m_mutex->lock(); }
    ~lock_block() { m_mutex->unlock(); }
    lock_block(const lock_block&) = delete;
    lock_block& operator=(const lock_block&) = delete;

private:
    mt_policy* m_mutex;
};

template <class mt_policy>
class has_slots;

// What a receiver needs of every signal it is connected to.
template <class mt_policy>
class _signal_base : public mt_policy {
public:
    // Drops every connection aimed at the receiver (called while the receiver is destroyed).
    virtual void slot_disconnect(has_slots<mt_policy>* receiver) = 0;
    // Adds, for every connection aimed at oldReceiver, the same connection aimed at newReceiver.
    virtual void slot_duplicate(const has_slots<mt_policy>* oldReceiver, has_slots<mt_policy>* newReceiver) = 0;
};

// Base of every receiver: remembers the signals connected to it and disconnects from them all
// when it is destroyed.
template <class mt_policy = multi_threaded_local>
class has_slots : public mt_policy {
public:
    has_slots() = default;

    // A copy is connected to every signal the original is connected to, the same way.
    has_slots(const has_slots& other) : mt_policy() {
        lock_block<mt_policy> lock(this);
        for (_signal_base<mt_policy>* sender : other.m_senders) {
            sender->slot_duplicate(&other, this);
            m_senders.insert(sender);
        }
    }
    has_slots& operator=(const has_slots&) = delete;

    ~has_slots() override { disconnect_all(); }

    // Called by a signal when it connects to this receiver.
    void signal_connect(_signal_base<mt_policy>* sender) {
        lock_block<mt_policy> lock(this);
        m_senders.insert(sender);
    }

    // Called by a signal that is going away.
    void signal_disconnect(_signal_base<mt_policy>* sender) {
        lock_block<mt_policy> lock(this);
        m_senders.erase(sender);
    }

    // Disconnects this receiver from every signal.
    void disconnect_all() {
        lock_block<mt_policy> lock(this);
        for (_signal_base<mt_policy>* sender : m_senders) {
            sender->slot_disconnect(this);
        }
        m_senders.clear();
    }

private:
    std::set<_signal_base<mt_policy>*> m_senders;
};

// One connection of a one-argument signal.
template <class arg1_type, class mt_policy>
class _connection_base1 {
public:
    virtual ~_connection_base1() = default;
    // The receiver this connection calls.
    virtual has_slots<mt_policy>* getdest() const = 0;
    virtual void emit(arg1_type a1) = 0;
    // A copy aimed at the same receiver.
    virtual std::unique_ptr<_connection_base1> clone() const = 0;
    // A copy aimed at another receiver of the same class.
    virtual std::unique_ptr<_connection_base1> duplicate(has_slots<mt_policy>* newReceiver) const = 0;
};

template <class dest_type, class arg1_type, class mt_policy>
class _connection1 : public _connection_base1<arg1_type, mt_policy> {
public:
    using method = void (dest_type::*)(arg1_type);

    _connection1(dest_type* object, method memfun) : m_receiver(object), m_memfun(memfun) {}

    has_slots<mt_policy>* getdest() const override { return m_receiver; }
    // The receiver is kept as its has_slots part and seen as a dest_type only when called: a copied
    // receiver is duplicated while it is still being constructed, when it is not a dest_type yet.
    void emit(arg1_type a1) override { (static_cast<dest_type*>(m_receiver)->*m_memfun)(a1); }
    std::unique_ptr<_connection_base1<arg1_type, mt_policy>> clone() const override {
        return std::make_unique<_connection1>(*this);
    }
    std::unique_ptr<_connection_base1<arg1_type, mt_policy>> duplicate(
        has_slots<mt_policy>* newReceiver) const override {
        return std::unique_ptr<_connection_base1<arg1_type, mt_policy>>(new _connection1(newReceiver, m_memfun));
    }

private:
    _connection1(has_slots<mt_policy>* receiver, method memfun) : m_receiver(receiver), m_memfun(memfun) {}

    has_slots<mt_policy>* m_receiver;
    method m_memfun;
};

// The connection list of a one-argument signal.
template <class arg1_type, class mt_policy>
class _signal_base1 : public _signal_base<mt_policy> {
public:
    _signal_base1() = default;

    // A copy calls the same receivers through connections of its own.
    _signal_base1(const _signal_base1& other) : _signal_base<mt_policy>() {
        lock_block<mt_policy> lock(this);
        for (const entry& e : other.m_connections) {
            if (!e.dead) {
                e.connection->getdest()->signal_connect(this);
                m_connections.push_back(entry{e.connection->clone(), false});
            }
        }
    }
    _signal_base1& operator=(const _signal_base1&) = delete;

    ~_signal_base1() override { disconnect_all(); }

    // Disconnects every receiver.
    void disconnect_all() {
        lock_block<mt_policy> lock(this);
        for (entry& e : m_connections) {
            if (!e.dead) {
                has_slots<mt_policy>* receiver = e.connection->getdest();
                lock_block<mt_policy> receiverLock(receiver);
                receiver->signal_disconnect(this);
            }
        }
        if (m_emitting > 0) {
            for (entry& e : m_connections) {
                e.dead = true;
            }
        } else {
            m_connections.clear();
        }
    }

    void slot_disconnect(has_slots<mt_policy>* receiver) override {
        lock_block<mt_policy> lock(this);
        for (auto it = m_connections.begin(); it != m_connections.end();) {
            if (it->dead || it->connection->getdest() != receiver) {
                ++it;
            } else if (m_emitting > 0) {
                // The emit in progress may be walking over this entry: leave it in place.
                it->dead = true;
                ++it;
            } else {
                it = m_connections.erase(it);
            }
        }
    }

    void slot_duplicate(const has_slots<mt_policy>* oldReceiver, has_slots<mt_policy>* newReceiver) override {
        lock_block<mt_policy> lock(this);
        // Only the entries present now: the appended copies must not be copied again.
        auto end = m_connections.end();
        auto last = m_connections.empty() ? end : std::prev(end);
        for (auto it = m_connections.begin(); it != end; ++it) {
            if (!it->dead && it->connection->getdest() == oldReceiver) {
                m_connections.push_back(entry{it->connection->duplicate(newReceiver), false});
            }
            if (it == last) {
                break;
            }
        }
    }

    // The number of live connections.
    std::size_t connection_count() {
        lock_block<mt_policy> lock(this);
        std::size_t count = 0;
        for (const entry& e : m_connections) {
            count += e.dead ? 0 : 1;
        }
        return count;
    }

protected:
    struct entry {
        std::unique_ptr<_connection_base1<arg1_type, mt_policy>> connection;
        bool dead;
    };

    std::list<entry> m_connections;
    // How many emits of this signal are running (more than one when a slot emits again).
    int m_emitting = 0;

    // Removes the entries that were disconnected while an emit was running.
    void purge_dead() {
        for (auto it = m_connections.begin(); it != m_connections.end();) {
            it = it->dead ? m_connections.erase(it) : std::next(it);
        }
    }
};

template <class arg1_type, class mt_policy = multi_threaded_local>
class signal1 : public _signal_base1<arg1_type, mt_policy> {
    using base = _signal_base1<arg1_type, mt_policy>;

public:
    signal1() = default;
    signal1(const signal1&) = default;
    signal1& operator=(const signal1&) = delete;

    // Calls receiver->method(argument) on every later emit, after the earlier connections.
    template <class dest_type>
    void connect(dest_type* receiver, void (dest_type::*method)(arg1_type)) {
        lock_block<mt_policy> lock(this);
        this->m_connections.push_back(typename base::entry{
            std::make_unique<_connection1<dest_type, arg1_type, mt_policy>>(receiver, method), false});
        receiver->signal_connect(this);
    }

    // Calls every connected receiver in connection order. Receivers connected by a slot during
    // this emit are first called by the next one; receivers disconnected during it are skipped.
    void emit(arg1_type a1) {
        lock_block<mt_policy> lock(this);
        ++this->m_emitting;
        std::size_t count = this->m_connections.size();
        auto it = this->m_connections.begin();
        for (std::size_t i = 0; i < count; ++i, ++it) {
            if (!it->dead) {
                it->connection->emit(a1);
            }
        }
        if (--this->m_emitting == 0) {
            this->purge_dead();
        }
    }

    void operator()(arg1_type a1) { emit(a1); }
};

}  // namespace sigslot
