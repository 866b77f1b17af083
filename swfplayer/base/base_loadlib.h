#pragma once

#include "swfplayer/base/base_string.h"

namespace swfplayer {

// An extension module, opened by a plain name from the program's own module folder: the file
// "<name>.so" in the folder "modules" beside the executable. A movie names the module it
// wants and loading a library runs its code, so names with '/', '\\' or ".." are refused.
// A refused name or a failed load is logged and leaves no library. The library is closed with
// the object.
class base_loadlib {
public:
    explicit base_loadlib(const base_string& name);
    ~base_loadlib();
    base_loadlib(const base_loadlib&) = delete;
    base_loadlib& operator=(const base_loadlib&) = delete;

    // Not empty, and no '/', '\\', ".." or NUL.
    static bool is_plain_name(const base_string& name);
    // Whether the module folder holds a module of that name. The folder is listed once, on
    // first use, so asking about any number of names costs no file system call per name.
    static bool is_available(const base_string& name);

    bool is_loaded() const { return m_handle != nullptr; }
    // The address of an exported symbol; null when absent or when no library was loaded.
    void* get_function(const char* symbol) const;

private:
    void* m_handle = nullptr;
};

}  // namespace swfplayer
