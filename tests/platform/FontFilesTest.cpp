#include "platform/FontFiles.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

// The regular and bold faces of an installed family are two different files; the family name is
// matched without case; a family that is not installed, or no family at all, finds nothing
// rather than fontconfig's substitute.
TEST(FontFiles, installed_families_give_their_own_files_and_others_none) {
    struct Row {
        const char* family;
        bool bold;
        bool found;
    };
    const Row rows[] = {{"DejaVu Sans", false, true},
                        {"DejaVu Sans", true, true},
                        {"dejavu sans", false, true},
                        {"DEJAVU SANS", true, true},
                        {"No Such Font Pondorix", false, false},
                        {"No Such Font Pondorix", true, false},
                        {"DejaVu", false, false},
                        {"", false, false}};
    for (const Row& row : rows) {
        SCOPED_TRACE(std::string(row.family) + (row.bold ? " bold" : ""));
        std::string path = "untouched";
        EXPECT_EQ(platform::FindFontFile(row.family, row.bold, false, &path), row.found);
        if (row.found) {
            EXPECT_TRUE(std::filesystem::is_regular_file(path)) << path;
        } else {
            EXPECT_EQ(path, "untouched");
        }
    }

    std::string regular, bold, lower, italic;
    ASSERT_TRUE(platform::FindFontFile("DejaVu Sans", false, false, &regular));
    ASSERT_TRUE(platform::FindFontFile("DejaVu Sans", true, false, &bold));
    ASSERT_TRUE(platform::FindFontFile("dejavu sans", false, false, &lower));
    EXPECT_NE(regular, bold);
    EXPECT_EQ(regular, lower);
    // Italic asks for the slant: the family's oblique face where installed, else its upright one,
    // never another family.
    ASSERT_TRUE(platform::FindFontFile("DejaVu Sans", false, true, &italic));
    EXPECT_NE(italic, bold);
}
