#pragma once

#include "swfplayer/base/smart_ptr.h"
#include "swfplayer/main/script/as_object.h"

namespace swfplayer {

// One object opened by a With block, searched first by variable lookups until the block ends.
struct with_stack_entry {
    with_stack_entry() = default;
    with_stack_entry(as_object* object, int block_end_pc) : m_object(object), m_block_end_pc(block_end_pc) {}

    smart_ptr<as_object> m_object;  // may be null
    int m_block_end_pc = 0;         // the pc at which the block ends
};

}  // namespace swfplayer
