// make_loading_seeds <folder>: writes the kit's sample movies and the hostile movies that once
// broke the loader into the folder, as the seed corpus of the loading fuzzer (the committed
// seeds/ folder is its output).
#include "fuzz/SeedWriter.h"
#include "tools/swfkit/Movie.h"
#include "tools/swfkit/SampleMovies.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

namespace {

using swfkit::Bytes;

swfkit::Movie Empty() {
    return swfkit::Movie(6, {0, 100, 0, 100}, 12.0);
}

// Movies that were slow, huge or unsafe to load: thousands of empty clip-action records (each
// once re-read the rest of the tag), an action tag far past the action buffer's cap (once
// copied whole, twice), and imports of an absolute name and of a name leaving the folder.
std::vector<std::pair<std::string, Bytes>> HostileMovies() {
    std::vector<std::pair<std::string, Bytes>> movies;
    swfkit::Placement placement;
    placement.characterId = 1;
    placement.clipActions.assign(16000, swfkit::ClipAction{0x1, 0, {0x00}});
    swfkit::Movie records = Empty();
    records.Tags().PlaceObject2(placement).ShowFrame();
    movies.emplace_back("hostile_clip_records_compressed.swf", records.Write(true));

    swfkit::Movie actions = Empty();
    actions.Tags().DoAction(Bytes(17 << 20, 0x07)).ShowFrame();
    movies.emplace_back("hostile_action_tag_compressed.swf", actions.Write(true));

    for (const char* url : {"/etc/passwd", "../../outside.swf"}) {
        swfkit::Movie import = Empty();
        import.Tags().ImportAssets(url, {{ 20, "Shared" }}).ShowFrame();
        movies.emplace_back(std::string("hostile_import_") + (url[0] == '/' ? "absolute" : "parent") + ".swf",
                            import.Write(false));
    }
    return movies;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_loading_seeds <folder>\n");
        return 2;
    }
    std::filesystem::path folder(argv[1]);
    std::vector<std::pair<std::string, Bytes>> movies = swfkit::LoaderSampleMovies();
    for (auto& movie : HostileMovies()) {
        movies.push_back(std::move(movie));
    }
    return fuzz_support::write_seeds("make_loading_seeds", folder, movies);
}
