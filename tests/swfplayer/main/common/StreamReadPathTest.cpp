// The stream takes fields straight from its read-ahead block when the block and the tag hold
// enough bytes, and byte by byte otherwise; a bit_reader takes bit fields from the block through
// a 64-bit window. These tests run long random sequences of reads over block ends and tag ends
// against a plain model of the format's bit and byte reads.
#include "swfplayer/main/common/bit_reader.h"
#include "swfplayer/main/common/stream.h"
#include "tests/swfplayer/main/loading/SwfLoadingFixture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<uint8_t>;
using swf_testing::ByteStream;

// Reads the format's fields bit by bit from a bit position; bytes at or past end read as 0 and are
// not consumed.
class ModelReader {
public:
    ModelReader(const Bytes& bytes, int position, int end) : m_bytes(bytes), m_bit(8 * position), m_end(end) {}

    uint32_t read_uint(int bitcount) {
        uint32_t value = 0;
        for (int i = 0; i < bitcount; i++) {
            bool inside = m_bit < 8 * m_end;
            value = value << 1 | (inside ? (m_bytes[m_bit / 8] >> (7 - m_bit % 8)) & 1 : 0);
            m_bit += inside;
        }
        return value;
    }
    int32_t read_sint(int bitcount) {
        uint32_t value = read_uint(bitcount);
        if (bitcount > 0 && bitcount < 32 && (value >> (bitcount - 1)) != 0) {
            value |= ~0u << bitcount;
        }
        return static_cast<int32_t>(value);
    }
    uint32_t read_little_endian(int count) {
        m_bit = 8 * position();
        uint32_t value = 0;
        for (int i = 0; i < count; i++) {
            value |= read_uint(8) << (8 * i);
        }
        return value;
    }
    std::string read_string() {
        m_bit = 8 * position();
        std::string text;
        for (char c; position() < m_end && (c = static_cast<char>(read_uint(8))) != 0;) {
            text += c;
        }
        return text;
    }
    // A partly read byte counts as read.
    int position() const { return (m_bit + 7) / 8; }

private:
    const Bytes& m_bytes;
    int m_bit;
    int m_end;
};

Bytes RandomBytes(std::mt19937* random, size_t count) {
    Bytes bytes(count);
    for (uint8_t& byte : bytes) {
        // Every eighth byte is 0, so strings end now and then.
        byte = (*random)() % 8 == 0 ? 0 : static_cast<uint8_t>((*random)());
    }
    return bytes;
}

// 9000 random bytes that open with a long-form header of type 1 whose body runs to end.
Bytes RandomTagBytes(std::mt19937* random, int end) {
    Bytes bytes = RandomBytes(random, 9000);
    Bytes header = swf_testing::Written([&](swfkit::BitWriter& w) {
        w.WriteU16(1 << 6 | 0x3F);
        w.WriteU32(end - 6);
    });
    std::copy(header.begin(), header.end(), bytes.begin());
    return bytes;
}

// Runs random reads on the stream and on the model side by side until both have stood at end
// for 50 reads.
void CompareRandomReads(std::mt19937* random, swfplayer::stream* in, ModelReader* model, int end) {
    int reads_at_end = 0;
    for (int step = 0; step < 20000 && reads_at_end < 50; step++) {
        if (in->get_position() >= end) {
            reads_at_end++;
        }
        int kind = static_cast<int>((*random)() % 8);
        int bits = static_cast<int>((*random)() % 33);
        SCOPED_TRACE("step " + std::to_string(step) + " kind " + std::to_string(kind) + " bits " +
                     std::to_string(bits) + " at " + std::to_string(in->get_position()));
        switch (kind) {
        case 0:
        case 1: ASSERT_EQ(in->read_uint(bits), model->read_uint(bits)); break;
        case 2: ASSERT_EQ(in->read_sint(bits), model->read_sint(bits)); break;
        case 3: ASSERT_EQ(in->read_bool(), model->read_uint(1) != 0); break;
        case 4: ASSERT_EQ(in->read_u8(), model->read_little_endian(1)); break;
        case 5: ASSERT_EQ(in->read_u16(), model->read_little_endian(2)); break;
        case 6: ASSERT_EQ(in->read_u32(), model->read_little_endian(4)); break;
        case 7: {
            swfplayer::base_string text;
            in->read_string(&text);
            ASSERT_EQ(std::string(text.c_str()), model->read_string());
            break;
        }
        }
        ASSERT_EQ(in->get_position(), model->position());
    }
}

// The same with bit fields read through a bit_reader, which hands the stream back for the
// byte-aligned reads (and now and then between bit fields) and takes it again afterwards.
void CompareRandomBitReaderReads(std::mt19937* random, swfplayer::stream* in, ModelReader* model, int end) {
    int reads_at_end = 0;
    swfplayer::bit_reader bits(in);
    for (int step = 0; step < 20000 && reads_at_end < 50; step++) {
        int kind = static_cast<int>((*random)() % 16);
        int count = static_cast<int>((*random)() % 33);
        SCOPED_TRACE("step " + std::to_string(step) + " kind " + std::to_string(kind) + " bits " +
                     std::to_string(count));
        if (kind < 12) {
            switch (kind % 3) {
            case 0: ASSERT_EQ(bits.read_uint(count), model->read_uint(count)); break;
            case 1: ASSERT_EQ(bits.read_sint(count), model->read_sint(count)); break;
            case 2: ASSERT_EQ(bits.read_bool(), model->read_uint(1) != 0); break;
            }
            continue;
        }
        bits.release();
        if (in->get_position() >= end) {
            reads_at_end++;
        }
        ASSERT_EQ(in->get_position(), model->position());
        if (kind == 12) {
            ASSERT_EQ(in->read_u16(), model->read_little_endian(2));
        } else if (kind == 13) {
            ASSERT_EQ(in->read_u8(), model->read_little_endian(1));
        } else if (kind == 14) {
            ASSERT_EQ(in->read_uint(count), model->read_uint(count));  // the stream's own bit path
        }
        bits.resume();
    }
    bits.release();
    EXPECT_EQ(in->get_position(), model->position());
}

TEST(StreamReadPathTest, bit_reader_fields_match_the_model_across_block_and_tag_ends) {
    for (int end : {4093, 4096, 4099, 9000}) {
        SCOPED_TRACE("tag end " + std::to_string(end));
        std::mt19937 random(static_cast<unsigned>(end) * 3);
        Bytes bytes = RandomTagBytes(&random, end);
        ByteStream s(bytes);
        ASSERT_EQ(s.in.open_tag(), 1);
        int start = end - 300;
        s.in.set_position(start);
        ModelReader model(bytes, start, end);
        CompareRandomBitReaderReads(&random, &s.in, &model, end);
        // A reader that ends takes nothing beyond the bits it gave: the stream's next bit field
        // continues the same byte.
        s.in.close_tag();
        EXPECT_EQ(s.in.read_u8(), end < 9000 ? bytes[end] : 0);
    }
}

TEST(StreamReadPathTest, random_fields_match_the_model_across_block_ends) {
    std::mt19937 random(7);
    Bytes bytes = RandomBytes(&random, 13000);
    ByteStream s(bytes);
    ModelReader model(bytes, 0, static_cast<int>(bytes.size()));
    CompareRandomReads(&random, &s.in, &model, static_cast<int>(bytes.size()));
    EXPECT_TRUE(s.in.hit_file_end());
}

TEST(StreamReadPathTest, random_fields_stop_at_tag_ends_inside_and_at_the_edge_of_a_block) {
    // Tag ends a few bytes before, at and after the first block end, and deep inside a block.
    for (int end : {4093, 4094, 4095, 4096, 4097, 4099, 5000}) {
        SCOPED_TRACE("tag end " + std::to_string(end));
        std::mt19937 random(static_cast<unsigned>(end));
        Bytes bytes = RandomTagBytes(&random, end);
        ByteStream s(bytes);
        ASSERT_EQ(s.in.open_tag(), 1);
        ASSERT_EQ(s.in.get_tag_end_position(), end);
        // Start a little before the end so that most reads meet it.
        int start = end - 40;
        s.in.set_position(start);
        ModelReader model(bytes, start, end);
        CompareRandomReads(&random, &s.in, &model, end);
        EXPECT_FALSE(s.in.hit_file_end());
        s.in.close_tag();
        EXPECT_EQ(s.in.read_u8(), bytes[end]);
    }
}

}  // namespace

// A stream over bytes in memory reads them in place. The eight bytes after them are 0xFF here,
// so a read that used them would disagree with the model, which reads zeros past the end.
Bytes Padded(Bytes data) {
    data.insert(data.end(), 8, 0xFF);
    return data;
}

struct MemoryStream {
    explicit MemoryStream(const Bytes& data) : bytes(Padded(data)) {}
    Bytes bytes;
    swfplayer::stream in{bytes.data(), static_cast<int>(bytes.size()) - 8};
};

TEST(StreamReadPathTest, a_stream_over_memory_matches_the_model_to_the_end_of_the_bytes) {
    for (int size : {0, 1, 4095, 13000}) {
        SCOPED_TRACE("size " + std::to_string(size));
        std::mt19937 random(static_cast<unsigned>(size) + 11);
        Bytes bytes = RandomBytes(&random, static_cast<size_t>(size));
        MemoryStream byte_reads(bytes);
        ModelReader model(bytes, 0, size);
        CompareRandomReads(&random, &byte_reads.in, &model, size);
        EXPECT_TRUE(byte_reads.in.hit_file_end());
        MemoryStream bit_reads(bytes);
        ModelReader bit_model(bytes, 0, size);
        CompareRandomBitReaderReads(&random, &bit_reads.in, &bit_model, size);
    }
}

TEST(StreamReadPathTest, a_stream_over_memory_clamps_tags_seeks_and_its_file_view_to_the_bytes) {
    std::mt19937 random(5);
    for (int end : {100, 4096, 9000, 12000}) {
        SCOPED_TRACE("tag end " + std::to_string(end));
        Bytes bytes = RandomTagBytes(&random, end);
        MemoryStream s(bytes);
        ASSERT_EQ(s.in.open_tag(), 1);
        // A tag claiming more than the bytes hold ends with them.
        ASSERT_EQ(s.in.get_tag_end_position(), std::min(end, 9000));
        int start = std::min(end, 9000) - 40;
        s.in.set_position(start);
        ModelReader model(bytes, start, std::min(end, 9000));
        CompareRandomReads(&random, &s.in, &model, std::min(end, 9000));
        s.in.close_tag();
        EXPECT_EQ(s.in.get_position(), std::min(end, 9000));
    }
    Bytes bytes = RandomBytes(&random, 300);
    MemoryStream s(bytes);
    s.in.set_position(1000);
    EXPECT_EQ(s.in.get_position(), 300);
    s.in.set_position(-5);
    EXPECT_EQ(s.in.get_position(), 0);
    s.in.set_position(290);
    swfplayer::base_file* view = s.in.get_underlying_stream();
    uint8_t got[16] = {};
    EXPECT_FALSE(view->get_eof());
    ASSERT_EQ(view->read_bytes(got, 16), 10);
    EXPECT_TRUE(std::equal(got, got + 10, bytes.begin() + 290));
    EXPECT_TRUE(view->get_eof());
    EXPECT_EQ(s.in.get_position(), 300);
}
