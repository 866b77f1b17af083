// make_display_seeds <folder>: writes movies whose timelines place, move, replace and remove
// clips (some masking, some placing themselves) into the folder, as seeds of the display fuzzer
// besides the loader's sample movies.
#include "fuzz/SeedWriter.h"
#include "tools/swfkit/Movie.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>

namespace {

swfkit::Bytes timeline(unsigned seed) {
    std::mt19937 rng(seed);
    auto pick = [&](int n) {
        return static_cast<int>(rng() % static_cast<unsigned>(n));
    };
    swfkit::Movie movie(6, {0, 8000, 0, 6000}, 30.0);
    swfkit::TagList clip(6);
    clip.ShowFrame();
    swfkit::TagList self(6);
    swfkit::Placement again;
    again.characterId = 3;
    self.PlaceObject2(again).ShowFrame();
    movie.Tags().DefineSprite(1, clip).DefineSprite(2, clip).DefineSprite(3, self);
    for (int frame = 0; frame < 6; frame++) {
        for (int n = 1 + pick(4); n > 0; n--) {
            swfkit::Placement p;
            p.depth = static_cast<uint16_t>(1 + pick(6));
            switch (pick(4)) {
            case 0:
                p.characterId = static_cast<uint16_t>(1 + pick(seed % 2 ? 3 : 2));
                if (pick(3) == 0) {
                    p.clipDepth = static_cast<uint16_t>(p.depth + pick(4));
                }
                movie.Tags().PlaceObject2(p);
                break;
            case 1:
                p.move = true;
                p.matrix = swfkit::Matrix{1.0, 1.0, 0.0, 0.0, pick(2000), pick(2000)};
                movie.Tags().PlaceObject2(p);
                break;
            case 2:
                p.move = true;
                p.characterId = static_cast<uint16_t>(1 + pick(2));
                movie.Tags().PlaceObject2(p);
                break;
            default: movie.Tags().RemoveObject2(p.depth); break;
            }
        }
        movie.Tags().ShowFrame();
    }
    return movie.Write(false);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_display_seeds <folder>\n");
        return 2;
    }
    std::filesystem::path folder(argv[1]);
    std::vector<std::pair<std::string, swfkit::Bytes>> seeds;
    for (unsigned seed = 1; seed <= 4; seed++) {
        seeds.emplace_back("timeline_" + std::to_string(seed) + ".swf", timeline(seed));
    }
    return fuzz_support::write_seeds("make_display_seeds", folder, seeds);
}
