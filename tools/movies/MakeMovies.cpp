// make_movies <data folder>: writes the game's own movies made with the SWF kit:
//   empty.swf  the overlay drawn over every screen: the 800 x 600 logical screen, one empty frame.
#include "tools/swfkit/Movie.h"

#include <cstdio>
#include <filesystem>
#include <fstream>

namespace {

bool WriteFile(const std::filesystem::path& path, const swfkit::Bytes& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(out);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_movies <data folder>\n");
        return 2;
    }
    const std::filesystem::path folder(argv[1]);
    std::error_code error;
    std::filesystem::create_directories(folder, error);

    swfkit::Movie empty(8, {0, 800 * 20, 0, 600 * 20}, 30);
    empty.Tags().ShowFrame();
    if (!WriteFile(folder / "empty.swf", empty.Write(false))) {
        std::fprintf(stderr, "make_movies: cannot write %s\n", (folder / "empty.swf").c_str());
        return 1;
    }
    return 0;
}
