#pragma once

#include <cstdint>
#include <functional>
#include <vector>

namespace pictures {

// A colour with straight (not premultiplied) alpha, each channel 0 to 1.
struct Rgba {
    double r = 0.0;
    double g = 0.0;
    double b = 0.0;
    double a = 1.0;
};

struct Point {
    double x = 0.0;
    double y = 0.0;
};

// A closed outline in pixels; the last point joins the first.
using Contour = std::vector<Point>;

// A picture painted with flat, anti-aliased shapes, as the game's movies draw them: each shape
// fills what its contours enclose by the even-odd rule (so an inner contour cuts a hole) and is
// laid over what is there already ("over" blending; channels beyond 0..1 are clamped). Pixel (x, y)
// covers [x, x + 1) x [y, y + 1).
class Canvas {
public:
    Canvas(int width, int height, const Rgba& background);

    int Width() const { return m_Width; }
    int Height() const { return m_Height; }

    // Coverage is exact across each pixel and sampled four times down it.
    void Fill(const std::vector<Contour>& contours, const Rgba& color);
    // Lays the colour the shader gives for each pixel's centre over the whole picture.
    void Paint(const std::function<Rgba(double x, double y)>& shader);

    Rgba At(int x, int y) const { return m_Pixels[static_cast<size_t>(y) * m_Width + x]; }
    // Each pixel the mean of a 2 x 2 block (odd last rows and columns are dropped).
    Canvas Halved() const;
    // Lays the other picture over this one with its top-left corner at (left, top).
    void Draw(const Canvas& other, int left, int top);
    // 8-bit RGBA rows from the top, as the PNG writer takes them.
    std::vector<uint8_t> Bytes() const;

private:
    void Blend(size_t index, const Rgba& color, double coverage);

    int m_Width;
    int m_Height;
    std::vector<Rgba> m_Pixels;
};

}  // namespace pictures
