#pragma once

#include "swfplayer/base/base_string.h"
#include "swfplayer/base/smart_ptr.h"
#include "swfplayer/main/as3/abc_records.h"
#include "swfplayer/main/loading/abc_block.h"

#include <cstdint>
#include <vector>

namespace swfplayer {

class abc_input;
class as_3_function;
class movie_definition_sub;
class player;
class stream;

// One ActionScript 3 byte-code block (a DoABC tag): the constant pools, the methods (as
// function objects the interpreter runs), the metadata, instance, class and script records and
// the method bodies. Every pool holds its default at index 0 and the block's entries from 1 on;
// a pool whose count is 0 stays empty, yet index 0 still names the default.
//
// The reader is strict: it accepts version 46.16 only and rejects the block at the first
// violated rule (an unsupported or invalid kind, metadata, parameter names, an index out of
// range, a count larger than the bytes left, a read past the tag, bytes left over), logging one
// error "abc_def::read: " plus the rule. Every index is checked while reading, so the
// interpreter and the class binding may use them as they are.
//
// The block owns its methods; they hold it weakly.
class abc_def : public abc_block {
public:
    // Value kinds of optional parameters and slot values.
    enum value_kind : uint8_t {
        CONSTANT_UNDEFINED = 0x00,
        CONSTANT_UTF8 = 0x01,
        CONSTANT_INT = 0x03,
        CONSTANT_UINT = 0x04,
        CONSTANT_PRIVATE_NS = 0x05,
        CONSTANT_DOUBLE = 0x06,
        CONSTANT_NAMESPACE = 0x08,
        CONSTANT_FALSE = 0x0A,
        CONSTANT_TRUE = 0x0B,
        CONSTANT_NULL = 0x0C,
        CONSTANT_PACKAGE_NAMESPACE = 0x16,
        CONSTANT_PACKAGE_INTERNAL_NS = 0x17,
        CONSTANT_PROTECTED_NAMESPACE = 0x18,
        CONSTANT_EXPLICIT_NAMESPACE = 0x19,
        CONSTANT_STATIC_PROTECTED_NS = 0x1A,
    };
    // Multiname kinds the reader accepts.
    enum multiname_kind : uint8_t {
        CONSTANT_QNAME = 0x07,
        CONSTANT_QNAME_A = 0x0D,
        CONSTANT_MULTINAME = 0x09,
        CONSTANT_MULTINAME_A = 0x0E,
        CONSTANT_MULTINAME_L = 0x1B,
        CONSTANT_MULTINAME_LA = 0x1C,
    };

    // owner must not be null; the block keeps a weak link to it.
    explicit abc_def(player* owner);
    ~abc_def() override;

    // Reads the rest of the open tag of in as a block; m supplies the player of the methods.
    // False (logged) when the block is rejected; it must then not be used.
    bool read(stream* in, movie_definition_sub* m);
    // The same from the bytes of a block (the DoABC loader's path after the tag header).
    bool read(abc_input* in);

    // abc_block: the binding view of the instance records.
    int get_instance_trait_count(int record) const override;
    trait get_instance_trait(int record, int index) const override;
    as_object* get_class_constructor(const base_string& class_name) const override;

    player* get_player() const { return m_player.get_ptr(); }

    // Pool entries by index; null when the index is out of range. Index 0 always gives the
    // default entry, even in an empty pool.
    const int32_t* find_integer(uint32_t index) const;
    const uint32_t* find_uinteger(uint32_t index) const;
    const double* find_double(uint32_t index) const;
    const base_string* find_string(uint32_t index) const;
    const namespace_info* find_namespace(uint32_t index) const;
    const multiname* find_multiname(uint32_t index) const;
    as_3_function* find_method(uint32_t index) const;
    // The string of a multiname's name, of a namespace's name, of a method's name; "" when the
    // index is out of range.
    const base_string& get_multiname_name(uint32_t index) const;
    const base_string& get_namespace_name(uint32_t index) const;
    const base_string& get_method_name(uint32_t index) const;
    // Whether a value index fits the pool its kind names (kinds without a pool take any index).
    bool check_value(abc_input* in, uint32_t index, uint8_t kind, const char* what, int record) const;

    std::vector<int32_t> m_integer;
    std::vector<uint32_t> m_uinteger;
    std::vector<double> m_double;
    std::vector<base_string> m_string;
    std::vector<namespace_info> m_namespace;
    std::vector<std::vector<int>> m_ns_set;
    std::vector<multiname> m_multiname;
    std::vector<smart_ptr<as_3_function>> m_method;
    std::vector<smart_ptr<metadata_info>> m_metadata;
    std::vector<smart_ptr<instance_info>> m_instance;
    std::vector<smart_ptr<class_info>> m_class;
    std::vector<smart_ptr<script_info>> m_script;

private:
    // The method at index as the movie gets it: with its prototype. Null out of range.
    as_3_function* hand_out(uint32_t index) const;
    // The constant pool, in the order of the format.
    bool read_cpool(abc_input* in);
    void read_integers(abc_input* in);
    void read_uintegers(abc_input* in);
    void read_doubles(abc_input* in);
    void read_strings(abc_input* in);
    void read_namespaces(abc_input* in);
    void read_ns_sets(abc_input* in);
    void read_multinames(abc_input* in);
    void read_multiname(abc_input* in, multiname* name, int index);
    // The sections after the pool.
    bool read_methods(abc_input* in);
    bool read_metadata(abc_input* in);
    bool read_classes(abc_input* in);
    bool read_scripts(abc_input* in);
    bool read_bodies(abc_input* in);
    // A section must start before the end of the block.
    bool section_ahead(abc_input* in, const char* section);
    // Reads a section's count, which must start before the end of the block, logging it with
    // count_format (when given) under verbose parsing; false when count records of min_bytes
    // each cannot fit into the bytes left, or their memory (entry_bytes each) into what the
    // block may still build.
    bool read_count(abc_input* in, const char* section, const char* count_format, int min_bytes, size_t entry_bytes,
                    uint32_t* count);

    weak_ptr<player> m_player;
};

}  // namespace swfplayer
