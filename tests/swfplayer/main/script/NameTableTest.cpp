#include "swfplayer/main/script/name_table.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace swfplayer;

namespace {

// What an interned name works out once from its text, against the rules the lookups apply.
TEST(NameTable, each_name_carries_its_hashes_standard_number_and_path_kind) {
    name_table table;
    struct expectation {
        const char* text;
        standard_member standard;
        bool is_path;
    };
    const expectation cases[] = {
        {"plain", M_INVALID, false}, {"_X", M_X, false},           {"this", M_THIS_PLAIN, false},
        {"_Root", M_ROOT, false},    {"_global", M_GLOBAL, false}, {"..", M_DOTDOT, true},
        {"a.b", M_INVALID, true},    {"a:b", M_INVALID, true},     {"/a/b", M_INVALID, false},
        {"/a/b:c", M_INVALID, true}, {"", M_INVALID, false},       {"_xx", M_INVALID, false},
    };
    for (const expectation& c : cases) {
        interned_name name = table.intern(c.text);
        EXPECT_STREQ(c.text, name.c_str());
        EXPECT_EQ(c.standard, name.standard()) << c.text;
        EXPECT_EQ(c.is_path, name.is_path()) << c.text;
        EXPECT_TRUE(name.is_interned());
        EXPECT_TRUE(name.text().is_hash_known());
        EXPECT_EQ(stringi_hash_functor()(base_stringi(c.text)), name.folded_hash()) << c.text;
        EXPECT_EQ(string_hash_functor()(base_string(c.text)), name.exact_hash()) << c.text;
    }
}

// One entry per exact text: names differing only in case are two entries, equal only where case
// is ignored, as member names are.
TEST(NameTable, equal_texts_share_one_entry_and_case_makes_another) {
    name_table table;
    interned_name first = table.intern("Speed");
    interned_name again = table.intern(base_string("Speed"));
    interned_name lower = table.intern("speed");
    interned_name other = table.intern("spend");
    EXPECT_EQ(first.get_entry(), again.get_entry());
    EXPECT_NE(first.get_entry(), lower.get_entry());
    EXPECT_EQ(3, table.size());
    EXPECT_EQ(first.get_entry(), table.find("Speed").get_entry());
    EXPECT_EQ(nullptr, table.find("SPEED").get_entry());
    EXPECT_TRUE(first == again);
    EXPECT_FALSE(first == lower);
    EXPECT_TRUE(first.equals_ignoring_case(lower));
    EXPECT_FALSE(first.equals_ignoring_case(other));
    EXPECT_EQ(first.text(), lower.text());  // member tables compare without regard to case
    EXPECT_EQ(15, table.byte_count());
    // A default-made name is the empty text, equal to an interned empty text.
    interned_name none;
    EXPECT_STREQ("", none.c_str());
    EXPECT_FALSE(none.is_interned());
    EXPECT_TRUE(none == table.intern(""));
    EXPECT_EQ(M_INVALID, none.standard());
}

// Names of different tables, and names a table let go, compare by their texts.
TEST(NameTable, names_outside_one_table_compare_by_text) {
    interned_name held;
    {
        name_table first;
        name_table second;
        held = first.intern("value");
        interned_name other = second.intern("value");
        EXPECT_NE(held.get_entry(), other.get_entry());
        EXPECT_TRUE(held == other);
        EXPECT_FALSE(held == second.intern("Value"));
        EXPECT_TRUE(held.equals_ignoring_case(second.intern("VALUE")));
    }
    EXPECT_FALSE(held.is_interned());
    EXPECT_STREQ("value", held.c_str());
    name_table later;
    EXPECT_TRUE(held == later.intern("value"));
    EXPECT_FALSE(held == later.intern("valve"));
}

// A movie that makes ever new names cannot grow the table past its bounds: names nobody holds
// are dropped to make room, and a name that still finds none is made by itself.
TEST(NameTable, the_table_stays_within_its_bounds) {
    name_table table;
    std::vector<interned_name> held;
    for (int i = 0; i < name_table::max_names; i++) {
        held.push_back(table.intern(("n" + std::to_string(i)).c_str()));
    }
    ASSERT_EQ(name_table::max_names, table.size());
    interned_name extra = table.intern("extra");
    EXPECT_FALSE(extra.is_interned());
    EXPECT_EQ(name_table::max_names, table.size());
    EXPECT_TRUE(extra == table.intern("extra"));
    EXPECT_NE(extra.get_entry(), table.intern("extra").get_entry());
    EXPECT_EQ(M_INVALID, extra.standard());
    // An existing name is still found while the table is full.
    EXPECT_EQ(held[7].get_entry(), table.intern("n7").get_entry());

    held.resize(10);
    interned_name after = table.intern("after");
    EXPECT_TRUE(after.is_interned());
    EXPECT_EQ(11, table.size());
    EXPECT_EQ(held[9].get_entry(), table.intern("n9").get_entry());
    EXPECT_EQ(nullptr, table.find("n10").get_entry());
}

TEST(NameTable, long_names_are_bounded_by_their_bytes) {
    name_table table;
    const std::string long_text(name_table::max_bytes / 4, 'x');
    std::vector<interned_name> held;
    for (char last : {'a', 'b', 'c', 'd'}) {
        held.push_back(table.intern((long_text.substr(1) + last).c_str()));
    }
    EXPECT_EQ(name_table::max_bytes, table.byte_count());
    interned_name one_more = table.intern("y");
    EXPECT_FALSE(one_more.is_interned());
    held.pop_back();
    EXPECT_TRUE(table.intern("y").is_interned());
    EXPECT_EQ(name_table::max_bytes / 4 * 3 + 1, table.byte_count());
}

}  // namespace
