#pragma once

#include "swfplayer/base/base_string.h"

#include <cstdint>

namespace swfplayer {

class as_object;
class as_function;
class as_property;
class as_s_function;
class player;
struct fn_call;

// A native function: reads its arguments and "this" from the call block and writes its result.
typedef void (*as_c_function_ptr)(const fn_call& fn);

// Member attributes carried by a value; only the member table gives them meaning.
enum as_member_flag : uint32_t {
    AS_DONT_ENUM = 1,    // skipped by for-in
    AS_DONT_DELETE = 2,  // not deletable
    AS_READ_ONLY = 4,    // stores into the member are ignored
};

// The one value type of the script engine: operand, register, member, argument and result.
// A null reference is an object value without object; functions are object values whose
// object answers is(AS_FUNCTION). Conversions to text cache the text in the value itself.
// Undefined, booleans and numbers hold no references: copying, setting and reading them is done
// inline; everything else takes the out-of-line paths in as_value.cpp.
class as_value {
public:
    enum type : uint8_t { UNDEFINED = 0, BOOLEAN = 1, NUMBER = 2, STRING = 3, OBJECT = 4, PROPERTY = 5 };

    as_value() { m_payload.number = 0.0; }
    as_value(bool value) : m_type(BOOLEAN) { m_payload.boolean = value; }
    as_value(int value) : m_type(NUMBER) { m_payload.number = value; }
    as_value(float value) : m_type(NUMBER) { m_payload.number = value; }
    as_value(double value) : m_type(NUMBER) { m_payload.number = value; }
    as_value(const char* text);
    // The wide text converted to UTF-8.
    as_value(const wchar_t* text);
    // A null pointer gives null.
    as_value(as_object* object);
    as_value(as_s_function* function);
    // A new native function object of owner wrapping the pointer.
    as_value(player* owner, as_c_function_ptr function);
    // A native function needs its player (above); without one the pointer would become a boolean.
    as_value(as_c_function_ptr function) = delete;
    // A property (no target yet) from a getter and a setter; non-functions give none.
    as_value(const as_value& getter, const as_value& setter);
    as_value(const as_value& other) {
        if (other.m_type <= NUMBER) {
            copy_scalar(other);
        } else {
            m_payload.number = 0.0;
            assign(other);
        }
    }
    // Takes the payload over and leaves other undefined; a property with a target is copied
    // instead, as operator= does.
    as_value(as_value&& other) noexcept {
        m_payload.number = 0.0;
        *this = static_cast<as_value&&>(other);
    }
    ~as_value() {
        if (holds_refs()) {
            release();
        }
    }

    // Copies the flags, then the payload. An undefined source clears the flags too. A property
    // with a target is copied as its current value (the getter runs); one without a target is
    // copied as the property itself.
    as_value& operator=(const as_value& other) {
        if (other.m_type <= NUMBER && !holds_refs()) {
            copy_scalar(other);
            return *this;
        }
        return assign(other);
    }
    as_value& operator=(as_value&& other) noexcept;

    type get_type() const { return m_type; }
    bool is_undefined() const { return m_type == UNDEFINED; }
    bool is_bool() const { return m_type == BOOLEAN; }
    bool is_number() const { return m_type == NUMBER; }
    bool is_string() const { return m_type == STRING; }
    bool is_object() const { return m_type == OBJECT; }
    bool is_null() const { return m_type == OBJECT && m_payload.object == nullptr; }
    bool is_property() const { return m_type == PROPERTY; }
    bool is_function() const { return to_function() != nullptr; }

    uint32_t get_flags() const { return m_flags; }
    void set_flags(uint32_t flags) { m_flags = flags; }

    // Setters; each releases what the value held before. Flags are kept.
    void set_undefined();
    void set_null() { set_as_object(nullptr); }
    void set_bool(bool value) {
        payload scalar;
        scalar.boolean = value;
        if (holds_refs()) {
            replace_refs(BOOLEAN, scalar);
            return;
        }
        m_type = BOOLEAN;
        m_payload = scalar;
    }
    void set_double(double value) {
        payload scalar;
        scalar.number = value;
        if (holds_refs()) {
            replace_refs(NUMBER, scalar);
            return;
        }
        m_type = NUMBER;
        m_payload = scalar;
    }
    void set_int(int value) { set_double(value); }
    void set_nan();
    // The value holds the text's bytes shared, not copied (see base_string).
    void set_base_string(const base_string& text);
    void set_string(const char* text);
    // The length bytes as text; they hold no NUL and lie outside this value.
    void set_string(const char* bytes, int length);
    // Setting the object the value already holds changes nothing.
    void set_as_object(as_object* object);
    void set_as_c_function(player* owner, as_c_function_ptr function);
    // Releases a held object or property; the value becomes undefined.
    void drop_refs() { set_undefined(); }

    // The object of an object value, else null.
    as_object* to_object() const;
    // The object when it is a function, else null.
    as_function* to_function() const;
    // The property of a property value, else null.
    as_property* to_property() const;
    as_object* get_property_target() const;

    // Conversions (see the tables in as_value.cpp).
    double to_number() const { return m_type == NUMBER ? m_payload.number : to_number_slow(); }
    bool to_bool() const { return m_type == BOOLEAN ? m_payload.boolean : to_bool_slow(); }
    // to_number() truncated toward zero to 32 bits; NaN and out-of-range numbers give INT_MIN.
    int to_int() const;
    float to_float() const { return static_cast<float>(to_number()); }
    const base_string& to_base_string() const;
    const base_stringi& to_base_stringi() const;
    const char* to_string() const { return to_base_string().c_str(); }
    // For objects the pointer as "0x%p" in one shared buffer; otherwise to_string().
    const char* to_xstring() const;
    // "undefined", "boolean", "number", "string", "null", or the object's typeof().
    const char* typeof() const;

    // Property values: the getter's result for the stored target (out unchanged when there is
    // no getter or no target); the getter's result with primitive as "this"; the setter called
    // with the stored target; the target replaced.
    void get_property_value(as_value* out) const;
    void get_property_value(const as_value& primitive, as_value* out) const;
    void set_property_value(const as_value& value) const;
    void set_property_target(as_object* target);

    // Member lookup on any value: primitives use their class's built-in methods of owner (none
    // without one), objects ask the object; undefined, null and properties find nothing.
    bool get_member(player* owner, const base_stringi& name, as_value* out) const;
    // Whether the value is an instance of the constructor (primitives: their own class and
    // Object).
    bool is_instance_of(const as_function* constructor) const;

    // Arithmetic on the number form; the bitwise ones on to_int(). Shift counts are taken
    // modulo 32.
    void operator+=(double d) { set_double(to_number() + d); }
    void operator-=(double d) { set_double(to_number() - d); }
    void operator*=(double d) { set_double(to_number() * d); }
    void operator/=(double d) { set_double(to_number() / d); }
    void operator&=(int i) { set_int(to_int() & i); }
    void operator|=(int i) { set_int(to_int() | i); }
    void operator^=(int i) { set_int(to_int() ^ i); }
    void shl(int count);
    void asr(int count);
    void lsr(int count);
    bool operator<(double d) const { return to_number() < d; }

    // Equality without conversion between types (a property compares as its current value).
    bool operator==(const as_value& other) const;
    bool operator!=(const as_value& other) const { return !(*this == other); }

private:
    bool holds_refs() const { return m_type >= OBJECT; }
    // Undefined, boolean or number source, into a value that holds no references.
    void copy_scalar(const as_value& other) {
        m_payload = other.m_payload;
        m_type = other.m_type;
        m_flags = other.m_type == UNDEFINED ? 0 : other.m_flags;
    }
    // The general copy.
    as_value& assign(const as_value& other);
    union payload {
        bool boolean;
        double number;
        // Object values: the object (counted). Property values: the target (counted).
        as_object* object;
    };
    // Puts the scalar in place, then releases the references held before.
    void replace_refs(type scalar_type, payload scalar);
    // Releases the object or property and the target; the type becomes undefined. Only called
    // while the value holds references.
    void release();
    double to_number_slow() const;
    bool to_bool_slow() const;

    // The text of a string value; for other types a cache of the last conversion to text.
    mutable base_stringi m_string;
    payload m_payload;
    // Property values: the property (counted).
    as_property* m_property = nullptr;
    uint32_t m_flags = 0;
    type m_type = UNDEFINED;
};

}  // namespace swfplayer
