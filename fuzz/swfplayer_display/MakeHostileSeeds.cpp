// make_hostile_seeds <folder>: writes the hostile movies of the player's regression tests (scripts
// and tags that once made a frame, a load or the memory run away) into the folder, as seeds of
// the fuzzers that load and play movies (the committed display and loading seeds hold them).
#include "fuzz/SeedWriter.h"
#include "tests/swfplayer/main/player/HostileMovies.h"

#include <cstdio>
#include <filesystem>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_hostile_seeds <folder>\n");
        return 2;
    }
    return fuzz_support::write_seeds("make_hostile_seeds", std::filesystem::path(argv[1]), hostile_movies::All());
}
