#pragma once

#include "swfplayer/base/base_string.h"

#include <cassert>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <new>
#include <type_traits>
#include <utility>

namespace swfplayer {

// Hash of a fixed-size key (integers, enums, pointers): its bytes as a 64-bit number times 2^64
// divided by the golden ratio, the two halves of the product folded together. The one
// multiplication carries every bit of the key (all 8 bytes of a pointer) into the upper half, and
// the fold brings them down to the low bits that pick the home slot, so runs of ids and aligned
// addresses spread over the table. It costs far less than a loop over the bytes, which matters
// since integer keys are looked up as often as names.
template <class K>
struct fixed_size_hash {
    static_assert(std::is_integral_v<K> || std::is_enum_v<K> || std::is_pointer_v<K>,
                  "fixed_size_hash needs a key whose equal values have equal bytes");
    static_assert(sizeof(K) <= sizeof(uint64_t), "fixed_size_hash takes keys of up to 8 bytes");
    uint32_t operator()(const K& key) const {
        uint64_t bits = 0;
        std::memcpy(&bits, &key, sizeof(K));
        const uint64_t product = bits * 0x9E3779B97F4A7C15ull;
        return static_cast<uint32_t>(product >> 32) ^ static_cast<uint32_t>(product);
    }
};

// The hash a key type gets when none is named: strings hash their text (base_stringi without
// regard to case), everything else its bytes.
template <class K>
struct default_hash_functor : fixed_size_hash<K> {};
template <>
struct default_hash_functor<base_string> : string_hash_functor {};
template <>
struct default_hash_functor<base_stringi> : stringi_hash_functor {};

// The player's hash table: open addressing with chains linked inside one block of slots, so
// entries need no allocation of their own and each caches its key's hash. Every chain starts at
// its home slot (hash AND size mask). The table has 16 slots at first and doubles whenever
// entries * 3 > slots * 2 before an insertion. Iteration visits the slots in order, which is not
// the insertion order; the table must not change while it is iterated.
template <class K, class V, class H = default_hash_functor<K>>
class hash {
public:
    // One key and its value. The key must not be changed through an iterator.
    struct entry {
        K first;
        V second;
    };

private:
    static constexpr int empty_slot = -2;
    static constexpr int end_of_chain = -1;
    static constexpr int initial_size = 16;

    struct slot {
        int next_in_chain;  // empty_slot, end_of_chain or the next slot of the chain
        uint32_t hash_value;
        union {
            entry kv;  // constructed only while the slot is in use
        };
        slot() : next_in_chain(empty_slot), hash_value(0) {}
        ~slot() {}
        bool is_empty() const { return next_in_chain == empty_slot; }
    };

    // The block: this header, then size_mask + 1 slots.
    struct table {
        int entry_count;
        int size_mask;
        static constexpr size_t slots_offset = (sizeof(int) * 2 + alignof(slot) - 1) / alignof(slot) * alignof(slot);
        slot* slots() { return reinterpret_cast<slot*>(reinterpret_cast<char*>(this) + slots_offset); }
        const slot* slots() const {
            return reinterpret_cast<const slot*>(reinterpret_cast<const char*>(this) + slots_offset);
        }
    };
    static_assert(alignof(slot) <= __STDCPP_DEFAULT_NEW_ALIGNMENT__);

public:
    template <class entry_type, class table_type>
    class iterator_base {
    public:
        iterator_base(table_type* table, int index) : m_table(table), m_index(index) { skip_empty(); }
        entry_type& operator*() const { return m_table->slots()[m_index].kv; }
        entry_type* operator->() const { return &m_table->slots()[m_index].kv; }
        iterator_base& operator++() {
            m_index++;
            skip_empty();
            return *this;
        }
        bool operator==(const iterator_base& other) const {
            return m_table == other.m_table && m_index == other.m_index;
        }
        // The slot index, as find_index gives it.
        int get_index() const { return m_index; }

    private:
        friend class hash;
        void skip_empty() {
            if (m_table == nullptr) {
                return;
            }
            while (m_index <= m_table->size_mask && m_table->slots()[m_index].is_empty()) {
                m_index++;
            }
            if (m_index > m_table->size_mask) {
                m_table = nullptr;
                m_index = 0;
            }
        }
        table_type* m_table;
        int m_index;
    };

    hash() = default;
    hash(const hash& other) { *this = other; }
    hash(hash&& other) noexcept : m_table(other.m_table) { other.m_table = nullptr; }
    ~hash() { clear(); }

    hash& operator=(const hash& other);
    hash& operator=(hash&& other) noexcept {
        if (this != &other) {
            clear();
            m_table = other.m_table;
            other.m_table = nullptr;
        }
        return *this;
    }

    int size() const { return m_table ? m_table->entry_count : 0; }
    bool is_empty() const { return size() == 0; }
    // Number of slots of the table, 0 while it has none.
    int table_size() const { return m_table ? m_table->size_mask + 1 : 0; }

    // Adds an entry whose key must be absent (a programming error otherwise). Keys that come
    // from data use try_add or set.
    void add(const K& key, const V& value) {
        assert(find_index(key) == -1);
        insert_new(key, value, hash_of(key));
    }
    // Adds the entry when the key is absent; otherwise leaves the table as it was and answers
    // false.
    bool try_add(const K& key, const V& value) {
        uint32_t h = hash_of(key);
        if (find_index(key, h) != -1) {
            return false;
        }
        insert_new(key, value, h);
        return true;
    }
    // Replaces the value of the key, or adds the entry when the key is absent.
    void set(const K& key, const V& value) {
        uint32_t h = hash_of(key);
        int index = find_index(key, h);
        if (index != -1) {
            m_table->slots()[index].kv.second = value;
        } else {
            insert_new(key, value, h);
        }
    }
    // Adds the entry when the key is absent and answers null; otherwise answers the key's value,
    // untouched. The key is hashed once either way. The pointer is valid until the table next
    // changes.
    V* find_or_add(const K& key, const V& value) {
        uint32_t h = hash_of(key);
        int index = find_index(key, h);
        if (index == -1) {
            insert_new(key, value, h);
            return nullptr;
        }
        return &m_table->slots()[index].kv.second;
    }
    // Copies the key's value to *value (when not null) and answers whether the key is present.
    bool get(const K& key, V* value) const {
        int index = find_index(key);
        if (index == -1) {
            return false;
        }
        if (value) {
            *value = m_table->slots()[index].kv.second;
        }
        return true;
    }
    // Removes the key's entry; false when it is absent.
    bool remove(const K& key);

    // The slot holding the key, or -1.
    int find_index(const K& key) const { return find_index(key, hash_of(key)); }

    // Frees every entry and the table.
    void clear();
    // Resizes the table to the smallest power of two not below n (at least 16, and never too
    // small for the entries); n < 1 empties the hash.
    void set_capacity(int n);

    using iterator = iterator_base<entry, table>;
    using const_iterator = iterator_base<const entry, const table>;
    iterator begin() { return iterator(m_table, 0); }
    iterator end() { return iterator(nullptr, 0); }
    const_iterator begin() const { return const_iterator(m_table, 0); }
    const_iterator end() const { return const_iterator(nullptr, 0); }
    iterator find(const K& key) {
        int index = find_index(key);
        return index == -1 ? end() : iterator(m_table, index);
    }
    const_iterator find(const K& key) const {
        int index = find_index(key);
        return index == -1 ? end() : const_iterator(m_table, index);
    }

private:
    static uint32_t hash_of(const K& key) {
        uint32_t h = H()(key);
        // No cached hash may read as -1.
        return h == 0xFFFFFFFF ? 0xFFFF7FFF : h;
    }
    int find_index(const K& key, uint32_t h) const;
    static table* make_table(int size);
    static void free_table(table* t);
    void insert_new(const K& key, const V& value, uint32_t h) {
        entry kv{key, value};  // copied first: key or value may live in the table that grows
        grow_if_needed();
        place(std::move(kv), h);
    }
    void grow_if_needed();
    // Puts an entry whose key is absent into a table that has a free slot.
    void place(entry&& kv, uint32_t h);
    // Moves the entry of slot from into the empty slot to.
    static void move_slot(slot* slots, int from, int to);

    table* m_table = nullptr;
};

template <class K, class V, class H>
hash<K, V, H>& hash<K, V, H>::operator=(const hash& other) {
    if (this == &other) {
        return *this;
    }
    clear();
    if (other.m_table) {
        m_table = make_table(other.m_table->size_mask + 1);
        const slot* from = other.m_table->slots();
        slot* to = m_table->slots();
        for (int i = 0; i <= other.m_table->size_mask; i++) {
            if (!from[i].is_empty()) {
                new (&to[i].kv) entry(from[i].kv);
                to[i].next_in_chain = from[i].next_in_chain;
                to[i].hash_value = from[i].hash_value;
            }
        }
        m_table->entry_count = other.m_table->entry_count;
    }
    return *this;
}

template <class K, class V, class H>
int hash<K, V, H>::find_index(const K& key, uint32_t h) const {
    if (m_table == nullptr) {
        return -1;
    }
    const slot* slots = m_table->slots();
    int index = static_cast<int>(h & static_cast<uint32_t>(m_table->size_mask));
    const slot* s = &slots[index];
    // An empty home slot, or one that holds another chain's entry, means the key is absent.
    if (s->is_empty() || (s->hash_value & static_cast<uint32_t>(m_table->size_mask)) != static_cast<uint32_t>(index)) {
        return -1;
    }
    for (;;) {
        if (s->hash_value == h && s->kv.first == key) {
            return index;
        }
        index = s->next_in_chain;
        if (index == end_of_chain) {
            return -1;
        }
        s = &slots[index];
    }
}

template <class K, class V, class H>
typename hash<K, V, H>::table* hash<K, V, H>::make_table(int size) {
    void* block = ::operator new(table::slots_offset + sizeof(slot) * static_cast<size_t>(size));
    table* t = static_cast<table*>(block);
    t->entry_count = 0;
    t->size_mask = size - 1;
    slot* slots = t->slots();
    for (int i = 0; i < size; i++) {
        new (&slots[i]) slot();
    }
    return t;
}

template <class K, class V, class H>
void hash<K, V, H>::free_table(table* t) {
    slot* slots = t->slots();
    for (int i = 0; i <= t->size_mask; i++) {
        if (!slots[i].is_empty()) {
            slots[i].kv.~entry();
        }
        slots[i].~slot();
    }
    ::operator delete(t);
}

template <class K, class V, class H>
void hash<K, V, H>::clear() {
    if (m_table) {
        free_table(m_table);
        m_table = nullptr;
    }
}

template <class K, class V, class H>
void hash<K, V, H>::grow_if_needed() {
    if (m_table == nullptr) {
        set_capacity(initial_size);
    } else if (m_table->entry_count * 3 > (m_table->size_mask + 1) * 2) {
        set_capacity((m_table->size_mask + 1) * 2);
    }
}

template <class K, class V, class H>
void hash<K, V, H>::set_capacity(int n) {
    if (n < 1) {
        clear();
        return;
    }
    // Never smaller than the entries need, or re-adding them could not find free slots.
    if (m_table && n < m_table->entry_count) {
        n = m_table->entry_count;
    }
    int size = initial_size;
    while (size < n) {
        size *= 2;
    }
    if (m_table && m_table->size_mask + 1 == size) {
        return;
    }
    table* old = m_table;
    m_table = make_table(size);
    if (old) {
        slot* slots = old->slots();
        for (int i = 0; i <= old->size_mask; i++) {
            if (!slots[i].is_empty()) {
                place(std::move(slots[i].kv), slots[i].hash_value);
            }
        }
        free_table(old);
    }
}

template <class K, class V, class H>
void hash<K, V, H>::move_slot(slot* slots, int from, int to) {
    new (&slots[to].kv) entry(std::move(slots[from].kv));
    slots[to].next_in_chain = slots[from].next_in_chain;
    slots[to].hash_value = slots[from].hash_value;
    slots[from].kv.~entry();
    slots[from].next_in_chain = empty_slot;
}

template <class K, class V, class H>
void hash<K, V, H>::place(entry&& kv, uint32_t h) {
    slot* slots = m_table->slots();
    uint32_t mask = static_cast<uint32_t>(m_table->size_mask);
    int index = static_cast<int>(h & mask);
    m_table->entry_count++;
    if (slots[index].is_empty()) {
        new (&slots[index].kv) entry(std::move(kv));
        slots[index].next_in_chain = end_of_chain;
        slots[index].hash_value = h;
        return;
    }
    int blank = index;
    do {
        blank = static_cast<int>((blank + 1) & mask);
    } while (!slots[blank].is_empty());

    int home_of_occupant = static_cast<int>(slots[index].hash_value & mask);
    if (home_of_occupant == index) {
        // Same chain: the old head moves out and the new entry becomes the head, linked to it.
        move_slot(slots, index, blank);
        new (&slots[index].kv) entry(std::move(kv));
        slots[index].next_in_chain = blank;
    } else {
        // Another chain's entry sits in our home slot: move it out and relink its predecessor.
        int prev = home_of_occupant;
        while (slots[prev].next_in_chain != index) {
            prev = slots[prev].next_in_chain;
        }
        move_slot(slots, index, blank);
        slots[prev].next_in_chain = blank;
        new (&slots[index].kv) entry(std::move(kv));
        slots[index].next_in_chain = end_of_chain;
    }
    slots[index].hash_value = h;
}

template <class K, class V, class H>
bool hash<K, V, H>::remove(const K& key) {
    uint32_t h = hash_of(key);
    int index = find_index(key, h);
    if (index == -1) {
        return false;
    }
    slot* slots = m_table->slots();
    int home = static_cast<int>(h & static_cast<uint32_t>(m_table->size_mask));
    int next = slots[index].next_in_chain;
    if (index == home) {
        // The head must stay in the home slot: the second entry of the chain moves up.
        slots[index].kv.~entry();
        slots[index].next_in_chain = empty_slot;
        if (next != end_of_chain) {
            move_slot(slots, next, index);
        }
    } else {
        int prev = home;
        while (slots[prev].next_in_chain != index) {
            prev = slots[prev].next_in_chain;
        }
        slots[prev].next_in_chain = next;
        slots[index].kv.~entry();
        slots[index].next_in_chain = empty_slot;
    }
    m_table->entry_count--;
    return true;
}

}  // namespace swfplayer
