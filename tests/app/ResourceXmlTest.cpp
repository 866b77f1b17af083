#include "app/ResourceXml.h"

#include "VirtualFolders.h"
#include "app/TiXmlDefaultIO.h"
#include "app/XmlFileOutput.h"
#include "serializeme/Serializable.h"
#include "serializeme/StorageBuffer.h"

#include <gtest/gtest.h>

using testing_support::ReadFile;
using testing_support::WriteFile;

namespace {

// A record with one string, stored as "note".
class Note : public sme::Serializable {
public:
    bool Serialize(sme::StorageBuffer& buffer) override {
        if (buffer.IsWriting()) {
            buffer.WriteString("text", text);
        } else {
            buffer.ReadString("text", text);
        }
        return true;
    }
    const char* TypeName() const override { return "note"; }

    std::string text = "default";
};

// Passes everything to another proxy, except that writes stop short after a number of bytes.
class ShortWriteProxy : public TinyxmlPhysfsProxy {
public:
    explicit ShortWriteProxy(size_t allowed) : m_Allowed(allowed) {}
    size_t Write(void* handle, const void* buffer, size_t size, size_t count) override {
        const size_t bytes = size * count < m_Allowed ? size * count : m_Allowed;
        m_Allowed -= bytes;
        return TinyxmlPhysfsProxy::Write(handle, buffer, 1, bytes) / size;
    }

private:
    size_t m_Allowed;
};

class ResourceXmlTest : public VirtualFolders {};

}  // namespace

TEST_F(ResourceXmlTest, the_root_is_the_first_element_after_declaration_and_comments) {
    WriteFile(GameDir() / "data/a.xml", "<?xml version=\"1.0\"?>\n<!-- one -->\n<!-- two -->\n<first/><second/>");
    ResourceXml resource("data/a.xml");
    ASSERT_NE(resource.GetRoot(), nullptr);
    EXPECT_STREQ(resource.GetRoot()->Value(), "first");
    EXPECT_FALSE(resource.HasBom());
}

TEST_F(ResourceXmlTest, missing_broken_and_too_deep_files_have_no_root) {
    EXPECT_EQ(ResourceXml("data/none.xml").GetRoot(), nullptr);
    WriteFile(GameDir() / "broken.xml", "<a><b></a>");
    EXPECT_EQ(ResourceXml("broken.xml").GetRoot(), nullptr);
    WriteFile(GameDir() / "empty.xml", "");
    EXPECT_EQ(ResourceXml("empty.xml").GetRoot(), nullptr);
    std::string deep;
    for (int i = 0; i < 100000; ++i) {
        deep += "<a>";
    }
    WriteFile(GameDir() / "deep.xml", deep);
    EXPECT_EQ(ResourceXml("deep.xml").GetRoot(), nullptr);
}

TEST_F(ResourceXmlTest, files_of_up_to_ten_million_bytes_are_read) {
    std::string text = "<root a=\"1\"/>";
    text.resize(10000000, ' ');
    WriteFile(GameDir() / "limit.xml", text);
    EXPECT_NE(ResourceXml("limit.xml").GetRoot(), nullptr);
    WriteFile(GameDir() / "over.xml", text + " ");
    EXPECT_EQ(ResourceXml("over.xml").GetRoot(), nullptr);
}

TEST_F(ResourceXmlTest, set_root_leaves_exactly_one_element_named_resource) {
    WriteFile(GameDir() / "many.xml", "<?xml version=\"1.0\"?><!-- c --><a/><b/>");
    ResourceXml resource("many.xml");
    TiXmlElement record("note");
    record.SetAttribute("text", "hi");
    resource.SetRoot(&record);
    const TiXmlDocument& document = resource.GetDocument();
    ASSERT_NE(document.FirstChild(), nullptr);
    EXPECT_EQ(document.FirstChild(), document.LastChild());
    EXPECT_STREQ(document.FirstChild()->Value(), "resource");
    EXPECT_EQ(resource.GetRoot(), document.FirstChildElement());
    EXPECT_STREQ(resource.GetRoot()->Attribute("text"), "hi");
    EXPECT_STREQ(record.Value(), "note");
}

TEST_F(ResourceXmlTest, saved_records_are_a_resource_element_holding_the_record) {
    Note note;
    note.text = "x";
    EXPECT_TRUE(SaveXmlObject(note, "sub/folder/note.xml", "Memo"));
    EXPECT_EQ(ReadFile(UserDir() / "sub/folder/note.xml"),
              "<resource>\n    <note text=\"x\" name=\"Memo\" />\n</resource>\n");
    EXPECT_FALSE(std::filesystem::exists(UserDir() / "sub/folder/note.xml.tmp"));

    Note loaded;
    LoadXmlObject(loaded, "/userfolder/sub/folder/note.xml", "memo");
    EXPECT_EQ(loaded.text, "x");
    Note untouched;
    LoadXmlObject(untouched, "/userfolder/sub/folder/note.xml", "other");
    LoadXmlObject(untouched, "/userfolder/none.xml", "memo");
    EXPECT_EQ(untouched.text, "default");
}

TEST_F(ResourceXmlTest, a_byte_order_mark_is_kept_on_saving_and_not_added) {
    WriteFile(GameDir() / "bom.xml", "\xEF\xBB\xBF<resource><note text=\"old\"/></resource>");
    ResourceXml withBom("bom.xml");
    EXPECT_TRUE(withBom.HasBom());
    Note note;
    EXPECT_TRUE(SaveXmlObject(note, "bom.xml", nullptr));
    EXPECT_EQ(ReadFile(UserDir() / "bom.xml"), "\xEF\xBB\xBF<resource>\n    <note text=\"default\" />\n</resource>\n");

    WriteFile(GameDir() / "plain.xml", "<resource/>");
    EXPECT_TRUE(SaveXmlObject(note, "plain.xml", nullptr));
    EXPECT_EQ(ReadFile(UserDir() / "plain.xml").substr(0, 10), "<resource>");
    EXPECT_TRUE(SaveXmlObject(note, "new.xml", nullptr));
    EXPECT_EQ(ReadFile(UserDir() / "new.xml").substr(0, 10), "<resource>");
}

TEST_F(ResourceXmlTest, long_attribute_values_are_printed_whole) {
    Note note;
    note.text = std::string(5000, 'z');
    EXPECT_TRUE(SaveXmlObject(note, "long.xml", "n"));
    Note loaded;
    LoadXmlObject(loaded, "/userfolder/long.xml", "n");
    EXPECT_EQ(loaded.text, note.text);
}

TEST_F(ResourceXmlTest, a_save_that_cannot_write_everything_keeps_the_old_file) {
    Note note;
    note.text = "first";
    ASSERT_TRUE(SaveXmlObject(note, "kept.xml", "n"));
    const std::string before = ReadFile(UserDir() / "kept.xml");

    ShortWriteProxy failing(20);
    TiXmlIOProxy::SetCurrent(&failing);
    note.text = "second";
    EXPECT_FALSE(SaveXmlObject(note, "kept.xml", "n"));
    EXPECT_EQ(ReadFile(UserDir() / "kept.xml"), before);
    EXPECT_FALSE(std::filesystem::exists(UserDir() / "kept.xml.tmp"));
}

TEST_F(ResourceXmlTest, a_save_without_a_write_directory_fails) {
    ASSERT_NE(PHYSFS_setWriteDir(nullptr), 0);
    Note note;
    EXPECT_FALSE(SaveXmlObject(note, "nowhere.xml", "n"));
}

TEST_F(ResourceXmlTest, the_physfs_proxy_reads_appends_seeks_and_measures) {
    TinyxmlPhysfsProxy& proxy = m_Proxy;
    void* out = proxy.OpenWrite("/io/file.bin");
    ASSERT_NE(out, nullptr);
    EXPECT_EQ(proxy.Write(out, "abcdef", 2, 3), 3u);
    EXPECT_EQ(proxy.Length(out), 6);
    EXPECT_FALSE(std::filesystem::exists(UserDir() / "io/file.bin"));
    EXPECT_TRUE(proxy.Close(out));
    EXPECT_EQ(ReadFile(UserDir() / "io/file.bin"), "abcdef");

    void* append = proxy.OpenAppend("io/file.bin");
    ASSERT_NE(append, nullptr);
    EXPECT_EQ(proxy.Write(append, "gh", 1, 2), 2u);
    EXPECT_TRUE(proxy.Close(append));

    void* in = proxy.OpenRead("/userfolder/io/file.bin");
    ASSERT_NE(in, nullptr);
    EXPECT_EQ(proxy.Length(in), 8);
    EXPECT_TRUE(proxy.Seek(in, 5));
    char bytes[4] = {};
    EXPECT_EQ(proxy.Read(in, bytes, 1, 4), 3u);
    EXPECT_EQ(std::string(bytes, 3), "fgh");
    EXPECT_TRUE(proxy.Close(in));

    void* dropped = proxy.OpenWrite("io/file.bin");
    ASSERT_NE(dropped, nullptr);
    proxy.Write(dropped, "x", 1, 1);
    proxy.Discard(dropped);
    EXPECT_EQ(ReadFile(UserDir() / "io/file.bin"), "abcdefgh");
    EXPECT_EQ(proxy.OpenRead("missing"), nullptr);
    EXPECT_FALSE(proxy.Close(nullptr));
}

TEST(TiXmlDefaultIO, replaces_files_only_on_close_and_offers_plain_file_access) {
    testing_support::TempDir temp;
    TiXmlDefaultIO io;
    const std::string name = (temp / "deep/folder/out.xml").string();
    WriteFile(name, "old");

    void* dropped = io.OpenWrite(name.c_str());
    ASSERT_NE(dropped, nullptr);
    EXPECT_EQ(io.Write(dropped, "new", 1, 3), 3u);
    io.Discard(dropped);
    EXPECT_EQ(ReadFile(name), "old");

    void* out = io.OpenWrite(name.c_str());
    ASSERT_NE(out, nullptr);
    EXPECT_EQ(io.Write(out, "new text", 1, 8), 8u);
    EXPECT_EQ(io.Length(out), 8);
    EXPECT_EQ(ReadFile(name), "old");
    EXPECT_TRUE(io.Close(out));
    EXPECT_EQ(ReadFile(name), "new text");

    void* append = io.OpenAppend(name.c_str());
    ASSERT_NE(append, nullptr);
    EXPECT_EQ(io.Write(append, "!", 1, 1), 1u);
    EXPECT_TRUE(io.Close(append));

    void* in = io.OpenRead(name.c_str());
    ASSERT_NE(in, nullptr);
    EXPECT_TRUE(io.Seek(in, 4));
    char bytes[8] = {};
    EXPECT_EQ(io.Read(in, bytes, 1, 8), 5u);
    EXPECT_EQ(std::string(bytes, 5), "text!");
    EXPECT_TRUE(io.Close(in));

    EXPECT_EQ(io.OpenRead((temp / "missing").string().c_str()), nullptr);
    const std::string intoFile = name + "/below.xml";
    EXPECT_EQ(io.OpenWrite(intoFile.c_str()), nullptr);
}

TEST(TiXmlIOProxy, standard_file_access_is_current_until_another_proxy_is_set) {
    TiXmlIOProxy& initial = TiXmlIOProxy::GetCurrent();
    EXPECT_NE(dynamic_cast<TiXmlDefaultIO*>(&initial), nullptr);
    TinyxmlPhysfsProxy physfs;
    TiXmlIOProxy::SetCurrent(&physfs);
    EXPECT_EQ(&TiXmlIOProxy::GetCurrent(), &physfs);
    TiXmlIOProxy::SetCurrent(nullptr);
    EXPECT_EQ(&TiXmlIOProxy::GetCurrent(), &initial);
}
