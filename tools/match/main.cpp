// make_match_movies <data folder> <font file>: writes the movies a match shows over its arena:
//   gui/score.swf                the two life bars
//   gui/countdown.swf            3, 2, 1, Go! (its text in the font)
//   ball_hit.swf                 the splash of a ball striking a creature that does not own it
//   ball_becomes_neutral.swf     the puff of a ball becoming free again
#include "tools/levels/ContentFiles.h"
#include "tools/match/MatchMovies.h"

#include <cstdio>
#include <filesystem>

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: make_match_movies <data folder> <font file>\n");
        return 2;
    }
    const std::filesystem::path data(argv[1]);
    swfkit::EmbeddedFont font;
    if (!swfkit::LoadTrueTypeFont(argv[2], match_movies::kCountdownText, &font)) {
        std::fprintf(stderr, "make_match_movies: cannot read the font %s\n", argv[2]);
        return 1;
    }
    bool written = WriteBytes(data / "gui/score.swf", match_movies::ScoreMovie());
    written = WriteBytes(data / "gui/countdown.swf", match_movies::CountdownMovie(font)) && written;
    written = WriteBytes(data / "ball_hit.swf", match_movies::HitMovie()) && written;
    written = WriteBytes(data / "ball_becomes_neutral.swf", match_movies::NeutralMovie()) && written;
    if (!written) {
        std::fprintf(stderr, "make_match_movies: cannot write everything into %s\n", data.c_str());
        return 1;
    }
    return 0;
}
