#pragma once

namespace swfplayer {

// Registers the built-in classes with the script core: the globals every player gets, the
// method tables of Object, Number, Boolean and String, the constructors primitives are
// instances of, and the array that collects a call's arguments. Whoever makes players calls it
// before the first one; later calls do nothing.
void register_builtin_classes();

}  // namespace swfplayer
