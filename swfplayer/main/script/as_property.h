#pragma once

#include "swfplayer/base/smart_ptr.h"
#include "swfplayer/main/script/as_value.h"

namespace swfplayer {

class as_function;
class as_object;

// A getter/setter pair stored as a member value (addProperty, String's "length").
class as_property : public ref_counted {
public:
    // Keeps each argument only when it is a function; otherwise that side is missing.
    as_property(const as_value& getter, const as_value& setter);
    ~as_property() override;

    // Calls the getter with this_value as "this"; a missing getter leaves *out unchanged.
    // target gives the player whose environment the call runs in (may be null).
    void get(as_object* target, const as_value& this_value, as_value* out) const;
    // Calls the setter with target as "this" and the value as its one argument; a missing
    // setter or target ignores the write.
    void set(as_object* target, const as_value& value) const;

    as_function* get_getter() const { return m_getter.get_ptr(); }
    as_function* get_setter() const { return m_setter.get_ptr(); }

private:
    smart_ptr<as_function> m_getter;
    smart_ptr<as_function> m_setter;
};

}  // namespace swfplayer
