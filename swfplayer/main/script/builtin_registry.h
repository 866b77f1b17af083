#pragma once

#include "swfplayer/base/smart_ptr.h"
#include "swfplayer/main/script/as_value.h"

#include <string>
#include <vector>

namespace swfplayer {

class as_object;
class player;
struct fn_call;

// The built-in method tables by class number: 0 Object, 1 MovieClip, 2 Number, 3 Boolean,
// 4 String.
enum builtin_class {
    BUILTIN_OBJECT = 0,
    BUILTIN_MOVIECLIP = 1,
    BUILTIN_NUMBER = 2,
    BUILTIN_BOOLEAN = 3,
    BUILTIN_STRING = 4
};
constexpr int builtin_class_count = 5;

// The built-in classes live above the script core and fill this process-wide registry once,
// before the first player is made (register_builtin_classes in swfplayer_as_classes/ does it).
// The core reads it to fill each new player's globals, to build the method tables of the
// primitive types, to know the constructors that primitives count as instances of, and to make
// the arguments array of a call. Without a registration a player has no globals and primitives
// have no methods.

// Fills a new player's global object (class constructors, global functions, singletons); the
// player's constructor calls it.
typedef void (*globals_installer)(player* owner);
void register_globals_installer(globals_installer installer);
// A method of a class's method table.
void register_builtin_method(builtin_class class_index, const char* name, as_c_function_ptr function);
// A read-only property of a class's method table, read through getter.
void register_builtin_getter(builtin_class class_index, const char* name, as_c_function_ptr getter);
// The native constructor that values of the class are instances of.
void register_builtin_constructor(builtin_class class_index, as_c_function_ptr constructor);
// The MovieClipLoader constructor: it makes movies, which the player layer above the built-in
// classes does, so that layer registers it; the globals take it when one is registered.
void register_movieclip_loader_ctor(as_c_function_ptr constructor);
// The registered MovieClipLoader constructor; null when none is.
as_c_function_ptr get_movieclip_loader_ctor();
// Makes a new script array of owner that holds fn's arguments in order.
typedef smart_ptr<as_object> (*arguments_maker)(player* owner, const fn_call& fn);
void register_arguments_maker(arguments_maker maker);

// A method, or a getter when m_is_getter is set. Each player builds its method tables from these
// when it is made, with function objects of its own.
struct builtin_method {
    builtin_class m_class;
    std::string m_name;
    as_c_function_ptr m_function;
    bool m_is_getter;
};
// Runs the registered installer on owner; does nothing without one.
void install_builtin_globals(player* owner);
const std::vector<builtin_method>& get_builtin_methods();
// The registered constructor of the class; null when none is.
as_c_function_ptr get_builtin_constructor(builtin_class class_index);
// The arguments array of a call; null when no maker is registered.
smart_ptr<as_object> make_arguments_array(player* owner, const fn_call& fn);

}  // namespace swfplayer
