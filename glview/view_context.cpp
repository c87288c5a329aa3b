#include "glview/view_context.h"

#include "glview/colour_ref.h"
#include "platform/gl_surface.h"

#include <GL/gl.h>
#include <GL/glu.h>

namespace glview {
namespace {

// The toolkit's one drawing guard, shared by all records; a plain flag, not a lock.
bool drawingGuard = false;

// A surface's scale, 1 for nonsense values.
double ratio_of(const platform::GlSurface* surface) {
    const double ratio = surface ? surface->pixel_ratio() : 1.0;
    return ratio > 0.0 && ratio < 64.0 ? ratio : 1.0;
}

} // namespace

ViewContext* view_create(platform::GlSurface* window) {
    auto* context = new ViewContext{};
    context->dc = window;
    context->pixelRatio = ratio_of(window);
    if (window && window->create_context() && window->make_current()) {
        context->rc = window;
        const std::uint32_t background = window->background_colour();
        glClearColor(colour_red(background), colour_green(background), colour_blue(background), 1.0f);
    }
    context->zNear = 1.0f;
    context->zFar = 64.0f;
    return context;
}

std::int32_t view_release(platform::GlSurface* /*window*/, ViewContext* context) {
    if (!context) return VIEW_OK;
    if (context->rc) {
        context->rc->release_current();
        context->rc->destroy_context();
    }
    delete context;
    return VIEW_OK;
}

std::int32_t view_resize(ViewContext* context, std::uint32_t width, std::uint32_t height) {
    if (!view_has_context(context)) return VIEW_ERR_NO_CONTEXT;
    context->width = width;
    context->height = height;
    context->pixelRatio = ratio_of(context->dc);
    return view_set_ortho(context);
}

std::int32_t view_clear(ViewContext* context) {
    if (!view_has_context(context)) return VIEW_ERR_NO_CONTEXT;
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    return VIEW_OK;
}

std::int32_t view_current_clear(ViewContext* context) {
    if (!view_has_context(context)) return VIEW_ERR_NO_CONTEXT;
    context->rc->make_current();
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    return VIEW_OK;
}

std::int32_t view_make_current(ViewContext* context) {
    if (!view_has_context(context)) return VIEW_ERR_NO_CONTEXT;
    context->rc->make_current();
    glLoadIdentity();
    return VIEW_OK;
}

std::int32_t view_swap(platform::GlSurface* /*window*/, ViewContext* context) {
    if (!view_has_context(context)) return VIEW_ERR_NO_CONTEXT;
    context->rc->swap_buffers();
    return VIEW_OK;
}

std::int32_t view_begin(ViewContext* context) {
    if (!view_has_context(context)) return VIEW_ERR_NO_CONTEXT;
    if (drawingGuard) return VIEW_BUSY;
    drawingGuard = true;
    context->rc->make_current();
    return VIEW_OK;
}

std::int32_t view_end(ViewContext* context) {
    if (!view_has_context(context)) return VIEW_ERR_NO_CONTEXT;
    drawingGuard = false;
    return VIEW_OK;
}

std::int32_t view_set_ortho(ViewContext* context) {
    if (!view_has_context(context)) return VIEW_ERR_NO_CONTEXT;
    glLoadIdentity();
    glViewport(0, 0, GLsizei(context->width), GLsizei(context->height));
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0.0, double(context->width) / context->pixelRatio, double(context->height) / context->pixelRatio,
            0.0, 1.0, -1.0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glDisable(GL_DEPTH_TEST);
    return VIEW_OK;
}

std::int32_t view_set_perspective(ViewContext* context) {
    if (!view_has_context(context)) return VIEW_ERR_NO_CONTEXT;
    glLoadIdentity();
    glViewport(0, 0, GLsizei(context->width), GLsizei(context->height));
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    // A window of height 0 (minimised) would divide by zero; it counts as 1 pixel high.
    const double aspect = double(context->width) / double(context->height == 0 ? 1u : context->height);
    gluPerspective(double(context->fovY), aspect, double(context->zNear), double(context->zFar));
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glHint(GL_PERSPECTIVE_CORRECTION_HINT, GL_NICEST);
    glEnable(GL_DEPTH_TEST);
    return VIEW_OK;
}

std::int32_t view_set_clear_color(ViewContext* context, std::uint32_t colour, float alpha) {
    if (!view_has_context(context)) return VIEW_ERR_NO_CONTEXT;
    if (alpha > 1.0f || alpha < 0.0f) alpha = 1.0f;
    glClearColor(colour_red(colour), colour_green(colour), colour_blue(colour), alpha);
    return VIEW_OK;
}

} // namespace glview
