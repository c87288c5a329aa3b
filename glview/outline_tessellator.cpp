#include "glview/outline_tessellator.h"

#include <GL/glu.h>

#include <deque>

namespace glview {
namespace {

struct TessState {
    std::deque<std::array<GLdouble, 3>> storage; // stable addresses for the tessellator
    std::vector<std::array<double, 2>> triangles;
    bool failed = false;
};

void GLAPIENTRY on_begin(GLenum, void*) {}
void GLAPIENTRY on_end(void*) {}
// Registering an edge-flag callback makes the tessellator emit plain triangles only.
void GLAPIENTRY on_edge_flag(GLboolean, void*) {}

void GLAPIENTRY on_vertex(void* vertex, void* data) {
    auto* v = static_cast<const GLdouble*>(vertex);
    static_cast<TessState*>(data)->triangles.push_back({v[0], v[1]});
}

void GLAPIENTRY on_combine(GLdouble coords[3], void* [4], GLfloat[4], void** out, void* data) {
    auto* s = static_cast<TessState*>(data);
    s->storage.push_back({coords[0], coords[1], coords[2]});
    *out = s->storage.back().data();
}

void GLAPIENTRY on_error(GLenum, void* data) {
    static_cast<TessState*>(data)->failed = true;
}

} // namespace

std::vector<std::array<double, 2>> tessellate_outline(const GlyphOutline& outline) {
    TessState state;
    if (outline.contours.empty()) return {};
    GLUtesselator* tess = gluNewTess();
    if (!tess) return {};
    using Callback = void(GLAPIENTRY*)();
    gluTessCallback(tess, GLU_TESS_BEGIN_DATA, reinterpret_cast<Callback>(on_begin));
    gluTessCallback(tess, GLU_TESS_END_DATA, reinterpret_cast<Callback>(on_end));
    gluTessCallback(tess, GLU_TESS_EDGE_FLAG_DATA, reinterpret_cast<Callback>(on_edge_flag));
    gluTessCallback(tess, GLU_TESS_VERTEX_DATA, reinterpret_cast<Callback>(on_vertex));
    gluTessCallback(tess, GLU_TESS_COMBINE_DATA, reinterpret_cast<Callback>(on_combine));
    gluTessCallback(tess, GLU_TESS_ERROR_DATA, reinterpret_cast<Callback>(on_error));
    gluTessProperty(tess, GLU_TESS_WINDING_RULE,
                    outline.evenOdd ? GLU_TESS_WINDING_ODD : GLU_TESS_WINDING_NONZERO);
    gluTessNormal(tess, 0.0, 0.0, 1.0);

    for (const auto& contour : outline.contours)
        for (const auto& p : contour)
            state.storage.push_back({p.first, p.second, 0.0});

    gluTessBeginPolygon(tess, &state);
    std::size_t next = 0;
    for (const auto& contour : outline.contours) {
        gluTessBeginContour(tess);
        for (std::size_t i = 0; i < contour.size(); ++i, ++next)
            gluTessVertex(tess, state.storage[next].data(), state.storage[next].data());
        gluTessEndContour(tess);
    }
    gluTessEndPolygon(tess);
    gluDeleteTess(tess);

    if (state.failed || state.triangles.size() % 3 != 0) return {};
    // The tessellator's output winding depends on the contour directions; make every
    // triangle face +z so that the front of a glyph is its lit side.
    for (std::size_t i = 0; i < state.triangles.size(); i += 3) {
        const auto& a = state.triangles[i];
        const auto& b = state.triangles[i + 1];
        const auto& c = state.triangles[i + 2];
        const double cross = (b[0] - a[0]) * (c[1] - a[1]) - (b[1] - a[1]) * (c[0] - a[0]);
        if (cross < 0) std::swap(state.triangles[i + 1], state.triangles[i + 2]);
    }
    return std::move(state.triangles);
}

} // namespace glview
