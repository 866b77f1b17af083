#pragma once

#include "swfplayer/base/base_string.h"

namespace swfplayer {

// An extension module, opened by a plain name (no '/', '\\' or "..") from the program's own
// module folder; a refused name or a failed load is logged and leaves no library. The library
// is closed with the object.
class base_loadlib {
public:
    explicit base_loadlib(const base_string& name);
    ~base_loadlib();
    base_loadlib(const base_loadlib&) = delete;
    base_loadlib& operator=(const base_loadlib&) = delete;

    bool is_loaded() const { return m_handle != nullptr; }
    // The address of an exported symbol; null when absent or when no library was loaded.
    void* get_function(const char* symbol) const;

private:
    void* m_handle = nullptr;
};

}  // namespace swfplayer
