#include "swfplayer/base/base_loadlib.h"

#include "platform/ModuleLibrary.h"
#include "swfplayer/base/log.h"

#include <string>

namespace swfplayer {

base_loadlib::base_loadlib(const base_string& name) {
    std::string error;
    m_handle = platform::OpenModule(std::string(name.c_str(), name.size()), &error);
    if (m_handle == nullptr) {
        log_error("base_loadlib: can't load module '%s': %s\n", name.c_str(), error.c_str());
    }
}

base_loadlib::~base_loadlib() {
    platform::CloseModule(m_handle);
}

void* base_loadlib::get_function(const char* symbol) const {
    return platform::FindModuleSymbol(m_handle, symbol);
}

}  // namespace swfplayer
