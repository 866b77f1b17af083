#include "swfplayer/main/swfplayer_as_classes/as_timer.h"

#include "swfplayer/main/script/as_environment.h"
#include "swfplayer/main/script/call_method.h"
#include "swfplayer/main/script/fn_call.h"
#include "swfplayer/main/script/player.h"

namespace swfplayer {

as_timer::as_timer(player* owner, const as_value& function, float interval_seconds, std::vector<as_value> args)
    : as_object(owner), m_function(function), m_interval(interval_seconds), m_args(std::move(args)) {}

void as_timer::advance(float dt) {
    m_accumulator += dt;
    if (!(m_accumulator >= m_interval)) {
        return;
    }
    m_accumulator = 0.0f;
    player* owner = get_player();
    if (owner == nullptr || !m_function.is_function()) {
        return;
    }
    // Copies: the frame tick holds this timer while it fires, but not what it holds.
    as_value function = m_function;
    std::vector<as_value> args = m_args;
    as_environment env(owner);
    for (auto arg = args.rbegin(); arg != args.rend(); ++arg) {
        env.push(*arg);
    }
    int nargs = static_cast<int>(args.size());
    call_method(function, &env, as_value(0), nargs, env.get_top_index());
    env.drop(nargs);
}

void as_timer::clear_refs(as_object_set* visited, as_object* target) {
    if (visited->find_index(this) != -1) {
        return;
    }
    as_object::clear_refs(visited, target);
    clear_value_ref(&m_function, visited, target);
    for (as_value& arg : m_args) {
        clear_value_ref(&arg, visited, target);
    }
}

void as_timer::this_alive(player* marker) {
    as_object::this_alive(marker);
    marker->mark_alive(m_function.to_object());
    for (const as_value& arg : m_args) {
        marker->mark_alive(arg.to_object());
    }
}

void as_global_setinterval(const fn_call& fn) {
    fn.result->set_null();
    player* owner = fn.get_player();
    if (fn.nargs < 2 || owner == nullptr) {
        return;
    }
    as_value function = fn.arg(0);
    int interval_index = 1;
    if (!function.is_function()) {
        as_object* object = fn.arg(0).to_object();
        if (object == nullptr || fn.nargs < 3 || !object->get_member(fn.arg(1).to_base_stringi(), &function) ||
            !function.is_function()) {
            return;
        }
        interval_index = 2;
    }
    float interval_seconds = fn.arg(interval_index).to_float() / 1000.0f;
    std::vector<as_value> args;
    for (int i = interval_index + 1; i < fn.nargs; i++) {
        args.push_back(fn.arg(i));
    }
    smart_ptr<as_timer> timer = new as_timer(owner, function, interval_seconds, std::move(args));
    if (owner->add_frame_object(timer.get_ptr())) {
        fn.result->set_as_object(timer.get_ptr());
    }
}

void as_global_clearinterval(const fn_call& fn) {
    as_object* timer = fn.nargs == 1 ? fn.arg(0).to_object() : nullptr;
    player* owner = fn.get_player();
    if (timer && timer->is(AS_TIMER) && owner) {
        owner->remove_frame_object(timer);
    }
}

}  // namespace swfplayer
