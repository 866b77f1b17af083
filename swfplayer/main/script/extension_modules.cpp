#include "swfplayer/main/script/extension_modules.h"

#include "swfplayer/base/log.h"

#include <dlfcn.h>

#include <map>
#include <string>
#include <tuple>
#include <utility>

namespace swfplayer {

namespace {

// One loaded library: closed when the table goes at exit.
class module_library {
public:
    explicit module_library(const std::string& path) : m_handle(dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL)) {}
    ~module_library() {
        if (m_handle) {
            dlclose(m_handle);
        }
    }
    module_library(const module_library&) = delete;
    module_library& operator=(const module_library&) = delete;

    module_init_function get_init() const {
        return m_handle ? reinterpret_cast<module_init_function>(dlsym(m_handle, "swfplayer_module_init")) : nullptr;
    }

private:
    void* m_handle;
};

std::string& module_folder() {
    static std::string folder;
    return folder;
}

// Class name to library; a name whose load failed stays in the table too.
std::map<std::string, module_library>& module_table() {
    static std::map<std::string, module_library> table;
    return table;
}

}  // namespace

void set_extension_module_folder(const base_string& folder) {
    module_folder() = folder.c_str();
}

bool is_valid_module_name(const base_string& class_name) {
    int length = class_name.size();
    if (length < 1 || length > 64) {
        return false;
    }
    for (int i = 0; i < length; i++) {
        char c = class_name.c_str()[i];
        bool fits = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
        if (!fits) {
            return false;
        }
    }
    return true;
}

as_object* create_extension_object(player* owner, const base_string& class_name, const array<as_value>& args) {
    if (module_folder().empty() || !is_valid_module_name(class_name)) {
        return nullptr;
    }
    std::string name = class_name.c_str();
    auto found = module_table().find(name);
    if (found == module_table().end()) {
        std::string path = module_folder() + "/lib" + name + ".so";
        found = module_table()
                    .emplace(std::piecewise_construct, std::forward_as_tuple(name), std::forward_as_tuple(path))
                    .first;
    }
    module_init_function init = found->second.get_init();
    return init ? init(owner, args) : nullptr;
}

}  // namespace swfplayer
