// make_loading_seeds <folder>: writes the kit's sample movies into the folder, as the seed
// corpus of the loading fuzzer (the committed seeds/ folder is its output).
#include "tools/swfkit/SampleMovies.h"

#include <cstdio>
#include <filesystem>
#include <fstream>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_loading_seeds <folder>\n");
        return 2;
    }
    std::filesystem::path folder(argv[1]);
    std::filesystem::create_directories(folder);
    for (const auto& [name, bytes] : swfkit::LoaderSampleMovies()) {
        std::ofstream out(folder / name, std::ios::binary);
        out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        if (!out) {
            std::fprintf(stderr, "make_loading_seeds: cannot write %s\n", (folder / name).c_str());
            return 1;
        }
    }
    return 0;
}
