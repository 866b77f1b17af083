#include "tests/gui/KitMovies.h"

#include "tools/swfkit/ActionAssembler.h"
#include "tools/swfkit/Movie.h"

namespace gui_testing {
namespace {

using swfkit::assemble;
using swfkit::Bytes;
using swfkit::Color;
using swfkit::Matrix;
using swfkit::Placement;
using swfkit::ShapeBuilder;
using swfkit::TagList;

constexpr int kTwips = 20;

Color Rgb(uint32_t rgb) {
    return {static_cast<uint8_t>(rgb >> 16), static_cast<uint8_t>(rgb >> 8), static_cast<uint8_t>(rgb), 255};
}

// A filled rectangle from (x0, y0) to (x1, y1) pixels.
ShapeBuilder Box(uint32_t rgb, int x0, int y0, int x1, int y1) {
    ShapeBuilder shape;
    shape.SetFillStyle1(shape.AddFillStyle(swfkit::FillStyle::Solid(Rgb(rgb))));
    shape.MoveTo(x0 * kTwips, y0 * kTwips);
    shape.LineTo(x1 * kTwips, y0 * kTwips);
    shape.LineTo(x1 * kTwips, y1 * kTwips);
    shape.LineTo(x0 * kTwips, y1 * kTwips);
    shape.LineTo(x0 * kTwips, y0 * kTwips);
    return shape;
}

Matrix At(float x, float y) {
    Matrix matrix;
    matrix.translateX = static_cast<int32_t>(x * kTwips);
    matrix.translateY = static_cast<int32_t>(y * kTwips);
    return matrix;
}

Placement Place(uint16_t id, uint16_t depth, const std::string& name, float x, float y) {
    Placement placement;
    placement.depth = depth;
    placement.characterId = id;
    placement.name = name;
    placement.matrix = At(x, y);
    return placement;
}

Placement Move(uint16_t depth, float x, float y, std::optional<float> alpha = {}) {
    Placement placement;
    placement.depth = depth;
    placement.move = true;
    placement.matrix = At(x, y);
    if (alpha) {
        swfkit::ColorTransform cx;
        cx.hasMult = true;
        cx.mult[3] = static_cast<int32_t>(*alpha * 256);
        placement.colorTransform = cx;
    }
    return placement;
}

// A sprite whose frames each show one of the shapes and stop; labels go on the frames given.
TagList FramesOfShapes(const std::vector<uint16_t>& shapes, const std::vector<std::string>& labels,
                       const std::vector<std::string>& frameScripts = {}) {
    TagList frames(8);
    for (size_t i = 0; i < shapes.size(); ++i) {
        if (i > 0) {
            frames.RemoveObject2(1);
        }
        frames.PlaceObject2(Place(shapes[i], 1, "", 0, 0));
        if (i < labels.size() && !labels[i].empty()) {
            frames.FrameLabel(labels[i]);
        }
        const std::string script = i < frameScripts.size() ? frameScripts[i] : "";
        frames.DoAction(assemble(script.empty() ? "stop" : script + " stop").bytes());
        frames.ShowFrame();
    }
    return frames;
}

}  // namespace

Bytes MenuMovie(bool backdrop) {
    swfkit::Movie movie(8, {0, 400 * kTwips, 0, 300 * kTwips}, kFrameRate);
    TagList& tags = movie.Tags();
    tags.DefineShape(1, Box(0xFF0000, -20, -10, 20, 10));
    tags.DefineShape(2, Box(0x00FF00, -20, -10, 20, 10));
    tags.DefineShape(3, Box(0x0000FF, -20, -10, 20, 10));
    tags.DefineShape(4, Box(0x808080, -20, -10, 20, 10));
    tags.DefineSprite(10, FramesOfShapes({1, 2, 3, 4}, {"", "over", "pressed", "disabled"},
                                         {"", "", "#83:'FSCommand:pressed',''", ""}));
    tags.DefineShape(11, Box(0xFFFF00, 0, 0, 5, 5));
    tags.DefineSprite(12, FramesOfShapes({11}, {}));
    tags.DefineShape(13, Box(0xFF0000, 0, 0, 200, 300));
    if (backdrop) {
        tags.PlaceObject2(Place(13, 1, "backdrop", 0, 0));
    }
    tags.PlaceObject2(Place(10, 2, "button", 100, 50));
    tags.PlaceObject2(Place(10, 3, "other", 300, 50));
    tags.PlaceObject2(Place(12, 4, "mover", 10, 20));
    tags.ShowFrame();
    for (int frame = 1; frame < 4; ++frame) {
        tags.PlaceObject2(Move(4, 10.0f + 20 * frame, 20.0f + 20 * frame));
        tags.ShowFrame();
    }
    return movie.Write(false);
}

Bytes FilledMovie(uint32_t rgb) {
    swfkit::Movie movie(8, {0, 400 * kTwips, 0, 300 * kTwips}, kFrameRate);
    movie.Tags().DefineShape(1, Box(rgb, 0, 0, 400, 300));
    movie.Tags().PlaceObject2(Place(1, 1, "fill", 0, 0));
    movie.Tags().ShowFrame();
    return movie.Write(false);
}

Bytes HintMovie() {
    swfkit::Movie movie(8, {0, 800 * kTwips, 0, 600 * kTwips}, kFrameRate);
    TagList& tags = movie.Tags();
    tags.DefineShape(1, Box(0x3366CC, 0, 0, 300, 100));
    tags.DefineSprite(2, FramesOfShapes({1}, {}));
    tags.DefineShape(3, Box(0xFF0000, 0, 0, 10, 10));
    tags.DefineShape(4, Box(0x00FF00, 0, 0, 10, 10));
    tags.DefineShape(5, Box(0x0000FF, 0, 0, 10, 10));
    tags.DefineSprite(6, FramesOfShapes({3, 4, 5}, {}));
    TagList toppings(8);
    toppings.PlaceObject2(Place(6, 1, "player1", 0, 0));
    toppings.PlaceObject2(Place(6, 2, "player2", 20, 0));
    toppings.PlaceObject2(Place(6, 3, "player", 40, 0));
    for (const char* label : {"gui controls", "quickmatch controls", "training controls"}) {
        toppings.FrameLabel(label);
        toppings.DoAction(assemble("stop").bytes());
        toppings.ShowFrame();
    }
    tags.DefineSprite(7, toppings);

    Placement first = Place(2, 1, "background", 100, 100);
    swfkit::ColorTransform clear;
    clear.hasMult = true;
    clear.mult[3] = 0;
    first.colorTransform = clear;
    tags.PlaceObject2(first);
    tags.PlaceObject2(Place(7, 2, "toppings", 0, 0));
    tags.DoAction(assemble("stop").bytes());
    tags.ShowFrame();
    const float alphas[] = {0.5f, 1.0f, 1.0f, 0.5f, 0.0f};
    for (int frame = 1; frame <= 5; ++frame) {
        tags.PlaceObject2(Move(1, 100.0f + 20 * frame, 100.0f, alphas[frame - 1]));
        if (frame == 3) {
            tags.DoAction(assemble("stop #83:'FSCommand:checkpoint',''").bytes());
        }
        if (frame == 5) {
            tags.DoAction(assemble("stop").bytes());
        }
        tags.ShowFrame();
    }
    return movie.Write(false);
}

std::string Description(const std::string& font, const std::vector<std::pair<std::string, std::string>>& layers,
                        const std::vector<std::string>& texts) {
    std::string xml = "<resource><flashgui m_FontName=\"" + font + "\"><array name=\"m_Layers\">";
    for (const auto& [name, file] : layers) {
        xml += "<guilayer m_Name=\"" + name + "\" m_FlashFile=\"" + file + "\"/>";
    }
    xml += "</array><array name=\"m_TextElements\">";
    for (const std::string& text : texts) {
        xml += "<textelement " + text + "/>";
    }
    return xml + "</array></flashgui></resource>";
}

}  // namespace gui_testing
