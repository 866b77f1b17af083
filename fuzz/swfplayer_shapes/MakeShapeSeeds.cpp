// make_shape_seeds <folder>: writes kit-built shape and morph records in the shape fuzzer's
// input format (tag choice byte, ratio byte, record after the id) into the folder, as its seed
// corpus (the committed seeds/ folder is its output).
#include "fuzz/SeedWriter.h"
#include "tools/swfkit/ShapeBuilder.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

namespace {

using swfkit::Bytes;
using swfkit::ShapeBuilder;

const swfkit::Color kRed{255, 0, 0, 255};
const swfkit::Color kBlue{0, 0, 255, 128};

// A ring of curves with a hole, outlined.
ShapeBuilder Ring(int size, bool styles) {
    ShapeBuilder b;
    if (styles) {
        b.AddFillStyle(swfkit::FillStyle::Solid(kRed));
        b.AddLineStyle({30, kBlue});
    }
    b.SetFillStyle1(1);
    b.SetLineStyle(1);
    b.MoveTo(0, -size);
    b.CurveTo(size, -size, size, 0);
    b.CurveTo(size, size, 0, size);
    b.CurveTo(-size, size, -size, 0);
    b.CurveTo(-size, -size, 0, -size);
    b.MoveTo(0, -size / 3);
    b.CurveTo(-size / 3, -size / 3, -size / 3, 0);
    b.LineTo(0, size / 3);
    b.LineTo(size / 3, 0);
    b.LineTo(0, -size / 3);
    return b;
}

ShapeBuilder Gradients() {
    ShapeBuilder b;
    swfkit::Matrix placement{0.05, 0.05, 0, 0, 500, 500};
    b.SetFillStyle0(b.AddFillStyle(swfkit::FillStyle::Linear(placement, {{0, kRed}, {255, kBlue}})));
    b.SetFillStyle1(b.AddFillStyle(swfkit::FillStyle::Radial(placement, {{0, kRed}, {128, kBlue}, {255, kRed}})));
    b.MoveTo(0, 0);
    b.LineTo(1000, 0);
    b.LineTo(1000, 1000);
    b.NewStyles({swfkit::FillStyle::Bitmap(0x41, 3, {}), swfkit::FillStyle::Solid(kBlue)}, {{20, kRed}});
    b.SetFillStyle0(2);
    b.SetLineStyle(1);
    b.MoveTo(200, 200);
    b.LineTo(800, 200);
    b.LineTo(500, 700);
    b.LineTo(200, 200);
    return b;
}

Bytes Seed(int tag_choice, uint8_t ratio, const Bytes& body) {
    Bytes seed(body.begin(), body.end());
    seed[0] = static_cast<uint8_t>(tag_choice);  // in place of the id, which is not part of the input
    seed[1] = ratio;
    return seed;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_shape_seeds <folder>\n");
        return 2;
    }
    std::vector<std::pair<std::string, Bytes>> seeds;
    for (int version = 1; version <= 4; version++) {
        seeds.emplace_back("ring_v" + std::to_string(version),
                           Seed(version - 1, 0, swfkit::DefineShapeBody(1, Ring(4000, true), version)));
    }
    seeds.emplace_back("gradients_new_styles_v3", Seed(2, 0, swfkit::DefineShapeBody(1, Gradients(), 3)));
    std::vector<swfkit::MorphFillStyle> fills = {{swfkit::FillStyle::Solid(kRed), swfkit::FillStyle::Solid(kBlue)},
                                                 {swfkit::FillStyle::Linear({}, {{0, kRed}, {255, kBlue}}),
                                                  swfkit::FillStyle::Linear({}, {{60, kBlue}, {200, kRed}})}};
    for (int version = 1; version <= 2; version++) {
        seeds.emplace_back("morph_v" + std::to_string(version),
                           Seed(3 + version, 100,
                                swfkit::DefineMorphShapeBody(1, fills, {{{20, kRed}, {60, kBlue}}}, Ring(1000, false),
                                                             Ring(3000, false), version)));
    }
    return fuzz_support::write_seeds("make_shape_seeds", argv[1], seeds);
}
