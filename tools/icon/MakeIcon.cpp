// Draws the game's window icon: a round, soft-edged creature with two eyes on a transparent
// background, 32 x 32 pixels.
#include "tools/pictures/PngWriter.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <vector>

namespace {

constexpr int kSize = 32;

struct Color {
    float r, g, b;
};

// How much of a pixel a disc covers, with a one-pixel soft edge.
float Coverage(float x, float y, float cx, float cy, float radius) {
    float distance = std::hypot(x - cx, y - cy);
    return std::clamp(radius - distance + 0.5f, 0.0f, 1.0f);
}

void Blend(std::vector<float>& pixel, const Color& color, float alpha) {
    pixel[0] = pixel[0] * (1.0f - alpha) + color.r * alpha;
    pixel[1] = pixel[1] * (1.0f - alpha) + color.g * alpha;
    pixel[2] = pixel[2] * (1.0f - alpha) + color.b * alpha;
    pixel[3] = pixel[3] * (1.0f - alpha) + alpha;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_icon <file.png>\n");
        return 2;
    }
    const Color body{0.36f, 0.78f, 0.35f};
    const Color shade{0.22f, 0.58f, 0.27f};
    const Color shine{0.75f, 0.95f, 0.68f};
    const Color white{1.0f, 1.0f, 1.0f};
    const Color pupil{0.12f, 0.15f, 0.25f};

    std::vector<uint8_t> rgba;
    rgba.reserve(kSize * kSize * 4);
    for (int row = 0; row < kSize; ++row) {
        for (int column = 0; column < kSize; ++column) {
            float x = static_cast<float>(column) + 0.5f;
            float y = static_cast<float>(row) + 0.5f;
            std::vector<float> pixel = {0.0f, 0.0f, 0.0f, 0.0f};
            Blend(pixel, shade, Coverage(x, y, 16.0f, 17.0f, 14.5f));
            Blend(pixel, body, Coverage(x, y, 15.0f, 16.0f, 13.0f));
            Blend(pixel, shine, Coverage(x, y, 10.0f, 9.5f, 3.5f) * 0.7f);
            for (float eyeX : {11.5f, 20.5f}) {
                Blend(pixel, white, Coverage(x, y, eyeX, 15.0f, 4.0f));
                Blend(pixel, pupil, Coverage(x, y, eyeX + 1.0f, 16.0f, 2.0f));
            }
            for (float channel : pixel) {
                rgba.push_back(static_cast<uint8_t>(std::lround(std::clamp(channel, 0.0f, 1.0f) * 255.0f)));
            }
        }
    }
    if (!WritePng(argv[1], kSize, kSize, rgba)) {
        std::fprintf(stderr, "make_icon: cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
