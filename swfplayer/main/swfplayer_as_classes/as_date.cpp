#include "swfplayer/main/swfplayer_as_classes/as_date.h"

#include "swfplayer/base/base_timer.h"
#include "swfplayer/base/log.h"
#include "swfplayer/main/script/fn_call.h"

namespace swfplayer {

namespace {

template <int (*field)(uint64_t)>
void date_field(const fn_call& fn) {
    if (fn.this_ptr && fn.this_ptr->is(AS_DATE)) {
        fn.result->set_int(field(static_cast<uint64_t>(static_cast<as_date*>(fn.this_ptr)->get_seconds())));
    }
}

// The stored seconds are whole, so no milliseconds are left over.
int no_milliseconds(uint64_t) {
    return 0;
}

void date_get_time(const fn_call& fn) {
    if (fn.this_ptr && fn.this_ptr->is(AS_DATE)) {
        fn.result->set_double(static_cast<double>(static_cast<as_date*>(fn.this_ptr)->get_seconds()) * 1000.0);
    }
}

}  // namespace

as_date::as_date(player* owner, int64_t seconds) : as_object(owner), m_seconds(seconds) {
    builtin_member("getDate", as_value(owner, date_field<base_timer::get_date>));
    builtin_member("getDay", as_value(owner, date_field<base_timer::get_day>));
    builtin_member("getFullYear", as_value(owner, date_field<base_timer::get_full_year>));
    builtin_member("getHours", as_value(owner, date_field<base_timer::get_hours>));
    builtin_member("getMilliseconds", as_value(owner, date_field<no_milliseconds>));
    builtin_member("getMinutes", as_value(owner, date_field<base_timer::get_minutes>));
    builtin_member("getMonth", as_value(owner, date_field<base_timer::get_month>));
    builtin_member("getSeconds", as_value(owner, date_field<base_timer::get_seconds>));
    builtin_member("getTime", as_value(owner, date_get_time));
    builtin_member("getYear", as_value(owner, date_field<base_timer::get_year>));
}

void as_global_date_ctor(const fn_call& fn) {
    if (fn.nargs > 0) {
        log_error("Additional parameters are not supported yet\n");
    }
    fn.result->set_as_object(new as_date(fn.get_player(), static_cast<int64_t>(base_timer::get_systime())));
}

}  // namespace swfplayer
