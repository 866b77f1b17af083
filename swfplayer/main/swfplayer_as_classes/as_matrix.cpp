#include "swfplayer/main/swfplayer_as_classes/as_matrix.h"

#include "swfplayer/main/common/finite_float.h"
#include "swfplayer/main/script/fn_call.h"
#include "swfplayer/main/swfplayer_as_classes/as_point.h"

#include <algorithm>

namespace swfplayer {

namespace {

as_matrix* matrix_of(const as_value& value) {
    as_object* object = value.to_object();
    return object && object->is(AS_MATRIX) ? static_cast<as_matrix*>(object) : nullptr;
}

// this = before x this: the existing transform applies first, then before.
void apply_after(as_matrix* self, const matrix& before) {
    matrix result = before;
    result.concatenate(self->m_matrix);
    self->m_matrix = result;
}

void matrix_translate(const fn_call& fn) {
    as_matrix* self = matrix_of(*fn.this_value);
    if (self && fn.nargs >= 2) {
        matrix translation;
        translation.m[0][2] = finite_or_zero(fn.arg(0).to_number());
        translation.m[1][2] = finite_or_zero(fn.arg(1).to_number());
        apply_after(self, translation);
    }
}

void matrix_rotate(const fn_call& fn) {
    as_matrix* self = matrix_of(*fn.this_value);
    if (self && fn.nargs >= 1) {
        matrix rotation;
        rotation.set_scale_rotation(1.0f, 1.0f, finite_or_zero(fn.arg(0).to_number()));
        apply_after(self, rotation);
    }
}

void matrix_scale(const fn_call& fn) {
    as_matrix* self = matrix_of(*fn.this_value);
    if (self && fn.nargs >= 2) {
        matrix scale;
        scale.set_scale_rotation(finite_or_zero(fn.arg(0).to_number()), finite_or_zero(fn.arg(1).to_number()), 0.0f);
        apply_after(self, scale);
    }
}

void matrix_concat(const fn_call& fn) {
    as_matrix* self = matrix_of(*fn.this_value);
    as_matrix* other = matrix_of(fn.arg(0));
    if (self && other) {
        apply_after(self, other->m_matrix);
    }
}

void matrix_clone(const fn_call& fn) {
    if (as_matrix* self = matrix_of(*fn.this_value)) {
        fn.result->set_as_object(new as_matrix(fn.get_player(), self->m_matrix));
    }
}

void matrix_invert(const fn_call& fn) {
    if (as_matrix* self = matrix_of(*fn.this_value)) {
        matrix original = self->m_matrix;
        self->m_matrix.set_inverse(original);
    }
}

void matrix_transform_point(const fn_call& fn) {
    as_matrix* self = matrix_of(*fn.this_value);
    as_object* object = fn.arg(0).to_object();
    if (self && object && object->is(AS_POINT)) {
        point result;
        self->m_matrix.transform(&result, static_cast<as_point*>(object)->m_point);
        fn.result->set_as_object(new as_point(fn.get_player(), result));
    }
}

}  // namespace

as_matrix::as_matrix(player* owner, const matrix& value) : as_object(owner), m_matrix(value) {
    builtin_member("translate", as_value(owner, matrix_translate));
    builtin_member("rotate", as_value(owner, matrix_rotate));
    builtin_member("scale", as_value(owner, matrix_scale));
    builtin_member("concat", as_value(owner, matrix_concat));
    builtin_member("clone", as_value(owner, matrix_clone));
    builtin_member("invert", as_value(owner, matrix_invert));
    builtin_member("transformPoint", as_value(owner, matrix_transform_point));
}

void as_global_matrix_ctor(const fn_call& fn) {
    matrix value;
    float* slots[] = {&value.m[0][0], &value.m[0][1], &value.m[1][0], &value.m[1][1], &value.m[0][2], &value.m[1][2]};
    int count = std::min(fn.nargs, 6);
    for (int i = 0; i < count; i++) {
        *slots[i] = finite_or_zero(fn.arg(i).to_number());
    }
    fn.result->set_as_object(new as_matrix(fn.get_player(), value));
}

}  // namespace swfplayer
