#include "swfplayer/base/base_timer.h"

#include <chrono>
#include <ctime>
#include <thread>

namespace swfplayer {
namespace base_timer {

namespace {

// The calendar fields of t in local time; all zero when t cannot be broken down.
std::tm local_time(uint64_t t) {
    std::time_t seconds = static_cast<std::time_t>(t);
    std::tm fields{};
    if (const std::tm* broken_down = std::localtime(&seconds)) {
        fields = *broken_down;
    }
    return fields;
}

}  // namespace

uint64_t get_systime() {
    return static_cast<uint64_t>(std::time(nullptr));
}

uint64_t get_ticks() {
    auto since_start = std::chrono::steady_clock::now().time_since_epoch();
    return static_cast<uint64_t>(std::chrono::duration_cast<std::chrono::milliseconds>(since_start).count());
}

double ticks_to_seconds(uint64_t ticks) {
    return static_cast<double>(ticks) * static_cast<double>(0.001f);
}

double ticks_to_seconds() {
    return ticks_to_seconds(get_ticks());
}

void sleep(int ms) {
    if (ms > 0) {
        std::this_thread::sleep_for(std::chrono::milliseconds(ms));
    }
}

uint64_t get_profile_ticks() {
    auto since_start = std::chrono::steady_clock::now().time_since_epoch();
    return static_cast<uint64_t>(std::chrono::duration_cast<std::chrono::nanoseconds>(since_start).count());
}

double profile_ticks_to_seconds(uint64_t profile_ticks) {
    return static_cast<double>(profile_ticks) / 1e9;
}

int get_date(uint64_t t) {
    return local_time(t).tm_mday;
}

int get_day(uint64_t t) {
    return local_time(t).tm_wday;
}

int get_hours(uint64_t t) {
    return local_time(t).tm_hour;
}

int get_minutes(uint64_t t) {
    return local_time(t).tm_min;
}

int get_seconds(uint64_t t) {
    return local_time(t).tm_sec;
}

int get_month(uint64_t t) {
    return local_time(t).tm_mon;
}

int get_full_year(uint64_t t) {
    return local_time(t).tm_year + 1900;
}

int get_year(uint64_t t) {
    return local_time(t).tm_year;
}

int get_milliseconds(uint64_t t) {
    return static_cast<int>(t % 1000);
}

}  // namespace base_timer
}  // namespace swfplayer
