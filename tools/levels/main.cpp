// make_levels <data folder>: writes the game's levels and everything they show:
//   ball.swf, ball_glow.swf                      the balls' movies
//   levels/portal.swf, levels/bubbles.swf         decorations the levels place
//   levels/<arena>.xml and its companions         one level per arena (see ArenaWriter.h)
//   levelsets/<set>.xml, levelsets/<set>.png      the championship's level sets and their previews
//   <scene>.xml and its companions                the scenes played outside matches
#include "tools/levels/Arena.h"
#include "tools/levels/ArenaWriter.h"
#include "tools/levels/BallArt.h"
#include "tools/levels/ContentFiles.h"
#include "tools/levels/Decorations.h"

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

namespace {

struct LevelSet {
    std::string name;
    std::vector<int> arenas;
};

// A 400 x 300 preview of a set: the screenshots of its first four levels, two by two.
pictures::Canvas SetPreview(const std::vector<pictures::Canvas>& shots, const std::vector<int>& arenas) {
    pictures::Canvas preview(400, 300, pictures::Rgba{0.12, 0.2, 0.35, 1.0});
    for (size_t tile = 0; tile < 4 && tile < arenas.size(); ++tile) {
        const pictures::Canvas small = shots[arenas[tile]].Halved();
        preview.Draw(small, static_cast<int>(tile % 2) * 200, static_cast<int>(tile / 2) * 150);
    }
    return preview;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_levels <data folder>\n");
        return 2;
    }
    std::filesystem::path data = std::filesystem::path(argv[1]).lexically_normal();
    if (data.filename().empty()) {
        data = data.parent_path();
    }
    bool written = WriteBytes(data / "ball.swf", ball_art::BallMovie());
    written = WriteBytes(data / "ball_glow.swf", ball_art::GlowMovie()) && written;
    const std::vector<DecorationMovie> decorations = DecorationMovies();
    for (const DecorationMovie& decoration : decorations) {
        written = WriteBytes(data.parent_path() / decoration.file, decoration.movie) && written;
    }
    const std::vector<Arena> arenas = ShippedArenas();
    std::vector<pictures::Canvas> shots;
    for (const Arena& arena : arenas) {
        const pictures::Canvas picture = ArenaPicture(arena, decorations);
        written = WriteArena(arena, data, decorations, picture) && written;
        shots.push_back(picture.Halved());
    }
    for (const LevelSet& set : {LevelSet{"first_dive", {0, 1, 2}}, LevelSet{"grand_tour", {0, 1, 2, 3, 4}}}) {
        LevelSetData record;
        record.screenshot = "data/levelsets/" + set.name + ".png";
        for (int arena : set.arenas) {
            record.levels.push_back(LevelFile(arenas[arena]));
        }
        written = WritePicture(data / "levelsets" / (set.name + ".png"), SetPreview(shots, set.arenas)) && written;
        written = WriteRecords(data / "levelsets" / (set.name + ".xml"), {{"data", &record}}) && written;
    }
    for (const Arena& scene : SpecialArenas()) {
        written = WriteArena(scene, data, decorations, ArenaPicture(scene, decorations)) && written;
    }
    if (!written) {
        std::fprintf(stderr, "make_levels: cannot write everything into %s\n", data.c_str());
        return 1;
    }
    return 0;
}
