// Appends that stay inside a string's storage, comparisons and hashes run inline, outside the
// general resize path; the property tests hold them to the storage rule and to plain definitions
// of the order and the hashes, over random texts and texts that hold a NUL before their end.
#include "swfplayer/base/base_string.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstring>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

using swfplayer::base_string;
using swfplayer::base_stringi;
using swfplayer::format_base_string;

namespace {

// True when the text lives inside the object itself rather than on the heap.
bool is_inline(const base_string& s) {
    const char* text = s.c_str();
    const char* object = reinterpret_cast<const char*>(&s);
    return text >= object && text < object + sizeof(base_string);
}

// The capacity the storage rule gives a string of length n.
int RuleCapacity(int n) {
    return n < 15 ? 15 : (n + 16) / 16 * 16;
}

// The hash by its definition: over the bytes up to the first NUL, last to first.
uint32_t ModelHash(const char* text, bool fold_case) {
    uint32_t h = 5381;
    for (size_t i = std::strlen(text); i > 0; i--) {
        unsigned char byte = static_cast<unsigned char>(text[i - 1]);
        h = (h * 33) ^ (fold_case && byte >= 'A' && byte <= 'Z' ? byte + 32 : byte);
    }
    return h;
}

std::string Lower(std::string text) {
    for (char& c : text) {
        c = static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c);
    }
    return text;
}

int Sign(int value) {
    return (value > 0) - (value < 0);
}

std::string RandomText(std::mt19937* random, int max_length) {
    // Mostly letters of both cases, with a few bytes beyond ASCII.
    static const char alphabet[] = "aAbBzZ_09@[`{\xC3\xA9\x7F";
    std::string text(static_cast<size_t>((*random)() % (max_length + 1)), ' ');
    for (char& c : text) {
        c = alphabet[(*random)() % (sizeof(alphabet) - 1)];
    }
    return text;
}

// Random appends, resizes, erases and inserts against a standard string: the text, the storage
// rule (up to 14 bytes inline, then a heap buffer of the next multiple of 16 above the length)
// and positions out of range (an erase there does nothing, an insert goes to the nearest end).
TEST(BaseString, edits_match_a_standard_string_and_keep_the_storage_rule) {
    std::mt19937 random(3);
    base_string s;
    std::string model;
    for (int step = 0; step < 20000; step++) {
        int size = static_cast<int>(model.size());
        int position = static_cast<int>(random() % (size + 10)) - 5;
        int n = static_cast<int>(random() % 60);
        char c = static_cast<char>('a' + random() % 26);
        switch (random() % 5) {
        case 0:
            s += c;
            model += c;
            break;
        case 1:
            s += std::string(n % 20, c).c_str();
            model += std::string(n % 20, c);
            break;
        case 2:  // the bytes a resize adds are the caller's to fill
            n == 0 ? s.clear() : s.resize(n);
            model.resize(n, c);
            for (int i = size; i < n; i++) {
                s[i] = c;
            }
            break;
        case 3:
            s.erase(position, n % 6);
            model.erase(position >= 0 && position < size ? position : size, n % 6);
            break;
        default: s.insert(position, c); model.insert(std::min(std::max(position, 0), size), 1, c);
        }
        ASSERT_EQ(model, s.c_str()) << "step " << step;
        // The hash kept from the step before must not outlive the edit.
        ASSERT_EQ(ModelHash(model.c_str(), true), s.folded_hash()) << "step " << step;
        ASSERT_EQ(static_cast<int>(model.size()), s.size());
        ASSERT_EQ(RuleCapacity(s.size()), s.capacity()) << "length " << s.size();
        ASSERT_EQ(s.size() < 15, is_inline(s)) << "length " << s.size();
    }
    base_string grown("0123456789");
    grown.resize(40);  // inline to heap: the new bytes are zero
    EXPECT_EQ(std::string(31, '\0'), std::string(grown.c_str() + 10, 31));
    EXPECT_STREQ("abc", base_string("abcdef", 3).c_str());
}

// The heap bytes that the strings hold, each buffer (its text and its count) once.
int64_t HeldBytes(const std::vector<base_string>& strings) {
    std::vector<const char*> seen;
    int64_t bytes = 0;
    for (const base_string& s : strings) {
        if (!is_inline(s) && std::find(seen.begin(), seen.end(), s.c_str()) == seen.end()) {
            seen.push_back(s.c_str());
            bytes += s.capacity() + 8;
        }
    }
    return bytes;
}

// Strings copied from one another and edited at random, against standard strings: every copy
// shares the bytes of its source, an edit never shows in another string, and the storage counted
// is that of the distinct buffers held.
TEST(BaseString, copies_share_their_bytes_until_one_changes) {
    std::mt19937 random(7);
    const int64_t before = base_string::storage_bytes();
    {
        std::vector<base_string> strings(6);
        std::vector<std::string> models(6);
        for (int step = 0; step < 20000; step++) {
            const size_t i = random() % strings.size();
            const size_t j = random() % strings.size();
            base_string& s = strings[i];
            std::string& model = models[i];
            const int size = static_cast<int>(model.size());
            const int position = static_cast<int>(random() % (size + 1));
            const char c = static_cast<char>('a' + random() % 26);
            switch (random() % 9) {
            case 0:
                s = strings[j];
                model = models[j];
                ASSERT_TRUE(i == j || (s.c_str() == strings[j].c_str()) == !is_inline(s)) << "step " << step;
                break;
            case 1: {
                base_string copy(strings[j]);
                s = std::move(copy);
                model = models[j];
                break;
            }
            case 2: {
                const std::string piece(random() % 40, c);
                s += piece.c_str();
                model += piece;
                break;
            }
            case 3: {
                int n = static_cast<int>(random() % 60);
                s.resize(n);
                model.resize(n, c);
                for (int k = size; k < n; k++) {
                    s[k] = c;
                }
                break;
            }
            case 4:
                s.erase(position, 3);
                model.erase(std::min(position, size), 3);
                break;
            case 5:
                s.insert(position, c);
                model.insert(model.begin() + position, c);
                break;
            case 6:
                if (size > 0) {
                    s[position % size] = c;
                    model[position % size] = c;
                }
                break;
            case 7:
                s += strings[j];
                model += models[j];
                break;
            default: {
                const std::string text(random() % 30, c);
                s = text.c_str();
                model = text;
            }
            }
            for (size_t k = 0; k < strings.size(); k++) {
                ASSERT_EQ(models[k], strings[k].c_str()) << "step " << step << " string " << k;
                ASSERT_EQ(static_cast<int>(models[k].size()), strings[k].size()) << "step " << step;
                ASSERT_EQ(RuleCapacity(strings[k].size()), strings[k].capacity()) << "step " << step;
            }
            ASSERT_EQ(HeldBytes(strings), base_string::storage_bytes() - before) << "step " << step;
        }
    }
    EXPECT_EQ(base_string::storage_bytes(), before);
}

TEST(BaseString, many_copies_of_a_long_text_hold_one_buffer) {
    const int64_t before = base_string::storage_bytes();
    std::vector<base_string> copies;
    {
        base_string text(std::string(8 << 20, 'x').c_str());
        for (int i = 0; i < 300; i++) {
            copies.push_back(text);
        }
    }
    EXPECT_LT(base_string::storage_bytes() - before, (8 << 20) + 64);
    EXPECT_TRUE(copies.front().c_str() == copies.back().c_str());
    copies.front() += 'y';  // the changed one alone takes a buffer of its own
    EXPECT_EQ(copies.back().size(), 8 << 20);
    EXPECT_EQ(copies.front().size(), (8 << 20) + 1);
    EXPECT_LT(base_string::storage_bytes() - before, 2 * (8 << 20) + 128);
    copies.clear();
    EXPECT_EQ(base_string::storage_bytes(), before);
}

TEST(BaseString, a_copy_ends_at_the_first_nul_and_still_shares) {
    const std::string text = "a heap text of more than fifteen bytes";
    base_string with_nul((text + '\0' + "the tail after it").c_str(), static_cast<int>(text.size()) + 18);
    base_string copy(with_nul);
    EXPECT_EQ(copy.size(), static_cast<int>(text.size()));
    EXPECT_EQ(copy.c_str(), with_nul.c_str());
    copy += "!";
    EXPECT_EQ(std::string(copy.c_str()), text + "!");
    EXPECT_EQ(with_nul.size(), static_cast<int>(text.size()) + 18);
    EXPECT_EQ(std::string(with_nul.c_str() + text.size() + 1), "the tail after it");
    // A text cut to fewer than 15 bytes is copied inline.
    base_string short_text("short\0and then a long tail", 27);
    base_string short_copy(short_text);
    EXPECT_TRUE(is_inline(short_copy));
    EXPECT_STREQ("short", short_copy.c_str());
}

// The watch hears of every buffer made and every growth, and of nothing a copy does.
int64_t s_watched = 0;
void Watch(int64_t bytes) {
    s_watched += bytes;
}

TEST(BaseString, the_storage_watch_hears_of_new_bytes_only) {
    base_string::set_storage_watch(&Watch);
    s_watched = 0;
    base_string text(std::string(100, 'w').c_str());
    EXPECT_EQ(s_watched, 112 + 8);
    base_string copy(text);
    base_string assigned;
    assigned = text;
    EXPECT_EQ(s_watched, 112 + 8);
    copy += "more";  // a buffer of its own
    EXPECT_EQ(s_watched, 2 * (112 + 8));
    copy += std::string(20, 'm').c_str();  // grows in place by 16 bytes
    EXPECT_EQ(s_watched, 2 * (112 + 8) + 16);
    base_string::set_storage_watch(nullptr);
    copy += std::string(100, 'm').c_str();
    EXPECT_EQ(s_watched, 2 * (112 + 8) + 16);
}

TEST(BaseString, assignment_and_append_handle_null_self_and_their_own_buffer) {
    base_string s("keep");
    s = static_cast<const char*>(nullptr);
    s += static_cast<const char*>(nullptr);
    s += '\0';
    const base_string& same = s;
    s = same;
    EXPECT_STREQ("keep", s.c_str());
    EXPECT_STREQ("", base_string(static_cast<const char*>(nullptr)).c_str());
    s += 'c';
    EXPECT_STREQ("keepc", (s + "").c_str());
    EXPECT_STREQ("keepcdef", (s + "def").c_str());

    base_string heap("a heap string of more than fifteen bytes");
    heap = heap.c_str() + 2;  // the source is freed by the resize unless copied first
    EXPECT_STREQ("heap string of more than fifteen bytes", heap.c_str());
    heap = heap.c_str() + 30;  // shrinking to inline from its own heap text
    EXPECT_STREQ("en bytes", heap.c_str());

    for (int length : {1, 7, 8, 14, 15, 40}) {
        std::string text(length, 'q');
        text[0] = 'a';
        base_string t(text.c_str());
        t += t;
        EXPECT_EQ(text + text, t.c_str()) << length;
        t += t.c_str() + 1;
        EXPECT_EQ(text + text + (text + text).substr(1), t.c_str()) << length;
    }
}

// A string keeps its folded hash once worked out; copies and moves take it along, and every way
// of giving a string new text drops the one it had.
TEST(BaseString, the_kept_hash_travels_with_copies_and_goes_with_every_change) {
    base_string source("Inline");
    base_string heap_source("a heap string of more than fifteen bytes");
    EXPECT_FALSE(source.is_hash_known());
    EXPECT_EQ(ModelHash("inline", true), source.folded_hash());
    heap_source.folded_hash();
    for (const base_string* from : {&source, &heap_source}) {
        base_string copy(*from);
        base_stringi copy_i(*from);
        base_string assigned("x");
        assigned.folded_hash();
        assigned = *from;
        base_string moved_from(*from);
        base_string moved(std::move(moved_from));
        base_string move_assigned;
        base_string moved_again(*from);
        move_assigned = std::move(moved_again);
        for (const base_string* to : {&copy, static_cast<base_string*>(&copy_i), &assigned, &moved, &move_assigned}) {
            EXPECT_TRUE(to->is_hash_known()) << from->c_str();
            EXPECT_EQ(from->folded_hash(), to->folded_hash());
        }
        EXPECT_FALSE(moved_from.is_hash_known());
        EXPECT_EQ(ModelHash("", true), moved_from.folded_hash());
    }
    // Each change from a known hash: the new text's hash is the one given.
    const std::pair<const char*, void (*)(base_string&)> changes[] = {
        {"xyz",
         [](base_string& s) {
             s.assign("xyz", 3);
         }},
        {"XYZ",
         [](base_string& s) {
             s = "XYZ";
         }},
        {"inlin",
         [](base_string& s) {
             s.erase(5, 1);
         }},
        {"inlineq",
         [](base_string& s) {
             s += 'q';
         }},
        {"inline and more than fifteen",
         [](base_string& s) {
             s += " and more than fifteen";
         }},
        {"inlinf",
         [](base_string& s) {
             s[5] = 'f';
         }},
        {"",
         [](base_string& s) {
             s.clear();
         }},
        {"inl",
         [](base_string& s) {
             s.resize(3);
         }},
    };
    for (const auto& [text, change] : changes) {
        base_string s("inline");
        s.folded_hash();
        change(s);
        EXPECT_EQ(text, std::string(s.c_str()));
        EXPECT_EQ(ModelHash(text, true), s.folded_hash()) << text;
    }
}

TEST(BaseString, format_cuts_at_499_bytes) {
    EXPECT_STREQ("7 items of size 2.50", format_base_string("%d items of size %.2f", 7, 2.5).c_str());
    base_string cut = format_base_string("<%s>", std::string(800, 'z').c_str());
    EXPECT_EQ(499, cut.size());
    EXPECT_TRUE(cut[0] == '<' && cut[498] == 'z');
}

// Growing a text past the longest one an int can measure throws and keeps the text; the
// storage is only reserved, never written, so this takes no real memory.
TEST(BaseString, a_string_never_grows_past_its_longest_length) {
    base_string text("kept");
    EXPECT_THROW(text.resize(INT_MAX - 1), std::length_error);
    EXPECT_THROW(text.resize(INT_MAX), std::length_error);
    EXPECT_EQ(text, "kept");
    base_string longest;
    longest.resize(base_string::max_length);
    EXPECT_THROW(longest += "xy", std::length_error);
    EXPECT_THROW(longest += 'x', std::length_error);
    EXPECT_EQ(longest.size(), base_string::max_length);
}

TEST(BaseString, order_case_blind_order_and_hashes_match_their_definitions) {
    std::mt19937 random(11);
    for (int i = 0; i < 20000; i++) {
        std::string a = RandomText(&random, 6);
        std::string b = i % 4 == 0 ? a : RandomText(&random, 6);
        int expected = Sign(std::strcmp(a.c_str(), b.c_str()));
        ASSERT_EQ(expected < 0, base_string(a.c_str()) < base_string(b.c_str())) << a << " " << b;
        ASSERT_EQ(expected > 0, base_string(a.c_str()) > b.c_str());
        ASSERT_EQ(expected == 0, base_string(a.c_str()) == base_string(b.c_str()));
        int expected_i = Sign(std::strcmp(Lower(a).c_str(), Lower(b).c_str()));
        ASSERT_EQ(expected_i, Sign(base_string::stricmp(a.c_str(), b.c_str()))) << a << " " << b;
        ASSERT_EQ(expected_i == 0, base_stringi(a.c_str()) == base_stringi(b.c_str()));
        ASSERT_EQ(ModelHash(a.c_str(), false), swfplayer::string_hash_functor()(base_string(a.c_str())));
        ASSERT_EQ(ModelHash(a.c_str(), true), swfplayer::stringi_hash_functor()(base_stringi(a.c_str())));
    }
    EXPECT_TRUE(base_string("") == static_cast<const char*>(nullptr));
    EXPECT_TRUE(base_string("a") > static_cast<const char*>(nullptr));
}

TEST(BaseString, texts_holding_a_nul_compare_and_hash_up_to_it) {
    // Strings made from bytes keep bytes after a NUL, but every comparison and hash stops there.
    base_stringi with_nul("Name\0tail", 9), plain("NAME"), other_tail("name\0other", 10);
    ASSERT_EQ(9, with_nul.size());
    EXPECT_TRUE(with_nul == plain && with_nul == other_tail);
    EXPECT_FALSE(with_nul == base_stringi("Names"));
    swfplayer::stringi_hash_functor hash_i;
    EXPECT_EQ(hash_i(plain), hash_i(with_nul));
    EXPECT_EQ(hash_i(plain), hash_i(other_tail));
    EXPECT_EQ(ModelHash("name", true), hash_i(with_nul));

    base_string exact("ab\0cd", 5);
    EXPECT_TRUE(exact == "ab");
    EXPECT_FALSE(exact < "ab" || exact > "ab");
    EXPECT_EQ(ModelHash("ab", false), swfplayer::string_hash_functor()(exact));
    // A NUL in the first byte leaves the empty text.
    EXPECT_EQ(5381u, swfplayer::string_hash_functor()(base_string("\0abc", 4)));
}

}  // namespace
