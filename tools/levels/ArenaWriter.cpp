#include "tools/levels/ArenaWriter.h"

#include "game/LevelData.h"
#include "tools/levels/ArenaParts.h"
#include "tools/levels/BallArt.h"
#include "tools/levels/ContentFiles.h"
#include "tools/swfkit/ActionAssembler.h"
#include "tools/swfkit/Movie.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <numbers>

namespace {

constexpr float kPixelsPerUnit = 8.0f;
constexpr double kFrameRate = 30.0;
// The outline drawing puts everything in one group moved by this many pixels.
const b2Vec2 kGroupShift(24.0f, 16.0f);
// Room round a moving body's art in its movie, in pixels.
constexpr double kMoviePadding = 4.0;
const art::Point kScreenCentre{400.0, 300.0};

std::string Number(double value) {
    char text[32];
    const auto result = std::to_chars(text, text + sizeof(text), value, std::chars_format::fixed, 3);
    std::string number(text, result.ptr);
    while (number.find('.') != std::string::npos && (number.back() == '0' || number.back() == '.')) {
        const bool point = number.back() == '.';
        number.pop_back();
        if (point) {
            break;
        }
    }
    return number == "-0" ? "0" : number;
}

std::string ColourText(const swfkit::Color& color) {
    char text[8];
    std::snprintf(text, sizeof(text), "#%02x%02x%02x", color.r, color.g, color.b);
    return text;
}

std::string Path(const Arena& arena, const std::string& suffix) {
    return arena.folder + arena.name + suffix;
}

// Where a world point lies in the arena's drawing and movie (pixels from their top-left corner).
b2Vec2 DrawingPixel(const Arena& arena, const b2Vec2& world) {
    return b2Vec2((world.x + arena.halfWidth) * kPixelsPerUnit, (world.y + arena.halfHeight) * kPixelsPerUnit);
}

art::Placement ArenaToMovie(const Arena& arena) {
    return {kPixelsPerUnit, 0.0, {arena.halfWidth * kPixelsPerUnit, arena.halfHeight * kPixelsPerUnit}};
}

// Where a world point shows on the game's screen, zoom included.
art::Point ScreenPoint(const Arena& arena, const b2Vec2& world) {
    return {kScreenCentre.x + world.x * kPixelsPerUnit * arena.zoom,
            kScreenCentre.y + world.y * kPixelsPerUnit * arena.zoom};
}

std::string SvgOutlines(const Arena& arena) {
    const int width = static_cast<int>(std::lround(arena.halfWidth * 2.0f * kPixelsPerUnit));
    const int height = static_cast<int>(std::lround(arena.halfHeight * 2.0f * kPixelsPerUnit));
    std::string svg = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
    svg +=
        "<svg xmlns=\"http://www.w3.org/2000/svg\" "
        "xmlns:sodipodi=\"http://sodipodi.sourceforge.net/DTD/sodipodi-0.dtd\" width=\"" +
        std::to_string(width) + "\" height=\"" + std::to_string(height) + "\">\n";
    svg += "  <g transform=\"translate(" + Number(kGroupShift.x) + "," + Number(kGroupShift.y) + ")\">\n";
    for (const Outline& outline : arena.outlines) {
        const std::string style = outline.green ? "fill:#00ff00" : "fill:" + ColourText(art::Rgb(120, 90, 60));
        if (outline.radius > 0.0f) {
            const b2Vec2 c = DrawingPixel(arena, outline.centre) - kGroupShift;
            const std::string r = Number(outline.radius * kPixelsPerUnit);
            const std::string left = Number(c.x - outline.radius * kPixelsPerUnit) + "," + Number(c.y);
            const std::string right = Number(c.x + outline.radius * kPixelsPerUnit) + "," + Number(c.y);
            svg += "    <path sodipodi:type=\"arc\" sodipodi:cx=\"" + Number(c.x) + "\" sodipodi:cy=\"" + Number(c.y) +
                   "\" sodipodi:rx=\"" + r + "\" sodipodi:ry=\"" + r + "\" d=\"M " + right + " A " + r + "," + r +
                   " 0 1 1 " + left + " A " + r + "," + r + " 0 1 1 " + right + " z\" style=\"" + style + "\"/>\n";
            continue;
        }
        b2Vec2 shift = kGroupShift;
        std::string transform;
        if (!outline.transform.empty()) {
            const b2Vec2 origin = DrawingPixel(arena, outline.transformOffset) - kGroupShift;
            shift += origin;
            const std::string at = Number(origin.x) + "," + Number(origin.y);
            transform = outline.transform == "matrix" ? " transform=\"matrix(1,0,0,1," + at + ")\""
                                                      : " transform=\"translate(" + at + ")\"";
        }
        std::string d = "M";
        for (const b2Vec2& point : outline.points) {
            const b2Vec2 p = DrawingPixel(arena, point) - shift;
            d += " " + Number(p.x) + "," + Number(p.y);
        }
        svg += "    <path" + transform + " d=\"" + d + " z\" style=\"" + style + "\"/>\n";
    }
    svg += "  </g>\n</svg>\n";
    return svg;
}

swfkit::Bytes Stop() {
    return swfkit::action_assembler().op(swfkit::STOP).bytes();
}

swfkit::Bytes ArenaMovie(const Arena& arena) {
    const int32_t width = static_cast<int32_t>(std::lround(arena.halfWidth * 2.0f * kPixelsPerUnit));
    const int32_t height = static_cast<int32_t>(std::lround(arena.halfHeight * 2.0f * kPixelsPerUnit));
    swfkit::Movie movie(8, {0, width * 20, 0, height * 20}, kFrameRate);
    swfkit::TagList& tags = movie.Tags();
    art::ShapeWriter shapes(tags);
    tags.FrameLabel("foreground");
    const uint16_t end = shapes.Place(arena.front, tags, 1, ArenaToMovie(arena));
    tags.DoAction(Stop()).ShowFrame();
    for (uint16_t depth = 1; depth < end; ++depth) {
        tags.RemoveObject2(depth);
    }
    tags.FrameLabel("background");
    shapes.Place(arena.back, tags, 1, ArenaToMovie(arena));
    tags.DoAction(Stop()).ShowFrame();
    return movie.Write(false);
}

// The art's extent in body units: left, top, right, bottom.
std::array<double, 4> Bounds(const art::Drawing& drawing) {
    std::array<double, 4> box{1e9, 1e9, -1e9, -1e9};
    for (const art::Shape& shape : drawing) {
        for (const art::Contour& contour : shape.contours) {
            for (const art::Point& p : contour) {
                box = {std::min(box[0], p.x), std::min(box[1], p.y), std::max(box[2], p.x), std::max(box[3], p.y)};
            }
        }
    }
    return box;
}

// A moving body's movie frame: its size in pixels and the point of it that sits on the body's
// origin (the middle, for a centred movie).
struct MoverFrame {
    int32_t width;
    int32_t height;
    art::Point origin;
};

MoverFrame FrameOf(const Mover& mover) {
    std::array<double, 4> box = Bounds(mover.art);
    if (mover.centred) {
        const double reach = std::max({-box[0], -box[1], box[2], box[3]});
        box = {-reach, -reach, reach, reach};
    }
    return {static_cast<int32_t>(std::ceil((box[2] - box[0]) * kPixelsPerUnit + 2.0 * kMoviePadding)),
            static_cast<int32_t>(std::ceil((box[3] - box[1]) * kPixelsPerUnit + 2.0 * kMoviePadding)),
            {-box[0] * kPixelsPerUnit + kMoviePadding, -box[1] * kPixelsPerUnit + kMoviePadding}};
}

swfkit::Bytes MoverMovie(const Mover& mover) {
    const MoverFrame frame = FrameOf(mover);
    swfkit::Movie movie(8, {0, frame.width * 20, 0, frame.height * 20}, kFrameRate);
    swfkit::TagList& tags = movie.Tags();
    art::ShapeWriter shapes(tags);
    shapes.Place(mover.art, tags, 1, {kPixelsPerUnit, 0.0, frame.origin});
    tags.DoAction(Stop()).ShowFrame();
    return movie.Write(false);
}

pictures::Canvas BackgroundPicture(const Arena& arena) {
    const int width = static_cast<int>(std::lround(arena.halfWidth * 2.0f * kPixelsPerUnit));
    const int height = static_cast<int>(std::lround(arena.halfHeight * 2.0f * kPixelsPerUnit));
    pictures::Canvas canvas(width, height, art::ToRgba(arena.waterTop));
    const pictures::Rgba top = art::ToRgba(arena.waterTop);
    const pictures::Rgba bottom = art::ToRgba(arena.waterBottom);
    canvas.Paint([&](double x, double y) {
        const double t = std::pow(y / height, 0.9);
        const double glow =
            std::exp(-std::pow((x - width * 0.45) / (width * 0.35), 2.0) - std::pow(y / (height * 0.4), 2.0));
        return pictures::Rgba{top.r + (bottom.r - top.r) * t + 0.08 * glow,
                              top.g + (bottom.g - top.g) * t + 0.08 * glow,
                              top.b + (bottom.b - top.b) * t + 0.06 * glow, 1.0};
    });
    const art::Placement toPicture = ArenaToMovie(arena);
    parts::Random random(static_cast<uint32_t>(arena.name.size() * 977 + arena.name.front()));
    art::Shape rays{{}, art::Rgb(255, 255, 255, 26)};
    for (int i = 0; i < 4; ++i) {
        const double x = -arena.halfWidth + (i + random.Next(0.1, 0.6)) * 2.0 * arena.halfWidth / 4.0;
        const double spread = random.Next(4.0, 8.0);
        rays.contours.push_back({{x, -arena.halfHeight},
                                 {x + spread, -arena.halfHeight},
                                 {x + spread + 14.0, arena.halfHeight},
                                 {x + 12.0, arena.halfHeight}});
    }
    art::Shape rims{{}, art::Rgb(255, 255, 255, 70)};
    art::Shape insides{{}, art::Rgb(255, 255, 255, 28)};
    for (int i = 0; i < 26; ++i) {
        const art::Point c{random.Next(-arena.halfWidth, arena.halfWidth),
                           random.Next(-arena.halfHeight, arena.halfHeight)};
        const double r = random.Next(0.25, 0.95);
        rims.contours.push_back(art::Circle(c, r));
        rims.contours.push_back(art::Circle(c, r * 0.75));
        insides.contours.push_back(art::Circle(c, r * 0.75));
    }
    art::Paint({rays, insides, rims}, toPicture, canvas);
    return canvas;
}

const DecorationMovie* FindDecoration(const std::vector<DecorationMovie>& decorations, const std::string& file) {
    for (const DecorationMovie& decoration : decorations) {
        if (decoration.file == file) {
            return &decoration;
        }
    }
    return nullptr;
}

LevelData Records(const Arena& arena, const std::vector<DecorationMovie>& decorations) {
    LevelData level;
    if (arena.background) {
        level.m_Background = Path(arena, "_back.png");
    }
    BodyData body;
    body.m_Name = "arena";
    body.m_SoundType = "default";
    body.m_FlashFile = Path(arena, ".swf");
    body.m_CenterVisual = true;
    body.m_SVGFile = Path(arena, ".svg");
    body.m_Density = 0.0f;
    level.m_Bodies.push_back(body);
    for (const Mover& mover : arena.movers) {
        BodyData moving;
        moving.m_Name = mover.name;
        moving.m_SoundType = "default";
        moving.m_Position = mover.position;
        moving.m_Rotation = mover.rotation;
        moving.m_FlashFile = Path(arena, "_" + mover.name + ".swf");
        moving.m_CenterVisual = mover.centred;
        if (!mover.centred) {
            const art::Point origin = FrameOf(mover).origin;
            moving.m_VisualOffset = Vec2Data(static_cast<float>(origin.x), static_cast<float>(origin.y));
        }
        for (const std::vector<b2Vec2>& points : mover.fixtures) {
            FixtureData fixture;
            fixture.m_Vertices.assign(points.begin(), points.end());
            moving.m_Fixtures.push_back(fixture);
        }
        if (!mover.joint.empty()) {
            JointData joint;
            joint.m_Type = mover.joint;
            joint.m_Param1 = mover.stiffness;
            joint.m_Param2 = mover.maxTorque;
            moving.m_Joints.push_back(joint);
        }
        moving.m_Density = mover.density;
        moving.m_Restitution = mover.restitution;
        level.m_Bodies.push_back(moving);
    }
    level.m_Balls.assign(arena.balls.begin(), arena.balls.end());
    for (const Decoration& decoration : arena.decorations) {
        const DecorationMovie* movie = FindDecoration(decorations, decoration.movie);
        StaticElementData clip;
        clip.m_FlashFile = decoration.movie;
        clip.m_Position = Vec2Data(400.0f + decoration.position.x * kPixelsPerUnit - movie->width / 2.0f,
                                   300.0f + decoration.position.y * kPixelsPerUnit - movie->height / 2.0f);
        level.m_Statics.push_back(clip);
    }
    for (const Teleport& teleport : arena.teleports) {
        ActiveElementData active;
        active.m_Type = "teleporter";
        active.m_Position = teleport.entry;
        active.m_Position2 = teleport.exit;
        level.m_Actives.push_back(active);
    }
    level.m_Player1StartPos = arena.start1;
    level.m_Player2StartPos = arena.start2;
    level.m_ViewZoom = arena.zoom;
    return level;
}

}  // namespace

std::string LevelFile(const Arena& arena) {
    return Path(arena, ".xml");
}

std::string ScreenshotFile(const Arena& arena) {
    return Path(arena, "_shot.png");
}

pictures::Canvas ArenaPicture(const Arena& arena, const std::vector<DecorationMovie>& decorations) {
    pictures::Canvas screen(800, 600, pictures::Rgba{0.0, 0.0, 0.0, 1.0});
    if (arena.background) {
        const pictures::Canvas background = BackgroundPicture(arena);
        screen.Draw(background, static_cast<int>(kScreenCentre.x) - background.Width() / 2,
                    static_cast<int>(kScreenCentre.y) - background.Height() / 2);
    }
    const art::Placement toScreen{kPixelsPerUnit * arena.zoom, 0.0, kScreenCentre};
    art::Paint(arena.back, toScreen, screen);
    for (const b2Vec2& ball : arena.balls) {
        art::Paint(ball_art::FreeBall(), {arena.zoom, 0.0, ScreenPoint(arena, ball)}, screen);
    }
    art::Paint(arena.front, toScreen, screen);
    for (const Mover& mover : arena.movers) {
        art::Paint(mover.art, {kPixelsPerUnit * arena.zoom, mover.rotation, ScreenPoint(arena, mover.position)},
                   screen);
    }
    for (const Decoration& decoration : arena.decorations) {
        const DecorationMovie* movie = FindDecoration(decorations, decoration.movie);
        const art::Point centre = ScreenPoint(arena, decoration.position);
        art::Paint(movie->firstFrame,
                   {arena.zoom,
                    0.0,
                    {centre.x - arena.zoom * movie->width / 2.0, centre.y - arena.zoom * movie->height / 2.0}},
                   screen);
    }
    return screen;
}

bool WriteArena(const Arena& arena, const std::filesystem::path& dataFolder,
                const std::vector<DecorationMovie>& decorations, const pictures::Canvas& picture) {
    const std::filesystem::path root = dataFolder.parent_path();
    bool written = WriteText(root / Path(arena, ".svg"), SvgOutlines(arena));
    written = WriteBytes(root / Path(arena, ".swf"), ArenaMovie(arena)) && written;
    for (const Mover& mover : arena.movers) {
        written = WriteBytes(root / Path(arena, "_" + mover.name + ".swf"), MoverMovie(mover)) && written;
    }
    if (arena.background) {
        written = WritePicture(root / Path(arena, "_back.png"), BackgroundPicture(arena)) && written;
    }
    written = WritePicture(root / ScreenshotFile(arena), picture.Halved()) && written;
    LevelData level = Records(arena, decorations);
    LevelDescription description;
    description.screenshot = ScreenshotFile(arena);
    return WriteRecords(root / LevelFile(arena), {{"data", &level}, {"description", &description}}) && written;
}
