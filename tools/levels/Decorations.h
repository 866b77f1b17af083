#pragma once

#include "tools/levels/Art.h"
#include "tools/swfkit/BitWriter.h"

#include <string>
#include <vector>

// The looping decorative movies that levels place as static clips.
struct DecorationMovie {
    // The name levels use, "data/levels/<name>.swf".
    std::string file;
    int width = 0;
    int height = 0;
    // What the first frame shows, in the movie's pixels.
    art::Drawing firstFrame;
    swfkit::Bytes movie;
};

// A portal: glowing rings round a turning swirl.
DecorationMovie PortalMovie();
// A column of bubbles rising and wobbling.
DecorationMovie BubblesMovie();

std::vector<DecorationMovie> DecorationMovies();
