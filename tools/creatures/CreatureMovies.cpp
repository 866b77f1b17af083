#include "tools/creatures/CreatureMovies.h"

#include "tools/creatures/CreatureArt.h"
#include "tools/swfkit/ActionAssembler.h"
#include "tools/swfkit/Movie.h"

#include <string>
#include <vector>

namespace creature_movies {

namespace {

using creature_art::MouthPose;

constexpr double kFrameRate = 30.0;
constexpr int kVersion = 8;
constexpr int kTwips = 20;

swfkit::Movie NewMovie(int width, int height) {
    return swfkit::Movie(kVersion, {0, width * kTwips, 0, height * kTwips}, kFrameRate);
}

art::Placement Centre(int width, int height) {
    return {1.0, 0.0, {width / 2.0, height / 2.0}};
}

swfkit::Bytes Stop() {
    return swfkit::action_assembler().op(swfkit::STOP).bytes();
}

// Back to the timeline's first frame, stopped there.
swfkit::Bytes Rest() {
    return swfkit::action_assembler().record(0x81, {0, 0}).op(swfkit::STOP).bytes();
}

// A movie of one stopped frame showing the drawing round the stage's middle.
swfkit::Bytes StillMovie(const art::Drawing& drawing, int width, int height) {
    swfkit::Movie movie = NewMovie(width, height);
    swfkit::TagList& tags = movie.Tags();
    art::ShapeWriter shapes(tags);
    shapes.Place(drawing, tags, 1, Centre(width, height));
    tags.DoAction(Stop()).ShowFrame();
    return movie.Write(false);
}

uint16_t DefineSprite(art::ShapeWriter& shapes, swfkit::TagList& definitions, const art::Drawing& drawing) {
    swfkit::TagList sprite(kVersion);
    shapes.Place(drawing, sprite, 1);
    sprite.DoAction(Stop()).ShowFrame();
    const uint16_t id = shapes.TakeId();
    definitions.DefineSprite(id, sprite);
    return id;
}

swfkit::Placement Named(uint16_t id, uint16_t depth, const std::string& name, double x = 0.0, double y = 0.0) {
    swfkit::Placement place;
    place.depth = depth;
    place.characterId = id;
    place.name = name;
    swfkit::Matrix matrix;
    matrix.translateX = static_cast<int32_t>(x * kTwips);
    matrix.translateY = static_cast<int32_t>(y * kTwips);
    place.matrix = matrix;
    return place;
}

// Frames that each show one drawing at the depths from firstDepth up, in place of the last one's.
class Poses {
public:
    Poses(art::ShapeWriter& shapes, swfkit::TagList& timeline, uint16_t firstDepth, const art::Placement& placement)
        : m_Shapes(shapes), m_Timeline(timeline), m_FirstDepth(firstDepth), m_Placement(placement) {}

    // A frame showing the drawing (labelled when the label is not empty), with its actions.
    void Frame(const art::Drawing& drawing, const std::string& label = "", const swfkit::Bytes& actions = {}) {
        if (!label.empty()) {
            m_Timeline.FrameLabel(label);
        }
        Clear();
        m_End = m_Shapes.Place(drawing, m_Timeline, m_FirstDepth, m_Placement);
        if (!actions.empty()) {
            m_Timeline.DoAction(actions);
        }
        m_Timeline.ShowFrame();
    }
    // Takes the last drawing away.
    void Clear() {
        for (uint16_t depth = m_FirstDepth; depth < m_End; ++depth) {
            m_Timeline.RemoveObject2(depth);
        }
        m_End = m_FirstDepth;
    }

private:
    art::ShapeWriter& m_Shapes;
    swfkit::TagList& m_Timeline;
    uint16_t m_FirstDepth;
    uint16_t m_End = 0;
    art::Placement m_Placement;
};

// One eye: the eyeball, the pupil, the rim over the pupil's edge (a mask would cost a stencil
// clear of the whole window at every drawing), and the lid's two blinks.
uint16_t DefineEye(const CreatureDesign& design, art::ShapeWriter& shapes, swfkit::TagList& definitions) {
    const uint16_t eyeball = DefineSprite(shapes, definitions, creature_art::Eyeball(design));
    const uint16_t pupil = DefineSprite(shapes, definitions, creature_art::Pupil(design));
    swfkit::TagList eye(kVersion);
    eye.PlaceObject2(Named(eyeball, 1, "eyeball"));
    eye.PlaceObject2(Named(pupil, 2, "pupil"));
    shapes.Place(creature_art::EyeRim(design), eye, 3);
    eye.DoAction(Stop()).ShowFrame();

    Poses lid(shapes, eye, 4, {});
    const std::vector<std::pair<std::string, std::vector<double>>> blinks = {
        {"blink", {0.35, 0.7, 1.0, 1.0, 0.7, 0.35}}, {"blinkfast", {0.6, 1.0, 0.6}}};
    for (const auto& [label, closings] : blinks) {
        for (size_t i = 0; i < closings.size(); ++i) {
            lid.Frame(creature_art::Lid(design, closings[i]), i == 0 ? label : "");
        }
        lid.Frame({}, "", Rest());
    }
    const uint16_t id = shapes.TakeId();
    definitions.DefineSprite(id, eye);
    return id;
}

}  // namespace

swfkit::Bytes EyesMovie(const CreatureDesign& design) {
    swfkit::Movie movie = NewMovie(kEyesWidth, kEyesHeight);
    swfkit::TagList& tags = movie.Tags();
    art::ShapeWriter shapes(tags);
    const uint16_t eye = DefineEye(design, shapes, tags);
    const double y = kEyesHeight / 2.0 + creature_art::kEyesRaise;
    tags.PlaceObject2(Named(eye, 1, "eye_l", kEyesWidth / 2.0 - design.eyeSpacing / 2.0, y));
    tags.PlaceObject2(Named(eye, 2, "eye_r", kEyesWidth / 2.0 + design.eyeSpacing / 2.0, y));
    tags.DoAction(Stop()).ShowFrame();
    return movie.Write(false);
}

swfkit::Bytes MouthMovie(const CreatureDesign& design) {
    swfkit::Movie movie = NewMovie(kMouthWidth, kMouthHeight);
    swfkit::TagList& tags = movie.Tags();
    art::ShapeWriter shapes(tags);
    Poses mouth(shapes, tags, 1, Centre(kMouthWidth, kMouthHeight));
    auto pose = [&design](MouthPose p) {
        return creature_art::Mouth(design, p);
    };
    mouth.Frame(pose(MouthPose::kOpen), "", Stop());
    mouth.Frame(pose(MouthPose::kHalfOpen), "close");
    mouth.Frame(pose(MouthPose::kClosed), "closed", Stop());
    mouth.Frame(pose(MouthPose::kHalfOpen), "open");
    mouth.Frame(pose(MouthPose::kOpen), "", Rest());
    mouth.Frame(pose(MouthPose::kPursed), "suckoff");
    mouth.Frame(pose(MouthPose::kPursed));
    mouth.Frame(pose(MouthPose::kHalfOpen), "", Rest());
    mouth.Frame(pose(MouthPose::kWide), "spit");
    mouth.Frame(pose(MouthPose::kWide));
    mouth.Frame(pose(MouthPose::kHalfOpen));
    mouth.Frame(pose(MouthPose::kOpen), "", Rest());
    return movie.Write(false);
}

swfkit::Bytes PortraitMovie(const CreatureDesign& design) {
    swfkit::Movie movie = NewMovie(kPortraitSize, kPortraitSize);
    swfkit::TagList& tags = movie.Tags();
    art::ShapeWriter shapes(tags);
    const uint16_t face = DefineSprite(shapes, tags, creature_art::Portrait(design));
    tags.PlaceObject2(Named(face, 1, "face", kPortraitSize / 2.0, kPortraitSize / 2.0));
    tags.DoAction(Stop()).ShowFrame();
    return movie.Write(false);
}

swfkit::Bytes SkinDecorationMovie(const CreatureDesign& design) {
    return StillMovie(creature_art::SkinDecoration(design), kSkinSize, kSkinSize);
}

swfkit::Bytes TopDecorationMovie(const CreatureDesign& design) {
    return StillMovie(creature_art::TopDecoration(design), kTopWidth, kTopHeight);
}

swfkit::Bytes EyesDecorationMovie(const CreatureDesign& design) {
    return StillMovie(creature_art::EyesDecoration(design), kEyesWidth, kEyesHeight);
}

}  // namespace creature_movies
