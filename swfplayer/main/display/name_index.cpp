#include "swfplayer/main/display/name_index.h"

#include "swfplayer/main/display/character.h"

#include <algorithm>

namespace swfplayer {

namespace {

template <class entry>
bool before(const entry& e, int64_t order) {
    return e.m_order < order;
}

}  // namespace

void name_index::add(character* ch, int64_t order) {
    const base_stringi name(ch->get_name());
    auto found = m_by_name.find(name);
    if (found == m_by_name.end()) {
        m_by_name.set(name, entries{entry{order, ch}});
        return;
    }
    entries& list = found->second;
    list.insert(std::lower_bound(list.begin(), list.end(), order, before<entry>), entry{order, ch});
}

void name_index::remove(character* ch, const base_string& name, int64_t order) {
    auto found = m_by_name.find(base_stringi(name));
    if (found == m_by_name.end()) {
        return;
    }
    entries& list = found->second;
    for (auto it = std::lower_bound(list.begin(), list.end(), order, before<entry>);
         it != list.end() && it->m_order == order; ++it) {
        if (it->m_character == ch) {
            list.erase(it);
            break;
        }
    }
    if (list.empty()) {
        m_by_name.remove(base_stringi(name));
    }
}

bool name_index::rename(character* ch, const base_string& old_name) {
    auto found = m_by_name.find(base_stringi(old_name));
    if (found == m_by_name.end()) {
        return false;
    }
    entries& list = found->second;
    auto it = std::find_if(list.begin(), list.end(), [ch](const entry& e) { return e.m_character == ch; });
    if (it == list.end()) {
        return false;
    }
    const int64_t order = it->m_order;
    remove(ch, old_name, order);
    add(ch, order);
    return true;
}

character* name_index::find_i(const base_stringi& name) const {
    auto found = m_by_name.find(name);
    return found == m_by_name.end() ? nullptr : found->second.front().m_character;
}

character* name_index::find(const base_string& name) const {
    auto found = m_by_name.find(base_stringi(name));
    if (found == m_by_name.end()) {
        return nullptr;
    }
    for (const entry& e : found->second) {
        if (e.m_character->get_name() == name) {
            return e.m_character;
        }
    }
    return nullptr;
}

}  // namespace swfplayer
