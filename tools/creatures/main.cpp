// make_creatures <data folder>: writes the game's creatures:
//   players/<name>.xml                   each creature's definition
//   ais/<name>.xml                       each computer opponent's creature and settings
//   creatures/<name>/eyes.swf, mouth.swf  its eyes and mouth
//   creatures/<name>/portrait.swf        its portrait for the selection screens
//   creatures/<name>/skin.swf, top.swf, eyes_decoration.swf   the decorations it wears
#include "tools/creatures/CreatureWriter.h"

#include <cstdio>
#include <filesystem>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_creatures <data folder>\n");
        return 2;
    }
    std::filesystem::path data = std::filesystem::path(argv[1]).lexically_normal();
    if (data.filename().empty()) {
        data = data.parent_path();
    }
    if (!WriteShippedCreatures(data.parent_path())) {
        std::fprintf(stderr, "make_creatures: cannot write everything into %s\n", data.c_str());
        return 1;
    }
    return 0;
}
