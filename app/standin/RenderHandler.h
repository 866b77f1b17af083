#pragma once

// Stand-in for the OpenGL render handler of the movies: its two drawing switches and its draw
// counts, which stay 0 while no movie draws.

namespace standin {

struct RenderHandler {
    bool m_enable_bitmaps = true;
    bool m_enable_meshes = true;
    // Draw calls since the last movie display began.
    int m_line_strips = 0;
    int m_meshes = 0;
};

inline RenderHandler& GetRenderHandler() {
    static RenderHandler handler;
    return handler;
}

}  // namespace standin
