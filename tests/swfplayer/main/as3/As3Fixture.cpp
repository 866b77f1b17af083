#include "tests/swfplayer/main/as3/As3Fixture.h"

#include "swfplayer/main/as3/abc_input.h"
#include "swfplayer/main/as3/as3_loaders.h"
#include "tests/swfplayer/main/player/PlayerMovies.h"
#include "tools/swfkit/Movie.h"

namespace abc_testing {

void As3Fixture::SetUp() {
    SwfLoadingFixture::SetUp();
    swfplayer::register_as3_loaders();
}

swfplayer::smart_ptr<swfplayer::abc_def> As3Fixture::Read(const Bytes& block) {
    swfplayer::smart_ptr<swfplayer::abc_def> abc = new swfplayer::abc_def(m_player.get_ptr());
    swfplayer::abc_input in(block.data(), static_cast<int>(block.size()));
    return abc->read(&in) ? abc : nullptr;
}

Bytes As3Fixture::Movie(const std::vector<Bytes>& blocks,
                        const std::vector<std::pair<uint16_t, std::string>>& symbols) {
    swfkit::Movie movie(9, {0, 2000, 0, 2000}, 12.0);
    for (size_t i = 0; i < blocks.size(); i++) {
        movie.Tags().DoABC(1, "block" + std::to_string(i), blocks[i]);
    }
    if (!symbols.empty()) {
        movie.Tags().SymbolClass(symbols);
    }
    movie.Tags().DoAction(player_movies::SetGlobalAction("played", "yes")).ShowFrame();
    return movie.Write(false);
}

std::string As3Fixture::LinesWith(const std::string& text) const {
    std::string joined;
    for (const std::string& line : Log()) {
        if (line.find(text) != line.npos) {
            joined += line;
        }
    }
    return joined;
}

}  // namespace abc_testing
