#include "SampleRecords.h"
#include "serializeme/VectorSerialization.h"

#include <gtest/gtest.h>

namespace {

// A list followed by a scalar, to see where the buffer stands after the list.
class ListThenValue : public sme::Serializable {
public:
    bool Serialize(sme::StorageBuffer& buffer) override {
        listRead = sme::ReadVector(buffer, "words", words);
        buffer.ReadInt("after", after);
        return true;
    }
    const char* TypeName() const override { return "listthenvalue"; }

    std::vector<std::string> words = {"old"};
    int32_t after = 0;
    bool listRead = false;
};

}  // namespace

TEST(VectorSerialization, an_absent_list_reads_as_empty_and_true) {
    sample::XmlReader reader("<r><listthenvalue after=\"4\" /></r>");
    ListThenValue record;
    EXPECT_TRUE(reader->ReadObject(nullptr, record));
    EXPECT_TRUE(record.listRead);
    EXPECT_TRUE(record.words.empty());
    EXPECT_EQ(record.after, 4);
}

TEST(VectorSerialization, a_failing_element_gives_false_the_elements_before_it_and_the_buffer_goes_on_after_the_list) {
    sample::XmlReader reader(
        "<r><listthenvalue after=\"4\"><array name=\"words\"><element value=\"a\" />"
        "<element /><element value=\"c\" /></array></listthenvalue></r>");
    ListThenValue record;
    EXPECT_TRUE(reader->ReadObject(nullptr, record));
    EXPECT_FALSE(record.listRead);
    EXPECT_EQ(record.words, (std::vector<std::string>{"a"}));
    EXPECT_EQ(record.after, 4);
}
