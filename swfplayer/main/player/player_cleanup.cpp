#include "swfplayer/main/player/player_cleanup.h"

#include "swfplayer/main/as3/abc_disasm.h"
#include "swfplayer/main/loading/tag_loaders.h"
#include "swfplayer/main/script/extension_modules.h"
#include "swfplayer/main/script/player.h"
#include "swfplayer/main/text/glyph_provider.h"

#include <cassert>

namespace swfplayer {

void player_cleanup() {
    assert(player::s_player_count == 0);
    clear_tag_loaders();
    get_extension_registry()->clear();
    close_glyph_provider();
    clear_disasm();
}

}  // namespace swfplayer
