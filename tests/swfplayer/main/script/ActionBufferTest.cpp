#include "swfplayer/main/script/action_buffer.h"
#include "swfplayer/main/script/as_environment.h"
#include "swfplayer/main/script/player.h"
#include "tools/swfkit/ActionAssembler.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <utility>

using namespace swfplayer;
using swfkit::assemble;
using swfkit::Bytes;

namespace {

// A buffer read from the bytes.
struct read_buffer : action_buffer {
    explicit read_buffer(const Bytes& bytes) : read_bytes(read(bytes.data(), static_cast<int>(bytes.size()))) {}
    // The constant pool's entries joined by "|".
    std::string pool() const {
        std::string joined;
        for (int i = 0; i < get_dictionary_size(); i++) {
            joined += (i ? "|" : "") + std::string(get_dictionary_entry(i).c_str());
        }
        return joined;
    }
    int read_bytes;
};

TEST(ActionBufferTest, reading_stops_after_the_end_action_and_drops_a_record_longer_than_the_data) {
    read_buffer buffer({0x07, 0x96, 0x02, 0x00, 0x05, 0x01, 0x00, 0x17, 0x99});
    EXPECT_EQ(std::tuple(buffer.read_bytes, buffer.size(), buffer[6], buffer[1], buffer[100], buffer[-1]),
              std::tuple(7, 7, 0x00, 0x96, 0x00, 0x00));
    // The stream is terminated after the last whole record.
    read_buffer cut({0x07, 0x96, 0xFF, 0xFF, 0x01});
    EXPECT_EQ(std::tuple(cut.read_bytes, cut.size(), cut[1]), std::tuple(1, 2, 0x00));
    EXPECT_EQ(read_buffer({0x96, 0x02}).size(), 1);
    read_buffer empty({});
    EXPECT_EQ(std::pair(empty.read_bytes, empty.size()), std::pair(0, 1));
}

TEST(ActionBufferTest, copies_share_bytes_and_copy_the_pool) {
    read_buffer buffer(assemble("pool:a,b").bytes());
    buffer.process_decl_dict(0, buffer.size() - 1);
    action_buffer copy(buffer), other;
    EXPECT_TRUE(copy.shares_bytes_with(buffer));
    EXPECT_EQ(copy.get_dictionary_size(), 2);
    EXPECT_FALSE(other.shares_bytes_with(buffer));
    other = buffer;
    EXPECT_TRUE(other.shares_bytes_with(buffer));
    EXPECT_STREQ(other.get_dictionary_entry(1).c_str(), "b");
    EXPECT_EQ(other.get_decl_dict_processed_at(), 0);
}

TEST(ActionBufferTest, the_first_constant_pool_stays_in_force_and_strings_overrunning_the_record_are_invalid) {
    int first_end = static_cast<int>(assemble("pool:one,two").code().size());
    read_buffer buffer(assemble("pool:one,two pool:three").bytes());
    buffer.process_decl_dict(0, first_end);
    buffer.process_decl_dict(0, first_end);  // the same record on a later pass
    buffer.process_decl_dict(first_end, buffer.size() - 1);
    EXPECT_EQ(buffer.pool(), "one|two");
    // Four strings declared, two there, and the last loses its terminator.
    read_buffer overrun(assemble("#88:04,00,'ok',63,75,74,78").bytes());
    overrun.process_decl_dict(0, overrun.size() - 1);
    EXPECT_EQ(overrun.pool(), "ok|<invalid>|<invalid>|<invalid>");
}

TEST(ActionBufferTest, an_empty_pool_and_bad_record_bounds) {
    read_buffer buffer(assemble("#88:00,00").bytes());
    for (auto [start, end] : {std::pair(0, 500), std::pair(-3, 2), std::pair(5, 5)}) {
        buffer.process_decl_dict(start, end);
        EXPECT_EQ(buffer.get_decl_dict_processed_at(), -1) << start << ", " << end;
    }
    buffer.process_decl_dict(0, 5);
    EXPECT_EQ(std::pair(buffer.get_dictionary_size(), buffer.get_decl_dict_processed_at()), std::pair(0, 0));
}

TEST(ActionBufferTest, execution_is_refused_when_locals_are_nested_too_deep) {
    smart_ptr<player> owner = new player();
    as_environment env(owner.get_ptr());
    for (int i = 0; i < as_environment::max_local_frames; i++) {
        env.push_barrier();
    }
    read_buffer({0x00}).execute(&env);
    EXPECT_EQ(std::pair(env.get_local_frame_count(), env.get_stack_size()),
              std::pair(as_environment::max_local_frames, 0));
}

}  // namespace
