#include "serializeme/BinaryStorageBuffer.h"

#include "SampleRecords.h"

#include <gtest/gtest.h>

using sme::BinaryStorageBuffer;

namespace {

// The record of the format's example: a two-character string and then a bool.
class StringAndBool : public sme::Serializable {
public:
    bool Serialize(sme::StorageBuffer& buffer) override {
        if (buffer.IsWriting()) {
            buffer.WriteString("text", text);
            buffer.WriteBool("flag", flag);
        } else {
            buffer.ReadString("text", text);
            buffer.ReadBool("flag", flag);
        }
        return true;
    }
    const char* TypeName() const override { return "pair"; }

    std::string text = "ab";
    bool flag = true;
};

std::string Bytes(std::initializer_list<int> values) {
    std::string bytes;
    for (int v : values) {
        bytes += static_cast<char>(v);
    }
    return bytes;
}

BinaryStorageBuffer ReaderOf(const std::string& bytes) {
    BinaryStorageBuffer reader(false);
    reader.SetData(bytes);
    return reader;
}

}  // namespace

TEST(BinaryStorageBuffer, a_small_record_and_a_nested_one_give_the_exact_bytes) {
    StringAndBool record;
    BinaryStorageBuffer flat(true);
    record.Serialize(flat);
    EXPECT_EQ(flat.GetData(), Bytes({0x02, 0, 0, 0, 0x61, 0x62, 0x01}));

    BinaryStorageBuffer nested(true);
    nested.WriteObject("ignored", record);
    EXPECT_EQ(nested.GetData(), Bytes({0x01, 0, 0, 0, 0x07, 0, 0, 0, 0x02, 0, 0, 0, 0x61, 0x62, 0x01}));
}

TEST(BinaryStorageBuffer, numbers_are_little_endian_and_floats_ieee_single) {
    BinaryStorageBuffer writer(true);
    writer.WriteUInt(nullptr, 0x01020304u);
    writer.WriteInt(nullptr, -2);
    writer.WriteFloat(nullptr, 1.0f);
    writer.WriteByte(nullptr, 0xAB);
    writer.WriteFlags(nullptr, 6, sample::kFlagNames, 3);
    writer.BeginWriteArray(nullptr, 3);
    writer.EndWriteArray();
    writer.WriteObjectPointer(nullptr, nullptr);
    EXPECT_EQ(writer.GetData(), Bytes({4, 3, 2, 1, 0xFE, 0xFF, 0xFF, 0xFF, 0, 0, 0x80, 0x3F, 0xAB, 6, 0, 0, 0,
                                       3, 0, 0, 0, 0, 0, 0, 0}));
}

TEST(BinaryStorageBuffer, every_value_kind_round_trips_whatever_the_keys_are_called) {
    sample::Everything original = sample::FilledEverything();
    BinaryStorageBuffer writer(true);
    writer.WriteObject("main", original);
    writer.WriteObject(nullptr, original);

    BinaryStorageBuffer reader = ReaderOf(writer.GetData());
    sample::Everything first, second;
    EXPECT_TRUE(reader.ReadObject("other", first));
    EXPECT_TRUE(reader.ReadObject(nullptr, second));
    sample::ExpectSame(original, first);
    sample::ExpectSame(original, second);
    EXPECT_EQ(reader.GetReadPos(), writer.GetData().size());
    sample::Everything third;
    EXPECT_FALSE(reader.ReadObject(nullptr, third));
}

TEST(BinaryStorageBuffer, any_non_zero_byte_reads_as_true) {
    BinaryStorageBuffer reader = ReaderOf(Bytes({2, 0}));
    bool b = false;
    EXPECT_TRUE(reader.ReadBool(nullptr, b));
    EXPECT_TRUE(b);
    EXPECT_TRUE(reader.ReadBool(nullptr, b));
    EXPECT_FALSE(b);
    EXPECT_FALSE(reader.ReadBool(nullptr, b));
}

TEST(BinaryStorageBuffer, a_string_longer_than_the_bytes_left_fails_and_stays_unchanged) {
    BinaryStorageBuffer reader = ReaderOf(Bytes({10, 0, 0, 0, 'x', 'y', 'z'}));
    std::string s = "kept";
    EXPECT_FALSE(reader.ReadString(nullptr, s));
    EXPECT_EQ(s, "kept");
    EXPECT_EQ(reader.GetReadPos(), 4u);
}

TEST(BinaryStorageBuffer, a_value_cut_off_by_the_end_fails_without_moving) {
    for (size_t left = 0; left < 4; ++left) {
        BinaryStorageBuffer reader = ReaderOf(std::string(left, '\x7F'));
        uint32_t u = 1;
        int32_t i = 2;
        float f = 3.0f;
        uint32_t flags = 4;
        EXPECT_FALSE(reader.ReadUInt(nullptr, u));
        EXPECT_FALSE(reader.ReadInt(nullptr, i));
        EXPECT_FALSE(reader.ReadFloat(nullptr, f));
        EXPECT_FALSE(reader.ReadFlags(nullptr, flags, nullptr, 0));
        EXPECT_EQ(reader.BeginReadArray(nullptr), 0u);
        EXPECT_EQ(u, 1u);
        EXPECT_EQ(i, 2);
        EXPECT_EQ(f, 3.0f);
        EXPECT_EQ(flags, 4u);
        EXPECT_EQ(reader.GetReadPos(), 0u);
    }
}

TEST(BinaryStorageBuffer, records_read_until_one_fails_stop_on_a_truncated_stream) {
    sample::Point p(1, 2);
    BinaryStorageBuffer writer(true);
    for (int i = 0; i < 3; ++i) {
        writer.WriteObject(nullptr, p);
    }
    const std::string& full = writer.GetData();
    for (size_t cut = 0; cut <= full.size(); ++cut) {
        BinaryStorageBuffer reader = ReaderOf(full.substr(0, cut));
        int records = 0;
        sample::Point q;
        while (reader.ReadObject(nullptr, q)) {
            ASSERT_LE(++records, 3);
        }
        EXPECT_EQ(static_cast<size_t>(records), cut / 16) << cut;
    }
}

TEST(BinaryStorageBuffer, a_record_of_another_type_id_fails_just_after_the_id) {
    BinaryStorageBuffer reader = ReaderOf(Bytes({2, 0, 0, 0, 8, 0, 0, 0, 1, 0, 0, 0, 2, 0, 0, 0}));
    sample::Point p;
    EXPECT_FALSE(reader.ReadObject(nullptr, p));
    EXPECT_EQ(reader.GetReadPos(), 4u);
    EXPECT_EQ(p.x, -1);
}

TEST(BinaryStorageBuffer, array_counts_are_limited_to_the_bytes_left) {
    BinaryStorageBuffer reader = ReaderOf(Bytes({0xFF, 0xFF, 0xFF, 0xFF, 0, 0, 0}));
    EXPECT_EQ(reader.BeginReadArray(nullptr), 3u);

    std::vector<std::string> words;
    BinaryStorageBuffer huge = ReaderOf(Bytes({0xFF, 0xFF, 0xFF, 0x7F, 1, 0, 0, 0, 'a'}));
    EXPECT_FALSE(sme::ReadVector(huge, nullptr, words));
    EXPECT_EQ(words.size(), 5u);
    EXPECT_EQ(words[0], "a");
}

TEST(BinaryStorageBuffer, null_records_round_trip_and_polymorphic_reads_need_a_factory) {
    sample::Point p(1, 2);
    BinaryStorageBuffer writer(true);
    writer.WriteObjectPointer(nullptr, nullptr);
    writer.WriteObjectPointer(nullptr, &p);
    std::vector<sme::Serializable*> list = {&p, nullptr, &p};
    writer.WriteObjectVector(nullptr, list);

    BinaryStorageBuffer reader = ReaderOf(writer.GetData());
    sme::Serializable* object = new sample::Point(7, 7);
    EXPECT_TRUE(reader.ReadObjectPointer(nullptr, object));
    EXPECT_EQ(object, nullptr);
    EXPECT_FALSE(reader.ReadObjectPointer(nullptr, object));
    EXPECT_EQ(object, nullptr);
    std::vector<sme::Serializable*> read;
    EXPECT_FALSE(reader.ReadObjectVector(nullptr, read));
    EXPECT_TRUE(read.empty());

    // A held object of the stored type is read into without the factory.
    BinaryStorageBuffer again = ReaderOf(writer.GetData());
    sample::Point held;
    object = nullptr;
    EXPECT_TRUE(again.ReadObjectPointer(nullptr, object));
    object = &held;
    EXPECT_TRUE(again.ReadObjectPointer(nullptr, object));
    EXPECT_EQ(held.x, 1);
    EXPECT_EQ(held.y, 2);

    // The written vector skipped its null entry.
    BinaryStorageBuffer counted = ReaderOf(writer.GetData().substr(4 + 16));
    uint32_t count = 0;
    EXPECT_TRUE(counted.ReadUInt(nullptr, count));
    EXPECT_EQ(count, 2u);
}

TEST(BinaryStorageBuffer, truncated_and_bit_flipped_images_never_read_past_their_end) {
    sample::Everything original = sample::FilledEverything();
    BinaryStorageBuffer writer(true);
    writer.WriteObject(nullptr, original);
    writer.WriteObject(nullptr, original);
    const std::string image = writer.GetData();
    for (size_t bit = 0; bit < image.size() * 8; ++bit) {
        std::string damaged = image;
        damaged[bit / 8] = static_cast<char>(damaged[bit / 8] ^ (1 << (bit % 8)));
        for (const std::string& bytes : {damaged, damaged.substr(0, bit / 8)}) {
            BinaryStorageBuffer reader = ReaderOf(bytes);
            sample::Everything e;
            // Every record read takes at least its 8-byte header, so the loop ends.
            size_t records = 0;
            while (reader.ReadObject(nullptr, e)) {
                ASSERT_LE(++records, bytes.size() / 8);
            }
            EXPECT_LE(reader.GetReadPos(), bytes.size());
        }
    }
}
