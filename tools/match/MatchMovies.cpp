#include "tools/match/MatchMovies.h"

#include "swfplayer/main/common/swf_tag.h"
#include "tools/swfkit/ActionAssembler.h"
#include "tools/swfkit/Movie.h"
#include "tools/swfkit/TextWriter.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <numbers>
#include <string>
#include <vector>

namespace match_movies {

namespace {

using art::Drawing;
using art::Point;
using art::Rgb;

constexpr double kPi = std::numbers::pi;
constexpr double kFrameRate = 30.0;
constexpr int kScreenWidth = 800;
constexpr int kScreenHeight = 600;

const swfkit::Color kInk = Rgb(34, 48, 92);
const swfkit::Color kWhite = Rgb(255, 255, 255);
// Tinted parts are drawn in these two greys, so that the creature's colour shows with a shine.
const swfkit::Color kTintBase = Rgb(226, 226, 226);

swfkit::Rect Stage(int width, int height) {
    return {0, width * 20, 0, height * 20};
}

swfkit::Bytes Stop() {
    return swfkit::action_assembler().op(swfkit::STOP).bytes();
}

swfkit::ColorTransform Alpha(double alpha) {
    swfkit::ColorTransform fade;
    fade.hasMult = true;
    fade.mult[3] = static_cast<int32_t>(std::lround(std::clamp(alpha, 0.0, 1.0) * 256.0));
    return fade;
}

swfkit::Placement Put(uint16_t depth, std::optional<uint16_t> id, const swfkit::Matrix& matrix,
                      std::optional<double> alpha = {}, std::optional<std::string> name = {}) {
    swfkit::Placement place;
    place.depth = depth;
    place.characterId = id;
    place.move = !id.has_value();
    place.matrix = matrix;
    if (alpha) {
        place.colorTransform = Alpha(*alpha);
    }
    place.name = name;
    return place;
}

// A sprite of one stopped frame showing the drawing.
uint16_t DrawingSprite(art::ShapeWriter& shapes, swfkit::TagList& tags, const Drawing& drawing) {
    swfkit::TagList frame(8);
    shapes.Place(drawing, frame, 1);
    frame.DoAction(Stop()).ShowFrame();
    const uint16_t id = shapes.TakeId();
    tags.DefineSprite(id, frame);
    return id;
}

double EaseOut(double t) {
    return 1.0 - (1.0 - t) * (1.0 - t);
}

// ---- Life bars ----

Point LeftSlot(int slot) {
    return {kMargin + 65.0 + (slot - 1) * 26.0, kMargin + kPanelHeight / 2.0};
}

art::Contour Slot(int slot, double inset) {
    const Point c = LeftSlot(slot);
    return art::RoundedRectangle(c.x - kSlotHalfWidth + inset, c.y - kSlotHalfHeight + inset,
                                 c.x + kSlotHalfWidth - inset, c.y + kSlotHalfHeight - inset, 5.0 - inset);
}

Drawing Panel() {
    Drawing panel;
    panel.push_back(
        {{art::RoundedRectangle(kMargin, kMargin, kMargin + kPanelWidth, kMargin + kPanelHeight, kPanelHeight / 2.0)},
         Rgb(24, 36, 78, 178)});
    art::Shape slots{{}, Rgb(255, 255, 255, 64)};
    for (int slot = 1; slot <= kSlots; ++slot) {
        slots.contours.push_back(Slot(slot, 0.0));
        slots.contours.push_back(Slot(slot, 2.0));
    }
    panel.push_back(slots);
    const Point badge = BadgeCentre(false);
    panel.push_back({{art::Circle(badge, kBadgeRadius + 3.0)}, kWhite});
    return panel;
}

Drawing Badge() {
    const Point c = BadgeCentre(false);
    return {{{art::Circle(c, kBadgeRadius)}, kTintBase}, {{art::Ellipse({c.x - 6.0, c.y - 9.0}, 8.0, 4.5)}, kWhite}};
}

// The badge's face, drawn over the tinted badge: it looks towards the bar.
Drawing BadgeFace() {
    const Point c = BadgeCentre(false);
    Drawing face;
    face.push_back(
        {{art::Ellipse({c.x - 5.0, c.y - 1.0}, 4.6, 5.6), art::Ellipse({c.x + 6.0, c.y - 1.0}, 4.6, 5.6)}, kWhite});
    face.push_back({{art::Circle({c.x - 3.6, c.y}, 2.4), art::Circle({c.x + 7.4, c.y}, 2.4)}, kInk});
    art::Contour smile;
    for (int i = 0; i <= 8; ++i) {
        const double t = 0.2 * kPi + 0.6 * kPi * i / 8.0;
        smile.push_back({c.x + 0.5 + 5.0 * std::cos(t), c.y + 5.0 + 3.0 * std::sin(t)});
    }
    for (int i = 8; i >= 0; --i) {
        const double t = 0.2 * kPi + 0.6 * kPi * i / 8.0;
        smile.push_back({c.x + 0.5 + 3.4 * std::cos(t), c.y + 5.0 + 1.6 * std::sin(t)});
    }
    face.push_back({{smile}, kInk});
    return face;
}

Drawing Filled(int score) {
    art::Shape body{{}, kTintBase};
    art::Shape shine{{}, kWhite};
    for (int slot = 1; slot <= score; ++slot) {
        body.contours.push_back(Slot(slot, 0.0));
        const Point c = LeftSlot(slot);
        shine.contours.push_back(art::RoundedRectangle(c.x - kSlotHalfWidth + 2.5, c.y - kSlotHalfHeight + 2.0,
                                                       c.x + kSlotHalfWidth - 2.5, c.y - 1.0, 3.0));
    }
    if (score == 0) {
        return {};
    }
    return {body, shine};
}

// ---- Countdown ----

struct Glyphs {
    swfkit::TextRun run;
    // The text's extent in pixels from its pen start on the baseline (glyph outlines are on the
    // font's 1024-unit square).
    double left = 0.0;
    double top = 0.0;
    double right = 0.0;
    double bottom = 0.0;
};

Glyphs Measure(const swfkit::EmbeddedFont& font, uint16_t fontId, const std::string& text, double height) {
    Glyphs glyphs{swfkit::RunOf(font, fontId, text, static_cast<uint16_t>(std::lround(height * 20.0)))};
    glyphs.left = 1e9;
    glyphs.top = 1e9;
    glyphs.right = -1e9;
    glyphs.bottom = -1e9;
    double pen = 0.0;
    const double scale = height / 1024.0;
    for (const swfkit::TextGlyph& glyph : glyphs.run.glyphs) {
        const swfkit::Rect box = font.glyphs[glyph.index].GetBounds();
        glyphs.left = std::min(glyphs.left, pen + box.xMin * scale);
        glyphs.right = std::max(glyphs.right, pen + box.xMax * scale);
        glyphs.top = std::min(glyphs.top, box.yMin * scale);
        glyphs.bottom = std::max(glyphs.bottom, box.yMax * scale);
        pen += glyph.advance / 20.0;
    }
    return glyphs;
}

// A text centred on the origin, as a DefineText2 tag.
void DefineCentredText(swfkit::TagList& tags, uint16_t id, const Glyphs& glyphs, const swfkit::Color& color,
                       const Point& shift) {
    swfkit::TextRun run = glyphs.run;
    run.color = color;
    run.x = static_cast<int16_t>(std::lround((-(glyphs.left + glyphs.right) / 2.0 + shift.x) * 20.0));
    run.y = static_cast<int16_t>(std::lround((-(glyphs.top + glyphs.bottom) / 2.0 + shift.y) * 20.0));
    const swfkit::Rect bounds{-4000, 4000, -4000, 4000};
    tags.Tag(swfplayer::tag_define_text2, swfkit::DefineTextBody(id, bounds, {}, {run}, 2));
}

struct Beat {
    std::string text;
    swfkit::Color color;
    int frames;
    bool fades;
};

std::vector<Beat> Beats() {
    return {{"3", Rgb(255, 104, 112), 24, true},
            {"2", Rgb(255, 178, 44), 24, true},
            {"1", Rgb(92, 204, 96), 24, true},
            {"Go!", Rgb(60, 164, 255), 12, false}};
}

// The beat's sign: a disc (a pill for words) with a white rim, the text's shadow and the text.
uint16_t BeatSprite(art::ShapeWriter& shapes, swfkit::TagList& tags, const swfkit::EmbeddedFont& font, uint16_t fontId,
                    const Beat& beat) {
    const Glyphs glyphs = Measure(font, fontId, beat.text, 150.0);
    const double halfWidth = std::max(92.0, (glyphs.right - glyphs.left) / 2.0 + 44.0);
    const double halfHeight = 92.0;
    auto pill = [&](double grow) {
        return art::RoundedRectangle(-halfWidth - grow, -halfHeight - grow, halfWidth + grow, halfHeight + grow,
                                     halfHeight + grow);
    };
    swfkit::TagList frame(8);
    const uint16_t depthAfter =
        shapes.Place({{{pill(8.0)}, Rgb(24, 36, 78, 90)},
                      {{pill(6.0)}, kWhite},
                      {{pill(0.0)}, beat.color},
                      {{art::Ellipse({-halfWidth * 0.35, -halfHeight * 0.55}, halfWidth * 0.45, halfHeight * 0.22)},
                       Rgb(255, 255, 255, 70)}},
                     frame, 1);
    const uint16_t shadow = shapes.TakeId();
    DefineCentredText(tags, shadow, glyphs, Rgb(24, 36, 78, 110), {5.0, 7.0});
    const uint16_t text = shapes.TakeId();
    DefineCentredText(tags, text, glyphs, kWhite, {0.0, 0.0});
    frame.PlaceObject2(Put(depthAfter, shadow, {}));
    frame.PlaceObject2(Put(static_cast<uint16_t>(depthAfter + 1), text, {}));
    frame.DoAction(Stop()).ShowFrame();
    const uint16_t id = shapes.TakeId();
    tags.DefineSprite(id, frame);
    return id;
}

swfkit::Bytes FsCommand(const std::string& command) {
    swfkit::Bytes payload;
    const std::string url = "FSCommand:" + command;
    payload.insert(payload.end(), url.begin(), url.end());
    payload.push_back(0);
    payload.push_back(0);
    return swfkit::action_assembler().record(0x83, payload).op(swfkit::STOP).bytes();
}

// ---- Effects ----

// Where an effect's part shows at a time of the effect (0 to 1): its centre (pixels), scales,
// turn (radians) and opacity.
struct Pose {
    Point at;
    double scaleX;
    double scaleY;
    double angle;
    double alpha;
};

// One shape of an effect, drawn round its origin, and how it moves.
struct Part {
    art::Drawing drawing;
    std::function<Pose(double t)> pose;
};

// An effect's shape in white for the game to tint, on a dark rim that keeps it readable over any
// water (the tint darkens the rim too): the rim is the shape grown by the factor round the origin.
art::Drawing Rimmed(const std::vector<art::Contour>& contours, double grow) {
    art::Shape rim{{}, Rgb(30, 44, 90)};
    for (const art::Contour& contour : contours) {
        rim.contours.push_back(art::Placed(contour, {grow, 0.0, {0.0, 0.0}}));
    }
    return {rim, {contours, kWhite}};
}

// A star of the points, radii and turn, round the origin.
art::Contour Star(int points, double outer, double inner, double turn) {
    art::Contour star;
    for (int i = 0; i < 2 * points; ++i) {
        const double r = i % 2 == 0 ? outer : inner;
        const double a = turn + i * kPi / points;
        star.push_back({r * std::cos(a), r * std::sin(a)});
    }
    return star;
}

// A movie of the size that plays the parts through the frames once, then stops on an empty frame.
swfkit::Bytes PlayedOnce(int width, int height, int frames, const std::vector<Part>& parts) {
    swfkit::Movie movie(8, Stage(width, height), kFrameRate);
    swfkit::TagList& tags = movie.Tags();
    art::ShapeWriter shapes(tags);
    std::vector<uint16_t> ids;
    for (const Part& part : parts) {
        ids.push_back(DrawingSprite(shapes, tags, part.drawing));
    }
    for (int frame = 0; frame < frames; ++frame) {
        const double t = static_cast<double>(frame) / (frames - 1);
        for (size_t i = 0; i < parts.size(); ++i) {
            const Pose pose = parts[i].pose(t);
            tags.PlaceObject2(
                Put(static_cast<uint16_t>(1 + i), frame == 0 ? std::optional<uint16_t>(ids[i]) : std::nullopt,
                    art::MatrixAt(pose.at.x, pose.at.y, pose.scaleX, pose.scaleY, pose.angle), pose.alpha));
        }
        tags.ShowFrame();
    }
    for (size_t i = 0; i < parts.size(); ++i) {
        tags.RemoveObject2(static_cast<uint16_t>(1 + i));
    }
    tags.DoAction(Stop()).ShowFrame();
    return movie.Write(false);
}

// A drop: a circle with a short tail behind it, pointing along the angle (radians, 0 = right).
art::Contour Drop(const Point& at, double radius, double angle) {
    art::Contour drop;
    const int steps = 14;
    for (int i = 0; i <= steps; ++i) {
        const double t = angle + kPi / 2.0 + kPi * i / steps;
        drop.push_back({at.x - radius * std::cos(t), at.y - radius * std::sin(t)});
    }
    drop.push_back({at.x - 2.6 * radius * std::cos(angle), at.y - 2.6 * radius * std::sin(angle)});
    return drop;
}

}  // namespace

Point BadgeCentre(bool right) {
    const Point left{kMargin + kPanelHeight / 2.0, kMargin + kPanelHeight / 2.0};
    return right ? Point{kScreenWidth - left.x, left.y} : left;
}

Point SlotCentre(bool right, int slot) {
    const Point left = LeftSlot(slot);
    return right ? Point{kScreenWidth - left.x, left.y} : left;
}

swfkit::Bytes ScoreMovie() {
    swfkit::Movie movie(8, Stage(kScreenWidth, kScreenHeight), kFrameRate);
    swfkit::TagList& tags = movie.Tags();
    art::ShapeWriter shapes(tags);
    swfkit::TagList bar(8);
    const uint16_t badge = DrawingSprite(shapes, tags, Badge());
    std::vector<uint16_t> fills;
    for (int score = 0; score <= kSlots; ++score) {
        fills.push_back(DrawingSprite(shapes, tags, Filled(score)));
    }
    const uint16_t afterPanel = shapes.Place(Panel(), bar, 1);
    bar.PlaceObject2(Put(afterPanel, badge, {}, {}, "LifebarStart"));
    const uint16_t afterFace = shapes.Place(BadgeFace(), bar, static_cast<uint16_t>(afterPanel + 1));
    bar.PlaceObject2(Put(afterFace, fills[0], {}, {}, "Lifebar"));
    bar.DoAction(Stop()).ShowFrame();
    for (int score = 1; score <= kSlots; ++score) {
        bar.RemoveObject2(afterFace);
        bar.PlaceObject2(Put(afterFace, fills[static_cast<size_t>(score)], {}, {}, "Lifebar"));
        bar.DoAction(Stop()).ShowFrame();
    }
    const uint16_t barId = shapes.TakeId();
    tags.DefineSprite(barId, bar);
    tags.PlaceObject2(Put(1, barId, art::MatrixAt(0.0, 0.0), {}, "LifebarL"));
    tags.PlaceObject2(Put(2, barId, art::MatrixAt(kScreenWidth, 0.0, -1.0, 1.0), {}, "LifebarR"));
    tags.DoAction(Stop()).ShowFrame();
    return movie.Write(false);
}

double CountdownSeconds() {
    int frames = 0;
    for (const Beat& beat : Beats()) {
        frames += beat.frames;
    }
    return frames / kFrameRate;
}

swfkit::Bytes CountdownMovie(const swfkit::EmbeddedFont& font) {
    swfkit::Movie movie(8, Stage(kScreenWidth, kScreenHeight), kFrameRate);
    swfkit::TagList& tags = movie.Tags();
    art::ShapeWriter shapes(tags);
    const uint16_t fontId = shapes.TakeId();
    tags.Tag(swfplayer::tag_define_font2, swfkit::DefineFont2Body(fontId, font, false, false, true));
    const Point centre{kScreenWidth / 2.0, kScreenHeight / 2.0};
    bool first = true;
    for (const Beat& beat : Beats()) {
        const uint16_t sign = BeatSprite(shapes, tags, font, fontId, beat);
        for (int frame = 0; frame < beat.frames; ++frame) {
            const double grow = EaseOut(std::min(1.0, frame / 6.0));
            double scale = 1.9 - 0.9 * grow;
            double alpha = 0.3 + 0.7 * grow;
            const int left = beat.frames - frame;
            if (beat.fades && left <= 4) {
                scale *= 0.8 + 0.05 * left;
                alpha = 0.25 * left;
            }
            if (frame == 0 && !first) {
                tags.RemoveObject2(1);
            }
            tags.PlaceObject2(Put(1, frame == 0 ? std::optional<uint16_t>(sign) : std::nullopt,
                                  art::MatrixAt(centre.x, centre.y, scale, scale), alpha));
            tags.ShowFrame();
        }
        first = false;
    }
    tags.RemoveObject2(1);
    tags.DoAction(FsCommand("Go")).ShowFrame();
    return movie.Write(false);
}

swfkit::Bytes HitMovie() {
    const Point struck{35.0, 28.0};
    std::vector<Part> parts;
    // A starburst where the ball struck, bursting open and fading.
    parts.push_back({Rimmed({Star(8, 11.0, 4.5, -kPi / 2.0)}, 1.3), [struck](double t) {
                         const double grow = 0.5 + 0.8 * EaseOut(std::min(1.0, t * 2.5));
                         return Pose{struck, grow, grow, 0.3 * t, std::min(1.0, 2.0 * (1.0 - t))};
                     }});
    // Drops fly up and out, away from the creature below the struck point.
    const double angles[] = {-kPi / 2.0, -kPi / 2.0 - 0.6, -kPi / 2.0 + 0.6, -kPi / 2.0 - 1.15, -kPi / 2.0 + 1.15};
    const double speeds[] = {2.0, 1.7, 1.7, 1.3, 1.3};
    for (size_t i = 0; i < std::size(angles); ++i) {
        const double angle = angles[i];
        const double speed = speeds[i];
        parts.push_back({Rimmed({Drop({0.0, 0.0}, 2.6, angle)}, 1.4), [struck, angle, speed](double t) {
                             const double reach = 5.0 + 10.0 * speed * EaseOut(t);
                             const Point at{struck.x + reach * std::cos(angle), struck.y + reach * std::sin(angle)};
                             return Pose{at, 1.0 - 0.4 * t, 1.0 - 0.4 * t, 0.0, std::min(1.0, 2.0 * (1.0 - t))};
                         }});
    }
    return PlayedOnce(70, 56, 14, parts);
}

swfkit::Bytes NeutralMovie() {
    constexpr int kSize = 48;
    constexpr int kSparkles = 6;
    const Point middle{kSize / 2.0, kSize / 2.0};
    std::vector<Part> parts;
    parts.push_back({{{{art::Circle({0.0, 0.0}, 8.0)}, Rgb(255, 255, 255, 150)}}, [middle](double t) {
                         return Pose{middle, 1.0 + 0.6 * t, 1.0 + 0.6 * t, 0.0, 0.8 * (1.0 - t)};
                     }});
    parts.push_back({{{{art::Circle({0.0, 0.0}, 10.2), art::Circle({0.0, 0.0}, 5.4)}, Rgb(30, 44, 90)},
                      {{art::Circle({0.0, 0.0}, 9.0), art::Circle({0.0, 0.0}, 6.6)}, kWhite}},
                     [middle](double t) {
                         const double grow = 1.0 + 1.1 * EaseOut(t);
                         return Pose{middle, grow, grow, 0.0, std::min(1.0, 2.0 * (1.0 - t))};
                     }});
    for (int i = 0; i < kSparkles; ++i) {
        parts.push_back({Rimmed({Star(4, 3.8, 1.3, 0.0)}, 1.45), [middle, i](double t) {
                             const double a = i * 2.0 * kPi / kSparkles + 0.4 * t;
                             const double reach = 8.0 + 12.0 * EaseOut(t);
                             const Point at{middle.x + reach * std::cos(a), middle.y + reach * std::sin(a)};
                             return Pose{at, 1.0, 1.0, 2.0 * t, std::min(1.0, 2.0 * (1.0 - t))};
                         }});
    }
    return PlayedOnce(kSize, kSize, 16, parts);
}

}  // namespace match_movies
