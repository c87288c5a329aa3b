#include "platform/egl_surface.h"

#include <EGL/egl.h>
#include <EGL/eglext.h>
#include <GL/gl.h>

#include <algorithm>
#include <cstring>

namespace platform {

namespace {

// One EGL display serves every surface of the process; it is initialised once and lives on,
// because terminating it would pull the rug from under other surfaces' contexts.
EGLDisplay shared_display(const char*& error) {
    static EGLDisplay display = EGL_NO_DISPLAY;
    static bool tried = false;
    static const char* init_error = "";
    if (!tried) {
        tried = true;
        auto get_platform_display =
            reinterpret_cast<PFNEGLGETPLATFORMDISPLAYEXTPROC>(eglGetProcAddress("eglGetPlatformDisplayEXT"));
        EGLint major = 0;
        EGLint minor = 0;
        EGLDisplay candidate = EGL_NO_DISPLAY;
        if (get_platform_display)
            candidate = get_platform_display(EGL_PLATFORM_SURFACELESS_MESA, EGL_DEFAULT_DISPLAY, nullptr);
        if (candidate != EGL_NO_DISPLAY && eglInitialize(candidate, &major, &minor)) display = candidate;
        // Without the surfaceless platform (another EGL vendor), the default display still offers
        // pixel buffers.
        if (display == EGL_NO_DISPLAY) {
            candidate = eglGetDisplay(EGL_DEFAULT_DISPLAY);
            if (candidate != EGL_NO_DISPLAY && eglInitialize(candidate, &major, &minor))
                display = candidate;
            else
                init_error = "no EGL display (neither surfaceless nor default) can be initialised";
        }
    }
    error = init_error;
    return display;
}

// A configuration with exactly 8 bits of red, green and blue and a 24-bit depth buffer,
// preferring one without alpha as the windows of the programs ask for none. EGL sorts deeper
// colour first, so the first match of a plain query may well be 10 bits per channel.
EGLConfig choose_config(EGLDisplay display) {
    const EGLint wanted[] = {EGL_SURFACE_TYPE,
                             EGL_PBUFFER_BIT,
                             EGL_RED_SIZE,
                             8,
                             EGL_GREEN_SIZE,
                             8,
                             EGL_BLUE_SIZE,
                             8,
                             EGL_DEPTH_SIZE,
                             24,
                             EGL_RENDERABLE_TYPE,
                             EGL_OPENGL_BIT,
                             EGL_NONE};
    EGLint count = 0;
    if (!eglChooseConfig(display, wanted, nullptr, 0, &count) || count < 1) return nullptr;
    std::vector<EGLConfig> configs(static_cast<std::size_t>(count));
    if (!eglChooseConfig(display, wanted, configs.data(), count, &count)) return nullptr;
    EGLConfig best = nullptr;
    int best_rank = 0;
    for (EGLint i = 0; i < count; ++i) {
        auto attribute = [&](EGLint name) {
            EGLint value = 0;
            eglGetConfigAttrib(display, configs[static_cast<std::size_t>(i)], name, &value);
            return value;
        };
        if (attribute(EGL_RED_SIZE) != 8 || attribute(EGL_GREEN_SIZE) != 8 || attribute(EGL_BLUE_SIZE) != 8)
            continue;
        const int rank =
            1 + (attribute(EGL_DEPTH_SIZE) == 24 ? 2 : 0) + (attribute(EGL_ALPHA_SIZE) == 0 ? 1 : 0);
        if (rank > best_rank) {
            best_rank = rank;
            best = configs[static_cast<std::size_t>(i)];
        }
    }
    return best;
}

} // namespace

struct EglSurface::Handles {
    EGLDisplay display = EGL_NO_DISPLAY;
    EGLConfig config = nullptr;
    EGLContext context = EGL_NO_CONTEXT;
    EGLSurface surface = EGL_NO_SURFACE;
};

EglSurface::EglSurface(std::int32_t width, std::int32_t height, std::uint32_t background)
    : handles_(std::make_unique<Handles>()), width_(std::max(width, 1)), height_(std::max(height, 1)),
      background_(background & 0x00FFFFFFu) {}

EglSurface::~EglSurface() {
    destroy_context();
}

bool EglSurface::create_context() {
    if (has_context()) return make_current();
    EGLDisplay display = shared_display(error_);
    if (display == EGL_NO_DISPLAY) return false;

    EGLConfig config = choose_config(display);
    if (config == nullptr) {
        error_ = "no EGL configuration with 24-bit colour and depth for desktop OpenGL";
        return false;
    }
    if (!eglBindAPI(EGL_OPENGL_API)) {
        error_ = "EGL cannot bind desktop OpenGL";
        return false;
    }
    const EGLint context_attributes[] = {EGL_CONTEXT_OPENGL_PROFILE_MASK,
                                         EGL_CONTEXT_OPENGL_COMPATIBILITY_PROFILE_BIT, EGL_NONE};
    EGLContext context = eglCreateContext(display, config, EGL_NO_CONTEXT, context_attributes);
    if (context == EGL_NO_CONTEXT) {
        error_ = "EGL cannot create a compatibility-profile context";
        return false;
    }
    const EGLint surface_attributes[] = {EGL_WIDTH, width_, EGL_HEIGHT, height_, EGL_NONE};
    EGLSurface surface = eglCreatePbufferSurface(display, config, surface_attributes);
    if (surface == EGL_NO_SURFACE) {
        eglDestroyContext(display, context);
        error_ = "EGL cannot create a pixel buffer of that size";
        return false;
    }
    if (!eglMakeCurrent(display, surface, surface, context)) {
        eglDestroySurface(display, surface);
        eglDestroyContext(display, context);
        error_ = "EGL cannot make the context current";
        return false;
    }
    handles_->display = display;
    handles_->config = config;
    handles_->context = context;
    handles_->surface = surface;
    glViewport(0, 0, width_, height_);
    glClearColor(static_cast<float>(background_ & 0xFF) / 255.0f,
                 static_cast<float>((background_ >> 8) & 0xFF) / 255.0f,
                 static_cast<float>((background_ >> 16) & 0xFF) / 255.0f, 1.0f);
    error_ = "";
    return true;
}

void EglSurface::destroy_context() {
    if (!has_context()) return;
    if (eglGetCurrentContext() == handles_->context)
        eglMakeCurrent(handles_->display, EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT);
    eglDestroySurface(handles_->display, handles_->surface);
    eglDestroyContext(handles_->display, handles_->context);
    *handles_ = Handles{};
}

bool EglSurface::has_context() const {
    return handles_->context != EGL_NO_CONTEXT;
}

bool EglSurface::make_current() {
    if (!has_context()) return false;
    return eglMakeCurrent(handles_->display, handles_->surface, handles_->surface, handles_->context) ==
           EGL_TRUE;
}

void EglSurface::release_current() {
    if (has_context()) eglMakeCurrent(handles_->display, EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT);
}

void EglSurface::swap_buffers() {
    // A pixel buffer has no front buffer: finishing the drawing is what presenting means here,
    // and the picture stays in place for glReadPixels.
    if (has_context() && eglGetCurrentContext() == handles_->context) glFinish();
}

std::int32_t EglSurface::width() const {
    return width_;
}

std::int32_t EglSurface::height() const {
    return height_;
}

std::uint32_t EglSurface::background_colour() const {
    return background_;
}

bool EglSurface::resize(std::int32_t width, std::int32_t height) {
    width = std::max(width, 1);
    height = std::max(height, 1);
    if (!has_context()) {
        width_ = width;
        height_ = height;
        return true;
    }
    const EGLint surface_attributes[] = {EGL_WIDTH, width, EGL_HEIGHT, height, EGL_NONE};
    EGLSurface surface = eglCreatePbufferSurface(handles_->display, handles_->config, surface_attributes);
    if (surface == EGL_NO_SURFACE) {
        error_ = "EGL cannot create a pixel buffer of that size";
        return false;
    }
    if (!eglMakeCurrent(handles_->display, surface, surface, handles_->context)) {
        eglDestroySurface(handles_->display, surface);
        error_ = "EGL cannot make the context current";
        return false;
    }
    eglDestroySurface(handles_->display, handles_->surface);
    handles_->surface = surface;
    width_ = width;
    height_ = height;
    return true;
}

std::vector<std::uint8_t> EglSurface::read_pixels() {
    if (!make_current()) return {};
    const std::size_t row = static_cast<std::size_t>(width_) * 4;
    std::vector<std::uint8_t> bottom_up(row * static_cast<std::size_t>(height_));
    GLint pack_alignment = 4;
    glGetIntegerv(GL_PACK_ALIGNMENT, &pack_alignment);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, width_, height_, GL_RGBA, GL_UNSIGNED_BYTE, bottom_up.data());
    glPixelStorei(GL_PACK_ALIGNMENT, pack_alignment);
    std::vector<std::uint8_t> top_down(bottom_up.size());
    for (std::int32_t y = 0; y < height_; ++y)
        std::memcpy(top_down.data() + static_cast<std::size_t>(y) * row,
                    bottom_up.data() + static_cast<std::size_t>(height_ - 1 - y) * row, row);
    return top_down;
}

const char* EglSurface::last_error() const {
    return error_;
}

} // namespace platform
