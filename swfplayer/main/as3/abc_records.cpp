#include "swfplayer/main/as3/abc_records.h"

#include "swfplayer/base/log.h"
#include "swfplayer/main/as3/abc_def.h"
#include "swfplayer/main/as3/abc_input.h"

namespace swfplayer {

namespace {

constexpr int min_trait_bytes = 4;  // name, kind byte and two numbers
constexpr int metadata_attribute = 0x4;
constexpr uint8_t protected_ns_flag = 0x08;

// A method index must name a method of the block; methods have no default entry.
bool check_method(abc_input* in, const abc_def& def, uint32_t method, const char* what, int record) {
    if (method >= def.m_method.size()) {
        return in->fail("%s %d: method %u does not exist", what, record, method);
    }
    return in->ok();
}

}  // namespace

bool traits_info::read(abc_input* in, const abc_def& def, int class_count) {
    uint32_t name = in->read_vu32();
    const multiname* qname = def.find_multiname(name);
    if (in->ok() && (name == 0 || qname == nullptr || qname->m_kind != abc_def::CONSTANT_QNAME)) {
        return in->fail("trait name %u is not a QName", name);
    }
    m_name = static_cast<int>(name);
    if (get_verbose_parse()) {
        log_msg("    traits: name='%s'\n", def.get_multiname_name(name).c_str());
    }
    uint8_t kind_byte = in->read_u8();
    m_kind = kind_byte & 0x0F;
    m_attributes = kind_byte >> 4;
    m_id = static_cast<int>(in->read_vu32());
    uint32_t index = in->read_vu32();
    m_index = static_cast<int>(index);
    switch (m_kind) {
    case SLOT:
    case CONST:
        m_vindex = static_cast<int>(in->read_vu32());
        if (m_vindex != 0) {
            m_vkind = in->read_u8();
            def.check_value(in, static_cast<uint32_t>(m_vindex), static_cast<uint8_t>(m_vkind), "value of trait",
                            m_name);
        }
        in->check_index(index, def.m_multiname.size(), "type of trait", m_name);
        break;
    case METHOD:
    case GETTER:
    case SETTER:
    case FUNCTION: check_method(in, def, index, "trait", m_name); break;
    case CLASS:
        if (index >= static_cast<uint32_t>(class_count)) {
            in->fail("trait %d: class %u is not among the %d classes read so far", m_name, index, class_count);
        }
        break;
    default: return in->fail("trait %d: kind %d is invalid", m_name, m_kind);
    }
    if (m_attributes & metadata_attribute) {
        return in->fail("trait %d: metadata is not supported", m_name);
    }
    return in->ok();
}

bool read_traits(abc_input* in, const abc_def& def, int class_count, trait_list* out) {
    uint32_t count = in->read_vu32();
    if (!in->check_count(count, min_trait_bytes, abc_input::held_record_bytes<traits_info>, "trait")) {
        return false;
    }
    out->reserve(count);
    for (uint32_t i = 0; i < count && in->ok(); i++) {
        out->push_back(new traits_info());
        out->back()->read(in, def, class_count);
    }
    return in->ok();
}

void except_info::read(abc_input* in) {
    m_from = in->read_vu32();
    m_to = in->read_vu32();
    m_target = in->read_vu32();
    m_exc_type = in->read_vu32();
    m_var_name = in->read_vu32();
}

bool instance_info::read(abc_input* in, const abc_def& def, int index) {
    m_name = static_cast<int>(in->read_vu32());
    m_super_name = static_cast<int>(in->read_vu32());
    m_flags = in->read_u8();
    if (m_flags & protected_ns_flag) {
        m_protected_ns = static_cast<int>(in->read_vu32());
    }
    if (!in->check_index(m_name, def.m_multiname.size(), "name of instance", index) ||
        !in->check_index(m_super_name, def.m_multiname.size(), "super name of instance", index) ||
        !in->check_index(m_protected_ns, def.m_namespace.size(), "protected namespace of instance", index)) {
        return false;
    }
    if (get_verbose_parse()) {
        log_msg("  name='%s', supername='%s', ns='%s'\n", def.get_multiname_name(m_name).c_str(),
                def.get_multiname_name(m_super_name).c_str(), def.get_namespace_name(m_protected_ns).c_str());
    }
    uint32_t count = in->read_vu32();
    if (!in->check_count(count, 1, sizeof(int), "interface")) {
        return false;
    }
    m_interfaces.resize(count);
    for (uint32_t i = 0; i < count && in->ok(); i++) {
        m_interfaces[i] = static_cast<int>(in->read_vu32());
        in->check_index(m_interfaces[i], def.m_multiname.size(), "interface of instance", index);
    }
    uint32_t iinit = in->read_vu32();
    m_iinit = static_cast<int>(iinit);
    // The classes are counted only once every instance record is read: a class trait here
    // names no class yet.
    return check_method(in, def, iinit, "initialiser of instance", index) &&
           read_traits(in, def, static_cast<int>(def.m_class.size()), &m_traits);
}

bool class_info::read(abc_input* in, const abc_def& def, int index) {
    uint32_t cinit = in->read_vu32();
    m_cinit = static_cast<int>(cinit);
    // The classes are counted once every instance record is read, before the first class
    // record: a class trait here may name any class of the block, this one and later ones too.
    return check_method(in, def, cinit, "initialiser of class", index) &&
           read_traits(in, def, static_cast<int>(def.m_instance.size()), &m_traits);
}

bool script_info::read(abc_input* in, const abc_def& def, int index) {
    uint32_t init = in->read_vu32();
    m_init = static_cast<int>(init);
    return check_method(in, def, init, "initialiser of script", index) &&
           read_traits(in, def, static_cast<int>(def.m_class.size()), &m_traits);
}

}  // namespace swfplayer
