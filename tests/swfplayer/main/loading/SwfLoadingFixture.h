#pragma once

#include "swfplayer/base/log.h"
#include "swfplayer/base/smart_ptr.h"
#include "swfplayer/main/common/stream.h"
#include "swfplayer/main/loading/movie_def_impl.h"
#include "swfplayer/main/script/player.h"
#include "tools/swfkit/Movie.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace swf_testing {

// Base of the loading tests: a player, movie loading from bytes, the player's log caught line
// by line (messages and errors alike) instead of printed, and plain files opened by name (the
// game opens them through its virtual file system instead). The player's verbose logging is
// switched off again after each test.
class SwfLoadingFixture : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Reads a movie from the bytes; null when they are not a movie.
    swfplayer::smart_ptr<swfplayer::movie_def_impl> LoadMovie(const std::vector<uint8_t>& bytes);
    // Reads a plain movie of the version (100 x 100 twips, 12 frames a second) whose main
    // timeline write fills; the header's frame count is that of its ShowFrames unless given.
    swfplayer::smart_ptr<swfplayer::movie_def_impl> LoadBuilt(int version,
                                                              const std::function<void(swfkit::TagList&)>& write,
                                                              std::optional<uint16_t> frame_count = {});
    // Reads a version 8 movie of one frame holding the tags, each a type and a body.
    swfplayer::smart_ptr<swfplayer::movie_def_impl> LoadTags(const std::vector<std::pair<int, swfkit::Bytes>>& tags);

    // Whether some logged message contains text, and how many do.
    bool Logged(const std::string& text) const;
    int CountLogged(const std::string& text) const;
    // How many of those came through log_error.
    int CountLoggedAsErrors(const std::string& text) const;
    const std::vector<std::string>& Log() const;
    void ClearLog();

    swfplayer::smart_ptr<swfplayer::player> m_player;

private:
    swfplayer::log_callback m_previous = nullptr;
};

// The file opener the tests register: regular files of the file system, read-only; null for
// anything else.
swfplayer::base_file* OpenPlainFile(const char* name);

// A read-only memory file over a copy of the bytes and a stream on it.
struct ByteStream {
    explicit ByteStream(std::vector<uint8_t> data);
    ByteStream(const ByteStream&) = delete;
    ByteStream& operator=(const ByteStream&) = delete;
    std::vector<uint8_t> bytes;
    swfplayer::base_file file;
    swfplayer::stream in;
};

// The data deflated as a zlib stream, as compressed tags and files hold it.
std::vector<uint8_t> Compress(const std::vector<uint8_t>& data);

// The bytes that write puts into a fresh writer.
template <class Write>
std::vector<uint8_t> Written(Write write) {
    swfkit::BitWriter writer;
    write(writer);
    return writer.GetBytes();
}

}  // namespace swf_testing
