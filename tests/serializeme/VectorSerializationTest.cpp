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

// An absent list reads as empty and true. A failing element gives false and a vector of the
// list's full length: the elements before it as read, it and every later one at their defaults
// (whatever the vector held before). Either way the buffer goes on after the list.
TEST(VectorSerialization, a_failing_element_leaves_the_full_length_with_defaults_from_it_on_and_the_buffer_goes_on) {
    const struct {
        const char* list;
        bool read;
        std::vector<std::string> words;
    } cases[] = {
        {"", true, {}},
        {"<array name=\"words\"><element value=\"a\" /><element value=\"b\" /></array>", true, {"a", "b"}},
        {"<array name=\"words\"><element value=\"a\" /><element /><element value=\"c\" /></array>",
         false,
         {"a", "", ""}},
        {"<array name=\"words\"><element /><element value=\"b\" /></array>", false, {"", ""}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.list);
        sample::XmlReader reader(std::string("<r><listthenvalue after=\"4\">") + c.list + "</listthenvalue></r>");
        ListThenValue record;
        EXPECT_TRUE(reader->ReadObject(nullptr, record));
        EXPECT_EQ(record.listRead, c.read);
        EXPECT_EQ(record.words, c.words);
        EXPECT_EQ(record.after, 4);
    }
}
