#pragma once

#include "swfplayer/main/script/as_object.h"

#include <cstdint>

namespace swfplayer {

struct fn_call;

// Date: a time in whole seconds since 1970-01-01 00:00 UTC whose methods (getDate, getDay,
// getFullYear, getHours, getMilliseconds, getMinutes, getMonth, getSeconds, getTime, getYear)
// break it down in local time. getMilliseconds is always 0. Called on anything but a Date, a
// method gives undefined.
class as_date : public as_object {
public:
    as_date(player* owner, int64_t seconds);

    bool is(int class_id) const override { return class_id == AS_DATE || as_object::is(class_id); }

    int64_t get_seconds() const { return m_seconds; }

private:
    int64_t m_seconds;
};

// new Date(): the current system time; arguments are logged and ignored.
void as_global_date_ctor(const fn_call& fn);

}  // namespace swfplayer
