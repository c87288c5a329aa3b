#pragma once
// Offscreen GlSurface on EGL without a window system (Mesa's surfaceless platform): the
// context draws into a pixel buffer of the surface's size, read back with glReadPixels.
#include <cstdint>
#include <memory>
#include <vector>

#include "platform/gl_surface.h"

namespace platform {

class EglSurface final : public GlSurface {
  public:
    // A surface of width x height pixels (at least 1 x 1) whose background is colour 0x00BBGGRR.
    // No context exists until create_context.
    EglSurface(std::int32_t width, std::int32_t height, std::uint32_t background = 0);
    ~EglSurface() override;
    EglSurface(const EglSurface&) = delete;
    EglSurface& operator=(const EglSurface&) = delete;

    bool create_context() override;
    void destroy_context() override;
    bool has_context() const override;
    bool make_current() override;
    void release_current() override;
    void swap_buffers() override;
    std::int32_t width() const override;
    std::int32_t height() const override;
    std::uint32_t background_colour() const override;

    // Gives the drawable a new size (at least 1 x 1); its contents are lost. The context stays and
    // is current afterwards. False when the new buffer cannot be made (the old size then stays).
    bool resize(std::int32_t width, std::int32_t height);

    // The whole drawable as RGBA bytes, top row first (empty without a context).
    std::vector<std::uint8_t> read_pixels();

    // Why the last create_context or resize failed, for test messages.
    const char* last_error() const;

  private:
    struct Handles;
    std::unique_ptr<Handles> handles_;
    std::int32_t width_;
    std::int32_t height_;
    std::uint32_t background_;
    const char* error_ = "";
};

} // namespace platform
