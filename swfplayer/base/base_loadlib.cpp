#include "swfplayer/base/base_loadlib.h"

#include "swfplayer/base/log.h"

#include <dlfcn.h>
#include <limits.h>
#include <unistd.h>

#include <filesystem>
#include <set>
#include <string>
#include <system_error>

namespace swfplayer {

namespace {

// The folder "modules" beside the running executable, ending with '/'; empty when the
// executable's path is unknown.
std::string module_folder() {
    char path[PATH_MAX];
    ssize_t length = readlink("/proc/self/exe", path, sizeof(path) - 1);
    if (length <= 0) {
        return std::string();
    }
    std::string executable(path, static_cast<size_t>(length));
    return executable.substr(0, executable.rfind('/') + 1) + "modules/";
}

// The names of the modules ("<name>.so") in the module folder when it was first listed.
const std::set<std::string>& available_modules() {
    static const std::set<std::string> names = [] {
        std::set<std::string> found;
        const std::string folder = module_folder();
        std::error_code error;
        if (folder.empty() || !std::filesystem::is_directory(folder, error)) {
            return found;
        }
        for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
            if (entry.path().extension() == ".so") {
                found.insert(entry.path().stem().string());
            }
        }
        return found;
    }();
    return names;
}

}  // namespace

bool base_loadlib::is_available(const base_string& name) {
    return available_modules().count(std::string(name.c_str(), static_cast<size_t>(name.size()))) > 0;
}

bool base_loadlib::is_plain_name(const base_string& name) {
    std::string text(name.c_str(), static_cast<size_t>(name.size()));
    return !text.empty() && text.find_first_of("/\\") == std::string::npos && text.find("..") == std::string::npos &&
           text.find('\0') == std::string::npos;
}

base_loadlib::base_loadlib(const base_string& name) {
    if (!is_plain_name(name)) {
        log_error("base_loadlib: '%s' is not a plain module name, not loaded\n", name.c_str());
        return;
    }
    std::string folder = module_folder();
    if (folder.empty()) {
        log_error("base_loadlib: the program's module folder is unknown, '%s' not loaded\n", name.c_str());
        return;
    }
    m_handle = dlopen((folder + name.c_str() + ".so").c_str(), RTLD_NOW | RTLD_LOCAL);
    if (m_handle == nullptr) {
        const char* reason = dlerror();
        log_error("base_loadlib: can't load module '%s': %s\n", name.c_str(), reason ? reason : "unknown error");
    }
}

base_loadlib::~base_loadlib() {
    if (m_handle) {
        dlclose(m_handle);
    }
}

void* base_loadlib::get_function(const char* symbol) const {
    return m_handle && symbol ? dlsym(m_handle, symbol) : nullptr;
}

}  // namespace swfplayer
