#pragma once
// GlSurface on a desktop window: a QWindow with its own QOpenGLContext (compatibility profile,
// double-buffered RGBA, 24 colour and 24 depth bits, no alpha or stencil), hosted by a QWidget
// as a native child. The background colour stands for the old window-class brush: it is the
// first clear colour of a new context.
#include <cstdint>
#include <functional>
#include <memory>

#include "platform/gl_surface.h"

class QOpenGLContext;
class QWidget;
class QWindow;

namespace platform {

class GlWindowSurface final : public GlSurface {
  public:
    // A GL window inside `parent` (may be null) with background colour 0x00BBGGRR.
    explicit GlWindowSurface(QWidget* parent, std::uint32_t background = 0);
    ~GlWindowSurface() override;
    GlWindowSurface(const GlWindowSurface&) = delete;
    GlWindowSurface& operator=(const GlWindowSurface&) = delete;

    // The native child widget that hosts the window; place it in layouts, show it.
    QWidget* widget() const;
    QWindow* window() const;

    // Called when the window needs painting (exposed) and when its size changed; sizes here and
    // from width() and height() are in device pixels, the window's size times pixel_ratio().
    void set_paint_handler(std::function<void()> handler);
    void set_resize_handler(std::function<void(std::int32_t width, std::int32_t height)> handler);
    // What the window does to erase its background, e.g. make its context current and clear.
    void set_erase_handler(std::function<void()> handler);
    // Marks the window for erasing; the erase runs when the window is next validated, that is
    // right after the next swap_buffers. Invalidating also asks for a paint.
    void invalidate(bool erase);
    bool erase_pending() const;

    bool create_context() override;
    void destroy_context() override;
    bool has_context() const override;
    bool make_current() override;
    void release_current() override;
    // Swaps the buffers, then validates the window: a pending erase runs now, so the next frame
    // starts from a cleared back buffer in this window's context.
    void swap_buffers() override;
    std::int32_t width() const override;
    std::int32_t height() const override;
    double pixel_ratio() const override;
    std::uint32_t background_colour() const override;

  private:
    class Window;
    Window* window_; // owned by widget_
    QWidget* widget_;
    std::unique_ptr<QOpenGLContext> context_;
    std::uint32_t background_;
    std::function<void()> erase_;
    bool erasePending_ = false;
};

} // namespace platform
