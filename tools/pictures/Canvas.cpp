#include "tools/pictures/Canvas.h"

#include <algorithm>
#include <cmath>

namespace pictures {

namespace {

constexpr int kRowSamples = 4;

uint8_t Byte(double channel) {
    return static_cast<uint8_t>(std::lround(std::clamp(channel, 0.0, 1.0) * 255.0));
}

// The x positions where the contours' edges cross the line y, sorted.
std::vector<double> Crossings(const std::vector<Contour>& contours, double y) {
    std::vector<double> xs;
    for (const Contour& contour : contours) {
        const size_t n = contour.size();
        for (size_t i = 0; i < n; ++i) {
            const Point& a = contour[i];
            const Point& b = contour[(i + 1) % n];
            if ((a.y <= y && y < b.y) || (b.y <= y && y < a.y)) {
                xs.push_back(a.x + (y - a.y) * (b.x - a.x) / (b.y - a.y));
            }
        }
    }
    std::sort(xs.begin(), xs.end());
    return xs;
}

}  // namespace

Canvas::Canvas(int width, int height, const Rgba& background)
    : m_Width(width), m_Height(height), m_Pixels(static_cast<size_t>(width) * height, background) {}

void Canvas::Blend(size_t index, const Rgba& color, double coverage) {
    Rgba& pixel = m_Pixels[index];
    const Rgba c{std::clamp(color.r, 0.0, 1.0), std::clamp(color.g, 0.0, 1.0), std::clamp(color.b, 0.0, 1.0),
                 std::clamp(color.a, 0.0, 1.0)};
    const double alpha = c.a * coverage;
    const double out = alpha + pixel.a * (1.0 - alpha);
    if (out <= 0.0) {
        return;
    }
    pixel.r = (c.r * alpha + pixel.r * pixel.a * (1.0 - alpha)) / out;
    pixel.g = (c.g * alpha + pixel.g * pixel.a * (1.0 - alpha)) / out;
    pixel.b = (c.b * alpha + pixel.b * pixel.a * (1.0 - alpha)) / out;
    pixel.a = out;
}

void Canvas::Fill(const std::vector<Contour>& contours, const Rgba& color) {
    double top = m_Height;
    double bottom = 0.0;
    for (const Contour& contour : contours) {
        for (const Point& p : contour) {
            top = std::min(top, p.y);
            bottom = std::max(bottom, p.y);
        }
    }
    const int firstRow = std::max(0, static_cast<int>(std::floor(top)));
    const int lastRow = std::min(m_Height - 1, static_cast<int>(std::floor(bottom)));
    std::vector<double> coverage(m_Width);
    for (int row = firstRow; row <= lastRow; ++row) {
        std::fill(coverage.begin(), coverage.end(), 0.0);
        bool any = false;
        for (int sample = 0; sample < kRowSamples; ++sample) {
            const std::vector<double> xs = Crossings(contours, row + (sample + 0.5) / kRowSamples);
            for (size_t i = 0; i + 1 < xs.size(); i += 2) {
                const double from = std::clamp(xs[i], 0.0, static_cast<double>(m_Width));
                const double to = std::clamp(xs[i + 1], 0.0, static_cast<double>(m_Width));
                for (int column = static_cast<int>(from); column < m_Width && column < to; ++column) {
                    const double overlap = std::min(to, column + 1.0) - std::max(from, static_cast<double>(column));
                    coverage[column] += std::max(0.0, overlap) / kRowSamples;
                    any = true;
                }
            }
        }
        if (!any) {
            continue;
        }
        for (int column = 0; column < m_Width; ++column) {
            if (coverage[column] > 0.0) {
                Blend(static_cast<size_t>(row) * m_Width + column, color, std::min(coverage[column], 1.0));
            }
        }
    }
}

void Canvas::Paint(const std::function<Rgba(double x, double y)>& shader) {
    for (int y = 0; y < m_Height; ++y) {
        for (int x = 0; x < m_Width; ++x) {
            Blend(static_cast<size_t>(y) * m_Width + x, shader(x + 0.5, y + 0.5), 1.0);
        }
    }
}

Canvas Canvas::Halved() const {
    Canvas half(m_Width / 2, m_Height / 2, Rgba{0.0, 0.0, 0.0, 0.0});
    for (int y = 0; y < half.m_Height; ++y) {
        for (int x = 0; x < half.m_Width; ++x) {
            Rgba sum{0.0, 0.0, 0.0, 0.0};
            for (int dy = 0; dy < 2; ++dy) {
                for (int dx = 0; dx < 2; ++dx) {
                    const Rgba& p = At(2 * x + dx, 2 * y + dy);
                    sum.r += p.r * p.a;
                    sum.g += p.g * p.a;
                    sum.b += p.b * p.a;
                    sum.a += p.a;
                }
            }
            Rgba& out = half.m_Pixels[static_cast<size_t>(y) * half.m_Width + x];
            out.a = sum.a / 4.0;
            if (sum.a > 0.0) {
                out.r = sum.r / sum.a;
                out.g = sum.g / sum.a;
                out.b = sum.b / sum.a;
            }
        }
    }
    return half;
}

void Canvas::Draw(const Canvas& other, int left, int top) {
    for (int y = 0; y < other.m_Height; ++y) {
        for (int x = 0; x < other.m_Width; ++x) {
            const int tx = left + x;
            const int ty = top + y;
            if (tx >= 0 && ty >= 0 && tx < m_Width && ty < m_Height) {
                Blend(static_cast<size_t>(ty) * m_Width + tx, other.At(x, y), 1.0);
            }
        }
    }
}

std::vector<uint8_t> Canvas::Bytes() const {
    std::vector<uint8_t> bytes;
    bytes.reserve(m_Pixels.size() * 4);
    for (const Rgba& p : m_Pixels) {
        bytes.push_back(Byte(p.r));
        bytes.push_back(Byte(p.g));
        bytes.push_back(Byte(p.b));
        bytes.push_back(Byte(p.a));
    }
    return bytes;
}

}  // namespace pictures
