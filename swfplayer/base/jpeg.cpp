#include "swfplayer/base/jpeg.h"

#include "swfplayer/base/base_file.h"
#include "swfplayer/base/image.h"
#include "swfplayer/base/log.h"

#include <jpeglib.h>

#include <cassert>
#include <csetjmp>
#include <cstdio>
#include <cstring>

namespace swfplayer::jpeg {
namespace {

constexpr int buffer_size = 4096;
// Header blocks read before an image must begin: a stream of nothing but table blocks ends here.
constexpr int max_header_blocks = 8;

// libjpeg's source-manager record followed by what the callbacks need.
struct source_manager {
    jpeg_source_mgr pub;
    base_file* in;
    bool start_of_file;
    JOCTET buffer[buffer_size];
};

// libjpeg's error manager with the place its error exit jumps back to.
struct error_manager {
    jpeg_error_mgr pub;
    std::jmp_buf jump;
};

void init_source(j_decompress_ptr cinfo) {
    reinterpret_cast<source_manager*>(cinfo->src)->start_of_file = true;
}

// Ends a decode that cannot go on: back to the guarded call that began it, which aborts the
// decompression and reports failure. Nothing on the way has a destructor to run.
[[noreturn]] void abandon_decode(j_common_ptr cinfo) {
    std::longjmp(reinterpret_cast<error_manager*>(cinfo->err)->jump, 1);
}

boolean fill_input_buffer(j_decompress_ptr cinfo) {
    source_manager* src = reinterpret_cast<source_manager*>(cinfo->src);
    int bytes = src->in->read_bytes(src->buffer, buffer_size);
    if (bytes <= 0) {
        if (src->start_of_file) {
            // Nothing at all to decode: the source's own failure, not one of libjpeg's.
            log_error("jpeg::input: empty jpeg source stream.\n");
            abandon_decode(reinterpret_cast<j_common_ptr>(cinfo));
        }
        // Data that ends early gets an end-of-image code; libjpeg completes the image itself.
        src->buffer[0] = 0xFF;
        src->buffer[1] = JPEG_EOI;
        bytes = 2;
    } else if (src->start_of_file && bytes >= 4 && src->buffer[0] == 0xFF && src->buffer[1] == 0xD9 &&
               src->buffer[2] == 0xFF && src->buffer[3] == 0xD8) {
        // Movies may store an end-of-image code before the start of the image.
        src->buffer[1] = 0xD8;
        src->buffer[3] = 0xD9;
    }
    src->pub.next_input_byte = src->buffer;
    src->pub.bytes_in_buffer = static_cast<size_t>(bytes);
    src->start_of_file = false;
    return TRUE;
}

void skip_input_data(j_decompress_ptr cinfo, long count) {
    source_manager* src = reinterpret_cast<source_manager*>(cinfo->src);
    if (count <= 0) {
        return;
    }
    size_t n = static_cast<size_t>(count);
    while (n > src->pub.bytes_in_buffer) {
        n -= src->pub.bytes_in_buffer;
        fill_input_buffer(cinfo);
    }
    src->pub.next_input_byte += n;
    src->pub.bytes_in_buffer -= n;
}

void term_source(j_decompress_ptr) {}

// libjpeg's fatal errors: its message, then the decoder's own line on standard error, and the
// decode is abandoned.
[[noreturn]] void error_exit(j_common_ptr cinfo) {
    (*cinfo->err->output_message)(cinfo);
    std::fputs("internal error in jpeglib\n", stderr);
    abandon_decode(cinfo);
}

void output_message(j_common_ptr cinfo) {
    char text[JMSG_LENGTH_MAX];
    (*cinfo->err->format_message)(cinfo, text);
    log_error("jpeg::input: %s\n", text);
}

class input_impl final : public input {
public:
    explicit input_impl(base_file* in) {
        m_cinfo.err = jpeg_std_error(&m_err.pub);
        m_err.pub.error_exit = error_exit;
        m_err.pub.output_message = output_message;
        jpeg_create_decompress(&m_cinfo);
        m_source.pub.init_source = init_source;
        m_source.pub.fill_input_buffer = fill_input_buffer;
        m_source.pub.skip_input_data = skip_input_data;
        m_source.pub.resync_to_restart = jpeg_resync_to_restart;
        m_source.pub.term_source = term_source;
        m_source.pub.bytes_in_buffer = 0;
        m_source.pub.next_input_byte = nullptr;
        m_source.in = in;
        m_source.start_of_file = true;
        m_cinfo.src = &m_source.pub;
    }

    ~input_impl() override {
        finish_image();
        jpeg_destroy_decompress(&m_cinfo);
    }

    input_impl(const input_impl&) = delete;
    input_impl& operator=(const input_impl&) = delete;

    // Reads one header block; an image is not required.
    bool read_tables() { return read_header(); }

    void discard_buffered_input() override {
        m_source.pub.bytes_in_buffer = 0;
        m_source.pub.next_input_byte = nullptr;
    }

    bool start_image() override {
        assert(!m_running);
        for (int block = 0; block < max_header_blocks && !m_image_ready; block++) {
            if (!read_header()) {
                return false;
            }
        }
        if (!m_image_ready) {
            log_error("jpeg::input::start_image: no image after %d header blocks\n", max_header_blocks);
            return false;
        }
        if (!image::size_allowed(m_cinfo.image_width, m_cinfo.image_height)) {
            log_error("jpeg::input::start_image: refusing an image of %u x %u pixels\n", m_cinfo.image_width,
                      m_cinfo.image_height);
            m_image_ready = false;
            jpeg_abort_decompress(&m_cinfo);
            return false;
        }
        // Grey data is expanded to colour; colour spaces without a conversion to RGB (CMYK) fail.
        m_cinfo.out_color_space = JCS_RGB;
        m_image_ready = false;
        if (!guarded([this] { jpeg_start_decompress(&m_cinfo); })) {
            return false;
        }
        if (m_cinfo.output_components != 3) {
            log_error("jpeg::input::start_image: %d components a pixel instead of 3\n", m_cinfo.output_components);
            jpeg_abort_decompress(&m_cinfo);
            return false;
        }
        m_running = true;
        return true;
    }

    void finish_image() override {
        if (!m_running) {
            return;
        }
        m_running = false;
        // Rows left unread are skipped by aborting rather than by decoding them.
        if (m_cinfo.output_scanline < m_cinfo.output_height) {
            jpeg_abort_decompress(&m_cinfo);
        } else if (!guarded([this] { jpeg_finish_decompress(&m_cinfo); })) {
            return;
        }
    }

    int get_height() const override {
        assert(m_running);
        return static_cast<int>(m_cinfo.output_height);
    }

    int get_width() const override {
        assert(m_running);
        return static_cast<int>(m_cinfo.output_width);
    }

    bool read_scanline(uint8_t* rgb_data) override {
        if (!m_running || m_cinfo.output_scanline >= m_cinfo.output_height) {
            return false;
        }
        JSAMPROW row = rgb_data;
        JDIMENSION lines = 0;
        if (!guarded([this, &row, &lines] { lines = jpeg_read_scanlines(&m_cinfo, &row, 1); })) {
            m_running = false;
            return false;
        }
        return lines == 1;
    }

private:
    // Reads one header block (an image is not required); m_image_ready tells whether it began
    // an image.
    bool read_header() {
        int result = JPEG_SUSPENDED;
        if (!guarded([this, &result] { result = jpeg_read_header(&m_cinfo, FALSE); })) {
            return false;
        }
        m_image_ready = result == JPEG_HEADER_OK;
        return true;
    }

    // Runs a libjpeg call; an error inside it jumps back here, aborts the decompression and gives
    // false. The call holds no objects with destructors, so nothing is skipped by the jump.
    template <class F>
    bool guarded(F call) {
        if (setjmp(m_err.jump) != 0) {
            jpeg_abort_decompress(&m_cinfo);
            m_running = false;
            m_image_ready = false;
            return false;
        }
        call();
        return true;
    }

    jpeg_decompress_struct m_cinfo{};
    error_manager m_err{};
    source_manager m_source{};
    bool m_image_ready = false;  // a header read has begun an image not yet started
    bool m_running = false;      // between start_image and finish_image
};

}  // namespace

std::unique_ptr<input> input::create(base_file* in) {
    auto decoder = std::make_unique<input_impl>(in);
    if (!decoder->start_image()) {
        return nullptr;
    }
    return decoder;
}

std::unique_ptr<input> input::create_tables_only(base_file* in) {
    auto decoder = std::make_unique<input_impl>(in);
    if (!decoder->read_tables()) {
        return nullptr;
    }
    return decoder;
}

}  // namespace swfplayer::jpeg
