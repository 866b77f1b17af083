#pragma once

#include "swfplayer/main/script/as_object.h"

#include <vector>

namespace swfplayer {

struct fn_call;

// An interval timer made by setInterval: once at least its interval has passed since it last
// fired (or started), it calls its function with its extra arguments and starts counting again
// from 0; time beyond the interval is not carried over. It advances on the player's frame tick
// until clearInterval takes it off.
class as_timer : public as_object {
public:
    // interval_seconds 0 (or less) fires on every tick; NaN never fires.
    as_timer(player* owner, const as_value& function, float interval_seconds, std::vector<as_value> args);

    bool is(int class_id) const override { return class_id == AS_TIMER || as_object::is(class_id); }
    void advance(float dt) override;
    // The function and the arguments stay reachable while the timer is listed; a clear_refs pass
    // drops them as it drops members.
    void clear_refs(as_object_set* visited, as_object* target) override;
    void this_alive(player* marker) override;

private:
    as_value m_function;
    float m_interval;
    float m_accumulator = 0.0f;
    std::vector<as_value> m_args;
};

// setInterval(func, ms, args...) or setInterval(obj, methodName, ms, args...): a new timer on
// the player's frame tick; the null object when the function is missing or the tick list is
// full.
void as_global_setinterval(const fn_call& fn);
// clearInterval(timer): takes the timer off the frame tick; anything else does nothing.
void as_global_clearinterval(const fn_call& fn);

}  // namespace swfplayer
