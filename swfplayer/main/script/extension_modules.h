#pragma once

#include "swfplayer/base/array.h"
#include "swfplayer/base/base_loadlib.h"
#include "swfplayer/base/base_string.h"
#include "swfplayer/main/script/as_value.h"

#include <map>
#include <memory>
#include <string>

namespace swfplayer {

class as_object;
class player;

// The extension libraries loaded so far, by class name, for the names of modules the module
// folder holds; a name whose load failed stays in it too, so it is not tried again. Names of no
// module never enter it, so it stays as small as the folder. The libraries stay open until
// player_cleanup empties it (or the process ends).
typedef std::map<std::string, std::unique_ptr<base_loadlib>> extension_registry;
extension_registry* get_extension_registry();

// The entry every extension module exports as "swfplayer_module_init": it makes one object of
// the module's class from the constructor's arguments (in call order), or returns null.
typedef as_object* (*module_init_function)(player* owner, const array<as_value>& args);

// Whether a class name may name a module: 1 to 64 letters, digits and underscores, so that a
// movie can never reach a library outside the module folder.
bool is_valid_module_name(const base_string& class_name);

// "new Name(...)" of a class no script defines: the module of that class (base_loadlib of Name,
// from the program's module folder) is loaded on first use (the outcome is remembered, loaded
// or not) and its entry makes the object. Null when the module folder has no such module (no
// load is tried and nothing is remembered), or it does not load, lacks the entry or the entry
// gives null.
as_object* create_extension_object(player* owner, const base_string& class_name, const array<as_value>& args);

}  // namespace swfplayer
