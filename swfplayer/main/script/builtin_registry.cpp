#include "swfplayer/main/script/builtin_registry.h"

#include "swfplayer/main/script/as_object.h"

#include <cassert>

namespace swfplayer {

namespace {

struct registry {
    globals_installer m_globals_installer = nullptr;
    std::vector<builtin_method> m_methods;
    as_c_function_ptr m_constructors[builtin_class_count] = {};
    arguments_maker m_arguments_maker = nullptr;
    as_c_function_ptr m_movieclip_loader_ctor = nullptr;
};

registry& get_registry() {
    static registry s_registry;
    return s_registry;
}

}  // namespace

void register_globals_installer(globals_installer installer) {
    assert(installer);
    get_registry().m_globals_installer = installer;
}

void register_builtin_method(builtin_class class_index, const char* name, as_c_function_ptr function) {
    assert(name && function && class_index >= 0 && class_index < builtin_class_count);
    get_registry().m_methods.push_back({class_index, name, function, false});
}

void register_builtin_getter(builtin_class class_index, const char* name, as_c_function_ptr getter) {
    assert(name && getter && class_index >= 0 && class_index < builtin_class_count);
    get_registry().m_methods.push_back({class_index, name, getter, true});
}

void register_builtin_constructor(builtin_class class_index, as_c_function_ptr constructor) {
    assert(constructor && class_index >= 0 && class_index < builtin_class_count);
    get_registry().m_constructors[class_index] = constructor;
}

void register_movieclip_loader_ctor(as_c_function_ptr constructor) {
    assert(constructor);
    get_registry().m_movieclip_loader_ctor = constructor;
}

as_c_function_ptr get_movieclip_loader_ctor() {
    return get_registry().m_movieclip_loader_ctor;
}

void register_arguments_maker(arguments_maker maker) {
    assert(maker);
    get_registry().m_arguments_maker = maker;
}

void install_builtin_globals(player* owner) {
    globals_installer installer = get_registry().m_globals_installer;
    if (installer) {
        installer(owner);
    }
}

const std::vector<builtin_method>& get_builtin_methods() {
    return get_registry().m_methods;
}

as_c_function_ptr get_builtin_constructor(builtin_class class_index) {
    assert(class_index >= 0 && class_index < builtin_class_count);
    return get_registry().m_constructors[class_index];
}

smart_ptr<as_object> make_arguments_array(player* owner, const fn_call& fn) {
    arguments_maker maker = get_registry().m_arguments_maker;
    return maker ? maker(owner, fn) : nullptr;
}

}  // namespace swfplayer
