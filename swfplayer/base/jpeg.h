#pragma once

#include <cstdint>
#include <memory>

namespace swfplayer {

class base_file;

namespace jpeg {

// A JPEG decoder over a base_file (not owned), one scanline at a time, always giving three bytes
// a pixel (red, green, blue). It reads the file ahead in blocks of 4096 bytes, so a caller that
// goes on reading the same file sets the position itself. Decoding errors never escape: the
// operation that met one returns false, the decoder stops running, and it may start again on
// the next image.
class input {
public:
    virtual ~input() = default;

    // A decoder already started on the first image of in; null when none could be made or the
    // image could not be started.
    static std::unique_ptr<input> create(base_file* in);
    // A decoder that has read one header block of in (normally tables only) and not started an
    // image: movies share such a decoder among the images that follow their tables. Null on
    // failure.
    static std::unique_ptr<input> create_tables_only(base_file* in);

    // Drops the bytes read ahead, so the next read starts at the file's current position.
    virtual void discard_buffered_input() = 0;
    // Reads header blocks until an image begins and starts decompressing it. False when the data
    // holds no image the player can show (damaged, not colour or grey, or larger than the
    // images allowed by image::size_allowed); the decoder then is not running.
    virtual bool start_image() = 0;
    // Ends the running decompression; nothing when none runs.
    virtual void finish_image() = 0;
    // The running image's size in pixels.
    virtual int get_height() const = 0;
    virtual int get_width() const = 0;
    // Reads the next row, 3 * width bytes, into rgb_data. False on a decoding error or when every
    // row has been read; rgb_data is then left as it was.
    virtual bool read_scanline(uint8_t* rgb_data) = 0;
};

}  // namespace jpeg
}  // namespace swfplayer
