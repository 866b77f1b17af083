#include "serializeme/XmlStorageBuffer.h"

#include "SampleRecords.h"
#include "serializeme/XmlTextParser.h"

#include <clocale>
#include <gtest/gtest.h>
#include <locale>
#include <functional>
#include <memory>

using sme::XmlStorageBuffer;

namespace {

// The element's XML as tinyxml prints it, on one line.
std::string Compact(const TiXmlNode* node) {
    TiXmlPrinter printer;
    printer.SetStreamPrinting();
    node->Accept(&printer);
    return printer.Str();
}

// A reading buffer over the root element of the text.
class Reader {
public:
    explicit Reader(const char* text) {
        EXPECT_TRUE(sme::XmlTextParser::Parse(m_Document, text)) << text;
        m_Buffer.SetRoot(m_Document.RootElement());
    }
    XmlStorageBuffer& operator*() { return m_Buffer; }
    XmlStorageBuffer* operator->() { return &m_Buffer; }

private:
    TiXmlDocument m_Document;
    XmlStorageBuffer m_Buffer{false};
};

// Writes the record under the key into a fresh buffer and returns the record's element text.
std::string Written(sme::Serializable& record, const char* key) {
    XmlStorageBuffer writer(true);
    writer.WriteObject(key, record);
    return Compact(writer.GetRoot()->FirstChildElement());
}

// A record whose members are written by a callback.
class Scalars : public sme::Serializable {
public:
    explicit Scalars(std::function<void(sme::StorageBuffer&)> write) : m_Write(std::move(write)) {}
    bool Serialize(sme::StorageBuffer& buffer) override {
        m_Write(buffer);
        return true;
    }
    const char* TypeName() const override { return "scalars"; }

private:
    std::function<void(sme::StorageBuffer&)> m_Write;
};

}  // namespace

TEST(XmlStorageBuffer, a_record_is_an_element_with_attributes_nested_records_and_arrays) {
    sample::Everything e = sample::FilledEverything();
    EXPECT_EQ(Written(e, "main"),
              "<everything text='Hello, &lt;world&gt; &amp; &quot;friends&quot;' number=\"-0.125\" byte=\"200\" "
              "count=\"4000000000\" offset=\"-2000000000\" enabled=\"true\" kinds=\"solid bullet\" name=\"main\">"
              "<point x=\"3\" y=\"-4\" name=\"corner\" />"
              "<array name=\"words\"><element value=\"one\" /><element value=\"\" /><element value=\"three\" /></array>"
              "<array name=\"points\"><point x=\"1\" y=\"2\" /><point x=\"-5\" y=\"6\" /></array>"
              "</everything>");
}

TEST(XmlStorageBuffer, every_value_kind_round_trips_through_a_written_and_reparsed_document) {
    sample::Everything original = sample::FilledEverything();
    XmlStorageBuffer writer(true);
    writer.WriteObject("main", original);
    writer.GetRoot()->SetValue("resource");
    TiXmlPrinter printer;
    writer.GetRoot()->Accept(&printer);

    Reader reader(printer.CStr());
    sample::Everything copy;
    EXPECT_TRUE(reader->ReadObject("main", copy));
    sample::ExpectSame(original, copy);
}

TEST(XmlStorageBuffer, missing_members_keep_their_defaults_and_the_record_still_reads) {
    Reader reader("<resource><everything name=\"main\" count=\"12\" /></resource>");
    sample::Everything e;
    EXPECT_TRUE(reader->ReadObject("main", e));
    EXPECT_EQ(e.count, 12u);
    sample::Everything defaults;
    defaults.count = 12;
    sample::ExpectSame(defaults, e);
}

TEST(XmlStorageBuffer, record_and_array_keys_ignore_case_but_attribute_keys_are_exact) {
    Reader reader("<r><thing name=\"M_CONTROLLERS\" X=\"5\" y=\"6\" /><array name=\"WORDS\"><element value=\"a\" /></array></r>");
    sample::Point p;
    EXPECT_TRUE(reader->ReadObject("m_Controllers", p));
    EXPECT_EQ(p.x, -1);  // "X" is not "x"
    EXPECT_EQ(p.y, 6);
    EXPECT_EQ(reader->BeginReadArray("words"), 1u);
}

TEST(XmlStorageBuffer, a_record_stored_under_a_key_has_its_own_name_attribute_replaced_in_place) {
    Scalars record([](sme::StorageBuffer& b) {
        b.WriteString("name", "inner");
        b.WriteInt("size", 3);
    });
    EXPECT_EQ(Written(record, "outer"), "<scalars name=\"outer\" size=\"3\" />");
    EXPECT_EQ(Written(record, nullptr), "<scalars name=\"inner\" size=\"3\" />");
}

TEST(XmlStorageBuffer, writing_an_attribute_again_keeps_its_place) {
    Scalars record([](sme::StorageBuffer& b) {
        b.WriteInt("a", 1);
        b.WriteInt("b", 2);
        b.WriteInt("a", 3);
    });
    EXPECT_EQ(Written(record, nullptr), "<scalars a=\"3\" b=\"2\" />");
}

TEST(XmlStorageBuffer, bool_flag_and_byte_texts_read_as_the_value_table_says) {
    Reader reader("<r caps=\"TRUE\" two=\"2\" yes=\"yes\" minus=\"-1\" empty=\"\" kinds=\"bullet solid\" "
                  "big=\"300\" word=\"many\" u=\"x\" i=\"y\" f=\"z\" />");
    bool b = false;
    EXPECT_TRUE(reader->ReadBool("caps", b));
    EXPECT_TRUE(b);
    EXPECT_TRUE(reader->ReadBool("two", b));
    EXPECT_TRUE(b);
    for (const char* key : {"yes", "minus", "empty"}) {
        b = true;
        EXPECT_TRUE(reader->ReadBool(key, b));
        EXPECT_FALSE(b) << key;
    }
    uint32_t kinds = 99;
    EXPECT_TRUE(reader->ReadFlags("kinds", kinds, sample::kFlagNames, 3));
    EXPECT_EQ(kinds, 5u);

    uint8_t byte = 1;
    EXPECT_TRUE(reader->ReadByte("big", byte));
    EXPECT_EQ(byte, 300 & 0xFF);
    EXPECT_TRUE(reader->ReadByte("word", byte));
    EXPECT_EQ(byte, 300 & 0xFF);

    // A text that is not a number still counts as read; integers then keep their value.
    uint32_t u = 4;
    int32_t i = -4;
    float f = 2.0f;
    EXPECT_TRUE(reader->ReadUInt("u", u));
    EXPECT_TRUE(reader->ReadInt("i", i));
    EXPECT_TRUE(reader->ReadFloat("f", f));
    EXPECT_EQ(u, 4u);
    EXPECT_EQ(i, -4);
    EXPECT_EQ(f, 0.0f);

    EXPECT_FALSE(reader->ReadInt("absent", i));
    EXPECT_FALSE(reader->ReadInt(nullptr, i));
}

TEST(XmlStorageBuffer, flags_with_no_bit_set_are_the_empty_text) {
    Scalars record([](sme::StorageBuffer& b) { b.WriteFlags("kinds", 0, sample::kFlagNames, 3); });
    EXPECT_EQ(Written(record, nullptr), "<scalars kinds=\"\" />");
}

TEST(XmlStorageBuffer, unnamed_array_reads_take_the_elements_in_order_and_a_fourth_read_fails) {
    Reader reader("<r><array name=\"list\"><element value=\"a\" /><element /><element value=\"c\" /></array></r>");
    ASSERT_EQ(reader->BeginReadArray("list"), 3u);
    std::string s = "unset";
    EXPECT_TRUE(reader->ReadString(nullptr, s));
    EXPECT_EQ(s, "a");
    EXPECT_FALSE(reader->ReadString(nullptr, s));  // no "value": fails, the cursor still moves on
    EXPECT_TRUE(reader->ReadString(nullptr, s));
    EXPECT_EQ(s, "c");
    EXPECT_FALSE(reader->ReadString(nullptr, s));
    EXPECT_EQ(s, "c");
    reader->EndReadArray();
}

TEST(XmlStorageBuffer, named_array_elements_are_found_by_name_without_moving_the_cursor) {
    Reader reader("<r><array name=\"list\"><element name=\"first\" value=\"1\" /><element name=\"second\" value=\"2\" /></array></r>");
    ASSERT_EQ(reader->BeginReadArray("list"), 2u);
    int32_t v = 0;
    EXPECT_TRUE(reader->ReadInt("SECOND", v));
    EXPECT_EQ(v, 2);
    EXPECT_TRUE(reader->ReadInt(nullptr, v));
    EXPECT_EQ(v, 1);
    EXPECT_FALSE(reader->ReadInt("third", v));
}

TEST(XmlStorageBuffer, named_scalars_written_in_an_array_are_element_children_with_names) {
    Scalars record([](sme::StorageBuffer& b) {
        b.BeginWriteArray("list", 2);
        b.WriteInt("first", 1);
        b.WriteBool(nullptr, true);
        b.EndWriteArray();
        b.WriteInt("after", 3);
    });
    EXPECT_EQ(Written(record, nullptr),
              "<scalars after=\"3\"><array name=\"list\"><element name=\"first\" value=\"1\" />"
              "<element value=\"true\" /></array></scalars>");
}

TEST(XmlStorageBuffer, begin_read_array_on_a_record_element_counts_its_children) {
    Reader reader("<r><thing name=\"t\"><a /><b /><c value=\"x\" /></thing></r>");
    EXPECT_EQ(reader->BeginReadArray("t"), 3u);
    EXPECT_EQ(reader->BeginReadArray("absent"), 0u);
}

TEST(XmlStorageBuffer, unnamed_objects_are_read_from_the_root_children_in_order) {
    Reader reader("<resource><point x=\"1\" /><!-- note --><point x=\"2\" /></resource>");
    sample::Point a, b, c;
    EXPECT_TRUE(reader->ReadObject(nullptr, a));
    EXPECT_TRUE(reader->ReadObject(nullptr, b));
    EXPECT_FALSE(reader->ReadObject(nullptr, c));
    EXPECT_EQ(a.x, 1);
    EXPECT_EQ(b.x, 2);
    EXPECT_EQ(c.x, -1);
}

TEST(XmlStorageBuffer, a_buffer_set_to_nothing_reads_and_writes_nothing) {
    XmlStorageBuffer buffer(false);
    buffer.SetRoot(nullptr);
    EXPECT_EQ(buffer.GetRoot(), nullptr);
    sample::Everything e;
    EXPECT_FALSE(buffer.ReadObject(nullptr, e));
    EXPECT_FALSE(buffer.ReadString("text", e.text));
    EXPECT_EQ(buffer.BeginReadArray("words"), 0u);
    buffer.EndReadArray();
    buffer.WriteInt("x", 1);
    buffer.WriteObject("e", e);
    buffer.BeginWriteArray("a", 1);
    buffer.EndWriteArray();
    EXPECT_EQ(buffer.GetRoot(), nullptr);

    TiXmlText text("not an element");
    buffer.SetRoot(&text);
    EXPECT_EQ(buffer.GetRoot(), nullptr);
}

TEST(XmlStorageBuffer, a_stray_end_of_array_does_not_leave_the_root) {
    XmlStorageBuffer writer(true);
    writer.EndWriteArray();
    writer.WriteInt("x", 1);
    EXPECT_EQ(Compact(writer.GetRoot()), "< x=\"1\" />");
}

TEST(XmlStorageBuffer, null_records_are_written_with_isnull_and_read_back_as_null) {
    XmlStorageBuffer writer(true);
    writer.WriteObjectPointer("missing", nullptr);
    sample::Point p(1, 2);
    writer.WriteObjectPointer("present", &p);
    EXPECT_EQ(Compact(writer.GetRoot()),
              "<>< name=\"missing\" isnull=\"true\" /><point x=\"1\" y=\"2\" name=\"present\" /></>");

    XmlStorageBuffer reader(false);
    reader.SetRoot(writer.GetRoot());
    sme::Serializable* object = new sample::Point(5, 5);
    EXPECT_TRUE(reader.ReadObjectPointer("missing", object));
    EXPECT_EQ(object, nullptr);
}

TEST(XmlStorageBuffer, polymorphic_reads_fail_while_no_factory_knows_the_type) {
    XmlStorageBuffer writer(true);
    sample::Point p(1, 2);
    writer.WriteObjectPointer("present", &p);
    std::vector<sme::Serializable*> list = {&p};
    writer.WriteObjectVector("list", list);

    XmlStorageBuffer reader(false);
    reader.SetRoot(writer.GetRoot());
    sme::Serializable* object = nullptr;
    EXPECT_FALSE(reader.ReadObjectPointer("present", object));
    EXPECT_EQ(object, nullptr);
    std::vector<sme::Serializable*> read;
    EXPECT_FALSE(reader.ReadObjectVector("list", read));
    EXPECT_TRUE(read.empty());
    EXPECT_FALSE(reader.ReadObjectVector("absent", read));

    // An object already held must have the stored type's id, which the empty registry gives as 0.
    sample::Point held;
    object = &held;
    EXPECT_FALSE(reader.ReadObjectPointer("present", object));
    EXPECT_EQ(object, &held);
}

TEST(XmlStorageBuffer, numbers_are_written_and_read_alike_under_a_comma_decimal_locale) {
    const char* name = "de_DE.UTF-8";
    std::locale german;
    try {
        german = std::locale(name);
    } catch (const std::runtime_error&) {
        GTEST_SKIP() << name << " is not installed (scripts/install-deps.sh generates it)";
    }
    const std::locale oldGlobal = std::locale::global(german);
    const std::string oldC = std::setlocale(LC_ALL, nullptr);
    std::setlocale(LC_ALL, name);

    sample::Everything original = sample::FilledEverything();
    original.number = 1234.5f;
    const std::string text = Written(original, nullptr);
    Reader reader(("<r>" + text + "</r>").c_str());
    sample::Everything copy;
    EXPECT_TRUE(reader->ReadObject(nullptr, copy));

    std::setlocale(LC_ALL, oldC.c_str());
    std::locale::global(oldGlobal);
    EXPECT_NE(text.find("number=\"1234.5\""), std::string::npos) << text;
    EXPECT_NE(text.find("count=\"4000000000\""), std::string::npos) << text;
    sample::ExpectSame(original, copy);
}
