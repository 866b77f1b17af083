// Baselines for the interpreter: member get/set on a 50-member object and through a 5-deep
// prototype chain, a variable read and written through its text made afresh (as a pushed name is)
// beside the same through an interned name, value conversion, calls through native functions,
// string building, and objects of built-in classes made with their methods.
#include "swfplayer/main/script/as_c_function.h"
#include "swfplayer/main/script/as_environment.h"
#include "swfplayer/main/script/as_object.h"
#include "swfplayer/main/script/call_method.h"
#include "swfplayer/main/script/fn_call.h"
#include "swfplayer/main/script/player.h"
#include "swfplayer/main/swfplayer_as_classes/builtin_classes.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <string>
#include <vector>

using namespace swfplayer;

namespace {

struct fixture {
    fixture() : env(owner.get_ptr()) {
        wide = new as_object(owner.get_ptr());
        for (int i = 0; i < 50; i++) {
            wide->set_member(("member" + std::to_string(i)).c_str(), as_value(i));
        }
        smart_ptr<as_object> base = new as_object(owner.get_ptr());
        base->set_member("inherited", as_value(1.0));
        deep = base;
        for (int i = 0; i < 5; i++) {
            smart_ptr<as_object> next = new as_object(owner.get_ptr());
            next->set_proto(deep.get_ptr());
            deep = next;
        }
    }
    smart_ptr<player> owner = (register_builtin_classes(), new player());
    as_environment env;
    smart_ptr<as_object> wide;
    smart_ptr<as_object> deep;
};

void BM_member_get_50(benchmark::State& state) {
    fixture f;
    base_stringi name("member37");
    as_value value;
    for (auto _ : state) {
        f.wide->get_member(name, &value);
        benchmark::DoNotOptimize(value);
    }
}
BENCHMARK(BM_member_get_50);

void BM_member_set_50(benchmark::State& state) {
    fixture f;
    base_stringi name("member37");
    double n = 0;
    for (auto _ : state) {
        f.wide->set_member(name, as_value(n));
        n += 1;
    }
}
BENCHMARK(BM_member_set_50);

void BM_member_get_proto_chain_5(benchmark::State& state) {
    fixture f;
    base_stringi name("inherited");
    as_value value;
    for (auto _ : state) {
        f.deep->get_member(name, &value);
        benchmark::DoNotOptimize(value);
    }
}
BENCHMARK(BM_member_get_proto_chain_5);

// The fastest repetition, reported beside the median.
double fastest(const std::vector<double>& times) {
    return *std::min_element(times.begin(), times.end());
}

// x = x + 1 on the target's variables, one of 50, the name given as the interpreter has it.
void BM_variable_get_set_by_text(benchmark::State& state) {
    fixture f;
    f.env.set_target(f.wide.get_ptr());
    const array<with_stack_entry> no_with;
    for (auto _ : state) {
        as_value name("member37");
        as_value value = f.env.get_variable(name.to_base_stringi(), no_with);
        as_value other_name("member37");
        f.env.set_variable(other_name.to_base_stringi(), as_value(value.to_number() + 1), no_with);
    }
    f.env.set_target(nullptr);
}
BENCHMARK(BM_variable_get_set_by_text)->ComputeStatistics("min", fastest);

void BM_variable_get_set_by_interned_name(benchmark::State& state) {
    fixture f;
    f.env.set_target(f.wide.get_ptr());
    const array<with_stack_entry> no_with;
    const interned_name name = f.owner->intern("member37");
    for (auto _ : state) {
        as_value value = f.env.get_variable(name, no_with);
        f.env.set_variable(name, as_value(value.to_number() + 1), no_with);
    }
    f.env.set_target(nullptr);
}
BENCHMARK(BM_variable_get_set_by_interned_name)->ComputeStatistics("min", fastest);

void BM_value_conversion(benchmark::State& state) {
    as_value number(1.0 / 3.0);
    as_value text("12.5");
    for (auto _ : state) {
        benchmark::DoNotOptimize(number.to_base_string().size());
        benchmark::DoNotOptimize(text.to_number());
    }
}
BENCHMARK(BM_value_conversion);

void add_two(const fn_call& fn) {
    fn.result->set_double(fn.arg(0).to_number() + fn.arg(1).to_number());
}

void BM_native_call(benchmark::State& state) {
    fixture f;
    as_value function(f.owner.get_ptr(), add_two);
    as_value self(f.wide.get_ptr());
    for (auto _ : state) {
        f.env.push(as_value(2.0));
        f.env.push(as_value(1.0));
        as_value result = call_method(function, &f.env, self, 2, f.env.get_top_index());
        f.env.drop(2);
        benchmark::DoNotOptimize(result);
    }
}
BENCHMARK(BM_native_call);

// One object made by the global constructor named class_name (called with no arguments), each
// with function objects of its own for its methods, and then let go.
void BM_construct(benchmark::State& state, const char* class_name) {
    fixture f;
    as_value constructor;
    f.owner->get_global()->get_member(class_name, &constructor);
    for (auto _ : state) {
        as_value made = call_method(constructor, &f.env, as_value(), 0, f.env.get_top_index());
        benchmark::DoNotOptimize(made);
    }
}
BENCHMARK_CAPTURE(BM_construct, array, "Array")->ComputeStatistics("min", fastest);
BENCHMARK_CAPTURE(BM_construct, sound, "Sound")->ComputeStatistics("min", fastest);
BENCHMARK_CAPTURE(BM_construct, date, "Date")->ComputeStatistics("min", fastest);
BENCHMARK_CAPTURE(BM_construct, object, "Object")->ComputeStatistics("min", fastest);

void BM_string_building_10000(benchmark::State& state) {
    for (auto _ : state) {
        // 10,000 pieces joined the way a script's "s += piece" loop does it.
        as_value text("");
        for (int i = 0; i < 10000; i++) {
            base_string joined = text.to_base_string();
            joined += "piece";
            text.set_base_string(joined);
        }
        benchmark::DoNotOptimize(text.to_base_string().size());
    }
}
BENCHMARK(BM_string_building_10000)->Unit(benchmark::kMillisecond);

}  // namespace
