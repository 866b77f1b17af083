// The interpreter and Lua 5.4 run the same programs side by side: counted loops of 10^6 steps
// over registers, locals and timeline variables, recursive fib(20), member get and set on a
// 50-member object, and a string built from 10,000 pieces. Each benchmark runs one whole program.
// The _clip variants run on the root clip of a loaded movie instead of a bare character, so
// timeline variables and members are those of a real clip; the _frame variants play each
// program as the actions of a movie's frame, so that one iteration is one whole frame of the
// player as the game plays it (root advance, script budget, collection of unreachable objects);
// fib20_arguments is fib in a DefineFunction2 with flags 0, which builds the arguments array on
// every call. Run with --benchmark_enable_random_interleaving=true --benchmark_repetitions=7
// and compare the minimum and the median of the repetitions.
#include "swfplayer/base/base_file.h"
#include "swfplayer/base/log.h"
#include "swfplayer/main/display/character.h"
#include "swfplayer/main/display/sprite_instance.h"
#include "swfplayer/main/loading/movie_loader.h"
#include "swfplayer/main/player/movie_player.h"
#include "swfplayer/main/player/root.h"
#include "swfplayer/main/script/action_buffer.h"
#include "swfplayer/main/script/as_environment.h"
#include "swfplayer/main/script/player.h"
#include "swfplayer/main/swfplayer_as_classes/builtin_classes.h"
#include "tools/swfkit/ActionAssembler.h"
#include "tools/swfkit/Movie.h"

#include <benchmark/benchmark.h>
#include <lua.hpp>

#include <algorithm>
#include <stdexcept>
#include <string>
#include <vector>

using namespace swfkit;

namespace {

constexpr double loop_steps = 1e6;

// The fastest repetition, reported beside the median.
double fastest(const std::vector<double>& times) {
    return *std::min_element(times.begin(), times.end());
}

// A clip whose environment runs the programs with the clip as target.
class bench_clip : public swfplayer::character {
public:
    explicit bench_clip(swfplayer::player* owner) : character(owner, nullptr, -1), m_env(owner) {}
    swfplayer::as_environment* get_environment() override { return &m_env; }
    swfplayer::as_environment m_env;
};

swfplayer::player* make_player() {
    swfplayer::register_builtin_classes();
    return new swfplayer::player();
}

// The definition of a kit-written movie, read from memory as the game reads a movie's file.
swfplayer::smart_ptr<swfplayer::movie_def_impl> read_movie(swfplayer::player* owner, const swfkit::Movie& movie) {
    std::vector<uint8_t> bytes = movie.Write(false);
    return swfplayer::create_movie_definition(
        owner, new swfplayer::base_file(swfplayer::memory_buffer, static_cast<int>(bytes.size()), bytes.data()));
}

// Runs code once with env, outside the timed loop.
void execute_once(const action_assembler& code, swfplayer::as_environment* env) {
    Bytes bytes = code.bytes();
    swfplayer::action_buffer buffer;
    buffer.read(bytes.data(), static_cast<int>(bytes.size()));
    buffer.execute(env);
}

// Runs a program with a target clip: a bare character with an environment of its own, or the
// root clip of a loaded one-frame movie.
class script_program {
public:
    script_program(const action_assembler& code, bool real_clip) : m_player(make_player()) {
        if (real_clip) {
            m_previous_log = swfplayer::register_log_callback(nullptr);
            m_root = new swfplayer::movie_root();
            m_player->set_root(m_root.get_ptr());
            swfkit::Movie movie(6, {0, 8000, 0, 6000}, 30.0);
            movie.Tags().ShowFrame();
            m_movie = read_movie(m_player.get_ptr(), movie);
            smart_ptr<swfplayer::sprite_instance> sprite =
                new swfplayer::sprite_instance(m_player.get_ptr(), m_movie.get_ptr(), m_root.get_ptr(), nullptr, -1);
            m_root->set_root_movie(sprite.get_ptr());
            m_player->set_root_movie(sprite.get_ptr());
            m_target = sprite.get_ptr();
        } else {
            smart_ptr<bench_clip> clip = new bench_clip(m_player.get_ptr());
            clip->m_env.set_target(clip.get_ptr());
            m_target = clip.get_ptr();
        }
        Bytes bytes = code.bytes();
        m_buffer.read(bytes.data(), static_cast<int>(bytes.size()));
    }
    ~script_program() {
        if (m_movie) {
            swfplayer::register_log_callback(m_previous_log);
        } else {
            m_target->get_environment()->set_target(nullptr);
        }
    }
    void run() { m_buffer.execute(m_target->get_environment()); }
    // Defines what the program needs before it is timed.
    void prepare(const action_assembler& code) { execute_once(code, m_target->get_environment()); }

private:
    template <class T>
    using smart_ptr = swfplayer::smart_ptr<T>;
    smart_ptr<swfplayer::player> m_player;
    smart_ptr<swfplayer::movie_root> m_root;
    smart_ptr<swfplayer::movie_def_impl> m_movie;
    smart_ptr<swfplayer::character> m_target;
    swfplayer::log_callback m_previous_log = nullptr;
    swfplayer::action_buffer m_buffer;
};

// Plays a program as the game plays a movie's script: it is the actions of both frames of a
// two-frame movie, so each advance by one frame time is one whole frame of the player that runs
// it once (inside the frame's script budget, with the collection of unreachable script objects
// at its end). The setup runs once on the movie's root clip before that.
class frame_program {
public:
    frame_program(const action_assembler& setup, const action_assembler& code)
        : m_player(make_player()), m_previous_log(swfplayer::register_log_callback(nullptr)) {
        Bytes actions = code.bytes();
        swfkit::Movie movie(8, {0, 8000, 0, 6000}, 30.0);
        movie.Tags().DoAction(actions).ShowFrame().DoAction(actions).ShowFrame();
        m_movie = read_movie(m_player.get_ptr(), movie);
        m_root = swfplayer::create_instance(m_movie.get_ptr(), m_player.get_ptr());
        execute_once(setup, m_root->get_root_sprite()->get_environment());
        // The first frame, which also sends the movie's onLoad, is not timed.
        run();
    }
    ~frame_program() { swfplayer::register_log_callback(m_previous_log); }
    void run() { m_root->advance(m_root->get_frame_time()); }

private:
    swfplayer::smart_ptr<swfplayer::player> m_player;
    swfplayer::log_callback m_previous_log;
    swfplayer::smart_ptr<swfplayer::movie_def_impl> m_movie;
    swfplayer::smart_ptr<swfplayer::root> m_root;
};

class lua_program {
public:
    lua_program(const char* setup, const char* chunk) : m_state(luaL_newstate()) {
        luaL_openlibs(m_state);
        if (luaL_dostring(m_state, setup) != LUA_OK || luaL_loadstring(m_state, chunk) != LUA_OK) {
            throw std::runtime_error(lua_tostring(m_state, -1));
        }
        m_chunk = luaL_ref(m_state, LUA_REGISTRYINDEX);
    }
    ~lua_program() { lua_close(m_state); }
    void run() {
        lua_rawgeti(m_state, LUA_REGISTRYINDEX, m_chunk);
        lua_call(m_state, 0, 0);
    }

private:
    lua_State* m_state;
    int m_chunk;
};

// while (!(counter >= limit)) counter = counter + 1, with the counter read and written by
// the given pieces of code.
action_assembler counted_loop(const action_assembler& init, const action_assembler& read,
                              const action_assembler& step_write, double limit) {
    action_assembler code = init;
    code.label("top");
    for (uint8_t b : read.code()) {
        code.op(b);
    }
    code.push({num(limit)}).op(LT_T).op(NOT).branch_if_true("done");
    for (uint8_t b : step_write.code()) {
        code.op(b);
    }
    code.jump("top").label("done");
    return code;
}

action_assembler register_loop() {
    action_assembler body =
        counted_loop(action_assembler().push({num(0)}).store_register(1).op(POP), action_assembler().push({reg(1)}),
                     action_assembler().push({reg(1)}).op(INC).store_register(1).op(POP), loop_steps);
    action_assembler code;
    code.function2("f", 2, 0x2A, {}, body);  // this, arguments and super suppressed
    return code.push({num(0), str("f")}).op(CALL_FUNC).op(POP);
}

action_assembler local_loop() {
    action_assembler body = counted_loop(
        action_assembler().push({str("i"), num(0)}).op(SET_LOCAL), action_assembler().push({str("i")}).op(GET_VAR),
        action_assembler().push({str("i"), str("i")}).op(GET_VAR).op(INC).op(SET_VAR), loop_steps);
    action_assembler code;
    code.function("f", {}, body);
    return code.push({num(0), str("f")}).op(CALL_FUNC).op(POP);
}

action_assembler timeline_loop() {
    return counted_loop(action_assembler().set_var("i", {num(0)}), action_assembler().push({str("i")}).op(GET_VAR),
                        action_assembler().push({str("i"), str("i")}).op(GET_VAR).op(INC).op(SET_VAR), loop_steps);
}

// flags 0x2A suppress this, arguments and super; flags 0 make all three on every call.
action_assembler fib_definition(uint16_t flags) {
    // function fib(n) { if (n < 2) return n; return fib(n - 1) + fib(n - 2); } with n in r1.
    action_assembler body;
    body.push({reg(1), num(2)}).op(LT_T).op(NOT).branch_if_true("recurse").push({reg(1)}).op(RETURN);
    body.label("recurse").push({reg(1), num(1)}).op(SUB).push({num(1), str("fib")}).op(CALL_FUNC);
    body.push({reg(1), num(2)}).op(SUB).push({num(1), str("fib")}).op(CALL_FUNC).op(ADD).op(RETURN);
    return action_assembler().function2("fib", 2, flags, {{1, "n"}}, body);
}

action_assembler fib_call() {
    return action_assembler().push({num(20), num(1), str("fib")}).op(CALL_FUNC).op(POP);
}

constexpr double member_steps = 10000;

// The object whose members are read and written: a new Object in the variable o, or the
// timeline clip itself (_root).
action_assembler members_setup(const char* object) {
    action_assembler code;
    if (std::string(object) == "o") {
        code.push({str("o"), num(0), str("Object")}).op(NEW).op(SET_VAR);
    }
    for (int i = 0; i < 50; i++) {
        code.push({str(object)}).op(GET_VAR).push({str("m" + std::to_string(i)), num(i)}).op(SET_MEMBER);
    }
    return code;
}

// o.m37 = o.m37 + 1, member_steps times, the counter in r1 of a function2.
action_assembler member_loop(const char* object) {
    action_assembler step;
    step.push({str(object)}).op(GET_VAR).op(DUP).push({str("m37")}).op(GET_MEMBER).op(INC);
    step.push({str("m37")}).op(SWAP).op(SET_MEMBER);
    step.push({reg(1)}).op(INC).store_register(1).op(POP);
    action_assembler body = counted_loop(action_assembler().push({num(0)}).store_register(1).op(POP),
                                         action_assembler().push({reg(1)}), step, member_steps);
    action_assembler code;
    code.function2("f", 2, 0x2A, {}, body);
    return code.push({num(0), str("f")}).op(CALL_FUNC).op(POP);
}

// 100 reads (or writes) of o.m37 in a row, o in r1 and the written value in r2: the opcodes'
// own cost beside the script core's direct member access.
action_assembler member_opcodes(bool write) {
    action_assembler body;
    body.push({str("o")}).op(GET_VAR).store_register(1).op(POP).push({num(5)}).store_register(2).op(POP);
    for (int i = 0; i < 100; i++) {
        if (write) {
            body.push({reg(1), str("m37"), reg(2)}).op(SET_MEMBER);
        } else {
            body.push({reg(1), str("m37")}).op(GET_MEMBER).op(POP);
        }
    }
    action_assembler code;
    code.function2("f", 3, 0x2A, {}, body);
    return code.push({num(0), str("f")}).op(CALL_FUNC).op(POP);
}

action_assembler string_building() {
    action_assembler step;
    step.push({str("s"), str("s")}).op(GET_VAR).push({str("x")}).op(ADD_T).op(SET_VAR);
    step.push({reg(1)}).op(INC).store_register(1).op(POP);
    action_assembler body =
        counted_loop(action_assembler().set_var("s", {str("")}).push({num(0)}).store_register(1).op(POP),
                     action_assembler().push({reg(1)}), step, 10000);
    action_assembler code;
    code.function2("f", 2, 0x2A, {}, body);
    return code.push({num(0), str("f")}).op(CALL_FUNC).op(POP);
}

void run_script(benchmark::State& state, const action_assembler& setup, const action_assembler& code,
                bool real_clip = false) {
    script_program program(code, real_clip);
    program.prepare(setup);
    for (auto _ : state) {
        program.run();
    }
}

void run_frame(benchmark::State& state, const action_assembler& setup, const action_assembler& code) {
    frame_program program(setup, code);
    for (auto _ : state) {
        program.run();
    }
}

void run_lua(benchmark::State& state, const char* setup, const char* chunk) {
    lua_program program(setup, chunk);
    for (auto _ : state) {
        program.run();
    }
}

void BM_loop_registers_script(benchmark::State& state) {
    run_script(state, action_assembler(), register_loop());
}
void BM_loop_registers_lua(benchmark::State& state) {
    run_lua(state, "", "local i = 0 while not (i >= 1000000) do i = i + 1 end");
}
void BM_loop_locals_script(benchmark::State& state) {
    run_script(state, action_assembler(), local_loop());
}
void BM_loop_locals_lua(benchmark::State& state) {
    run_lua(state, "", "local i = 0 while not (i >= 1000000) do i = i + 1 end");
}
void BM_loop_timeline_script(benchmark::State& state) {
    run_script(state, action_assembler(), timeline_loop());
}
void BM_loop_timeline_lua(benchmark::State& state) {
    run_lua(state, "", "i = 0 while not (i >= 1000000) do i = i + 1 end");
}
void BM_loop_timeline_clip(benchmark::State& state) {
    run_script(state, action_assembler(), timeline_loop(), true);
}
void BM_loop_registers_frame(benchmark::State& state) {
    run_frame(state, action_assembler(), register_loop());
}
void BM_loop_locals_frame(benchmark::State& state) {
    run_frame(state, action_assembler(), local_loop());
}
void BM_loop_timeline_frame(benchmark::State& state) {
    run_frame(state, action_assembler(), timeline_loop());
}
void BM_fib20_frame(benchmark::State& state) {
    run_frame(state, fib_definition(0x2A), fib_call());
}
void BM_fib20_arguments_frame(benchmark::State& state) {
    run_frame(state, fib_definition(0), fib_call());
}
void BM_member_get_set_frame(benchmark::State& state) {
    run_frame(state, members_setup("o"), member_loop("o"));
}
void BM_string_building_frame(benchmark::State& state) {
    run_frame(state, action_assembler(), string_building());
}
void BM_fib20_script(benchmark::State& state) {
    run_script(state, fib_definition(0x2A), fib_call());
}
void BM_fib20_arguments_script(benchmark::State& state) {
    run_script(state, fib_definition(0), fib_call());
}
void BM_fib20_lua(benchmark::State& state) {
    run_lua(state, "function fib(n) if n < 2 then return n end return fib(n - 1) + fib(n - 2) end", "fib(20)");
}
void BM_member_get_set_script(benchmark::State& state) {
    run_script(state, members_setup("o"), member_loop("o"));
}
void BM_member_get_set_clip(benchmark::State& state) {
    run_script(state, members_setup("_root"), member_loop("_root"), true);
}
void BM_member_get_set_lua(benchmark::State& state) {
    run_lua(state, "o = {} for i = 0, 49 do o['m' .. i] = i end",
            "local i = 0 while not (i >= 10000) do o.m37 = o.m37 + 1 i = i + 1 end");
}
void BM_member_get_opcode_x100(benchmark::State& state) {
    run_script(state, members_setup("o"), member_opcodes(false));
}
void BM_member_set_opcode_x100(benchmark::State& state) {
    run_script(state, members_setup("o"), member_opcodes(true));
}
void BM_string_building_script(benchmark::State& state) {
    run_script(state, action_assembler(), string_building());
}
void BM_string_building_lua(benchmark::State& state) {
    run_lua(state, "", "s = '' local i = 0 while not (i >= 10000) do s = s .. 'x' i = i + 1 end");
}

BENCHMARK(BM_loop_registers_script)->Unit(benchmark::kMillisecond)->ComputeStatistics("min", fastest);
BENCHMARK(BM_loop_registers_frame)->Unit(benchmark::kMillisecond)->ComputeStatistics("min", fastest);
BENCHMARK(BM_loop_registers_lua)->Unit(benchmark::kMillisecond)->ComputeStatistics("min", fastest);
BENCHMARK(BM_loop_locals_script)->Unit(benchmark::kMillisecond)->ComputeStatistics("min", fastest);
BENCHMARK(BM_loop_locals_frame)->Unit(benchmark::kMillisecond)->ComputeStatistics("min", fastest);
BENCHMARK(BM_loop_locals_lua)->Unit(benchmark::kMillisecond)->ComputeStatistics("min", fastest);
BENCHMARK(BM_loop_timeline_script)->Unit(benchmark::kMillisecond)->ComputeStatistics("min", fastest);
BENCHMARK(BM_loop_timeline_frame)->Unit(benchmark::kMillisecond)->ComputeStatistics("min", fastest);
BENCHMARK(BM_loop_timeline_lua)->Unit(benchmark::kMillisecond)->ComputeStatistics("min", fastest);
BENCHMARK(BM_loop_timeline_clip)->Unit(benchmark::kMillisecond)->ComputeStatistics("min", fastest);
BENCHMARK(BM_fib20_script)->Unit(benchmark::kMillisecond)->ComputeStatistics("min", fastest);
BENCHMARK(BM_fib20_frame)->Unit(benchmark::kMillisecond)->ComputeStatistics("min", fastest);
BENCHMARK(BM_fib20_arguments_script)->Unit(benchmark::kMillisecond)->ComputeStatistics("min", fastest);
BENCHMARK(BM_fib20_arguments_frame)->Unit(benchmark::kMillisecond)->ComputeStatistics("min", fastest);
BENCHMARK(BM_fib20_lua)->Unit(benchmark::kMillisecond)->ComputeStatistics("min", fastest);
BENCHMARK(BM_member_get_set_script)->Unit(benchmark::kMicrosecond)->ComputeStatistics("min", fastest);
BENCHMARK(BM_member_get_set_clip)->Unit(benchmark::kMicrosecond)->ComputeStatistics("min", fastest);
BENCHMARK(BM_member_get_set_frame)->Unit(benchmark::kMicrosecond)->ComputeStatistics("min", fastest);
BENCHMARK(BM_member_get_set_lua)->Unit(benchmark::kMicrosecond)->ComputeStatistics("min", fastest);
BENCHMARK(BM_member_get_opcode_x100)->Unit(benchmark::kMicrosecond)->ComputeStatistics("min", fastest);
BENCHMARK(BM_member_set_opcode_x100)->Unit(benchmark::kMicrosecond)->ComputeStatistics("min", fastest);
BENCHMARK(BM_string_building_script)->Unit(benchmark::kMicrosecond)->ComputeStatistics("min", fastest);
BENCHMARK(BM_string_building_frame)->Unit(benchmark::kMicrosecond)->ComputeStatistics("min", fastest);
BENCHMARK(BM_string_building_lua)->Unit(benchmark::kMicrosecond)->ComputeStatistics("min", fastest);

}  // namespace
