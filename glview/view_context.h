#pragma once
// One OpenGL window's view: its surface, GL context, size and perspective set-up, with the
// operations that clear, present and switch between the flat and the perspective projection.
#include <cstdint>
#include <mutex>

namespace platform {
class GlSurface;
}

namespace glview {

enum : std::int32_t {
    VIEW_OK = 0,
    VIEW_BUSY = 1,
    VIEW_ERR_NO_TEXT = -1,
    VIEW_ERR_NO_LIST = -10,
    VIEW_ERR_NO_CONTEXT = -11,
};

struct ViewContext {
    platform::GlSurface* dc = nullptr; // the window's drawing surface
    platform::GlSurface* rc = nullptr; // the surface whose GL context this record made; null: no GL context
    std::uint32_t width = 0;           // client size in device pixels, as last given to view_resize
    std::uint32_t height = 0;
    std::mutex lock; // made and destroyed with the record; nothing takes it
    float zNear = 0.0f;
    float zFar = 0.0f;
    float fovY = 45.0f;
    // Device pixels per window unit, the surface's scale as of view_create or view_resize. The flat
    // projection counts in window units and bitmap fonts are drawn at this scale, so flat drawing
    // keeps its size relative to the window at any scale.
    double pixelRatio = 1.0;
};

// Makes the record for `window`: the window's double-buffered RGBA context (24 colour and 24
// depth bits, no alpha, accumulation or stencil), made current, with the window's background
// as clear colour; zNear 1, zFar 64. A context that cannot be made (or a null window) leaves
// rc null.
ViewContext* view_create(platform::GlSurface* window);
// Releases and deletes the record's GL context and frees the record (null is harmless). VIEW_OK.
std::int32_t view_release(platform::GlSurface* window, ViewContext* context);

// Every operation below returns VIEW_ERR_NO_CONTEXT, doing nothing, when rc is null.

// Stores the size (device pixels) and the surface's present scale, then sets the flat projection.
std::int32_t view_resize(ViewContext* context, std::uint32_t width, std::uint32_t height);
// Clears colour and depth; sets the blend function to source alpha, one minus source alpha.
std::int32_t view_clear(ViewContext* context);
// Makes the context current and clears colour and depth.
std::int32_t view_current_clear(ViewContext* context);
// Makes the context current and loads the identity into the current matrix.
std::int32_t view_make_current(ViewContext* context);
// Presents the back buffer of the record's surface; a window surface then runs its pending
// erase, so the next frame starts from a cleared back buffer.
std::int32_t view_swap(platform::GlSurface* window, ViewContext* context);
// Takes the process-wide drawing guard and makes the context current; VIEW_BUSY, changing
// nothing, when the guard is already taken.
std::int32_t view_begin(ViewContext* context);
// Clears the drawing guard.
std::int32_t view_end(ViewContext* context);
// Viewport over all width x height device pixels; coordinates in window units (device pixels
// divided by pixelRatio), origin top-left, y down; depth test off.
std::int32_t view_set_ortho(ViewContext* context);
// Viewport over all width x height device pixels; gluPerspective(fovY, width / height, zNear,
// zFar), a height of 0 counting as 1; depth test on.
std::int32_t view_set_perspective(ViewContext* context);
// Clear colour from 0x00BBGGRR; an alpha outside 0 to 1 becomes 1.
std::int32_t view_set_clear_color(ViewContext* context, std::uint32_t colour, float alpha);

// True when the record exists and has a GL context.
inline bool view_has_context(const ViewContext* context) {
    return context && context->rc;
}

} // namespace glview
