#include "serializeme/BinaryStorageBuffer.h"
#include "serializeme/VectorSerialization.h"
#include "tests/serializeme/SampleRecordTypes.h"
#include "tests/serializeme/SampleRecords.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// A binary list of `values` whose stored count is replaced by a far larger one, as a damaged
// or hostile recording holds it.
template <typename T>
std::string ListWithHugeCount(std::vector<T> values) {
    sme::BinaryStorageBuffer writer(true);
    sme::WriteVector(writer, nullptr, values);
    std::string bytes = writer.GetData();
    bytes.replace(0, 4, "\xFF\xFF\xFF\x7F");
    return bytes;
}

// Reads the list back and checks that the vector holds exactly the stored elements and was
// grown as they were read: its allocation follows the elements, not the stored count.
template <typename T>
void ExpectGrownWhileReading(const std::vector<T>& stored) {
    sme::BinaryStorageBuffer reader = sample::BinaryReader(ListWithHugeCount(stored));
    std::vector<T> read;
    EXPECT_FALSE(sme::ReadVector(reader, nullptr, read));  // the stream ends before the count
    EXPECT_EQ(read, stored);
    EXPECT_LE(read.capacity(), 2 * stored.size());
}

TEST(ArrayCount, a_stored_count_beyond_the_data_allocates_only_for_the_elements_read) {
    for (size_t n : {1u, 7u, 1000u}) {
        SCOPED_TRACE(n);
        std::vector<std::string> words;
        std::vector<sample::Point> points;
        for (size_t i = 0; i < n; ++i) {
            words.push_back("word number " + std::to_string(i) + " of the list");
            points.emplace_back(static_cast<int32_t>(i), -static_cast<int32_t>(i));
        }
        ExpectGrownWhileReading(words);
        ExpectGrownWhileReading(points);
    }
}

TEST(ArrayCount, the_count_is_bounded_by_the_smallest_element_that_could_follow) {
    // Empty strings take four bytes each: 12 bytes hold at most 3 elements.
    const std::string bytes = std::string("\xFF\xFF\xFF\x7F", 4) + std::string(12, '\0');
    EXPECT_EQ(sample::BinaryReader(bytes).BeginReadArray(nullptr), 3u);
    sme::BinaryStorageBuffer reader = sample::BinaryReader(bytes);
    std::vector<std::string> words;
    EXPECT_TRUE(sme::ReadVector(reader, nullptr, words));
    EXPECT_EQ(words, std::vector<std::string>(3));
}

}  // namespace
