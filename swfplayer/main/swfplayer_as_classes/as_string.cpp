#include "swfplayer/main/swfplayer_as_classes/as_string.h"

#include "swfplayer/base/utf8.h"
#include "swfplayer/main/script/fn_call.h"
#include "swfplayer/main/script/instruction_budget.h"
#include "swfplayer/main/swfplayer_as_classes/as_array.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <iterator>
#include <string>

namespace swfplayer {

namespace {

// Character positions of a UTF-8 text, found by walking its bytes (no table is built, so a
// call costs what it walks). The walk goes on from the furthest point reached, and every byte
// walked is charged to the frame's script budget.
class utf8_text {
public:
    explicit utf8_text(const base_string& text) : m_text(text) {}
    utf8_text(const utf8_text&) = delete;
    utf8_text& operator=(const utf8_text&) = delete;
    ~utf8_text() { instruction_budget::charge_bytes(m_offset); }

    const char* c_str() const { return m_text.c_str(); }
    int char_count() {
        walk_to(INT_MAX);
        return m_position;
    }
    // The byte offset of a character position, at most that of the end.
    int byte_offset(int position) {
        if (position == m_position - 1) {
            return m_previous_offset;  // the character just walked over
        }
        if (position < m_position) {
            m_position = 0;  // behind the walk: start again (the bytes count again too)
            instruction_budget::charge_bytes(m_offset);
            m_offset = 0;
        }
        walk_to(position);
        return m_offset;
    }
    // Whether there is a character at position (walking no further than just past it).
    bool has_char(int position) {
        if (position < 0) {
            return false;
        }
        walk_to(position + 1);
        return m_position > position;
    }
    // Characters [start, end), 0 <= start <= end <= char_count().
    base_string substring(int start, int end) {
        const int first = byte_offset(start);
        return base_string(m_text.c_str() + first, byte_offset(end) - first);
    }
    // The character position that starts at or after a byte offset.
    int position_of_byte(int offset) {
        if (offset < m_offset) {
            byte_offset(0);
        }
        while (m_offset < offset && step()) {
        }
        return m_position;
    }

private:
    void walk_to(int position) {
        while (m_position < position && step()) {
        }
    }
    // One character on; false at the end (a sequence cut short by the end is no character).
    bool step() {
        const char* cursor = m_text.c_str() + m_offset;
        const unsigned char lead = static_cast<unsigned char>(*cursor);
        if (lead == 0) {
            return false;
        }
        if (lead < 0x80) {
            cursor++;
        } else if (decode_next_utf8_char(&cursor) == 0) {
            return false;
        }
        m_previous_offset = m_offset;
        m_offset = static_cast<int>(cursor - m_text.c_str());
        m_position++;
        return true;
    }

    const base_string& m_text;
    int m_position = 0;         // characters walked
    int m_offset = 0;           // their bytes
    int m_previous_offset = 0;  // where the last character walked over starts
};

// The first place in [from, end) where needle's bytes stand; null when there is none. The
// search is linear in the bytes, whatever the texts repeat.
const char* find_bytes(const char* from, const char* end, const base_string& needle) {
    const void* found =
        memmem(from, static_cast<size_t>(end - from), needle.c_str(), static_cast<size_t>(needle.size()));
    return static_cast<const char*>(found);
}

// The last place in [from, end) where needle's bytes stand, found as the first place in the
// reversed texts so that the search stays linear too; null when there is none.
const char* find_last_bytes(const char* from, const char* end, const base_string& needle) {
    std::string text(std::make_reverse_iterator(end), std::make_reverse_iterator(from));
    std::string reversed(needle.c_str(), static_cast<size_t>(needle.size()));
    std::reverse(reversed.begin(), reversed.end());
    const void* found = memmem(text.data(), text.size(), reversed.data(), reversed.size());
    if (found == nullptr) {
        return nullptr;
    }
    const size_t from_end = static_cast<size_t>(static_cast<const char*>(found) - text.data());
    return end - from_end - needle.size();
}

as_value text_value(const base_string& text) {
    as_value value;
    value.set_base_string(text);
    return value;
}

// A case-mapped text as the result, unless the mapping made it too long.
void set_mapped_text(const fn_call& fn, const base_string& text) {
    if (text.size() > max_script_string_bytes) {
        instruction_budget::stop_all("string too long");
        return;
    }
    fn.result->set_base_string(text);
}

int clamp(int value, int low, int high) {
    return value < low ? low : (value > high ? high : value);
}

// The search start of indexOf and lastIndexOf: argument 1 as a character position in 0..n,
// counted as the result is. A start counted in bytes would land inside a multi-byte UTF-8
// character, and a search from there could match half of one; in characters, a position one
// method gives is a valid start for the next.
int search_start(const fn_call& fn, int count) {
    return fn.nargs >= 2 ? clamp(fn.arg(1).to_int(), 0, count) : 0;
}

}  // namespace

void as_global_string_ctor(const fn_call& fn) {
    if (fn.nargs == 1) {
        fn.result->set_base_string(fn.arg(0).to_base_string());
    } else {
        fn.result->set_string("");
    }
}

void as_string_tostring(const fn_call& fn) {
    fn.result->set_base_string(fn.this_value->to_base_string());
}

void as_string_fromcharcode(const fn_call& fn) {
    base_string text;
    for (int i = 0; i < fn.nargs; i++) {
        text.append_wide_char(static_cast<uint32_t>(fn.arg(i).to_int()));
    }
    fn.result->set_base_string(text);
}

void as_string_charcodeat(const fn_call& fn) {
    utf8_text text(fn.this_value->to_base_string());
    int index = fn.nargs >= 1 ? fn.arg(0).to_int() : -1;
    if (!text.has_char(index)) {
        fn.result->set_nan();
        return;
    }
    const char* cursor = text.c_str() + text.byte_offset(index);
    fn.result->set_double(decode_next_utf8_char(&cursor));
}

// The whole character at the position, however many bytes it takes: cutting it to the low 8 bits
// of its code, one byte, would turn a non-ASCII character into a byte that is no UTF-8 text.
void as_string_charat(const fn_call& fn) {
    utf8_text text(fn.this_value->to_base_string());
    int index = fn.nargs >= 1 ? fn.arg(0).to_int() : -1;
    if (text.has_char(index)) {
        fn.result->set_base_string(text.substring(index, index + 1));
    }
}

void as_string_concat(const fn_call& fn) {
    base_string text = fn.this_value->to_base_string();
    // Each argument's text is made only while the result still has room for it.
    for (int i = 0; i < fn.nargs; i++) {
        const as_value argument = fn.arg(i);
        const base_string& more = argument.to_base_string();
        if (static_cast<int64_t>(text.size()) + more.size() > max_script_string_bytes) {
            instruction_budget::stop_all("string too long");
            return;
        }
        text += more;
    }
    fn.result->set_base_string(text);
}

void as_string_indexof(const fn_call& fn) {
    fn.result->set_int(-1);
    if (fn.nargs < 1) {
        return;
    }
    const base_string& whole = fn.this_value->to_base_string();
    utf8_text text(whole);
    base_string needle = fn.arg(0).to_base_string();
    int start = search_start(fn, text.char_count());
    const char* found = find_bytes(whole.c_str() + text.byte_offset(start), whole.c_str() + whole.size(), needle);
    if (found) {
        fn.result->set_int(text.position_of_byte(static_cast<int>(found - whole.c_str())));
    }
}

void as_string_lastindexof(const fn_call& fn) {
    fn.result->set_int(-1);
    if (fn.nargs < 1) {
        return;
    }
    const base_string& whole = fn.this_value->to_base_string();
    utf8_text text(whole);
    base_string needle = fn.arg(0).to_base_string();
    int start = search_start(fn, text.char_count());
    const char* found = find_last_bytes(whole.c_str() + text.byte_offset(start), whole.c_str() + whole.size(), needle);
    if (found) {
        fn.result->set_int(text.position_of_byte(static_cast<int>(found - whole.c_str())));
    }
}

void as_string_slice(const fn_call& fn) {
    utf8_text text(fn.this_value->to_base_string());
    int count = text.char_count();
    int start = fn.nargs >= 1 ? fn.arg(0).to_int() : 0;
    int end = fn.nargs >= 2 ? fn.arg(1).to_int() : count;
    if (start < 0) {
        start += count;
    }
    if (end < 0) {
        end += count;
    }
    start = clamp(start, 0, count);
    end = clamp(end, start, count);
    fn.result->set_base_string(text.substring(start, end));
}

void as_string_substring(const fn_call& fn) {
    utf8_text text(fn.this_value->to_base_string());
    int count = text.char_count();
    int start = fn.nargs >= 1 ? clamp(fn.arg(0).to_int(), 0, count) : 0;
    int end = fn.nargs >= 2 ? clamp(fn.arg(1).to_int(), 0, count) : count;
    if (end < start) {
        int swap = start;
        start = end;
        end = swap;
    }
    fn.result->set_base_string(text.substring(start, end));
}

void as_string_substr(const fn_call& fn) {
    if (fn.nargs < 1) {
        return;
    }
    utf8_text text(fn.this_value->to_base_string());
    int count = text.char_count();
    int start = clamp(fn.arg(0).to_int(), 0, count);
    int length = fn.nargs >= 2 ? clamp(fn.arg(1).to_int(), 0, count) : count;
    int end = start + length < count ? start + length : count;
    if (start < end) {
        fn.result->set_base_string(text.substring(start, end));
    }
}

void as_string_tolowercase(const fn_call& fn) {
    set_mapped_text(fn, fn.this_value->to_base_string().utf8_to_lower());
}

void as_string_touppercase(const fn_call& fn) {
    set_mapped_text(fn, fn.this_value->to_base_string().utf8_to_upper());
}

// The length in bytes of the UTF-8 text: a character outside ASCII counts as several.
void as_string_length(const fn_call& fn) {
    fn.result->set_int(fn.this_value->to_base_string().size());
}

void as_string_split(const fn_call& fn) {
    smart_ptr<as_array> pieces = new as_array(fn.get_player());
    fn.result->set_as_object(pieces.get_ptr());
    const base_string& whole = fn.this_value->to_base_string();
    utf8_text text(whole);
    base_string separator = fn.nargs >= 1 ? fn.arg(0).to_base_string() : base_string();
    int limit = fn.nargs >= 2 ? fn.arg(1).to_int() : text.char_count();
    if (limit < 1) {
        return;
    }
    if (separator.size() == 0) {
        for (int i = 0; i < limit && text.has_char(i); i++) {
            pieces->push(text_value(text.substring(i, i + 1)));
        }
        return;
    }
    // Each separator is found by a linear search; it counts only where a character starts.
    const char* start = whole.c_str();
    const char* end = start + whole.size();
    const char* cut = start;
    const char* cursor = start;
    int count = 0;
    while (count < limit) {
        const char* found = find_bytes(cursor, end, separator);
        if (found == nullptr) {
            pieces->push(text_value(base_string(cut, static_cast<int>(end - cut))));
            break;
        }
        while (cursor < found) {
            const char* before = cursor;
            decode_next_utf8_char(&cursor);
            if (cursor == before) {
                break;
            }
        }
        if (cursor != found) {
            continue;  // the match begins inside a character: search on from the next one
        }
        pieces->push(text_value(base_string(cut, static_cast<int>(found - cut))));
        count++;
        cursor = found + separator.size();
        cut = cursor;
    }
    instruction_budget::charge_bytes(cursor - start);
}

}  // namespace swfplayer
