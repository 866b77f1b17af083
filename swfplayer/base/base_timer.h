#pragma once

#include <cstdint>

namespace swfplayer {

// Clocks of the player. Ticks are milliseconds of a monotonic clock (64-bit, they do not wrap);
// profile ticks are nanoseconds of the same clock. Calendar functions take seconds since
// 1970-01-01 UTC and break them down in local time.
namespace base_timer {

// Seconds since 1970-01-01 UTC.
uint64_t get_systime();
// Milliseconds since an arbitrary start.
uint64_t get_ticks();
// Ticks as seconds, scaled by the single-precision value of 0.001.
double ticks_to_seconds(uint64_t ticks);
// The current ticks as seconds.
double ticks_to_seconds();
// Suspends the thread for ms milliseconds.
void sleep(int ms);
// High-resolution counter for measuring short intervals.
uint64_t get_profile_ticks();
double profile_ticks_to_seconds(uint64_t profile_ticks);

// Day of the month, 1 to 31.
int get_date(uint64_t t);
// Day of the week, 0 = Sunday.
int get_day(uint64_t t);
// Hour, 0 to 23.
int get_hours(uint64_t t);
int get_minutes(uint64_t t);
int get_seconds(uint64_t t);
// Month, 0 to 11.
int get_month(uint64_t t);
// The year, e.g. 2024.
int get_full_year(uint64_t t);
// Years since 1900.
int get_year(uint64_t t);
// t modulo 1000.
int get_milliseconds(uint64_t t);

}  // namespace base_timer
}  // namespace swfplayer
