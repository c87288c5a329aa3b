#pragma once
// A drawing surface with an OpenGL context: a window on the desktop, or an offscreen buffer for
// tests and headless rendering. The context is a desktop OpenGL compatibility-profile context
// (GL 1.1 calls, display lists and GLU usable) with 24-bit colour and a 24-bit depth buffer.
#include <cstdint>

namespace platform {

class GlSurface {
  public:
    virtual ~GlSurface() = default;

    // Makes the GL context and makes it current. False when no context can be had; a surface
    // that already has one keeps it and returns true.
    virtual bool create_context() = 0;
    // Deletes the context (releasing it first when it is current); harmless without one.
    virtual void destroy_context() = 0;
    virtual bool has_context() const = 0;

    // Makes this surface's context current on the calling thread. False without a context.
    virtual bool make_current() = 0;
    // Leaves the calling thread without a current context.
    virtual void release_current() = 0;
    // Presents what was drawn; the offscreen surface keeps it readable with glReadPixels.
    virtual void swap_buffers() = 0;

    // Size of the drawable in pixels.
    virtual std::int32_t width() const = 0;
    virtual std::int32_t height() const = 0;
    // Drawable pixels per unit of the window's own coordinates (the desktop's scale, 1 offscreen).
    virtual double pixel_ratio() const { return 1.0; }
    // The surface's background as a colour value 0x00BBGGRR, the first clear colour of a new context.
    virtual std::uint32_t background_colour() const = 0;
};

} // namespace platform
