#include "swfplayer/main/script/name_table.h"

#include <vector>

namespace swfplayer {

name_table::~name_table() {
    for (auto& name : m_names) {
        name.second->m_table = nullptr;
    }
}

interned_name name_table::intern(const base_string& text) {
    smart_ptr<name_entry> found;
    if (m_names.get(text, &found)) {
        return interned_name(found.get_ptr());
    }
    if (!has_room_for(text.size())) {
        drop_unused();
    }
    if (!has_room_for(text.size())) {
        return interned_name(new name_entry(text, nullptr));
    }
    name_entry* entry = new name_entry(text, this);
    m_names.add(text, entry);
    m_bytes += text.size();
    return interned_name(entry);
}

interned_name name_table::find(const base_string& text) const {
    smart_ptr<name_entry> found;
    m_names.get(text, &found);
    return interned_name(found.get_ptr());
}

void name_table::drop_unused() {
    std::vector<base_string> unused;
    for (const auto& name : m_names) {
        if (name.second->get_ref_count() == 1) {
            unused.push_back(name.first);
        }
    }
    for (const base_string& text : unused) {
        m_bytes -= text.size();
        m_names.remove(text);
    }
}

}  // namespace swfplayer
