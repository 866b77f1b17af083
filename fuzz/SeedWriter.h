#pragma once

// What the seed-writing programs share: named inputs written as files into the seed folder.

#include <cstdio>
#include <filesystem>
#include <fstream>

namespace fuzz_support {

// Writes each (name, bytes) pair of seeds as folder/name, making the folder first; 0 on success,
// else 1 with a line on standard error that names the program and the file.
template <class Seeds>
int write_seeds(const char* program, const std::filesystem::path& folder, const Seeds& seeds) {
    std::filesystem::create_directories(folder);
    for (const auto& [name, bytes] : seeds) {
        std::ofstream out(folder / name, std::ios::binary);
        out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        if (!out) {
            std::fprintf(stderr, "%s: cannot write %s\n", program, (folder / name).c_str());
            return 1;
        }
    }
    return 0;
}

}  // namespace fuzz_support
