#include "swfplayer/main/swfplayer_as_classes/as_string.h"

#include "swfplayer/base/utf8.h"
#include "swfplayer/main/script/fn_call.h"
#include "swfplayer/main/swfplayer_as_classes/as_array.h"

#include <cmath>
#include <cstring>
#include <vector>

namespace swfplayer {

namespace {

// A string with the byte offset of every character, so character positions convert to bytes
// in constant time.
class utf8_text {
public:
    explicit utf8_text(const base_string& text) : m_text(text) {
        const char* start = m_text.c_str();
        const char* cursor = start;
        m_offsets.push_back(0);
        // A sequence cut short by the end of the text is no character.
        while (decode_next_utf8_char(&cursor) != 0) {
            m_offsets.push_back(static_cast<int>(cursor - start));
        }
    }

    int char_count() const { return static_cast<int>(m_offsets.size()) - 1; }
    int byte_offset(int position) const { return m_offsets[position]; }
    const char* c_str() const { return m_text.c_str(); }
    // Characters [start, end), 0 <= start <= end <= char_count().
    base_string substring(int start, int end) const {
        return base_string(m_text.c_str() + m_offsets[start], m_offsets[end] - m_offsets[start]);
    }
    // The character position starting at or after a byte offset.
    int position_of_byte(int offset) const {
        int position = 0;
        while (position < char_count() && m_offsets[position] < offset) {
            position++;
        }
        return position;
    }

private:
    base_string m_text;
    std::vector<int> m_offsets;
};

utf8_text this_text(const fn_call& fn) {
    return utf8_text(fn.this_value->to_base_string());
}

int clamp(int value, int low, int high) {
    return value < low ? low : (value > high ? high : value);
}

// The search start of indexOf and lastIndexOf: argument 1 as a character position in 0..n.
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
    utf8_text text = this_text(fn);
    int index = fn.nargs >= 1 ? fn.arg(0).to_int() : -1;
    if (index < 0 || index >= text.char_count()) {
        fn.result->set_nan();
        return;
    }
    const char* cursor = text.c_str() + text.byte_offset(index);
    fn.result->set_double(decode_next_utf8_char(&cursor));
}

void as_string_charat(const fn_call& fn) {
    utf8_text text = this_text(fn);
    int index = fn.nargs >= 1 ? fn.arg(0).to_int() : -1;
    if (index >= 0 && index < text.char_count()) {
        fn.result->set_base_string(text.substring(index, index + 1));
    }
}

void as_string_concat(const fn_call& fn) {
    base_string text = fn.this_value->to_base_string();
    for (int i = 0; i < fn.nargs; i++) {
        text += fn.arg(i).to_base_string();
    }
    fn.result->set_base_string(text);
}

void as_string_indexof(const fn_call& fn) {
    fn.result->set_int(-1);
    if (fn.nargs < 1) {
        return;
    }
    utf8_text text = this_text(fn);
    base_string needle = fn.arg(0).to_base_string();
    int start = search_start(fn, text.char_count());
    const char* found = std::strstr(text.c_str() + text.byte_offset(start), needle.c_str());
    if (found) {
        fn.result->set_int(text.position_of_byte(static_cast<int>(found - text.c_str())));
    }
}

void as_string_lastindexof(const fn_call& fn) {
    fn.result->set_int(-1);
    if (fn.nargs < 1) {
        return;
    }
    utf8_text text = this_text(fn);
    base_string needle = fn.arg(0).to_base_string();
    int start = search_start(fn, text.char_count());
    const char* cursor = text.c_str() + text.byte_offset(start);
    const char* last = nullptr;
    while (const char* found = std::strstr(cursor, needle.c_str())) {
        last = found;
        if (*found == '\0') {
            break;  // an empty needle matches at the end, once
        }
        cursor = found + 1;
    }
    if (last) {
        fn.result->set_int(text.position_of_byte(static_cast<int>(last - text.c_str())));
    }
}

void as_string_slice(const fn_call& fn) {
    utf8_text text = this_text(fn);
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
    utf8_text text = this_text(fn);
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
    utf8_text text = this_text(fn);
    int count = text.char_count();
    int start = clamp(fn.arg(0).to_int(), 0, count);
    int length = fn.nargs >= 2 ? clamp(fn.arg(1).to_int(), 0, count) : count;
    int end = start + length < count ? start + length : count;
    if (start < end) {
        fn.result->set_base_string(text.substring(start, end));
    }
}

void as_string_tolowercase(const fn_call& fn) {
    fn.result->set_base_string(fn.this_value->to_base_string().utf8_to_lower());
}

void as_string_touppercase(const fn_call& fn) {
    fn.result->set_base_string(fn.this_value->to_base_string().utf8_to_upper());
}

// The length in bytes of the UTF-8 text: a character outside ASCII counts as several.
void as_string_length(const fn_call& fn) {
    fn.result->set_int(fn.this_value->to_base_string().size());
}

void as_string_split(const fn_call& fn) {
    smart_ptr<as_array> pieces = new as_array(fn.get_player());
    fn.result->set_as_object(pieces.get_ptr());
    utf8_text text = this_text(fn);
    base_string separator = fn.nargs >= 1 ? fn.arg(0).to_base_string() : base_string();
    int limit = fn.nargs >= 2 ? fn.arg(1).to_int() : text.char_count();
    if (limit < 1) {
        return;
    }
    int count = 0;
    if (separator.size() == 0) {
        for (int i = 0; i < text.char_count() && count < limit; i++, count++) {
            pieces->push(as_value(text.substring(i, i + 1).c_str()));
        }
        return;
    }
    const char* start = text.c_str();
    const char* cut = start;
    const char* cursor = start;
    int separator_length = separator.size();
    while (count < limit) {
        if (*cursor == '\0') {
            pieces->push(as_value(base_string(cut, static_cast<int>(cursor - cut)).c_str()));
            break;
        }
        if (std::strncmp(cursor, separator.c_str(), separator_length) == 0) {
            pieces->push(as_value(base_string(cut, static_cast<int>(cursor - cut)).c_str()));
            count++;
            cursor += separator_length;
            cut = cursor;
            continue;
        }
        decode_next_utf8_char(&cursor);
    }
}

}  // namespace swfplayer
