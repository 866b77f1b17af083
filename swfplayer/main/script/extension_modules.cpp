#include "swfplayer/main/script/extension_modules.h"

namespace swfplayer {

extension_registry* get_extension_registry() {
    static extension_registry s_registry;
    return &s_registry;
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
    if (!is_valid_module_name(class_name) || !base_loadlib::is_available(class_name)) {
        return nullptr;
    }
    std::unique_ptr<base_loadlib>& library = (*get_extension_registry())[class_name.c_str()];
    if (!library) {
        library = std::make_unique<base_loadlib>(class_name);
    }
    auto init = reinterpret_cast<module_init_function>(library->get_function("swfplayer_module_init"));
    return init ? init(owner, args) : nullptr;
}

}  // namespace swfplayer
