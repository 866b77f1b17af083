#include "swfplayer/main/script/action_buffer.h"
#include "swfplayer/main/script/as_environment.h"
#include "swfplayer/main/script/player.h"
#include "tests/swfplayer/main/script/ActionAssembler.h"

#include <gtest/gtest.h>

#include <vector>

using namespace swfplayer;
using script_test::assemble;
using script_test::Bytes;

namespace {

// A buffer read from the bytes.
struct read_buffer : action_buffer {
    explicit read_buffer(const Bytes& bytes) : read_bytes(read(bytes.data(), static_cast<int>(bytes.size()))) {}
    int read_bytes;
};

TEST(ActionBufferTest, reading_stops_after_the_end_action_and_drops_a_record_longer_than_the_data) {
    read_buffer buffer({0x07, 0x96, 0x02, 0x00, 0x05, 0x01, 0x00, 0x17, 0x99});
    EXPECT_EQ(buffer.read_bytes, 7);
    EXPECT_EQ(buffer.size(), 7);
    EXPECT_EQ(buffer[6], 0x00);
    EXPECT_EQ(buffer[1], 0x96);
    EXPECT_EQ(buffer[100], 0x00);
    EXPECT_EQ(buffer[-1], 0x00);
    // The stream is terminated after the last whole record.
    read_buffer cut({0x07, 0x96, 0xFF, 0xFF, 0x01});
    EXPECT_EQ(cut.read_bytes, 1);
    EXPECT_EQ(cut.size(), 2);
    EXPECT_EQ(cut[1], 0x00);
    EXPECT_EQ(read_buffer({0x96, 0x02}).size(), 1);
    action_buffer empty;
    EXPECT_EQ(empty.read(nullptr, 0), 0);
    EXPECT_EQ(empty.size(), 1);
}

TEST(ActionBufferTest, copies_share_bytes_and_copy_the_pool) {
    read_buffer buffer(assemble("pool:a,b").bytes());
    buffer.process_decl_dict(0, buffer.size() - 1);
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
    int first_end = static_cast<int>(assemble("pool:one,two").code().size());
    read_buffer buffer(assemble("pool:one,two pool:three").bytes());
    buffer.process_decl_dict(0, first_end);
    buffer.process_decl_dict(0, first_end);  // the same record on a later pass
    EXPECT_EQ(buffer.get_dictionary_size(), 2);
    buffer.process_decl_dict(first_end, buffer.size() - 1);
    EXPECT_EQ(buffer.get_dictionary_size(), 2);
    EXPECT_STREQ(buffer.get_dictionary_entry(0).c_str(), "one");
    EXPECT_STREQ(buffer.get_dictionary_entry(1).c_str(), "two");
}

TEST(ActionBufferTest, pool_strings_that_overrun_the_record_are_invalid) {
    // Four strings declared, two there, and the last loses its terminator.
    Bytes bytes = assemble("#88:04,00,'ok',63,75,74,78").bytes();
    read_buffer buffer(bytes);
    buffer.process_decl_dict(0, static_cast<int>(bytes.size()) - 1);
    ASSERT_EQ(buffer.get_dictionary_size(), 4);
    EXPECT_STREQ(buffer.get_dictionary_entry(0).c_str(), "ok");
    EXPECT_STREQ(buffer.get_dictionary_entry(1).c_str(), "<invalid>");
    EXPECT_STREQ(buffer.get_dictionary_entry(3).c_str(), "<invalid>");
}

TEST(ActionBufferTest, an_empty_pool_and_bad_record_bounds) {
    read_buffer buffer(assemble("#88:00,00").bytes());
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
    read_buffer({0x00}).execute(&env);
    EXPECT_EQ(env.get_local_frame_count(), as_environment::max_local_frames);
    EXPECT_EQ(env.get_stack_size(), 0);
}

}  // namespace
