#pragma once

#include "swfplayer/base/image.h"
#include "swfplayer/main/render/render_handler.h"

#include <memory>

namespace swfplayer {

// An OpenGL texture made from a kept image on first use; the image is freed then. A bitmap that
// is never shown never becomes a texture. Needs the OpenGL context current from first activate
// until it is destroyed.
class bitmap_info_ogl : public bitmap_info {
public:
    // A bitmap with no image: it has size 0 by 0 and shows no texture.
    bitmap_info_ogl() = default;
    // Keeps im (rgb, rgba or alpha) for the first activate.
    explicit bitmap_info_ogl(std::unique_ptr<image::image_base> im);
    ~bitmap_info_ogl() override;

    void activate() override;
    void bind() override;
    int get_width() const override { return m_width; }
    int get_height() const override { return m_height; }

private:
    // Makes the texture from the kept image and frees the image.
    void upload();

    unsigned int m_texture = 0;  // the OpenGL texture name, 0 until the first activate
    int m_width = 0;             // pixels of the source image
    int m_height = 0;
    std::unique_ptr<image::image_base> m_image;
};

// The internal format used for an upload of data in format: the compressed variant once the
// process-wide count of compressed formats is at least 1 (see render_handler_ogl).
int texture_internal_format(int format);
void set_compressed_format_count(int count);

}  // namespace swfplayer
