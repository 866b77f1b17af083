#pragma once

#include "tools/swfkit/BitWriter.h"

#include <string>
#include <utility>
#include <vector>

namespace swfkit {

// A gallery of small movies that between them use every tag and record the player's loader
// reads, plus a few malformed ones: the seeds of the loading fuzzer and the inputs of the
// truncation sweep. Each comes plain and compressed; names end in ".swf".
std::vector<std::pair<std::string, Bytes>> LoaderSampleMovies();

// A movie of frames frames, each defining, placing, moving and removing characters, with
// labels, sprites and actions: thousands of tags for loading benchmarks.
Bytes LargeMovie(int frames, bool compressed);

// A movie of frames frames, each defining a shape of linear and radial gradient fills (eight
// stops each) over curved outlines and placing it: gradient-heavy loading for benchmarks.
Bytes GradientMovie(int frames, bool compressed);

}  // namespace swfkit
