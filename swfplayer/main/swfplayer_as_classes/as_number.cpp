#include "swfplayer/main/swfplayer_as_classes/as_number.h"

#include "swfplayer/base/log.h"
#include "swfplayer/main/script/fn_call.h"

#include <cmath>

namespace swfplayer {

void as_global_number_ctor(const fn_call& fn) {
    fn.result->set_double(fn.nargs == 1 ? fn.arg(0).to_number() : 0.0);
}

namespace {

// The whole part of number written in radix (2..36); non-finite numbers count as 0.
base_string digits_in_radix(double number, int radix) {
    static const char digit_chars[] = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ";
    double whole = std::isfinite(number) ? std::trunc(number) : 0.0;
    bool negative = whole < 0;
    whole = std::fabs(whole);
    base_string reversed;
    do {
        int digit = static_cast<int>(std::fmod(whole, radix));
        reversed += digit_chars[digit];
        whole = std::floor(whole / radix);
    } while (whole >= 1.0);
    base_string text = negative ? "-" : "";
    for (int i = reversed.size() - 1; i >= 0; i--) {
        text += reversed[i];
    }
    return text;
}

}  // namespace

void as_number_tostring(const fn_call& fn) {
    double number = fn.this_value->to_number();
    if (fn.nargs < 1) {
        fn.result->set_base_string(as_value(number).to_base_string());
        return;
    }
    int radix = fn.arg(0).to_int();
    if (radix < 2 || radix > 36) {
        fn.result->set_string("");
        return;
    }
    fn.result->set_base_string(digits_in_radix(number, radix));
}

void as_number_valueof(const fn_call& fn) {
    fn.result->set_double(fn.this_value->to_number());
}

void as_global_parsefloat(const fn_call& fn) {
    double number = 0.0;
    if (fn.nargs == 1 && parse_number(fn.arg(0).to_string(), &number)) {
        fn.result->set_double(number);
    } else {
        fn.result->set_nan();
    }
}

void as_global_parseint(const fn_call& fn) {
    if (fn.nargs == 2) {
        log_error("parseInt: radix is not yet supported\n");
    }
    int number = 0;
    if (fn.nargs >= 1 && parse_int(fn.arg(0).to_string(), &number)) {
        fn.result->set_int(number);
    } else {
        fn.result->set_nan();
    }
}

void as_global_isnan(const fn_call& fn) {
    fn.result->set_bool(fn.nargs == 1 ? std::isnan(fn.arg(0).to_number()) : true);
}

}  // namespace swfplayer
