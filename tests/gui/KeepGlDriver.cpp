// The screens' tests open OpenGL contexts (the application's window is one); its driver stays
// loaded so that the leak check of the sanitizer build can tell the driver's own blocks (a few of
// which it never frees) from what the tests leak.
#include "tests/support/GlDriver.h"

namespace {

const bool kDriverKept = (testing_support::KeepGlDriverLoaded(), true);

}  // namespace

extern "C" const char* __lsan_default_suppressions() {
    return "leak:swrast_dri.so\n";
}
