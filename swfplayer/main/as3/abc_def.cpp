#include "swfplayer/main/as3/abc_def.h"

#include "swfplayer/base/log.h"
#include "swfplayer/main/as3/abc_input.h"
#include "swfplayer/main/as3/as_3_function.h"
#include "swfplayer/main/display/movie_definition.h"
#include "swfplayer/main/script/player.h"

#include <cassert>

namespace swfplayer {

namespace {

// The least bytes one record of each table takes: a count above bytes left / this is refused
// before anything is allocated.
constexpr int min_method_bytes = 4;     // param_count, return_type, name, flags
constexpr int min_class_bytes = 8;      // the instance record (6) and the class record (2)
constexpr int min_script_bytes = 2;     // init, trait count
constexpr int min_body_bytes = 8;       // method, four limits, code length, exception and trait counts
constexpr int min_multiname_bytes = 2;  // kind and at least one index
constexpr int min_namespace_bytes = 2;  // kind and name

// The memory one record of each table takes once read. A method also has the proxy of the weak
// reference to itself; a body fills its method and takes no more than its tables.
constexpr size_t method_bytes =
    abc_input::held_record_bytes<as_3_function> + sizeof(weak_proxy) + abc_input::allocation_overhead;
constexpr size_t class_bytes = abc_input::held_record_bytes<instance_info> + abc_input::held_record_bytes<class_info>;
constexpr size_t script_bytes = abc_input::held_record_bytes<script_info>;

// The pool entry at index, or the default for index 0 of an empty pool; null out of range.
template <class entry>
const entry* pool_entry(const std::vector<entry>& pool, uint32_t index) {
    static const entry default_entry{};
    if (index < pool.size()) {
        return &pool[index];
    }
    return index == 0 ? &default_entry : nullptr;
}

// A pool of count entries: the default at 0 and count - 1 entries read by read_entry (none for
// count 0, when verbose parsing logs empty_line). The count must fit the bytes left.
template <class entry, class reader>
void read_pool(abc_input* in, std::vector<entry>* pool, int min_bytes, const char* what, const char* empty_line,
               reader read_entry) {
    uint32_t count = in->read_vu32();
    if (count == 0 && get_verbose_parse()) {
        log_msg("%s", empty_line);
    }
    if (count == 0 || !in->ok()) {
        return;
    }
    if (static_cast<uint64_t>(count - 1) * static_cast<uint64_t>(min_bytes) > static_cast<uint64_t>(in->bytes_left())) {
        in->fail("%s count %u exceeds the %d bytes left", what, count, in->bytes_left());
        return;
    }
    if (!in->check_memory(count, sizeof(entry), what)) {
        return;
    }
    pool->resize(count);
    for (uint32_t i = 1; i < count && in->ok(); i++) {
        read_entry(static_cast<int>(i), &(*pool)[i]);
    }
}

// count records, each announced by header_format (with its index) under verbose parsing.
template <class record>
void read_records(abc_input* in, const abc_def& def, uint32_t count, const char* header_format,
                  std::vector<smart_ptr<record>>* out) {
    bool verbose = get_verbose_parse();
    out->reserve(count);
    for (uint32_t i = 0; i < count && in->ok(); i++) {
        if (verbose) {
            log_msg(header_format, static_cast<int>(i));
        }
        smart_ptr<record> entry = new record();
        entry->read(in, def, static_cast<int>(i));
        out->push_back(entry);
    }
}

const base_string& empty_string() {
    static const base_string empty;
    return empty;
}

}  // namespace

abc_def::abc_def(player* owner) : m_player(owner) {
    assert(owner);
}

abc_def::~abc_def() {
    // The methods live outside the player's heap, so its collection never breaks a cycle a
    // script made through one (a method stored in its own members, or in an object it refers
    // to). Their owner goes now: they let go of everything, which breaks every such cycle.
    for (const smart_ptr<as_3_function>& method : m_method) {
        if (method) {
            method->drop_references();
        }
    }
}

bool abc_def::read(stream* in, movie_definition_sub* m) {
    if (m && m->get_player()) {
        m_player = m->get_player();
    }
    abc_input input(in);
    return read(&input);
}

bool abc_def::read(abc_input* in) {
    uint16_t minor_version = in->read_u16();
    uint16_t major_version = in->read_u16();
    if (in->ok() && (minor_version != 16 || major_version != 46)) {
        in->fail("version %d.%d is not 46.16", major_version, minor_version);
    }
    if (in->ok() && read_cpool(in) && read_methods(in) && read_metadata(in) && read_classes(in) && read_scripts(in) &&
        read_bodies(in) && in->bytes_left() > 0) {
        in->fail("%d bytes left after the method bodies", in->bytes_left());
    }
    if (!in->ok()) {
        log_error("abc_def::read: %s\n", in->get_failure().c_str());
        return false;
    }
    return true;
}

bool abc_def::read_cpool(abc_input* in) {
    read_integers(in);
    read_uintegers(in);
    read_doubles(in);
    read_strings(in);
    read_namespaces(in);
    read_ns_sets(in);
    read_multinames(in);
    return in->ok();
}

void abc_def::read_integers(abc_input* in) {
    bool verbose = get_verbose_parse();
    read_pool(in, &m_integer, 1, "integer", "cpool_info: no integer pool\n", [&](int i, int32_t* value) {
        *value = static_cast<int32_t>(in->read_vu32());
        if (verbose) {
            log_msg("cpool_info: integer[%d]=%d\n", i, *value);
        }
    });
}

void abc_def::read_uintegers(abc_input* in) {
    bool verbose = get_verbose_parse();
    read_pool(in, &m_uinteger, 1, "uinteger", "cpool_info: no uinteger pool\n", [&](int i, uint32_t* value) {
        *value = in->read_vu32();
        if (verbose) {
            log_msg("cpool_info: uinteger[%d]=%d\n", i, static_cast<int>(*value));
        }
    });
}

void abc_def::read_doubles(abc_input* in) {
    bool verbose = get_verbose_parse();
    read_pool(in, &m_double, 8, "double", "cpool_info: no double pool\n", [&](int i, double* value) {
        *value = in->read_double();
        if (verbose) {
            log_msg("cpool_info: double[%d]=%f\n", i, *value);
        }
    });
}

void abc_def::read_strings(abc_input* in) {
    bool verbose = get_verbose_parse();
    read_pool(in, &m_string, 1, "string", "cpool_info: no string pool\n", [&](int i, base_string* text) {
        in->read_string(in->read_vu32(), text);
        if (verbose) {
            log_msg("cpool_info: string[%d]='%s'\n", i, text->c_str());
        }
    });
}

void abc_def::read_namespaces(abc_input* in) {
    bool verbose = get_verbose_parse();
    read_pool(
        in, &m_namespace, min_namespace_bytes, "namespace", "cpool_info: no namespace pool\n",
        [&](int i, namespace_info* ns) {
            ns->m_kind = in->read_u8();
            ns->m_name = static_cast<int>(in->read_vu32());
            switch (ns->m_kind) {
            case CONSTANT_PRIVATE_NS:
            case CONSTANT_NAMESPACE:
            case CONSTANT_PACKAGE_NAMESPACE:
            case CONSTANT_PACKAGE_INTERNAL_NS:
            case CONSTANT_PROTECTED_NAMESPACE:
            case CONSTANT_EXPLICIT_NAMESPACE:
            case CONSTANT_STATIC_PROTECTED_NS: break;
            default: in->fail("namespace %d: kind 0x%02X is invalid", i, ns->m_kind); return;
            }
            if (in->check_index(static_cast<uint32_t>(ns->m_name), m_string.size(), "namespace name", i) && verbose) {
                log_msg("cpool_info: namespace[%d]='%s', kind=0x%02X\n", i, find_string(ns->m_name)->c_str(),
                        ns->m_kind);
            }
        });
}

void abc_def::read_ns_sets(abc_input* in) {
    read_pool(in, &m_ns_set, 1, "namespace set", "cpool_info: no namespace sets\n", [&](int i, std::vector<int>* set) {
        uint32_t count = in->read_vu32();
        if (!in->check_count(count, 1, sizeof(int), "namespace set member")) {
            return;
        }
        set->resize(count);
        for (uint32_t k = 0; k < count && in->ok(); k++) {
            (*set)[k] = static_cast<int>(in->read_vu32());
            in->check_index(static_cast<uint32_t>((*set)[k]), m_namespace.size(), "namespace set member of set", i);
        }
    });
}

void abc_def::read_multinames(abc_input* in) {
    read_pool(in, &m_multiname, min_multiname_bytes, "multiname", "cpool_info: no multiname pool\n",
              [&](int i, multiname* name) { read_multiname(in, name, i); });
}

void abc_def::read_multiname(abc_input* in, multiname* name, int index) {
    name->m_kind = in->read_u8();
    switch (name->m_kind) {
    case CONSTANT_QNAME:
    case CONSTANT_QNAME_A:
        name->m_ns = static_cast<int>(in->read_vu32());
        name->m_name = static_cast<int>(in->read_vu32());
        if (in->check_index(name->m_ns, m_namespace.size(), "namespace of multiname", index) &&
            in->check_index(name->m_name, m_string.size(), "name of multiname", index) && get_verbose_parse()) {
            log_msg("cpool_info: multiname[%d]='%s', ns='%s'\n", index, find_string(name->m_name)->c_str(),
                    get_namespace_name(name->m_ns).c_str());
        }
        return;
    case CONSTANT_MULTINAME:
    case CONSTANT_MULTINAME_A:
        name->m_name = static_cast<int>(in->read_vu32());
        name->m_ns_set = static_cast<int>(in->read_vu32());
        if (in->check_index(name->m_name, m_string.size(), "name of multiname", index) &&
            in->check_index(name->m_ns_set, m_ns_set.size(), "namespace set of multiname", index) &&
            get_verbose_parse()) {
            log_msg("cpool_info: multiname[%d]='%s', ns_set='%s'\n", index, find_string(name->m_name)->c_str(), "todo");
        }
        return;
    case CONSTANT_MULTINAME_L:
    case CONSTANT_MULTINAME_LA:
        name->m_ns_set = static_cast<int>(in->read_vu32());
        if (in->check_index(name->m_ns_set, m_ns_set.size(), "namespace set of multiname", index) &&
            get_verbose_parse()) {
            log_msg("cpool_info: multiname[%d]=MultinameL, ns_set='%s'\n", index, "todo");
        }
        return;
    case 0x0F:
    case 0x10:
    case 0x11:
    case 0x12: in->fail("multiname %d: run-time qualified kind 0x%02X is not supported", index, name->m_kind); return;
    default: in->fail("multiname %d: kind 0x%02X is invalid", index, name->m_kind); return;
    }
}

bool abc_def::section_ahead(abc_input* in, const char* section) {
    if (in->ok() && in->bytes_left() <= 0) {
        return in->fail("the %s section starts at the end of the tag", section);
    }
    return in->ok();
}

bool abc_def::read_count(abc_input* in, const char* section, const char* count_format, int min_bytes,
                         size_t entry_bytes, uint32_t* count) {
    if (!section_ahead(in, section)) {
        return false;
    }
    *count = in->read_vu32();
    if (count_format && get_verbose_parse()) {
        log_msg(count_format, static_cast<int>(*count));
    }
    return in->check_count(*count, min_bytes, entry_bytes, section);
}

bool abc_def::read_methods(abc_input* in) {
    uint32_t count = 0;
    if (!read_count(in, "method", "method_info count: %d\n", min_method_bytes, method_bytes, &count)) {
        return false;
    }
    m_method.reserve(count);
    for (uint32_t i = 0; i < count && in->ok(); i++) {
        m_method.push_back(new as_3_function(this, static_cast<int>(i), get_player()));
        m_method.back()->read(in);
    }
    return in->ok();
}

bool abc_def::read_metadata(abc_input* in) {
    uint32_t count = 0;
    if (read_count(in, "metadata", "metadata_info count: %d\n", 0, 0, &count) && count != 0) {
        return in->fail("%u metadata records: metadata is not supported", count);
    }
    return in->ok();
}

bool abc_def::read_classes(abc_input* in) {
    uint32_t count = 0;
    if (!read_count(in, "instance", "instance_info count: %d\n", min_class_bytes, class_bytes, &count)) {
        return false;
    }
    read_records(in, *this, count, "instance_info[%d]:\n", &m_instance);
    // The class records share the instance count, and are counted from here on: a class trait
    // of an instance record names no class, one of a class record any class of the block.
    if (!section_ahead(in, "class")) {
        return false;
    }
    if (get_verbose_parse()) {
        log_msg("class_info count: %d\n", static_cast<int>(count));
    }
    read_records(in, *this, count, "class_info[%d]\n", &m_class);
    return in->ok();
}

bool abc_def::read_scripts(abc_input* in) {
    uint32_t count = 0;
    if (!read_count(in, "script", "script_info count: %d\n", min_script_bytes, script_bytes, &count)) {
        return false;
    }
    read_records(in, *this, count, "script_info[%d]\n", &m_script);
    return in->ok();
}

bool abc_def::read_bodies(abc_input* in) {
    uint32_t count = 0;
    if (!read_count(in, "method body", nullptr, min_body_bytes, 0, &count)) {
        return false;
    }
    for (uint32_t i = 0; i < count && in->ok(); i++) {
        uint32_t method = in->read_vu32();
        if (method >= m_method.size()) {
            return in->fail("method body %u: method %u does not exist", i, method);
        }
        if (m_method[method]->has_body()) {
            return in->fail("method body %u: method %u has a body already", i, method);
        }
        m_method[method]->read_body(in);
    }
    return in->ok();
}

int abc_def::get_instance_trait_count(int record) const {
    if (record < 0 || record >= static_cast<int>(m_instance.size())) {
        return -1;
    }
    return static_cast<int>(m_instance[record]->m_traits.size());
}

abc_block::trait abc_def::get_instance_trait(int record, int index) const {
    assert(index >= 0 && index < get_instance_trait_count(record));
    const traits_info& info = *m_instance[record]->m_traits[index];
    trait result;
    result.m_name = get_multiname_name(info.m_name);
    result.m_kind = info.m_kind;
    if (info.m_kind == traits_info::METHOD || info.m_kind == traits_info::GETTER ||
        info.m_kind == traits_info::SETTER) {
        result.m_function = hand_out(info.m_index);
    }
    return result;
}

as_object* abc_def::get_class_constructor(const base_string& /*class_name*/) const {
    if (m_instance.empty()) {
        return nullptr;
    }
    return hand_out(m_instance[0]->m_iinit);
}

as_3_function* abc_def::hand_out(uint32_t index) const {
    as_3_function* method = find_method(index);
    if (method) {
        method->add_prototype();
    }
    return method;
}

const int32_t* abc_def::find_integer(uint32_t index) const {
    return pool_entry(m_integer, index);
}

const uint32_t* abc_def::find_uinteger(uint32_t index) const {
    return pool_entry(m_uinteger, index);
}

const double* abc_def::find_double(uint32_t index) const {
    return pool_entry(m_double, index);
}

const base_string* abc_def::find_string(uint32_t index) const {
    return pool_entry(m_string, index);
}

const namespace_info* abc_def::find_namespace(uint32_t index) const {
    return pool_entry(m_namespace, index);
}

const multiname* abc_def::find_multiname(uint32_t index) const {
    return pool_entry(m_multiname, index);
}

as_3_function* abc_def::find_method(uint32_t index) const {
    return index < m_method.size() ? m_method[index].get_ptr() : nullptr;
}

const base_string& abc_def::get_multiname_name(uint32_t index) const {
    const multiname* name = find_multiname(index);
    const base_string* text = name ? find_string(name->m_name) : nullptr;
    return text ? *text : empty_string();
}

const base_string& abc_def::get_namespace_name(uint32_t index) const {
    const namespace_info* ns = find_namespace(index);
    const base_string* text = ns ? find_string(ns->m_name) : nullptr;
    return text ? *text : empty_string();
}

const base_string& abc_def::get_method_name(uint32_t index) const {
    const as_3_function* method = find_method(index);
    const base_string* text = method ? find_string(method->m_name) : nullptr;
    return text ? *text : empty_string();
}

bool abc_def::check_value(abc_input* in, uint32_t index, uint8_t kind, const char* what, int record) const {
    switch (kind) {
    case CONSTANT_INT: return in->check_index(index, m_integer.size(), what, record);
    case CONSTANT_UINT: return in->check_index(index, m_uinteger.size(), what, record);
    case CONSTANT_DOUBLE: return in->check_index(index, m_double.size(), what, record);
    case CONSTANT_UTF8: return in->check_index(index, m_string.size(), what, record);
    case CONSTANT_PRIVATE_NS:
    case CONSTANT_NAMESPACE:
    case CONSTANT_PACKAGE_NAMESPACE:
    case CONSTANT_PACKAGE_INTERNAL_NS:
    case CONSTANT_PROTECTED_NAMESPACE:
    case CONSTANT_EXPLICIT_NAMESPACE:
    case CONSTANT_STATIC_PROTECTED_NS: return in->check_index(index, m_namespace.size(), what, record);
    case CONSTANT_UNDEFINED:
    case CONSTANT_FALSE:
    case CONSTANT_TRUE:
    case CONSTANT_NULL: return in->ok();
    default: return in->fail("%s %d: value kind 0x%02X is invalid", what, record, kind);
    }
}

}  // namespace swfplayer
