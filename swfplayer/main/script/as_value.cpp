#include "swfplayer/main/script/as_value.h"

#include "swfplayer/main/script/as_c_function.h"
#include "swfplayer/main/script/as_object.h"
#include "swfplayer/main/script/as_property.h"
#include "swfplayer/main/script/as_s_function.h"
#include "swfplayer/main/script/instruction_budget.h"
#include "swfplayer/main/script/number_parsing.h"
#include "swfplayer/main/script/player.h"

#include <cassert>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstring>

namespace swfplayer {

namespace {

// What a value held before a change: released only after the new payload is in place, because
// releasing may destroy the object that contains the value itself.
struct held_refs {
    as_object* object;
    as_property* property;
};

void drop_held(const held_refs& held) {
    if (held.property) {
        held.property->drop_ref();
    }
    if (held.object) {
        held.object->drop_ref();
    }
}

}  // namespace

as_value::as_value(const char* text) : m_string(text), m_type(STRING) {
    m_payload.number = 0.0;
}

as_value::as_value(const wchar_t* text) : m_type(STRING) {
    m_payload.number = 0.0;
    if (text) {
        base_string::encode_utf8_from_wchar(&m_string, text);
    }
}

as_value::as_value(as_object* object) {
    m_payload.number = 0.0;
    set_as_object(object);
}

as_value::as_value(as_s_function* function) {
    m_payload.number = 0.0;
    set_as_object(function);
}

as_value::as_value(player* owner, as_c_function_ptr function) {
    m_payload.number = 0.0;
    set_as_c_function(owner, function);
}

as_value::as_value(const as_value& getter, const as_value& setter) : m_type(PROPERTY) {
    m_payload.object = nullptr;
    m_property = new as_property(getter, setter);
    m_property->add_ref();
}

void as_value::release() {
    held_refs held{m_payload.object, m_property};
    m_payload.number = 0.0;
    m_property = nullptr;
    m_type = UNDEFINED;
    drop_held(held);
}

void as_value::replace_refs(type scalar_type, payload scalar) {
    held_refs held{m_payload.object, m_property};
    m_property = nullptr;
    m_type = scalar_type;
    m_payload = scalar;
    drop_held(held);
}

as_value& as_value::operator=(as_value&& other) noexcept {
    if (this == &other || other.m_type == PROPERTY) {
        return assign(other);
    }
    held_refs held{nullptr, nullptr};
    if (holds_refs()) {
        held = held_refs{m_payload.object, m_property};
    }
    if (other.m_type == STRING) {
        m_string = static_cast<base_stringi&&>(other.m_string);
    }
    m_payload = other.m_payload;
    m_property = nullptr;
    m_type = other.m_type;
    m_flags = other.m_type == UNDEFINED ? 0 : other.m_flags;
    // The source keeps no reference and no text: it is undefined now.
    other.m_type = UNDEFINED;
    other.m_payload.number = 0.0;
    drop_held(held);
    return *this;
}

as_value& as_value::assign(const as_value& other) {
    if (this == &other) {
        return *this;
    }
    if (other.m_type == UNDEFINED) {
        set_undefined();
        m_flags = 0;
        return *this;
    }
    m_flags = other.m_flags;
    switch (other.m_type) {
    case BOOLEAN: set_bool(other.m_payload.boolean); break;
    case NUMBER: set_double(other.m_payload.number); break;
    case STRING: set_base_string(other.m_string); break;
    case OBJECT: set_as_object(other.m_payload.object); break;
    case PROPERTY:
        if (other.m_payload.object) {
            // A bound property is read: the value stored is its current value.
            as_value current;
            other.get_property_value(&current);
            uint32_t flags = other.m_flags;
            *this = current;
            m_flags = flags;
        } else if (m_property != other.m_property || m_type != PROPERTY || m_payload.object) {
            other.m_property->add_ref();
            held_refs held{nullptr, nullptr};
            if (holds_refs()) {
                held = held_refs{m_payload.object, m_property};
            }
            m_type = PROPERTY;
            m_payload.object = nullptr;
            m_property = other.m_property;
            drop_held(held);
        }
        break;
    case UNDEFINED: break;
    }
    return *this;
}

void as_value::set_undefined() {
    if (holds_refs()) {
        release();
    } else {
        m_type = UNDEFINED;
    }
}

void as_value::set_nan() {
    set_double(NAN);
}

void as_value::set_base_string(const base_string& text) {
    // Copy first: the text may belong to an object that releasing destroys.
    if (&text != &m_string) {
        m_string = text;
    }
    payload none;
    none.number = 0.0;
    if (holds_refs()) {
        replace_refs(STRING, none);
    } else {
        m_type = STRING;
    }
}

void as_value::set_string(const char* bytes, int length) {
    m_string.assign(bytes, length);
    payload none;
    none.number = 0.0;
    if (holds_refs()) {
        replace_refs(STRING, none);
    } else {
        m_type = STRING;
    }
}

void as_value::set_string(const char* text) {
    if (text != m_string.c_str()) {
        m_string = text ? text : "";
    }
    payload none;
    none.number = 0.0;
    if (holds_refs()) {
        replace_refs(STRING, none);
    } else {
        m_type = STRING;
    }
}

void as_value::set_as_object(as_object* object) {
    if (m_type == OBJECT && m_payload.object == object) {
        return;
    }
    if (object) {
        object->add_ref();
    }
    payload holder;
    holder.object = object;
    if (holds_refs()) {
        replace_refs(OBJECT, holder);
    } else {
        m_type = OBJECT;
        m_payload = holder;
    }
}

void as_value::set_as_c_function(player* owner, as_c_function_ptr function) {
    set_as_object(new as_c_function(owner, function));
}

as_object* as_value::to_object() const {
    return m_type == OBJECT ? m_payload.object : nullptr;
}

as_function* as_value::to_function() const {
    if (m_type == OBJECT && m_payload.object && m_payload.object->is(AS_FUNCTION)) {
        return static_cast<as_function*>(m_payload.object);
    }
    return nullptr;
}

as_property* as_value::to_property() const {
    return m_type == PROPERTY ? m_property : nullptr;
}

as_object* as_value::get_property_target() const {
    return m_type == PROPERTY ? m_payload.object : nullptr;
}

double as_value::to_number_slow() const {
    switch (m_type) {
    case BOOLEAN: return m_payload.boolean ? 1.0 : 0.0;
    case NUMBER: return m_payload.number;
    case STRING: {
        // Text that is not a number in full counts as 0, not NaN. The parse may walk it all.
        instruction_budget::charge_scan(m_string.size());
        double number = 0.0;
        return parse_number(m_string.c_str(), &number) ? number : 0.0;
    }
    case OBJECT: return m_payload.object ? m_payload.object->to_number() : 0.0;
    case PROPERTY: {
        as_value current;
        get_property_value(&current);
        return current.to_number();
    }
    case UNDEFINED: break;
    }
    return NAN;
}

bool as_value::to_bool_slow() const {
    switch (m_type) {
    case BOOLEAN: return m_payload.boolean;
    case NUMBER: return m_payload.number != 0.0;  // NaN is true
    case STRING: return m_string.size() > 0;
    case OBJECT: return m_payload.object ? m_payload.object->to_bool() : false;
    case PROPERTY: {
        as_value current;
        get_property_value(&current);
        return current.to_bool();
    }
    case UNDEFINED: break;
    }
    return false;
}

int as_value::to_int() const {
    double number = to_number();
    if (std::isnan(number) || number >= 2147483648.0 || number <= -2147483649.0) {
        return INT_MIN;
    }
    return static_cast<int>(number);
}

const base_string& as_value::to_base_string() const {
    switch (m_type) {
    case UNDEFINED: m_string = "undefined"; break;
    case BOOLEAN: m_string = m_payload.boolean ? "true" : "false"; break;
    case NUMBER:
        if (std::isnan(m_payload.number)) {
            m_string = "NaN";
        } else if (std::isinf(m_payload.number)) {
            m_string = m_payload.number > 0 ? "Infinity" : "-Infinity";
        } else {
            char buffer[50];
            std::snprintf(buffer, sizeof(buffer), "%.14g", m_payload.number);
            m_string = buffer;
        }
        break;
    case STRING: break;
    case OBJECT:
        if (m_payload.object) {
            const char* text = m_payload.object->to_string();
            m_string = text ? text : "";
        } else {
            m_string = "null";
        }
        break;
    case PROPERTY: {
        as_value current;
        get_property_value(&current);
        m_string = current.to_base_string();
        break;
    }
    }
    return m_string;
}

const base_stringi& as_value::to_base_stringi() const {
    to_base_string();
    // A name is looked up by its hash: the bytes hashing walks are charged until it is known.
    if (!m_string.is_hash_known()) {
        instruction_budget::charge_scan(m_string.size());
    }
    return m_string;
}

const char* as_value::to_xstring() const {
    if (m_type == OBJECT) {
        // Room for the whole of a 64-bit address: "0x" and sixteen digits do not fit 16 bytes.
        static char buffer[40];
        std::snprintf(buffer, sizeof(buffer), "%p", static_cast<void*>(m_payload.object));
        return buffer;
    }
    return to_string();
}

const char* as_value::typeof() const {
    switch (m_type) {
    case BOOLEAN: return "boolean";
    case NUMBER: return "number";
    case STRING: return "string";
    case OBJECT: return m_payload.object ? m_payload.object->typeof() : "null";
    case PROPERTY: {
        as_value current;
        get_property_value(&current);
        return current.typeof();
    }
    case UNDEFINED: break;
    }
    return "undefined";
}

void as_value::get_property_value(as_value* out) const {
    assert(is_property());
    if (m_payload.object) {
        m_property->get(m_payload.object, as_value(m_payload.object), out);
    }
}

void as_value::get_property_value(const as_value& primitive, as_value* out) const {
    assert(is_property());
    m_property->get(nullptr, primitive, out);
}

void as_value::set_property_value(const as_value& value) const {
    assert(is_property());
    m_property->set(m_payload.object, value);
}

void as_value::set_property_target(as_object* target) {
    assert(is_property());
    if (target == m_payload.object) {
        return;
    }
    if (target) {
        target->add_ref();
    }
    as_object* old = m_payload.object;
    m_payload.object = target;
    if (old) {
        old->drop_ref();
    }
}

bool as_value::get_member(player* owner, const base_stringi& name, as_value* out) const {
    switch (m_type) {
    case BOOLEAN: return owner && owner->get_builtin(BUILTIN_BOOLEAN, name, out);
    case NUMBER: return owner && owner->get_builtin(BUILTIN_NUMBER, name, out);
    case STRING: return owner && owner->get_builtin(BUILTIN_STRING, name, out);
    case OBJECT: return m_payload.object ? m_payload.object->get_member(name, out) : false;
    default: return false;
    }
}

bool as_value::is_instance_of(const as_function* constructor) const {
    if (m_type == OBJECT) {
        return m_payload.object ? m_payload.object->is_instance_of(constructor) : false;
    }
    if (constructor == nullptr || !constructor->is(AS_C_FUNCTION)) {
        return false;
    }
    as_c_function_ptr function = static_cast<const as_c_function*>(constructor)->get_function();
    if (function == get_builtin_constructor(BUILTIN_OBJECT)) {
        return m_type == BOOLEAN || m_type == NUMBER || m_type == STRING;
    }
    switch (m_type) {
    case BOOLEAN: return function == get_builtin_constructor(BUILTIN_BOOLEAN);
    case NUMBER: return function == get_builtin_constructor(BUILTIN_NUMBER);
    case STRING: return function == get_builtin_constructor(BUILTIN_STRING);
    default: return false;
    }
}

void as_value::shl(int count) {
    set_int(static_cast<int>(static_cast<uint32_t>(to_int()) << (count & 31)));
}

void as_value::asr(int count) {
    set_int(to_int() >> (count & 31));
}

void as_value::lsr(int count) {
    // The low 32 bits of the number truncated toward zero; non-finite numbers count as 0.
    double number = to_number();
    uint32_t bits = 0;
    if (std::isfinite(number)) {
        double low = std::fmod(std::trunc(number), 4294967296.0);
        if (low < 0) {
            low += 4294967296.0;
        }
        bits = static_cast<uint32_t>(low);
    }
    set_int(static_cast<int32_t>(bits >> (count & 31)));
}

bool as_value::operator==(const as_value& other) const {
    if (m_type == PROPERTY) {
        as_value current;
        get_property_value(&current);
        return current == other;
    }
    if (other.m_type != PROPERTY && m_type != other.m_type) {
        return false;
    }
    switch (m_type) {
    case UNDEFINED: return other.m_type == UNDEFINED;
    case BOOLEAN: return m_payload.boolean == other.to_bool();
    case NUMBER: return m_payload.number == other.to_number();
    case STRING: {
        const base_string& other_text = other.to_base_string();
        instruction_budget::charge_bytes(m_string.size() < other_text.size() ? m_string.size() : other_text.size());
        return std::strcmp(m_string.c_str(), other_text.c_str()) == 0;
    }
    case OBJECT: return m_payload.object == other.to_object();
    case PROPERTY: break;
    }
    return false;
}

}  // namespace swfplayer
