#pragma once

#include "swfplayer/base/base_string.h"
#include "swfplayer/base/ref_counted.h"

namespace swfplayer {

class as_object;

// The ActionScript 3 block of a movie as the movie definition sees it: what binding a script
// class to the main timeline needs. The reader and interpreter behind it live in a higher layer.
class abc_block : public ref_counted {
public:
    // One trait of an instance record: its name (the string its multiname names), its kind (0
    // slot, 1 method, 2 getter, 3 setter, 4 class, 5 function, 6 const) and, for kinds 1 to 3,
    // the function object of its method (null for the other kinds).
    struct trait {
        base_string m_name;
        int m_kind = 0;
        as_object* m_function = nullptr;
    };

    // Number of traits of instance record `record`; -1 when the block has no such record.
    virtual int get_instance_trait_count(int record) const = 0;
    // Trait `index` (0 <= index < the count) of instance record `record`.
    virtual trait get_instance_trait(int record, int index) const = 0;
    // The initialiser of instance record 0, or null when there is none. The class name is not
    // used: a block binds only its first class.
    virtual as_object* get_class_constructor(const base_string& class_name) const = 0;
};

}  // namespace swfplayer
