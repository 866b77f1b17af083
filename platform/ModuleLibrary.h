#pragma once

#include <string>

namespace platform {

// Shared libraries that extend the program, opened only from its own module folder: the folder
// "modules" beside the running executable. A movie names the module it wants, and loading a
// library runs its code, so a name is taken only when it is plain (not empty, no '/', no '\\',
// no ".."); the file opened is "<module folder>/<name>.so".

// Whether name may name a module.
bool IsPlainModuleName(const std::string& name);
// The module folder, ending with '/'; empty when the executable's own path is unknown.
std::string GetModuleFolder();
// The handle of the opened module, or null when the name is not plain, the folder is unknown
// or the library cannot be opened; error (when given) receives the reason.
void* OpenModule(const std::string& name, std::string* error);
// The address of an exported symbol, or null (also for a null handle).
void* FindModuleSymbol(void* handle, const char* symbol);
// Closes a handle from OpenModule; null is ignored.
void CloseModule(void* handle);

}  // namespace platform
