#include "game/OutlineTracer.h"

#include "app/Log.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace {

constexpr float kTwoPi = 6.2831855f;
constexpr float kPi = 3.1415927f;
// The walk brings turn angles into (-pi, pi] with these bounds.
constexpr float kTurnUpper = 3.1415927f;
constexpr float kTurnLower = -3.1415925f;
// Crossings of nearly parallel segments are not split.
constexpr float kParallel = 1.1920929e-7f;

bool Same(const b2Vec2& a, const b2Vec2& b) {
    return a.x == b.x && a.y == b.y;
}

// True when value lies between 0 and limit, inclusive, on limit's side of 0.
bool Between(float value, float limit) {
    return limit > 0.0f ? value >= 0.0f && value <= limit : value <= 0.0f && value >= limit;
}

// The direction's angle in [0, 2pi); 0 for a zero-length direction (coincident points).
float AngleOf(const b2Vec2& d) {
    const float length = d.Length();
    if (length == 0.0f) {
        return 0.0f;
    }
    const float angle = std::acos(std::clamp(d.x / length, -1.0f, 1.0f));
    return d.y >= 0.0f ? angle : kTwoPi - angle;
}

}  // namespace

bool OutlineTracer::Trace(const b2Vec2* points, int count) {
    count = std::clamp(count, 0, kCapacity);
    m_VertexCount = count;
    m_SegmentCount = count;
    for (int i = 0; i < count; ++i) {
        m_Vertices[i] = points[i];
        m_Segments[i] = {i, (i + 1) % count};
    }
    m_ContourCount = 0;
    SplitCrossings();
    ComputeAngles();
    const bool complete = Walk();
    Measure();
    return complete;
}

void OutlineTracer::SplitCrossings() {
    for (int i = 0; i < m_SegmentCount - 2; ++i) {
        for (int j = i + 2; j < m_SegmentCount; ++j) {
            if (!SplitPair(i, j)) {
                if (!m_SplitLimitLogged) {
                    log_error(
                        "OutlineTracer::SplitCrossings: more than %d vertices or segments, crossings left unsplit",
                        kCapacity);
                    m_SplitLimitLogged = true;
                }
                return;
            }
        }
    }
}

// Splits segments i and j where they cross. Returns false when a split is due but does not fit.
bool OutlineTracer::SplitPair(int i, int j) {
    const b2Vec2 a0 = m_Vertices[m_Segments[i].from];
    const b2Vec2 a1 = m_Vertices[m_Segments[i].to];
    const b2Vec2 b0 = m_Vertices[m_Segments[j].from];
    const b2Vec2 b1 = m_Vertices[m_Segments[j].to];
    if (Same(a0, b0) || Same(a0, b1) || Same(a1, b0) || Same(a1, b1)) {
        return true;
    }
    const float denom = (b1.y - b0.y) * (a1.x - a0.x) - (b1.x - b0.x) * (a1.y - a0.y);
    if (std::fabs(denom) < kParallel) {
        return true;
    }
    const float ua = (b1.x - b0.x) * (a0.y - b0.y) - (b1.y - b0.y) * (a0.x - b0.x);
    const float ub = (a1.x - a0.x) * (a0.y - b0.y) - (a1.y - a0.y) * (a0.x - b0.x);
    if (!Between(ua, denom) || !Between(ub, denom)) {
        return true;
    }
    const b2Vec2 p = a0 + (ua / denom) * (a1 - a0);
    if (Same(p, a0) || Same(p, a1) || Same(p, b0) || Same(p, b1)) {
        return true;
    }
    if (m_VertexCount + 1 > kCapacity || m_SegmentCount + 2 > kCapacity) {
        return false;
    }
    const int v = m_VertexCount++;
    m_Vertices[v] = p;
    m_Segments[m_SegmentCount++] = {v, m_Segments[i].to};
    m_Segments[i].to = v;
    m_Segments[m_SegmentCount++] = {v, m_Segments[j].to};
    m_Segments[j].to = v;
    return true;
}

void OutlineTracer::ComputeAngles() {
    for (int s = 0; s < m_SegmentCount; ++s) {
        m_Angles[s] = AngleOf(m_Vertices[m_Segments[s].to] - m_Vertices[m_Segments[s].from]);
    }
}

bool OutlineTracer::Walk() {
    if (m_SegmentCount == 0) {
        return true;
    }
    int start = 0;
    for (int s = 1; s < m_SegmentCount; ++s) {
        if (m_Vertices[m_Segments[s].from].x < m_Vertices[m_Segments[start].from].x) {
            start = s;
        }
    }
    int current = m_Segments[start].from;
    float currentAngle = m_Angles[start];
    // Going back along the segment just walked is a turn of pi, the last choice. Computed, that
    // turn can round to just above -pi, so it is set rather than computed.
    int arrivedBy = -1;
    for (;;) {
        if (m_ContourCount > 0 && current == m_Contour[0]) {
            return true;
        }
        if (m_ContourCount == kCapacity) {
            WriteOverflowReport();
            return false;
        }
        m_Contour[m_ContourCount++] = current;
        // The next vertex is along the segment that turns the least to the right.
        int next = -1;
        int nextSegment = -1;
        float nextAngle = 0.0f;
        float bestTurn = 0.0f;
        for (int s = 0; s < m_SegmentCount; ++s) {
            const Segment& segment = m_Segments[s];
            int other;
            float angle;
            if (segment.from == current && segment.to != current) {
                other = segment.to;
                angle = m_Angles[s];
            } else if (segment.to == current && segment.from != current) {
                other = segment.from;
                angle = m_Angles[s] + kPi;
            } else {
                continue;
            }
            float turn = currentAngle - angle;
            if (s == arrivedBy) {
                turn = kTurnUpper;
            } else if (turn > kTurnUpper) {
                turn -= kTwoPi;
            } else if (turn < kTurnLower) {
                turn += kTwoPi;
            }
            if (next < 0 || turn < bestTurn) {
                next = other;
                nextSegment = s;
                nextAngle = angle;
                bestTurn = turn;
            }
        }
        if (next < 0) {
            return true;
        }
        current = next;
        arrivedBy = nextSegment;
        currentAngle = nextAngle >= kTwoPi ? nextAngle - kTwoPi : nextAngle;
    }
}

void OutlineTracer::WriteOverflowReport() {
    if (m_OverflowReported) {
        return;
    }
    m_OverflowReported = true;
    log_error("OutlineTracer::Walk: contour longer than %d vertices, report in b2constantvolumejoint.log", kCapacity);
    std::FILE* file = std::fopen("b2constantvolumejoint.log", "w+");
    if (file == nullptr) {
        return;
    }
    std::fputs("b2ConstantVolumeJoint: indices overflow!\n", file);
    std::fputs("Indices:\n", file);
    for (int k = 0; k < m_ContourCount; ++k) {
        std::fprintf(file, "%d\n", m_Contour[k]);
    }
    std::fputs("Segments:\n", file);
    for (int s = 0; s < m_SegmentCount; ++s) {
        std::fprintf(file, "%d, %d\n", m_Segments[s].from, m_Segments[s].to);
    }
    std::fputs("Angles:\n", file);
    for (int s = 0; s < m_SegmentCount; ++s) {
        std::fprintf(file, "%f\n", m_Angles[s]);
    }
    std::fputs("Points:\n", file);
    for (int v = 0; v < m_VertexCount; ++v) {
        std::fprintf(file, "%f, %f\n", m_Vertices[v].x, m_Vertices[v].y);
    }
    std::fclose(file);
}

void OutlineTracer::Measure() {
    m_SignedArea = 0.0f;
    m_Perimeter = 0.0f;
    for (int k = 0; k < m_ContourCount; ++k) {
        const b2Vec2& a = m_Vertices[m_Contour[k]];
        const b2Vec2& b = m_Vertices[m_Contour[(k + 1) % m_ContourCount]];
        m_SignedArea += b2Cross(a, b);
        m_Perimeter += (b - a).Length();
    }
    m_SignedArea *= 0.5f;
}
