#include "swfplayer/main/script/builtin_registry.h"
#include "swfplayer/main/swfplayer_as_classes/builtin_classes.h"

#include <gtest/gtest.h>

using namespace swfplayer;

// The game registers once per movie load; a second registration must not double the methods
// every table is built from.
TEST(BuiltinClassesTest, registering_again_adds_nothing) {
    register_builtin_classes();
    size_t methods = get_builtin_methods().size();
    register_builtin_classes();
    EXPECT_GT(methods, 0u);
    EXPECT_EQ(get_builtin_methods().size(), methods);
    EXPECT_NE(get_builtin_constructor(BUILTIN_STRING), nullptr);
}
