#pragma once

// The base of the ActionScript 3 tests: the loading fixture's player and caught log, the DoABC
// loader registered, blocks read from bytes and movies built around them.

#include "swfplayer/main/as3/abc_def.h"
#include "tests/swfplayer/main/as3/AbcBuilder.h"
#include "tests/swfplayer/main/loading/SwfLoadingFixture.h"

#include <string>
#include <utility>
#include <vector>

namespace abc_testing {

class As3Fixture : public swf_testing::SwfLoadingFixture {
protected:
    void SetUp() override;

    // The block read from its bytes; null when it is rejected.
    swfplayer::smart_ptr<swfplayer::abc_def> Read(const Bytes& block);
    // A version 9 movie of one frame: the DoABC tags (each a block), the SymbolClass entries
    // when given, and a DoAction that sets _global.played to "yes".
    Bytes Movie(const std::vector<Bytes>& blocks, const std::vector<std::pair<uint16_t, std::string>>& symbols = {});
    // The texts of the logged lines that contain text, joined.
    std::string LinesWith(const std::string& text) const;
};

}  // namespace abc_testing
