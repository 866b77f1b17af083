#include "flash/bitmap_info_ogl.h"

#include "flash/texture_sizing.h"

#include <GL/gl.h>
#include <GL/glext.h>

namespace swfplayer {
namespace {

// Set only by render_handler_ogl::query_compressed_formats.
int s_compressed_format_count = 0;

// Uploads one level. Rows are packed unless the source pads them to 4 bytes; the unpack
// alignment is set for each upload, since other code (SFML) may have changed it.
void upload_level(int level, int format, int width, int height, int alignment, const void* data) {
    glPixelStorei(GL_UNPACK_ALIGNMENT, alignment);
    glTexImage2D(GL_TEXTURE_2D, level, texture_internal_format(format), width, height, 0, format, GL_UNSIGNED_BYTE,
                 data);
}

void upload_colour(const image::image_base& im) {
    const int bytes_per_pixel = im.type == image::image_base::RGB ? 3 : 4;
    const int format = bytes_per_pixel == 3 ? GL_RGB : GL_RGBA;
    const int w = texture_size(im.width);
    const int h = texture_size(im.height);
    if (w == im.width && h == im.height) {
        upload_level(0, format, w, h, im.pitch == bytes_per_pixel * im.width ? 1 : 4, im.data.get());
        return;
    }
    std::vector<uint8_t> resampled = resample(im.data.get(), im.width, im.height, im.pitch, bytes_per_pixel, w, h);
    upload_level(0, format, w, h, 1, resampled.data());
}

void upload_alpha_mips(image::image_base& im) {
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR_MIPMAP_LINEAR);
    int w = im.width;
    int h = im.height;
    upload_level(0, GL_ALPHA, w, h, 1, im.data.get());
    for (int level = 1; w > 1 || h > 1; level++) {
        next_mip_level(im.data.get(), &w, &h);
        upload_level(level, GL_ALPHA, w, h, 1, im.data.get());
    }
}

}  // namespace

int texture_internal_format(int format) {
    if (s_compressed_format_count < 1) {
        return format;
    }
    switch (format) {
    case GL_ALPHA: return GL_COMPRESSED_ALPHA;
    case GL_RGB: return GL_COMPRESSED_RGB;
    case GL_RGBA: return GL_COMPRESSED_RGBA;
    case GL_LUMINANCE: return GL_COMPRESSED_LUMINANCE;
    default: return format;
    }
}

void set_compressed_format_count(int count) {
    s_compressed_format_count = count;
}

bitmap_info_ogl::bitmap_info_ogl(std::unique_ptr<image::image_base> im)
    : m_width(im->width), m_height(im->height), m_image(std::move(im)) {}

bitmap_info_ogl::~bitmap_info_ogl() {
    if (m_texture != 0) {
        glDeleteTextures(1, &m_texture);
    }
}

void bitmap_info_ogl::activate() {
    if (m_texture != 0) {
        glBindTexture(GL_TEXTURE_2D, m_texture);
        glEnable(GL_TEXTURE_2D);
        return;
    }
    if (m_image) {
        upload();
        return;
    }
    // The empty bitmap has nothing to show.
    glDisable(GL_TEXTURE_2D);
}

void bitmap_info_ogl::bind() {
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, m_texture);
}

void bitmap_info_ogl::upload() {
    glEnable(GL_TEXTURE_2D);
    glGenTextures(1, &m_texture);
    glBindTexture(GL_TEXTURE_2D, m_texture);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    if (m_image->type == image::image_base::ALPHA) {
        upload_alpha_mips(*m_image);
    } else {
        upload_colour(*m_image);
    }
    m_image.reset();
}

}  // namespace swfplayer
