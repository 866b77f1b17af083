#include "platform/FontFiles.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <tuple>

// An installed family is found in any case of its name, its regular, bold and italic faces
// being files of their own (italic is the upright face where no oblique one is installed);
// a family that is not installed, or none, finds nothing rather than fontconfig's substitute.
TEST(FontFiles, installed_families_give_their_own_files_and_others_none) {
    const std::tuple<const char*, bool, bool, bool> rows[] = {
        {"DejaVu Sans", false, false, true}, {"DejaVu Sans", true, false, true},
        {"dejavu sans", false, false, true}, {"DEJAVU SANS", true, true, true},
        {"DejaVu Sans", false, true, true},  {"No Such Font Pondorix", false, false, false},
        {"DejaVu", false, false, false},     {"", false, false, false}};
    for (const auto& [family, bold, italic, found] : rows) {
        std::string path = "untouched";
        EXPECT_EQ(platform::FindFontFile(family, bold, italic, &path), found) << family << bold << italic;
        EXPECT_TRUE(found ? std::filesystem::is_regular_file(path) : path == "untouched") << path;
    }
    std::string regular, bold;
    ASSERT_TRUE(platform::FindFontFile("dejavu sans", false, false, &regular));
    ASSERT_TRUE(platform::FindFontFile("DejaVu Sans", true, false, &bold));
    EXPECT_NE(regular, bold);
}
