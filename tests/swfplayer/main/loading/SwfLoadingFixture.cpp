#include "tests/swfplayer/main/loading/SwfLoadingFixture.h"

#include "swfplayer/main/loading/movie_loader.h"
#include "tools/swfkit/Bitmaps.h"

#include <algorithm>
#include <filesystem>
#include <system_error>
#include <utility>

namespace swf_testing {

namespace {

std::vector<std::string> s_log;
// The messages of s_log that came through log_error.
std::vector<std::string> s_errors;

void capture(bool is_error, const char* message) {
    s_log.push_back(message);
    if (is_error) {
        s_errors.push_back(message);
    }
}

int count_containing(const std::vector<std::string>& lines, const std::string& text) {
    return static_cast<int>(std::count_if(lines.begin(), lines.end(),
                                          [&](const std::string& line) { return line.find(text) != line.npos; }));
}

}  // namespace

void SwfLoadingFixture::SetUp() {
    ClearLog();
    m_previous = swfplayer::register_log_callback(capture);
    swfplayer::register_file_opener_callback(OpenPlainFile);
    m_player = new swfplayer::player();
}

void SwfLoadingFixture::TearDown() {
    swfplayer::set_verbose_parse(false);
    swfplayer::set_verbose_action(false);
    m_player = nullptr;
    swfplayer::register_file_opener_callback(nullptr);
    swfplayer::register_log_callback(m_previous);
}

swfplayer::base_file* OpenPlainFile(const char* name) {
    std::error_code error;
    if (!std::filesystem::is_regular_file(name, error)) {
        return nullptr;
    }
    return new swfplayer::base_file(name, "rb");
}

swfplayer::smart_ptr<swfplayer::movie_def_impl> SwfLoadingFixture::LoadMovie(const std::vector<uint8_t>& bytes) {
    auto* file = new swfplayer::base_file(swfplayer::memory_buffer, static_cast<int>(bytes.size()), bytes.data());
    return swfplayer::create_movie_definition(m_player.get_ptr(), file);
}

swfplayer::smart_ptr<swfplayer::movie_def_impl> SwfLoadingFixture::LoadBuilt(
    int version, const std::function<void(swfkit::TagList&)>& write, std::optional<uint16_t> frame_count) {
    swfkit::Movie movie(version, {0, 100, 0, 100}, 12.0);
    write(movie.Tags());
    if (frame_count) {
        movie.SetFrameCount(*frame_count);
    }
    return LoadMovie(movie.Write(false));
}

swfplayer::smart_ptr<swfplayer::movie_def_impl> SwfLoadingFixture::LoadTags(
    const std::vector<std::pair<int, swfkit::Bytes>>& tags) {
    return LoadBuilt(8, [&](swfkit::TagList& t) {
        for (const auto& [type, body] : tags) {
            t.Tag(type, body);
        }
        t.ShowFrame();
    });
}

bool SwfLoadingFixture::Logged(const std::string& text) const {
    return CountLogged(text) > 0;
}

int SwfLoadingFixture::CountLogged(const std::string& text) const {
    return count_containing(s_log, text);
}

int SwfLoadingFixture::CountLoggedAsErrors(const std::string& text) const {
    return count_containing(s_errors, text);
}

const std::vector<std::string>& SwfLoadingFixture::Log() const {
    return s_log;
}

void SwfLoadingFixture::ClearLog() {
    s_log.clear();
    s_errors.clear();
}

ByteStream::ByteStream(std::vector<uint8_t> data)
    : bytes(std::move(data)), file(swfplayer::memory_buffer, static_cast<int>(bytes.size()), bytes.data()), in(&file) {}

std::vector<uint8_t> Compress(const std::vector<uint8_t>& data) {
    return swfkit::Deflated(data);
}

}  // namespace swf_testing
