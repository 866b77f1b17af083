#include "swfplayer/main/swfplayer_as_classes/as_array.h"

#include "swfplayer/base/log.h"
#include "swfplayer/main/script/as_environment.h"
#include "swfplayer/main/script/fn_call.h"
#include "swfplayer/main/script/instruction_budget.h"
#include "swfplayer/main/script/player.h"

#include <algorithm>
#include <cstdint>
#include <vector>

namespace swfplayer {

namespace {

// Arrays inside arrays are printed at most this deep, and one printing visits at most this many
// elements in all, so shared or self-containing arrays cannot make it explode. An array met
// again inside its own printing prints as the empty text.
constexpr int max_print_depth = 64;
constexpr int max_print_elements = 100000;

// Instructions one element stored costs (its index written as a name, a table entry made, and
// later freed), and one element printed (its name sorted among the others and its value turned
// into text). An element of a table of a million takes as long as 150 plain instructions to make
// and free; this bounds too the elements a frame may make, to about a million.
constexpr int64_t element_store_cost = 160;
constexpr int64_t element_print_cost = 96;

// Marks an array as being printed, and one level of printing as under way, for as long as the
// printing lasts, however it ends.
class printing_scope {
public:
    printing_scope(bool* printing, int* depth) : m_printing(printing), m_depth(depth) {
        *m_printing = true;
        (*m_depth)++;
    }
    ~printing_scope() {
        *m_printing = false;
        (*m_depth)--;
    }
    printing_scope(const printing_scope&) = delete;
    printing_scope& operator=(const printing_scope&) = delete;

private:
    bool* m_printing;
    int* m_depth;
};

// The decimal text of index, written by hand: pushes and splits make one per element.
base_stringi index_name(int index) {
    char buffer[16];
    char* end = buffer + sizeof(buffer);
    char* digit = end;
    unsigned int rest = index < 0 ? 0u - static_cast<unsigned int>(index) : static_cast<unsigned int>(index);
    do {
        *--digit = static_cast<char>('0' + rest % 10);
        rest /= 10;
    } while (rest != 0);
    if (index < 0) {
        *--digit = '-';
    }
    return base_stringi(digit, static_cast<int>(end - digit));
}

as_array* this_array(const fn_call& fn) {
    return fn.this_ptr && fn.this_ptr->is(AS_ARRAY) ? static_cast<as_array*>(fn.this_ptr) : nullptr;
}

void array_tostring(const fn_call& fn) {
    if (as_array* array = this_array(fn)) {
        fn.result->set_string(array->to_string());
    }
}

void array_push(const fn_call& fn) {
    as_array* array = this_array(fn);
    if (array == nullptr) {
        return;
    }
    if (fn.nargs >= 1) {
        array->push(fn.arg(0));
    }
    fn.result->set_int(array->size());
}

void array_pop(const fn_call& fn) {
    if (as_array* array = this_array(fn)) {
        as_value popped;
        array->pop(&popped);
        *fn.result = popped;
    }
}

void array_length(const fn_call& fn) {
    if (as_array* array = this_array(fn)) {
        fn.result->set_int(array->size());
    }
}

int limited_size(int requested) {
    if (requested > as_array::max_initial_size) {
        log_error("error: Array of %d elements cut to %d\n", requested, as_array::max_initial_size);
        return as_array::max_initial_size;
    }
    return requested;
}

}  // namespace

// Each array holds function objects of its own: a member set on one array's push is not seen
// through another's.
as_array::as_array(player* owner) : as_object(owner) {
    builtin_member("toString", as_value(owner, array_tostring));
    builtin_member("push", as_value(owner, array_push));
    builtin_member("pop", as_value(owner, array_pop));
    builtin_member("length", as_value(as_value(owner, array_length), as_value()));
    store_global_constructor("Array");
}

int as_array::size() const {
    return get_visible_member_count();
}

void as_array::push(const as_value& value) {
    set_element(size(), value);
}

void as_array::set_element(int index, const as_value& value) {
    instruction_budget::charge(element_store_cost);
    if (value.get_flags() == 0) {
        put_member(index_name(index), value);
        return;
    }
    as_value element = value;
    element.set_flags(0);
    put_member(index_name(index), element);
}

void as_array::pop(as_value* out) {
    base_stringi name = index_name(size() - 1);
    if (get_own_member(name, out)) {
        erase_member(name);
    }
}

const char* as_array::to_string() {
    player::nesting_counters& counters = nesting_of(get_player());
    if (m_printing || counters.m_print_depth >= max_print_depth) {
        return "";
    }
    if (counters.m_print_depth == 0) {
        counters.m_print_elements = 0;
    }
    printing_scope printing(&m_printing, &counters.m_print_depth);
    instruction_budget::charge(int64_t{size()} * element_print_cost);
    std::vector<const hash<base_stringi, as_value>::entry*> elements;
    elements.reserve(static_cast<size_t>(size()));
    for (const auto& member : get_members()) {
        if (!(member.second.get_flags() & AS_DONT_ENUM)) {
            elements.push_back(&member);
        }
    }
    // The names in case-insensitive text order (so "10" comes right after "1").
    std::sort(elements.begin(), elements.end(), [](const auto* a, const auto* b) {
        return base_string::stricmp(a->first.c_str(), b->first.c_str()) < 0;
    });
    base_string text;
    for (size_t i = 0; i < elements.size() && counters.m_print_elements < max_print_elements;
         i++, counters.m_print_elements++) {
        const base_string& element = elements[i]->second.to_base_string();
        if (static_cast<int64_t>(text.size()) + element.size() + 1 > max_script_string_bytes) {
            instruction_budget::stop_all("string too long");
            break;
        }
        if (i > 0) {
            text += ",";
        }
        text += element;
    }
    instruction_budget::charge_bytes(text.size());
    m_text = std::move(text);
    return m_text.c_str();
}

void as_global_array_ctor(const fn_call& fn) {
    smart_ptr<as_array> array = new as_array(fn.get_player());
    if (fn.nargs == -1 && fn.first_arg_bottom_index == -1) {
        if (fn.env) {
            int count = fn.env->pop().to_int();
            // Never more values than the running code has on the stack.
            count = std::min(count, fn.env->get_stack_depth());
            for (int i = 0; i < count; i++) {
                array->set_element(i, fn.env->pop());
            }
        }
    } else if (fn.nargs == 1) {
        int count = limited_size(fn.arg(0).to_int());
        for (int i = 0; i < count; i++) {
            array->set_element(i, as_value());
        }
    } else {
        for (int i = 0; i < fn.nargs; i++) {
            array->set_element(i, fn.arg(i));
        }
    }
    fn.result->set_as_object(array.get_ptr());
}

}  // namespace swfplayer
