#include "swfplayer/main/script/fn_call.h"
#include "swfplayer/main/script/static_names.h"
#include "swfplayer/main/swfplayer_as_classes/as_date.h"
#include "tests/swfplayer/main/swfplayer_as_classes/BuiltinTestKit.h"

#include <cstdlib>
#include <ctime>
#include <optional>
#include <random>

using namespace builtin_test;

namespace {

// Runs in UTC, the time zone restored afterwards.
class DateTextFormatTest : public BuiltinFixture {
protected:
    DateTextFormatTest() {
        if (const char* tz = std::getenv("TZ")) {
            m_saved_tz = tz;
        }
        setenv("TZ", "UTC", 1);
        tzset();
    }
    ~DateTextFormatTest() override {
        m_saved_tz ? setenv("TZ", m_saved_tz->c_str(), 1) : unsetenv("TZ");
        tzset();
    }
    std::optional<std::string> m_saved_tz;
};

// Every field against the C library's own UTC breakdown.
TEST_F(DateTextFormatTest, date_fields_break_the_time_down_in_local_time_and_new_dates_hold_the_current_second) {
    std::mt19937_64 random(11);
    std::vector<int64_t> times = {0 /* a Thursday */, 951782400 /* 2000-02-29 */, 1394368496,
                                  4102444799 /* 2099-12-31 23:59:59 */};
    for (int i = 0; i < 200; i++) {
        times.push_back(static_cast<int64_t>(random() % 4102444800ULL));
    }
    for (int64_t seconds : times) {
        as_value date(new as_date(m_player.get_ptr(), seconds));
        std::time_t t = static_cast<std::time_t>(seconds);
        std::tm utc = *std::gmtime(&t);
        const std::pair<const char*, int64_t> fields[] = {
            {"getDate", utc.tm_mday},  {"getDay", utc.tm_wday},    {"getFullYear", utc.tm_year + 1900},
            {"getHours", utc.tm_hour}, {"getMilliseconds", 0},     {"getMinutes", utc.tm_min},
            {"getMonth", utc.tm_mon},  {"getSeconds", utc.tm_sec}, {"getTime", seconds * 1000},
            {"getYear", utc.tm_year}};
        for (const auto& [name, expected] : fields) {
            EXPECT_EQ(method(date, name, {}).to_number(), static_cast<double>(expected)) << name << " of " << seconds;
        }
    }
    // new Date() holds the current whole second.
    double before = static_cast<double>(std::time(nullptr)) * 1000.0;
    as_value now = call_global("Date", {});
    double time = method(now, "getTime", {}).to_number();
    EXPECT_TRUE(time >= before && time <= static_cast<double>(std::time(nullptr)) * 1000.0) << time;
    EXPECT_EQ(std::fmod(time, 1000.0), 0.0);
    EXPECT_TRUE(s_log.empty());
    call_global("Date", {2014, 1});
    EXPECT_EQ(s_log, "Additional parameters are not supported yet\n");
    // Called on anything but a Date, the methods give undefined.
    EXPECT_TRUE(call(m_env, get(now, "getTime"), plain_object(), {}).is_undefined());
}

TEST_F(DateTextFormatTest, textformat_arguments_become_members_in_parameter_order) {
    for (int nargs : {0, 2, 13, 15}) {
        std::vector<as_value> args;
        for (int i = 0; i < nargs; i++) {
            args.push_back(i == 0 ? as_value("Comfortaa") : as_value(10 + i));
        }
        as_value format = call_global("TextFormat", args);
        ASSERT_TRUE(format.to_object() && format.to_object()->is(AS_TEXTFORMAT));
        EXPECT_EQ(format.to_object()->get_members().size(), std::min(nargs, 13)) << nargs;
        for (int i = 0; i < std::min(nargs, 13); i++) {
            as_value value;
            ASSERT_TRUE(format.to_object()->get_own_member(static_names::textformat_member_name(i).c_str(), &value));
            EXPECT_TRUE(value == args[i] && value.get_flags() == 0) << static_names::textformat_member_name(i).c_str();
        }
    }
    EXPECT_EQ(get(call_global("TextFormat", {"Comfortaa", 12}), "size").to_number(), 12.0);
}

int s_focus_events = 0;

TEST_F(DateTextFormatTest, setfocus_sends_onsetfocus_to_the_character_it_finds) {
    smart_ptr<character> child = new character(m_player.get_ptr(), m_root.get_ptr(), -1);
    child->set_member("onSetFocus", as_value(m_player.get_ptr(), [](const fn_call&) { s_focus_events++; }));
    m_root->set_member("child", as_value(child.get_ptr()));
    m_root->set_member("plain", plain_object());
    m_env.set_target(m_root.get_ptr());
    s_focus_events = 0;
    const std::pair<std::vector<as_value>, bool> cases[] = {
        {{"child"}, true}, {{as_value(child.get_ptr())}, true}, {{"nothing"}, false}, {{"plain"}, false}, {{}, false}};
    for (const auto& [args, found] : cases) {
        EXPECT_EQ(method(global("Selection"), "setFocus", args).to_bool(), found);
    }
    EXPECT_EQ(s_focus_events, 2);
    // Without Selection as "this" nothing happens.
    EXPECT_FALSE(call(m_env, get(global("Selection"), "setFocus"), as_value(), {"child"}).to_bool());
    EXPECT_EQ(s_focus_events, 2);
}

}  // namespace
