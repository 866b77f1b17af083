#include "swfplayer/main/swfplayer_as_classes/as_point.h"

#include "swfplayer/main/script/fn_call.h"

namespace swfplayer {

namespace {

as_point* point_of(const as_value& value) {
    as_object* object = value.to_object();
    return object && object->is(AS_POINT) ? static_cast<as_point*>(object) : nullptr;
}

void point_add(const fn_call& fn) {
    as_point* self = point_of(*fn.this_value);
    as_point* other = point_of(fn.arg(0));
    if (self && other) {
        point sum(self->m_point.x + other->m_point.x, self->m_point.y + other->m_point.y);
        fn.result->set_as_object(new as_point(fn.get_player(), sum));
    }
}

void point_subtract(const fn_call& fn) {
    as_point* self = point_of(*fn.this_value);
    as_point* other = point_of(fn.arg(0));
    if (self && other) {
        point difference(self->m_point.x - other->m_point.x, self->m_point.y - other->m_point.y);
        fn.result->set_as_object(new as_point(fn.get_player(), difference));
    }
}

// Scales the point to the given length. A point at the origin has no direction and stays put
// (scaling it would divide by zero).
void point_normalize(const fn_call& fn) {
    as_point* self = point_of(*fn.this_value);
    if (self == nullptr || fn.nargs < 1) {
        return;
    }
    float length = fn.arg(0).to_float();
    float current = self->m_point.get_length();
    if (length == 0.0f || current == 0.0f) {
        return;
    }
    float factor = length / current;
    self->m_point.x *= factor;
    self->m_point.y *= factor;
}

}  // namespace

as_point::as_point(player* owner, const point& value) : as_object(owner), m_point(value) {
    builtin_member("add", as_value(owner, point_add));
    builtin_member("subtract", as_value(owner, point_subtract));
    builtin_member("normalize", as_value(owner, point_normalize));
}

bool as_point::get_member(const base_stringi& name, as_value* value) {
    if (name == "x") {
        value->set_double(m_point.x);
    } else if (name == "y") {
        value->set_double(m_point.y);
    } else if (name == "length") {
        value->set_double(m_point.get_length());
    } else {
        return as_object::get_member(name, value);
    }
    return true;
}

bool as_point::set_member(const base_stringi& name, const as_value& value) {
    if (name == "x") {
        m_point.x = value.to_float();
    } else if (name == "y") {
        m_point.y = value.to_float();
    } else {
        return as_object::set_member(name, value);
    }
    return true;
}

void as_global_point_ctor(const fn_call& fn) {
    point value;
    if (fn.nargs == 2) {
        value = point(fn.arg(0).to_float(), fn.arg(1).to_float());
    }
    fn.result->set_as_object(new as_point(fn.get_player(), value));
}

}  // namespace swfplayer
