#include "swfplayer/main/loading/bitmap_loaders.h"

#include "swfplayer/base/image_jpeg.h"
#include "swfplayer/base/jpeg.h"
#include "swfplayer/base/log.h"
#include "swfplayer/main/common/stream.h"
#include "swfplayer/main/common/swf_tag.h"
#include "swfplayer/main/loading/bitmap_character.h"
#include "swfplayer/main/loading/lossless_bitmap.h"
#include "swfplayer/main/loading/movie_def_impl.h"
#include "swfplayer/main/loading/sprite_definition.h"
#include "swfplayer/main/loading/tag_loaders.h"

#include <algorithm>
#include <cassert>
#include <cstdint>
#include <vector>

namespace swfplayer {
namespace {

// The movie that m belongs to: m itself, or the movie of a sprite; null when there is none.
movie_def_impl* owning_movie(movie_definition_sub* m) {
    if (m->is(AS_MOVIE_DEF)) {
        return static_cast<movie_def_impl*>(m);
    }
    if (m->is(AS_SPRITE_DEF)) {
        movie_definition_sub* movie = static_cast<sprite_definition*>(m)->get_movie_definition();
        if (movie && movie->is(AS_MOVIE_DEF)) {
            return static_cast<movie_def_impl*>(movie);
        }
    }
    return nullptr;
}

// True when the tag's images are to be decoded (the movie did not ask for empty bitmaps).
bool decode_images(movie_definition_sub* m) {
    movie_def_impl* movie = owning_movie(m);
    return !movie || movie->get_create_bitmaps() == 0;
}

// Registers a new bitmap character for bi under id.
void add_bitmap(movie_definition_sub* m, int id, bitmap_info* bi) {
    assert(bi->get_ref_count() == 0);
    bitmap_character* ch = new bitmap_character(m->get_player(), bi);
    ch->m_id = id;
    m->add_bitmap_character(id, ch);
}

// The bitmap of a decoded image; an empty one, logged, when decoding failed.
template <class image_type>
bitmap_info* bitmap_of(const std::unique_ptr<image_type>& im, bitmap_info* (*create)(image_type*), int id,
                       const char* loader) {
    if (!im) {
        log_error("%s: character %d has no image it can show; it gets an empty bitmap\n", loader, id);
        return render::create_bitmap_info_empty();
    }
    return create(im.get());
}

void trace_jpeg(const char* loader, int id, stream* in) {
    if (get_verbose_parse()) {
        log_msg("  %s: charid = %d pos = 0x%x\n", loader, id, in->get_position());
    }
}

// The tables go to the definition being loaded: a movie keeps them for its DefineBits images
// (a second JPEGTables tag replaces the tables of the first), a sprite ignores them.
void jpeg_tables_loader(stream* in, [[maybe_unused]] int tag_type, movie_definition_sub* m) {
    assert(tag_type == tag_jpeg_tables);
    m->set_jpeg_loader(jpeg::input::create_tables_only(in->get_underlying_stream()));
}

void define_bits_loader(stream* in, [[maybe_unused]] int tag_type, movie_definition_sub* m) {
    assert(tag_type == tag_define_bits);
    int id = in->read_u16();
    bitmap_info* bi = nullptr;
    if (!decode_images(m)) {
        bi = render::create_bitmap_info_empty();
    } else {
        movie_def_impl* movie = owning_movie(m);
        jpeg::input* j_in = movie ? movie->get_jpeg_loader() : nullptr;
        std::unique_ptr<image::rgb> im;
        if (j_in) {
            j_in->discard_buffered_input();
            im = image::read_jpeg_with_tables(j_in);
        } else {
            // Without shared tables the tag holds a complete JPEG stream.
            im = image::read_jpeg(in->get_underlying_stream());
        }
        bi = bitmap_of(im, render::create_bitmap_info_rgb, id, "define_bits_loader");
    }
    add_bitmap(m, id, bi);
}

void define_bits_jpeg2_loader(stream* in, [[maybe_unused]] int tag_type, movie_definition_sub* m) {
    assert(tag_type == tag_define_bits_jpeg2);
    int id = in->read_u16();
    trace_jpeg("define_bits_jpeg2_loader", id, in);
    bitmap_info* bi = nullptr;
    if (!decode_images(m)) {
        bi = render::create_bitmap_info_empty();
    } else {
        std::unique_ptr<image::rgb> im = image::read_jpeg_tables_and_image(in->get_underlying_stream());
        bi = bitmap_of(im, render::create_bitmap_info_rgb, id, "define_bits_jpeg2_loader");
    }
    add_bitmap(m, id, bi);
}

void define_bits_jpeg3_loader(stream* in, [[maybe_unused]] int tag_type, movie_definition_sub* m) {
    assert(tag_type == tag_define_bits_jpeg3);
    int id = in->read_u16();
    trace_jpeg("define_bits_jpeg3_loader", id, in);
    bitmap_info* bi = nullptr;
    if (!decode_images(m)) {
        bi = render::create_bitmap_info_empty();
    } else {
        uint32_t jpeg_size = in->read_u32();
        int64_t alpha_start = static_cast<int64_t>(in->get_position()) + jpeg_size;
        std::unique_ptr<image::rgba> im = image::read_jpeg_rgba(in->get_underlying_stream());
        // The decoder reads ahead; the alpha plane starts where the JPEG data ends. A size
        // beyond the tag leaves nothing for the alpha plane.
        in->set_position(static_cast<int>(std::min<int64_t>(alpha_start, in->get_tag_end_position())));
        if (im) {
            read_alpha_plane(in, im.get());
        }
        bi = bitmap_of(im, render::create_bitmap_info_rgba, id, "define_bits_jpeg3_loader");
    }
    add_bitmap(m, id, bi);
}

void define_bits_lossless_loader(stream* in, int tag_type, movie_definition_sub* m) {
    assert(tag_type == tag_define_bits_lossless || tag_type == tag_define_bits_lossless2);
    int id = in->read_u16();
    lossless_header header;
    header.format = in->read_u8();
    header.width = in->read_u16();
    header.height = in->read_u16();
    if (get_verbose_parse()) {
        log_msg("  defbitslossless2: tag_type = %d, id = %d, fmt = %d, w = %d, h = %d\n", tag_type, id, header.format,
                header.width, header.height);
    }
    bitmap_info* bi = nullptr;
    if (!decode_images(m)) {
        bi = render::create_bitmap_info_empty();
    } else if (tag_type == tag_define_bits_lossless) {
        bi =
            bitmap_of(read_lossless_rgb(in, header), render::create_bitmap_info_rgb, id, "define_bits_lossless_loader");
    } else {
        bi = bitmap_of(read_lossless_rgba(in, header), render::create_bitmap_info_rgba, id,
                       "define_bits_lossless_loader");
    }
    add_bitmap(m, id, bi);
}

}  // namespace

void register_bitmap_loaders() {
    register_tag_loader(tag_define_bits, define_bits_loader);
    register_tag_loader(tag_jpeg_tables, jpeg_tables_loader);
    register_tag_loader(tag_define_bits_lossless, define_bits_lossless_loader);
    register_tag_loader(tag_define_bits_jpeg2, define_bits_jpeg2_loader);
    register_tag_loader(tag_define_bits_jpeg3, define_bits_jpeg3_loader);
    register_tag_loader(tag_define_bits_lossless2, define_bits_lossless_loader);
}

}  // namespace swfplayer
