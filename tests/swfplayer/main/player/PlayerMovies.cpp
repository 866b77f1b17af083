#include "tests/swfplayer/main/player/PlayerMovies.h"

#include "tools/swfkit/Movie.h"
#include "tools/swfkit/ShapeBuilder.h"

#include <cmath>

namespace player_movies {

namespace {

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

void Append(swfkit::Bytes& out, const swfkit::Bytes& more) {
    out.insert(out.end(), more.begin(), more.end());
}

swfkit::Bytes PushString(const std::string& text) {
    swfkit::Bytes body{0x00};
    body.insert(body.end(), text.begin(), text.end());
    body.push_back(0);
    swfkit::Bytes out{0x96, static_cast<uint8_t>(body.size() & 0xFF), static_cast<uint8_t>(body.size() >> 8)};
    Append(out, body);
    return out;
}

}  // namespace

swfkit::Bytes StopAction() {
    return {0x07, 0x00};
}

swfkit::Bytes GotoAndPlayAction(int frame) {
    return {0x81, 0x02, 0x00, static_cast<uint8_t>(frame & 0xFF), static_cast<uint8_t>(frame >> 8), 0x06, 0x00};
}

swfkit::Bytes SetGlobalAction(const std::string& name, const std::string& value) {
    swfkit::Bytes out = PushString("_global");
    out.push_back(0x1C);  // GetVariable
    Append(out, PushString(name));
    Append(out, PushString(value));
    Append(out, {0x4F, 0x00});  // SetMember, end
    return out;
}

swfkit::Bytes FsCommandAction(const std::string& command, const std::string& args) {
    swfkit::Bytes out = PushString("FSCommand:" + command);
    Append(out, PushString(args));
    Append(out, {0x9A, 0x01, 0x00, 0x00, 0x00});  // GetURL2, method none
    return out;
}

swfkit::Bytes ShapesMovie(int frames, double frame_rate, const swfkit::Bytes& end_actions) {
    swfkit::Movie movie(8, {0, 200 * 20, 0, 100 * 20}, frame_rate);
    swfkit::TagList& tags = movie.Tags();
    tags.DefineShape(1, Square({255, 0, 0, 255}, 20 * 20));
    tags.DefineShape(2, Square({0, 255, 0, 255}, 20 * 20));
    swfkit::TagList sprite(8);
    swfkit::Placement green;
    green.characterId = 2;
    green.name = "green";
    sprite.PlaceObject2(green).ShowFrame();
    tags.DefineSprite(3, sprite);
    for (int frame = 0; frame < frames; ++frame) {
        swfkit::Placement red;
        red.move = frame > 0;
        red.characterId = frame == 0 ? std::optional<uint16_t>(1) : std::nullopt;
        red.name = frame == 0 ? std::optional<std::string>("red") : std::nullopt;
        red.matrix = swfkit::Matrix{1.0, 1.0, 0.0, 0.0, frame * 20 * 20, 20 * 20};
        tags.PlaceObject2(red);
        if (frame == 0) {
            swfkit::Placement clip;
            clip.depth = 2;
            clip.characterId = 3;
            clip.name = "clip";
            clip.matrix = swfkit::Matrix{1.0, 1.0, 0.0, 0.0, 120 * 20, 60 * 20};
            swfkit::ColorTransform half;
            half.hasMult = true;
            half.mult[0] = 128;
            half.mult[1] = 128;
            clip.colorTransform = half;
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
            tags.DoAction(StopAction());
        } else if (frame == frames - 1) {
            tags.DoAction(GotoAndPlayAction(0));
        }
        tags.ShowFrame();
    }
    return movie.Write(false);
}

swfkit::Bytes ShapeHeavyMovie(int shapes, int frames) {
    swfkit::Movie movie(8, {0, 800 * 20, 0, 600 * 20}, 30);
    swfkit::TagList& tags = movie.Tags();
    for (int id = 1; id <= shapes; ++id) {
        // A many-pointed star with curved tips: enough outline to make tessellation dear.
        swfkit::ShapeBuilder b;
        b.SetFillStyle0(b.AddFillStyle(swfkit::FillStyle::Solid(
            {static_cast<uint8_t>(id * 37), static_cast<uint8_t>(id * 91), static_cast<uint8_t>(id * 13), 255})));
        const int points = 12 + id % 8;
        const double radius = 600.0 + 40.0 * (id % 5);
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
        for (int id = 1; id <= shapes; ++id) {
            if (id % frames != frame % frames) {
                continue;
            }
            swfkit::Placement p;
            p.depth = static_cast<uint16_t>(id);
            p.characterId = static_cast<uint16_t>(id);
            p.matrix = swfkit::Matrix{1.0, 1.0, 0.0, 0.0, (id * 1500) % 16000, (id * 2300) % 12000};
            tags.PlaceObject2(p);
        }
        tags.ShowFrame();
    }
    return movie.Write(false);
}

}  // namespace player_movies
