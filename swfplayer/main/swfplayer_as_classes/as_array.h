#pragma once

#include "swfplayer/base/base_string.h"
#include "swfplayer/main/script/as_object.h"

namespace swfplayer {

struct fn_call;

// The script array: an object whose elements are members named by the decimal text of their
// index. Every member that for-in can see counts as an element.
class as_array : public as_object {
public:
    // Elements "new Array(n)" and an array literal may create at once.
    static constexpr int max_initial_size = 65536;

    explicit as_array(player* owner);

    bool is(int class_id) const override { return class_id == AS_ARRAY || as_object::is(class_id); }
    // The elements' texts in the order of their names (compared without case), joined by ",".
    // A text that would pass max_script_string_bytes stops the script and ends where it got to.
    const char* to_string() override;

    // The number of visible members, kept by the member table: constant time.
    int size() const;
    // Stores value as the member named by the current size (constant time).
    void push(const as_value& value);
    // Stores value as the member named by the decimal text of index.
    void set_element(int index, const as_value& value);
    // Moves the member named size - 1 into *out; out is untouched when there is none.
    void pop(as_value* out);
    void erase(const base_stringi& name) { erase_member(name); }

private:
    base_string m_text;  // the text of the last to_string
    bool m_printing = false;
};

// The global Array constructor: Array(n), Array(a, b, ...), or the literal form (argument count
// and first index -1) that pops a count and then that many values from the stack.
void as_global_array_ctor(const fn_call& fn);

}  // namespace swfplayer
