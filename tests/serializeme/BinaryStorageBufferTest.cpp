#include "SampleRecords.h"
#include "serializeme/BinaryStorageBuffer.h"

#include <gtest/gtest.h>

using sample::BinaryReader;
using sme::BinaryStorageBuffer;
using sme::StorageBuffer;

namespace {

std::string Bytes(std::initializer_list<int> values) {
    std::string bytes;
    for (int v : values) {
        bytes += static_cast<char>(v);
    }
    return bytes;
}

// The outcome of one read from the bytes, followed by the position it left ("1 7 @4").
template <class T>
std::string ReadFrom(const std::string& bytes, T start, bool (StorageBuffer::*read)(const char*, T&)) {
    BinaryStorageBuffer reader = BinaryReader(bytes);
    const std::string outcome = sample::ReadOutcome(reader, nullptr, start, read);
    return outcome + " @" + std::to_string(reader.GetReadPos());
}

// Reads a Point record from the bytes: the result, its x afterwards and the position left.
std::string ReadPointFrom(const std::string& bytes) {
    BinaryStorageBuffer reader = BinaryReader(bytes);
    sample::Point p;
    const bool read = reader.ReadObject(nullptr, p);
    return std::to_string(read) + " " + std::to_string(p.x) + " @" + std::to_string(reader.GetReadPos());
}

// Reads the list of `stored` back from bytes whose count is replaced by a far larger one, as a
// damaged or hostile recording holds it: the vector takes the count the bytes left could hold at
// four bytes an element, no more, with the stored elements first and defaults after them.
template <typename T>
void ExpectSizedToTheBoundedCount(const std::vector<T>& stored) {
    BinaryStorageBuffer writer(true);
    std::vector<T> copy = stored;
    sme::WriteVector(writer, nullptr, copy);
    const std::string bytes = std::string(writer.GetData()).replace(0, 4, "\xFF\xFF\xFF\x7F");
    BinaryStorageBuffer reader = BinaryReader(bytes);
    std::vector<T> read;
    EXPECT_FALSE(sme::ReadVector(reader, nullptr, read));  // the stream ends before the count
    ASSERT_EQ(read.size(), (bytes.size() - 4) / 4);
    EXPECT_EQ(std::vector<T>(read.begin(), read.begin() + static_cast<std::ptrdiff_t>(stored.size())), stored);
    EXPECT_EQ(std::vector<T>(read.begin() + static_cast<std::ptrdiff_t>(stored.size()), read.end()),
              std::vector<T>(read.size() - stored.size()));
}

}  // namespace

TEST(BinaryStorageBuffer, writes_little_endian_values_and_nested_records_as_their_exact_bytes) {
    sample::Scripted pair([](StorageBuffer& b) {
        b.WriteString("text", "ab");
        b.WriteBool("flag", true);
    });
    BinaryStorageBuffer flat(true), nested(true), scalars(true);
    pair.Serialize(flat);
    EXPECT_EQ(flat.GetData(), Bytes({2, 0, 0, 0, 0x61, 0x62, 1}));
    nested.WriteObject("ignored", pair);
    nested.WriteObjectPointer(nullptr, &pair);
    nested.WriteObjectPointer(nullptr, nullptr);
    nested.WriteObjectVector(nullptr, {nullptr, &pair});  // a null entry is skipped
    const std::string record = Bytes({1, 0, 0, 0, 7, 0, 0, 0}) + flat.GetData();
    EXPECT_EQ(nested.GetData(), record + record + Bytes({0, 0, 0, 0, 1, 0, 0, 0}) + record);

    scalars.WriteUInt(nullptr, 0x01020304u);
    scalars.WriteInt(nullptr, -2);
    scalars.WriteFloat(nullptr, 1.0f);
    scalars.WriteByte(nullptr, 0xAB);
    scalars.WriteBool(nullptr, false);
    scalars.WriteFlags(nullptr, 6, sample::kFlagNames, 3);
    scalars.BeginWriteArray(nullptr, 3);
    scalars.EndWriteArray();
    EXPECT_EQ(scalars.GetData(),
              Bytes({4, 3, 2, 1, 0xFE, 0xFF, 0xFF, 0xFF, 0, 0, 0x80, 0x3F, 0xAB, 0, 6, 0, 0, 0, 3, 0, 0, 0}));
}

TEST(BinaryStorageBuffer, reads_fail_without_moving_where_the_stream_cannot_hold_their_value) {
    EXPECT_EQ(ReadFrom(Bytes({2}), false, &StorageBuffer::ReadBool), "1 1 @1");
    EXPECT_EQ(ReadFrom(Bytes({0}), true, &StorageBuffer::ReadBool), "1 0 @1");
    EXPECT_EQ(ReadFrom("", false, &StorageBuffer::ReadBool), "0 0 @0");
    EXPECT_EQ(ReadFrom(Bytes({2, 0, 0, 0, 'x', 'y', 'z'}), std::string("kept"), &StorageBuffer::ReadString), "1 xy @6");
    EXPECT_EQ(ReadFrom(Bytes({10, 0, 0, 0, 'x', 'y', 'z'}), std::string("kept"), &StorageBuffer::ReadString),
              "0 kept @4");
    EXPECT_EQ(ReadPointFrom(Bytes({2, 0, 0, 0, 8, 0, 0, 0, 1, 0, 0, 0, 2, 0, 0, 0})), "0 -1 @4");  // another type id
    EXPECT_EQ(BinaryReader(Bytes({0xFF, 0xFF, 0xFF, 0xFF, 0, 0, 0, 0, 0})).BeginReadArray(nullptr),
              1u);  // bytes left / 4

    // A 4-byte value, length, count or type id cut off by the end fails and stays put, so a
    // reader that reads until a read fails always stops.
    for (size_t left = 0; left < 4; ++left) {
        const std::string cut(left, '\x7F');
        SCOPED_TRACE(std::to_string(left) + " bytes left");
        EXPECT_EQ(ReadFrom(cut, 1u, &StorageBuffer::ReadUInt), "0 1 @0");
        EXPECT_EQ(ReadFrom(cut, 2, &StorageBuffer::ReadInt), "0 2 @0");
        EXPECT_EQ(ReadFrom(cut, 3.0f, &StorageBuffer::ReadFloat), "0 3 @0");
        EXPECT_EQ(ReadFrom(cut, std::string("kept"), &StorageBuffer::ReadString), "0 kept @0");
        EXPECT_EQ(ReadPointFrom(cut), "0 -1 @0");
        uint32_t flags = 4;
        EXPECT_FALSE(BinaryReader(cut).ReadFlags(nullptr, flags, nullptr, 0));
        EXPECT_EQ(flags, 4u);
        EXPECT_EQ(BinaryReader(cut).BeginReadArray(nullptr), 0u);
    }
}

TEST(BinaryStorageBuffer, a_stored_list_count_is_bounded_by_the_smallest_elements_the_bytes_left_could_hold) {
    // Empty strings take four bytes each: 12 bytes hold at most 3 elements.
    const std::string bytes = Bytes({0xFF, 0xFF, 0xFF, 0x7F}) + std::string(12, '\0');
    EXPECT_EQ(BinaryReader(bytes).BeginReadArray(nullptr), 3u);
    BinaryStorageBuffer reader = BinaryReader(bytes);
    std::vector<std::string> words;
    EXPECT_TRUE(sme::ReadVector(reader, nullptr, words));
    EXPECT_EQ(words, std::vector<std::string>(3));
    // A count beyond the data gives a vector no longer than the bytes left could fill.
    for (size_t n : {1u, 7u, 1000u}) {
        SCOPED_TRACE(n);
        std::vector<sample::Point> points;
        words.clear();
        for (size_t i = 0; i < n; ++i) {
            words.push_back("word number " + std::to_string(i) + " of the list");
            points.emplace_back(static_cast<int32_t>(i), -static_cast<int32_t>(i));
        }
        ExpectSizedToTheBoundedCount(words);
        ExpectSizedToTheBoundedCount(points);
    }
}

// Records read back whatever their keys are called; cut or damaged, they stop the reading
// within their bytes.
TEST(BinaryStorageBuffer, records_read_back_whole_and_truncated_or_bit_flipped_images_stop_within_their_bytes) {
    sample::Everything original = sample::FilledEverything();
    BinaryStorageBuffer writer(true);
    writer.WriteObject("main", original);
    writer.WriteObject(nullptr, original);
    const std::string image = writer.GetData();
    // Reads records until one fails; each takes at least its 8-byte header, so this must end.
    const auto recordsIn = [&](const std::string& bytes) {
        BinaryStorageBuffer reader = BinaryReader(bytes);
        sample::Everything e;
        size_t records = 0;
        while (reader.ReadObject(records == 0 ? "other" : nullptr, e) && records <= bytes.size() / 8) {
            ++records;
            if (bytes == image) {
                sample::ExpectSame(original, e);
            }
        }
        EXPECT_LE(reader.GetReadPos(), bytes.size());
        EXPECT_TRUE(bytes != image || reader.GetReadPos() == bytes.size());  // the whole image is read
        return records;
    };
    for (size_t cut = 0; cut <= image.size(); ++cut) {
        EXPECT_EQ(recordsIn(image.substr(0, cut)), cut / (image.size() / 2)) << cut;
    }
    for (size_t bit = 0; bit < image.size() * 8; ++bit) {
        std::string damaged = image;
        damaged[bit / 8] = static_cast<char>(damaged[bit / 8] ^ (1 << (bit % 8)));
        EXPECT_LE(recordsIn(damaged), image.size() / 8) << bit;
    }
}
