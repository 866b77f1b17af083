#include "VirtualFolders.h"
#include "app/TiXmlDefaultIO.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <tuple>
#include <vector>

using testing_support::ReadFile;

namespace {

class DurableSaveTest : public VirtualFolders {};

std::vector<std::string> Names(const std::filesystem::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        names.push_back(entry.path().filename().string());
    }
    return names;
}

// Two games saving the same file at once: both proxies give each save its own temporary file,
// so each closes complete, the last one closed is the file, and no temporary file is left.
TEST_F(DurableSaveTest, two_saves_of_one_file_at_once_each_store_whole) {
    TiXmlDefaultIO standard;
    std::filesystem::create_directories(m_Temp / "standard");
    const std::tuple<TiXmlIOProxy*, std::string, std::filesystem::path> rows[] = {
        {&m_Proxy, "/save.xml", UserDir()},
        {&standard, (m_Temp / "standard" / "save.xml").string(), m_Temp / "standard"}};
    for (const auto& [proxy, name, folder] : rows) {
        SCOPED_TRACE(name);
        void* first = proxy->OpenWrite(name.c_str());
        void* second = proxy->OpenWrite(name.c_str());
        ASSERT_NE(first, nullptr);
        ASSERT_NE(second, nullptr);
        const std::string longer = "<first save, the longer of the two/>";
        const std::string shorter = "<second/>";
        EXPECT_EQ(proxy->Write(first, longer.data(), 1, longer.size()), longer.size());
        EXPECT_EQ(proxy->Write(second, shorter.data(), 1, shorter.size()), shorter.size());
        EXPECT_TRUE(proxy->Close(second));
        EXPECT_EQ(ReadFile(folder / "save.xml"), shorter);
        EXPECT_TRUE(proxy->Close(first));
        EXPECT_EQ(ReadFile(folder / "save.xml"), longer);
        EXPECT_EQ(Names(folder), std::vector<std::string>{"save.xml"});
    }
}

}  // namespace
