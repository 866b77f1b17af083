#include "tests/swfplayer/main/player/PlayerMovies.h"

#include "tools/swfkit/Movie.h"
#include "tools/swfkit/ShapeBuilder.h"

#include <algorithm>
#include <cmath>

namespace player_movies {

swfkit::ShapeBuilder Square(swfkit::Color colour, int size) {
    swfkit::ShapeBuilder b;
    b.SetFillStyle0(b.AddFillStyle(swfkit::FillStyle::Solid(colour)));
    b.MoveTo(0, 0);
    b.LineTo(0, size);
    b.LineTo(size, size);
    b.LineTo(size, 0);
    b.LineTo(0, 0);
    return b;
}

swfkit::Placement Place(uint16_t depth, uint16_t id, std::optional<std::string> name,
                        std::optional<swfkit::Matrix> at) {
    swfkit::Placement p;
    p.depth = depth;
    p.characterId = id;
    p.name = name;
    p.matrix = at;
    return p;
}

swfkit::Bytes FsCommandAction(const std::string& command, const std::string& args) {
    return GetUrlAction("FSCommand:" + command, args);
}

swfkit::Bytes GetUrlAction(const std::string& url, const std::string& target) {
    const std::string strings = url + '\0' + target + '\0';
    swfkit::Bytes out(strings.size() + 4, 0x00);  // GetURL with the two strings, then the end action
    out[0] = 0x83;
    out[1] = static_cast<uint8_t>(strings.size());
    out[2] = static_cast<uint8_t>(strings.size() >> 8);
    std::copy(strings.begin(), strings.end(), out.begin() + 3);
    return out;
}

swfkit::Bytes SetGlobalAction(const std::string& name, const std::string& value) {
    swfkit::Bytes out;
    auto push = [&out](const std::string& text) {  // Push of one string
        const size_t length = text.size() + 2;
        out.insert(out.end(), {0x96, uint8_t(length), uint8_t(length >> 8), 0x00});
        out.insert(out.end(), text.begin(), text.end());
        out.push_back(0x00);
    };
    push("_global");
    out.push_back(0x1C);  // GetVariable
    push(name);
    push(value);
    out.insert(out.end(), {0x4F, 0x00});  // SetMember, then the end action
    return out;
}

swfkit::Bytes ShapesMovie(int frames, double frame_rate, const swfkit::Bytes& end_actions) {
    swfkit::Movie movie(8, {0, 200 * 20, 0, 100 * 20}, frame_rate);
    swfkit::TagList& tags = movie.Tags();
    tags.DefineShape(1, Square({255, 0, 0, 255}, 20 * 20));
    tags.DefineShape(2, Square({0, 255, 0, 255}, 20 * 20));
    tags.DefineSprite(3, swfkit::TagList(8).PlaceObject2(Place(1, 2, "green")).ShowFrame());
    for (int frame = 0; frame < frames; ++frame) {
        swfkit::Placement red = Place(1, 1, "red", swfkit::Matrix{1.0, 1.0, 0.0, 0.0, frame * 20 * 20, 20 * 20});
        if (frame > 0) {
            red.move = true;
            red.characterId = std::nullopt;
            red.name = std::nullopt;
        }
        tags.PlaceObject2(red);
        if (frame == 0) {
            swfkit::Placement clip = Place(2, 3, "clip", swfkit::Matrix{1.0, 1.0, 0.0, 0.0, 120 * 20, 60 * 20});
            clip.colorTransform = swfkit::ColorTransform{true, false, {128, 128, 256, 256}};
            tags.PlaceObject2(clip);
        }
        if (frame == 1) {
            tags.FrameLabel("middle");
        }
        if (frame == frames - 1 && !end_actions.empty()) {
            tags.DoAction(end_actions);
        }
        tags.ShowFrame();
    }
    return movie.Write(false);
}

swfkit::Bytes WaitingMovie(int frames, double frame_rate, bool stop_every_frame) {
    swfkit::Movie movie(8, {0, 2000, 0, 2000}, frame_rate);
    swfkit::TagList& tags = movie.Tags();
    tags.DefineShape(1, Square({0, 0, 255, 255}, 400));
    tags.PlaceObject(1, 1);
    for (int frame = 0; frame < frames; ++frame) {
        if (stop_every_frame) {
            tags.DoAction({0x07, 0x00});  // stop
        } else if (frame == frames - 1) {
            tags.DoAction({0x81, 0x02, 0x00, 0x00, 0x00, 0x06, 0x00});  // gotoAndPlay(0)
        }
        tags.ShowFrame();
    }
    return movie.Write(false);
}

swfkit::Bytes ShapeHeavyMovie(int shapes, int frames, bool gradients) {
    swfkit::Movie movie(8, {0, 800 * 20, 0, 600 * 20}, 30);
    swfkit::TagList& tags = movie.Tags();
    for (int id = 1; id <= shapes; ++id) {
        // A many-pointed star with curved tips: enough outline to make tessellation dear.
        swfkit::ShapeBuilder b;
        const int points = 12 + id % 8;
        const double radius = 600.0 + 40.0 * (id % 5);
        const swfkit::Color colour{static_cast<uint8_t>(id * 37), static_cast<uint8_t>(id * 91),
                                   static_cast<uint8_t>(id * 13), 255};
        if (gradients && id % 2 == 0) {
            // The gradient square of 32768 twips over the star's 2 * radius.
            const double scale = 2.0 * radius / 32768.0;
            const std::vector<swfkit::GradientStop> stops = {
                {0, colour}, {128, {colour.b, colour.r, colour.g, 255}}, {255, {colour.g, colour.b, colour.r, 255}}};
            const swfkit::Matrix placement{scale, scale, 0.0, 0.0, 0, 0};
            b.SetFillStyle0(b.AddFillStyle(id % 4 == 0 ? swfkit::FillStyle::Radial(placement, stops)
                                                       : swfkit::FillStyle::Linear(placement, stops)));
        } else {
            b.SetFillStyle0(b.AddFillStyle(swfkit::FillStyle::Solid(colour)));
        }
        b.MoveTo(static_cast<int32_t>(radius), 0);
        for (int i = 1; i <= points * 2; ++i) {
            const double angle = M_PI * i / points;
            const double r = i % 2 ? radius * 0.45 : radius;
            const double control = M_PI * (i - 0.5) / points;
            b.CurveTo(static_cast<int32_t>(radius * 0.8 * std::cos(control)),
                      static_cast<int32_t>(radius * 0.8 * std::sin(control)), static_cast<int32_t>(r * std::cos(angle)),
                      static_cast<int32_t>(r * std::sin(angle)));
        }
        tags.DefineShape(static_cast<uint16_t>(id), b);
    }
    for (int frame = 0; frame < frames; ++frame) {
        for (int id = frame % frames == 0 ? frames : frame % frames; id <= shapes; id += frames) {
            const swfkit::Matrix at{1.0, 1.0, 0.0, 0.0, (id * 1500) % 16000, (id * 2300) % 12000};
            tags.PlaceObject2(Place(static_cast<uint16_t>(id), static_cast<uint16_t>(id), std::nullopt, at));
        }
        tags.ShowFrame();
    }
    return movie.Write(false);
}

}  // namespace player_movies
