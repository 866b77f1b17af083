#include "platform/ModuleLibrary.h"

#include <dlfcn.h>
#include <limits.h>
#include <unistd.h>

namespace platform {

bool IsPlainModuleName(const std::string& name) {
    return !name.empty() && name.find('/') == std::string::npos && name.find('\\') == std::string::npos &&
           name.find("..") == std::string::npos && name.find('\0') == std::string::npos;
}

std::string GetModuleFolder() {
    char path[PATH_MAX];
    ssize_t length = readlink("/proc/self/exe", path, sizeof(path) - 1);
    if (length <= 0) {
        return std::string();
    }
    std::string executable(path, static_cast<size_t>(length));
    size_t slash = executable.rfind('/');
    if (slash == std::string::npos) {
        return std::string();
    }
    return executable.substr(0, slash + 1) + "modules/";
}

void* OpenModule(const std::string& name, std::string* error) {
    if (!IsPlainModuleName(name)) {
        if (error) {
            *error = "not a plain module name";
        }
        return nullptr;
    }
    std::string folder = GetModuleFolder();
    if (folder.empty()) {
        if (error) {
            *error = "the program's module folder is unknown";
        }
        return nullptr;
    }
    void* handle = dlopen((folder + name + ".so").c_str(), RTLD_NOW | RTLD_LOCAL);
    if (handle == nullptr && error) {
        const char* reason = dlerror();
        *error = reason ? reason : "cannot be opened";
    }
    return handle;
}

void* FindModuleSymbol(void* handle, const char* symbol) {
    return handle && symbol ? dlsym(handle, symbol) : nullptr;
}

void CloseModule(void* handle) {
    if (handle) {
        dlclose(handle);
    }
}

}  // namespace platform
