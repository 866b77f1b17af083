#include "SampleRecords.h"
#include "serializeme/VectorSerialization.h"

#include <gtest/gtest.h>

namespace {

// A list followed by a scalar, to see where the buffer stands after the list.
struct ListThenValue : sme::Serializable {
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

// An absent list reads as empty and true; a failing element gives false and the elements before
// it. Either way the buffer goes on after the list.
TEST(VectorSerialization, a_list_reads_up_to_its_first_failing_element_and_the_buffer_goes_on_after_it) {
    const struct {
        const char* list;
        bool read;
        std::vector<std::string> words;
    } cases[] = {
        {"", true, {}},
        {"<array name=\"words\"><element value=\"a\" /><element /><element value=\"c\" /></array>", false, {"a"}},
    };
    for (const auto& c : cases) {
        sample::XmlReader reader(std::string("<r><listthenvalue after=\"4\">") + c.list + "</listthenvalue></r>");
        ListThenValue record;
        EXPECT_TRUE(reader->ReadObject(nullptr, record));
        EXPECT_EQ(record.listRead, c.read);
        EXPECT_EQ(record.words, c.words);
        EXPECT_EQ(record.after, 4);
    }
}
