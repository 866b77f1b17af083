#include "swfplayer/main/script/action_buffer.h"
#include "swfplayer/main/script/as_environment.h"
#include "swfplayer/main/script/player.h"

#include <gtest/gtest.h>

#include <vector>

using namespace swfplayer;

namespace {

// A ConstantPool record holding the strings.
std::vector<uint8_t> pool(std::initializer_list<const char*> strings, int declared_count = -1) {
    std::vector<uint8_t> payload;
    int count = declared_count >= 0 ? declared_count : static_cast<int>(strings.size());
    payload.push_back(static_cast<uint8_t>(count & 0xFF));
    payload.push_back(static_cast<uint8_t>(count >> 8));
    for (const char* s : strings) {
        for (const char* c = s; *c; c++) {
            payload.push_back(static_cast<uint8_t>(*c));
        }
        payload.push_back(0);
    }
    std::vector<uint8_t> record = {0x88, static_cast<uint8_t>(payload.size() & 0xFF),
                                   static_cast<uint8_t>(payload.size() >> 8)};
    record.insert(record.end(), payload.begin(), payload.end());
    return record;
}

TEST(ActionBufferTest, reading_stops_after_the_end_action) {
    std::vector<uint8_t> bytes = {0x07, 0x96, 0x02, 0x00, 0x05, 0x01, 0x00, 0x17, 0x99};
    action_buffer buffer;
    EXPECT_EQ(buffer.read(bytes.data(), static_cast<int>(bytes.size())), 7);
    EXPECT_EQ(buffer.size(), 7);
    EXPECT_EQ(buffer[6], 0x00);
    EXPECT_EQ(buffer[1], 0x96);
    EXPECT_EQ(buffer[100], 0x00);
    EXPECT_EQ(buffer[-1], 0x00);
}

TEST(ActionBufferTest, a_record_longer_than_the_data_is_dropped_and_the_stream_terminated) {
    std::vector<uint8_t> bytes = {0x07, 0x96, 0xFF, 0xFF, 0x01};
    action_buffer buffer;
    EXPECT_EQ(buffer.read(bytes.data(), static_cast<int>(bytes.size())), 1);
    EXPECT_EQ(buffer.size(), 2);
    EXPECT_EQ(buffer[1], 0x00);
    std::vector<uint8_t> header_only = {0x96, 0x02};
    action_buffer short_header;
    short_header.read(header_only.data(), 2);
    EXPECT_EQ(short_header.size(), 1);
    action_buffer empty;
    EXPECT_EQ(empty.read(nullptr, 0), 0);
    EXPECT_EQ(empty.size(), 1);
}

TEST(ActionBufferTest, copies_share_bytes_and_copy_the_pool) {
    std::vector<uint8_t> bytes = pool({"a", "b"});
    bytes.push_back(0);
    action_buffer buffer;
    buffer.read(bytes.data(), static_cast<int>(bytes.size()));
    buffer.process_decl_dict(0, static_cast<int>(bytes.size()) - 1);
    action_buffer copy(buffer);
    EXPECT_TRUE(copy.shares_bytes_with(buffer));
    EXPECT_EQ(copy.get_dictionary_size(), 2);
    action_buffer other;
    EXPECT_FALSE(other.shares_bytes_with(buffer));
    other = buffer;
    EXPECT_TRUE(other.shares_bytes_with(buffer));
    EXPECT_STREQ(other.get_dictionary_entry(1).c_str(), "b");
    EXPECT_EQ(other.get_decl_dict_processed_at(), 0);
}

TEST(ActionBufferTest, the_first_constant_pool_stays_in_force) {
    std::vector<uint8_t> first = pool({"one", "two"});
    std::vector<uint8_t> second = pool({"three"});
    std::vector<uint8_t> bytes = first;
    bytes.insert(bytes.end(), second.begin(), second.end());
    bytes.push_back(0);
    action_buffer buffer;
    buffer.read(bytes.data(), static_cast<int>(bytes.size()));
    int first_end = static_cast<int>(first.size());
    buffer.process_decl_dict(0, first_end);
    buffer.process_decl_dict(0, first_end);  // the same record on a later pass
    EXPECT_EQ(buffer.get_dictionary_size(), 2);
    buffer.process_decl_dict(first_end, first_end + static_cast<int>(second.size()));
    EXPECT_EQ(buffer.get_dictionary_size(), 2);
    EXPECT_STREQ(buffer.get_dictionary_entry(0).c_str(), "one");
    EXPECT_STREQ(buffer.get_dictionary_entry(1).c_str(), "two");
}

TEST(ActionBufferTest, pool_strings_that_overrun_the_record_are_invalid) {
    std::vector<uint8_t> bytes = pool({"ok", "cut"}, 4);
    bytes.back() = 'x';  // the last string loses its terminator
    bytes.push_back(0);
    action_buffer buffer;
    buffer.read(bytes.data(), static_cast<int>(bytes.size()));
    buffer.process_decl_dict(0, static_cast<int>(bytes.size()) - 1);
    ASSERT_EQ(buffer.get_dictionary_size(), 4);
    EXPECT_STREQ(buffer.get_dictionary_entry(0).c_str(), "ok");
    EXPECT_STREQ(buffer.get_dictionary_entry(1).c_str(), "<invalid>");
    EXPECT_STREQ(buffer.get_dictionary_entry(3).c_str(), "<invalid>");
}

TEST(ActionBufferTest, an_empty_pool_and_bad_record_bounds) {
    std::vector<uint8_t> bytes = pool({});
    bytes.push_back(0);
    action_buffer buffer;
    buffer.read(bytes.data(), static_cast<int>(bytes.size()));
    buffer.process_decl_dict(0, 500);
    EXPECT_EQ(buffer.get_decl_dict_processed_at(), -1);
    buffer.process_decl_dict(-3, 2);
    buffer.process_decl_dict(5, 5);
    EXPECT_EQ(buffer.get_decl_dict_processed_at(), -1);
    buffer.process_decl_dict(0, 5);
    EXPECT_EQ(buffer.get_dictionary_size(), 0);
    EXPECT_EQ(buffer.get_decl_dict_processed_at(), 0);
}

TEST(ActionBufferTest, execution_is_refused_when_locals_are_nested_too_deep) {
    smart_ptr<player> owner = new player();
    as_environment env(owner.get_ptr());
    for (int i = 0; i < as_environment::max_local_frames; i++) {
        env.push_barrier();
    }
    std::vector<uint8_t> bytes = {0x00};
    action_buffer buffer;
    buffer.read(bytes.data(), 1);
    buffer.execute(&env);
    EXPECT_EQ(env.get_local_frame_count(), as_environment::max_local_frames);
    EXPECT_EQ(env.get_stack_size(), 0);
}

}  // namespace
