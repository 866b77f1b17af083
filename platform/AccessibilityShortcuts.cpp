#include "platform/AccessibilityShortcuts.h"

namespace platform {

// X11 offers no accessibility hot keys to save or switch off.
void DisableAccessibilityShortcuts() {}

void RestoreAccessibilityShortcuts() {}

}  // namespace platform
