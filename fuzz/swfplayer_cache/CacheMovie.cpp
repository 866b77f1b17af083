#include "fuzz/swfplayer_cache/CacheMovie.h"

#include "swfplayer/main/loading/movie_loader.h"
#include "swfplayer/main/shapes/shape_loaders.h"
#include "tools/swfkit/Movie.h"
#include "tools/swfkit/ShapeBuilder.h"

namespace cache_fuzz {

namespace {

swfkit::ShapeBuilder Square(int size, bool outline) {
    swfkit::ShapeBuilder b;
    b.SetFillStyle0(b.AddFillStyle(swfkit::FillStyle::Solid({200, 40, 40, 255})));
    if (outline) {
        b.SetLineStyle(b.AddLineStyle({40, {0, 0, 0, 255}}));
    }
    b.MoveTo(0, 0);
    b.LineTo(0, size);
    b.CurveTo(size / 2, size * 2, size, size);
    b.LineTo(size, 0);
    b.LineTo(0, 0);
    return b;
}

}  // namespace

swfplayer::smart_ptr<swfplayer::movie_def_impl> LoadCacheMovie(swfplayer::player* owner) {
    static const swfkit::Bytes bytes = [] {
        swfkit::Movie movie(8, {0, 4000, 0, 4000}, 30);
        movie.Tags().DefineShape(1, Square(400, false)).DefineShape(2, Square(900, true));
        swfkit::TagList sprite(8);
        sprite.PlaceObject(1, 1).ShowFrame();
        movie.Tags().DefineSprite(3, sprite).ShowFrame();
        return movie.Write(false);
    }();
    swfplayer::register_shape_loaders();
    auto* in = new swfplayer::base_file(swfplayer::memory_buffer, static_cast<int>(bytes.size()), bytes.data());
    return swfplayer::create_movie_definition(owner, in);
}

}  // namespace cache_fuzz
