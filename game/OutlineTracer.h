#pragma once

#include <box2d/b2_math.h>

#include <array>

// Traces the outline of a closed ring of points, resolving self-crossings: every crossing of two
// ring edges becomes a vertex of its own, and the walk goes around the outer boundary, starting at
// the leftmost point. The creature draws its skin along the traced contour.
//
// Everything lives in fixed arrays of kCapacity entries, so tracing never allocates. A ring with
// more points is cut to kCapacity; crossings that would need more vertices or segments than fit
// are left unsplit (logged once); a walk that reaches kCapacity contour entries stops there and
// writes the overflow report "b2constantvolumejoint.log" into the working folder (once per tracer).
class OutlineTracer {
public:
    static constexpr int kCapacity = 256;

    // Traces the ring p[0], ..., p[count - 1], closed back to p[0]. Returns false when the walk
    // overflowed; the contour, area and perimeter then cover the walk so far.
    bool Trace(const b2Vec2* points, int count);

    // The ring's points followed by the added crossing points.
    const b2Vec2* GetVertices() const { return m_Vertices.data(); }
    int GetVertexCount() const { return m_VertexCount; }
    // Indices into the vertices, in walking order (the contour closes back to its first entry).
    const int* GetContour() const { return m_Contour.data(); }
    int GetContourCount() const { return m_ContourCount; }
    // Half the sum of cross(v[k], v[k+1]) around the contour: negative for a walk that turns
    // clockwise (a counter-clockwise ring is walked clockwise).
    float GetSignedArea() const { return m_SignedArea; }
    float GetPerimeter() const { return m_Perimeter; }

private:
    struct Segment {
        int from;
        int to;
    };

    void SplitCrossings();
    bool SplitPair(int i, int j);
    void ComputeAngles();
    bool Walk();
    void WriteOverflowReport();
    void Measure();

    std::array<b2Vec2, kCapacity> m_Vertices;
    int m_VertexCount = 0;
    std::array<Segment, kCapacity> m_Segments;
    std::array<float, kCapacity> m_Angles;
    int m_SegmentCount = 0;
    std::array<int, kCapacity> m_Contour;
    int m_ContourCount = 0;
    float m_SignedArea = 0.0f;
    float m_Perimeter = 0.0f;
    bool m_SplitLimitLogged = false;
    bool m_OverflowReported = false;
};
