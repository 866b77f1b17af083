// The named locals of the calls under way in an environment: one flat array of slots, each
// call's own opened by a barrier slot with an empty name.
#include "swfplayer/main/script/as_environment.h"
#include "swfplayer/main/script/builtin_registry.h"
#include "swfplayer/main/script/fn_call.h"

#include <cstring>

namespace swfplayer {

namespace {

// The bytes of name before its first NUL.
size_t text_length(const base_string& name) {
    const char* text = name.c_str();
    size_t size = static_cast<size_t>(name.size());
    size_t length = 0;
    while (length < size && text[length] != 0) {
        length++;
    }
    return length;
}

}  // namespace

void as_environment::push_barrier() {
    m_local_frames.push_back(local_slot());
}

void as_environment::truncate_local_frames(int count) {
    if (count < 0) {
        return;
    }
    while (!m_deferred_arguments.empty() && m_deferred_arguments.back().m_slot >= count) {
        m_deferred_arguments.pop_back();
    }
    const deferred_arguments* last = m_deferred_arguments.empty() ? nullptr : &m_deferred_arguments.back();
    m_deferred_values.resize(last ? last->m_first + last->m_count : 0);
    for (int i = get_local_frame_count() - 1; i >= count; i--) {
        const base_string& name = m_local_frames[i].m_name;
        if (name.size() > 0) {
            m_name_key_counts[name_key(name.c_str(), name.size())]--;
        }
        m_local_frames.pop_back();
    }
}

int as_environment::find_local(const base_string& name, bool ignore_barrier) const {
    // Names compare up to their first NUL, as the stored names (copied as text) hold none.
    const char* text = name.c_str();
    size_t length = text_length(name);
    if (length == 0 || m_name_key_counts[name_key(text, length)] == 0) {
        return -1;
    }
    for (int i = get_local_frame_count() - 1; i >= 0; i--) {
        const base_string& slot_name = m_local_frames[i].m_name;
        size_t slot_length = static_cast<size_t>(slot_name.size());
        if (slot_length == 0) {
            if (!ignore_barrier) {
                return -1;
            }
        } else if (slot_length == length) {
            // The first bytes inline: most names of one length differ there already.
            const char* slot_text = slot_name.c_str();
            if (slot_text[0] == text[0] && (length == 1 || std::memcmp(slot_text + 1, text + 1, length - 1) == 0)) {
                return i;
            }
        }
    }
    return -1;
}

as_value as_environment::get_local(int index) const {
    if (index < 0 || index >= get_local_frame_count()) {
        return as_value();
    }
    if (!m_deferred_arguments.empty()) {
        int record = find_deferred(index);
        if (record >= 0) {
            make_deferred(record);
        }
    }
    return m_local_frames[index].m_value;
}

void as_environment::set_local_at(int index, const as_value& value) {
    if (index < 0 || index >= get_local_frame_count()) {
        return;
    }
    if (!m_deferred_arguments.empty()) {
        // A store replaces the array before anybody saw it: it is never made.
        int record = find_deferred(index);
        if (record >= 0) {
            drop_deferred(record);
        }
    }
    m_local_frames[index].m_value = value;
}

void as_environment::append_local(const base_string& name, as_value&& value) {
    // A copy of a name keeps its text up to the first NUL; one that starts with a NUL is
    // stored empty, and so reads as a barrier.
    size_t length = text_length(name);
    local_slot slot(static_cast<as_value&&>(value));
    if (length > 0) {
        slot.m_name.assign(name.c_str(), static_cast<int>(length));
        m_name_key_counts[name_key(name.c_str(), length)]++;
    }
    m_local_frames.push_back(static_cast<local_slot&&>(slot));
}

void as_environment::add_local(const base_string& name, const as_value& value) {
    // An empty name would read as a call barrier.
    if (name.size() == 0) {
        return;
    }
    append_local(name, as_value(value));
}

void as_environment::add_local(const base_string& name, as_value&& value) {
    if (name.size() == 0) {
        return;
    }
    append_local(name, static_cast<as_value&&>(value));
}

void as_environment::add_arguments_local(const base_string& name, const fn_call& fn) {
    if (name.size() == 0) {
        return;
    }
    append_local(name, as_value());
    deferred_arguments record;
    record.m_slot = get_local_frame_count() - 1;
    record.m_first = static_cast<int>(m_deferred_values.size());
    record.m_count = fn.nargs > 0 ? fn.nargs : 0;
    for (int i = 0; i < record.m_count; i++) {
        m_deferred_values.push_back(fn.arg(i));
    }
    m_deferred_arguments.push_back(record);
}

void as_environment::make_deferred(int record) const {
    const deferred_arguments& made = m_deferred_arguments[record];
    // The values lie on a stack of their own as a call's arguments do, argument 0 on top.
    as_environment holder(get_player());
    for (int i = made.m_count - 1; i >= 0; i--) {
        holder.push(m_deferred_values[made.m_first + i]);
    }
    as_value unused;
    as_value no_this;
    fn_call fn(&unused, no_this, &holder, made.m_count, holder.get_top_index());
    smart_ptr<as_object> arguments = make_arguments_array(get_player(), fn);
    int slot = made.m_slot;
    drop_deferred(record);
    m_local_frames[slot].m_value = as_value(arguments.get_ptr());
}

void as_environment::drop_deferred(int record) const {
    const deferred_arguments& dropped = m_deferred_arguments[record];
    // Their holds go now, as they would with the array they stood for.
    for (int i = 0; i < dropped.m_count; i++) {
        m_deferred_values[dropped.m_first + i].set_undefined();
    }
    m_deferred_arguments.erase(m_deferred_arguments.begin() + record);
}

void as_environment::make_all_deferred() const {
    while (!m_deferred_arguments.empty()) {
        make_deferred(static_cast<int>(m_deferred_arguments.size()) - 1);
    }
}

void as_environment::declare_local(const base_string& name) {
    if (find_local(name, false) < 0) {
        add_local(name, as_value());
    }
}

void as_environment::set_local(const base_string& name, const as_value& value) {
    int index = find_local(name, false);
    if (index >= 0) {
        set_local_at(index, value);
    } else {
        add_local(name, value);
    }
}

}  // namespace swfplayer
