#include "VirtualFolders.h"
#include "app/ResourceXml.h"
#include "app/TiXmlDefaultIO.h"
#include "app/XmlFileOutput.h"
#include "serializeme/Serializable.h"
#include "serializeme/StorageBuffer.h"
#include "tests/support/BoundedRun.h"
#include "tests/support/FileTail.h"

#include <gtest/gtest.h>

#include <chrono>
#include <stdexcept>

using namespace std::chrono_literals;
using testing_support::ReadFile;
using testing_support::WriteFile;

namespace {

// A record with one string, stored as "note".
class Note : public sme::Serializable {
public:
    bool Serialize(sme::StorageBuffer& buffer) override {
        buffer.IsWriting() ? buffer.WriteString("text", text) : void(buffer.ReadString("text", text));
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

// The root is the first element after a declaration and comments; missing, empty, broken and
// too deeply nested files, and files over 10,000,000 bytes, have none.
TEST_F(ResourceXmlTest, the_root_is_the_first_element_of_a_readable_file) {
    std::string deep;
    for (int i = 0; i < 100000; ++i) {
        deep += "<a>";
    }
    std::string limit = "<first a=\"1\"/>";
    limit.resize(10000000, ' ');
    const std::pair<std::string, std::string> rows[] = {
        // the text, the root's name
        {"<?xml version=\"1.0\"?>\n<!-- one -->\n<!-- two -->\n<first/><second/>", "first"},
        {limit, "first"},
        {limit + " ", "(none)"},
        {"<a><b></a>", "(none)"},
        {"", "(none)"},
        {deep, "(none)"}};
    for (size_t i = 0; i < std::size(rows); ++i) {
        WriteFile(GameDir() / "data/a.xml", rows[i].first);
        ResourceXml resource("data/a.xml");
        EXPECT_EQ(resource.GetRoot() ? resource.GetRoot()->Value() : "(none)", rows[i].second) << "row " << i;
        EXPECT_FALSE(resource.HasBom());
    }
    EXPECT_EQ(ResourceXml("data/none.xml").GetRoot(), nullptr);
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

// Long attribute values are printed whole; a record under another key, or in no file, is not loaded.
TEST_F(ResourceXmlTest, saved_records_load_back_whole_under_their_key_only) {
    Note note, loaded, untouched;
    note.text = std::string(5000, 'z');
    EXPECT_TRUE(SaveXmlObject(note, "long.xml", "n"));
    LoadXmlObject(loaded, "/userfolder/long.xml", "n");
    EXPECT_EQ(loaded.text, note.text);
    LoadXmlObject(untouched, "/userfolder/long.xml", "other");
    LoadXmlObject(untouched, "/userfolder/none.xml", "n");
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

// A save that cannot write everything keeps the old file; one without a write directory fails.
TEST_F(ResourceXmlTest, failed_saves_keep_the_old_file) {
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
    TiXmlIOProxy::SetCurrent(&m_Proxy);
    ASSERT_NE(PHYSFS_setWriteDir(nullptr), 0);
    EXPECT_FALSE(SaveXmlObject(note, "nowhere.xml", "n"));
}

// Both file accesses write a new file beside the old one, which is replaced only when the new
// one is closed complete; a discarded new file leaves the old one. Parent folders are created.
TEST_F(ResourceXmlTest, proxies_replace_files_only_on_close) {
    TiXmlDefaultIO standard;
    const std::tuple<TiXmlIOProxy*, std::string, std::filesystem::path> rows[] = {
        {&m_Proxy, "/deep/folder/out.xml", UserDir() / "deep/folder/out.xml"},
        {&standard, (m_Temp / "deep/folder/out.xml").string(), m_Temp / "deep/folder/out.xml"}};
    for (const auto& [proxy, name, path] : rows) {
        SCOPED_TRACE(name);
        void* dropped = proxy->OpenWrite(name.c_str());
        ASSERT_NE(dropped, nullptr);
        EXPECT_EQ(proxy->Write(dropped, "new", 1, 3), 3u);
        proxy->Discard(dropped);
        EXPECT_FALSE(std::filesystem::exists(path));
        WriteFile(path, "old");

        void* out = proxy->OpenWrite(name.c_str());
        ASSERT_NE(out, nullptr);
        EXPECT_EQ(proxy->Write(out, "new text", 2, 4), 4u);
        EXPECT_EQ(proxy->Length(out), 8);
        EXPECT_EQ(ReadFile(path), "old");
        EXPECT_TRUE(proxy->Close(out));
        EXPECT_EQ(ReadFile(path), "new text");
        EXPECT_FALSE(std::filesystem::exists(path.string() + ".tmp"));

        EXPECT_EQ(proxy->OpenRead((name + ".missing").c_str()), nullptr);
        EXPECT_EQ(proxy->OpenWrite((name + "/below.xml").c_str()), nullptr) << "a file is no folder";
    }
}

// Every file the game reads in XML (preferences, levels, creatures, screens) comes through here:
// one with 60,000 attributes on an element, which once took half a minute to parse and as long
// again to copy, is refused before it is parsed, with one log line that names it.
TEST_F(ResourceXmlTest, a_file_with_too_many_attributes_on_an_element_is_refused_at_once_and_named) {
    std::string attributes;
    for (int i = 0; i < 60000; ++i) {
        attributes += " a" + std::to_string(i) + "=\"\"";
    }
    WriteFile(GameDir() / "data/wide.xml", "<resource><note text=\"wide\"" + attributes + "/></resource>");
    testing_support::FileTail log(LogFile());
    const testing_support::BoundedRun run = testing_support::RunBounded(
        [] {
            Note note;
            LoadXmlObject(note, "data/wide.xml", nullptr);
            if (note.text != "default") {
                throw std::runtime_error("nothing of the file is read");
            }
        },
        3s, 256 * 1024 * 1024);
    EXPECT_TRUE(run.finished) << run.Describe();
    EXPECT_EQ(log.Count("ResourceXml::ResourceXml: cannot parse data/wide.xml: an element has more than"), 1)
        << log.Text();
    EXPECT_EQ(log.Count("\n"), 1) << log.Text();
}
