#pragma once

#include <string>

namespace platform {

// Opens a document (a file path or an address) in the desktop's default program for it, as a
// double click in a file manager would: "xdg-open" found on PATH, started without a shell (the
// address is one argument, never parsed) and not waited for. Openers started earlier that have
// ended are reaped at the next call, so none lingers as a zombie for long. False when the
// opener could not be started.
bool OpenDocument(const std::string& address);

}  // namespace platform
