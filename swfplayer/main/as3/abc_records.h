#pragma once

#include "swfplayer/base/ref_counted.h"
#include "swfplayer/base/smart_ptr.h"

#include <cstdint>
#include <vector>

namespace swfplayer {

class abc_def;
class abc_input;

// A namespace of the constant pool: its kind byte and the string index of its name.
struct namespace_info {
    int m_kind = 0;
    int m_name = 0;
};

// A multiname of the constant pool. Fields its kind does not carry stay 0; flags is always 0.
struct multiname {
    int m_kind = 0;
    int m_flags = 0;
    int m_ns = 0;
    int m_ns_set = 0;
    int m_name = 0;
};

// One trait of an instance, class, script or method body.
class traits_info : public ref_counted {
public:
    enum kind { SLOT = 0, METHOD = 1, GETTER = 2, SETTER = 3, CLASS = 4, FUNCTION = 5, CONST = 6 };

    // Reads the trait; class_count is the number of classes counted so far (a class trait
    // must name one of them). False, with the reason in in, on a violated rule.
    bool read(abc_input* in, const abc_def& def, int class_count);

    int m_name = 0;        // multiname index, a QName
    int m_kind = 0;        // low 4 bits of the kind byte
    int m_attributes = 0;  // high 4 bits
    int m_id = 0;          // slot_id or disp_id
    int m_index = 0;       // type_name (slots, consts), method, classi or function
    int m_vindex = 0;      // slots and consts: the value's pool index, 0 for none
    int m_vkind = 0;
    std::vector<int> m_metadata;
};

using trait_list = std::vector<smart_ptr<traits_info>>;

// Reads a trait count and that many traits into out.
bool read_traits(abc_input* in, const abc_def& def, int class_count, trait_list* out);

// One exception handler of a method body.
class except_info : public ref_counted {
public:
    // Five variable-length integers: from, to, target, exception type, variable name.
    void read(abc_input* in);

    uint32_t m_from = 0;
    uint32_t m_to = 0;
    uint32_t m_target = 0;
    uint32_t m_exc_type = 0;
    uint32_t m_var_name = 0;
};

// A metadata record; blocks that carry any are rejected, so it has no fields.
class metadata_info : public ref_counted {};

// The instance side of a class.
class instance_info : public ref_counted {
public:
    // Reads instance record index (for the verbose listing).
    bool read(abc_input* in, const abc_def& def, int index);

    int m_name = 0;        // multiname index
    int m_super_name = 0;  // multiname index
    uint8_t m_flags = 0;
    int m_protected_ns = 0;  // namespace index, read when flags has 0x08
    std::vector<int> m_interfaces;
    int m_iinit = 0;  // method index of the instance initialiser
    trait_list m_traits;
};

// The static side of a class.
class class_info : public ref_counted {
public:
    bool read(abc_input* in, const abc_def& def, int index);

    int m_cinit = 0;
    trait_list m_traits;
};

// A script: its initialiser and the traits it defines.
class script_info : public ref_counted {
public:
    bool read(abc_input* in, const abc_def& def, int index);

    int m_init = 0;
    trait_list m_traits;
};

}  // namespace swfplayer
