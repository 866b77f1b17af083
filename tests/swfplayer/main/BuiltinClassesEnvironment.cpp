// Every player these tests make gets the built-in classes, as the game's players do.
#include "swfplayer/main/swfplayer_as_classes/builtin_classes.h"

#include <gtest/gtest.h>

namespace {

class builtin_classes_environment : public testing::Environment {
public:
    void SetUp() override { swfplayer::register_builtin_classes(); }
};

testing::Environment* const s_environment = testing::AddGlobalTestEnvironment(new builtin_classes_environment);

}  // namespace
