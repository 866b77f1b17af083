#include "swfplayer/main/swfplayer_as_classes/as_math.h"

#include "swfplayer/base/base_random.h"
#include "swfplayer/main/script/as_object.h"
#include "swfplayer/main/script/fn_call.h"

#include <cmath>

namespace swfplayer {

namespace {

double arg_number(const fn_call& fn, int n) {
    return fn.arg(n).to_number();
}

template <double (*function)(double)>
void math_unary(const fn_call& fn) {
    fn.result->set_double(function(arg_number(fn, 0)));
}

template <double (*function)(double, double)>
void math_binary(const fn_call& fn) {
    fn.result->set_double(function(arg_number(fn, 0), arg_number(fn, 1)));
}

double abs_of(double a) {
    return std::fabs(a);
}
double acos_of(double a) {
    return std::acos(a);
}
double asin_of(double a) {
    return std::asin(a);
}
double atan_of(double a) {
    return std::atan(a);
}
double ceil_of(double a) {
    return std::ceil(a);
}
double cos_of(double a) {
    return std::cos(a);
}
double exp_of(double a) {
    return std::exp(a);
}
double floor_of(double a) {
    return std::floor(a);
}
double log_of(double a) {
    return std::log(a);
}
double round_of(double a) {
    return std::floor(a + 0.5);
}
double sin_of(double a) {
    return std::sin(a);
}
double sqrt_of(double a) {
    return std::sqrt(a);
}
double tan_of(double a) {
    return std::tan(a);
}
// Argument 0 is y, argument 1 is x.
double atan2_of(double y, double x) {
    return std::atan2(y, x);
}
// With a NaN on either side the second argument wins.
double max_of(double a, double b) {
    return a > b ? a : b;
}
double min_of(double a, double b) {
    return a < b ? a : b;
}
double pow_of(double a, double b) {
    return std::pow(a, b);
}

// 0 and 1 are both possible.
void math_random(const fn_call& fn) {
    fn.result->set_double(base_random::next_random() / 4294967295.0);
}

}  // namespace

as_object* make_as_math(player* owner) {
    as_object* math = new as_object(owner);
    const struct {
        const char* name;
        double value;
    } constants[] = {
        {"e", 2.718281828459045},        {"ln2", 0.6931471805599453},    {"log2e", 1.4426950408889634},
        {"ln10", 2.302585092994046},     {"log10e", 0.4342944819032518}, {"pi", 3.141592653589793},
        {"sqrt1_2", 0.7071067811865476}, {"sqrt2", 1.4142135623730951},
    };
    for (const auto& constant : constants) {
        math->builtin_member(constant.name, as_value(constant.value));
    }
    const struct {
        const char* name;
        as_c_function_ptr function;
    } functions[] = {
        {"abs", math_unary<abs_of>},   {"acos", math_unary<acos_of>},   {"asin", math_unary<asin_of>},
        {"atan", math_unary<atan_of>}, {"ceil", math_unary<ceil_of>},   {"cos", math_unary<cos_of>},
        {"exp", math_unary<exp_of>},   {"floor", math_unary<floor_of>}, {"log", math_unary<log_of>},
        {"random", math_random},       {"round", math_unary<round_of>}, {"sin", math_unary<sin_of>},
        {"sqrt", math_unary<sqrt_of>}, {"tan", math_unary<tan_of>},     {"atan2", math_binary<atan2_of>},
        {"max", math_binary<max_of>},  {"min", math_binary<min_of>},    {"pow", math_binary<pow_of>},
    };
    for (const auto& function : functions) {
        math->builtin_member(function.name, as_value(owner, function.function));
    }
    return math;
}

}  // namespace swfplayer
