#include "platform/qt/gl_window_surface.h"

#include <QExposeEvent>
#include <QOpenGLContext>
#include <QOpenGLFunctions>
#include <QResizeEvent>
#include <QSurfaceFormat>
#include <QWidget>
#include <QWindow>

#include <cmath>

namespace platform {
namespace {

QSurfaceFormat window_format() {
    QSurfaceFormat format;
    format.setRenderableType(QSurfaceFormat::OpenGL);
    format.setProfile(QSurfaceFormat::CompatibilityProfile);
    format.setSwapBehavior(QSurfaceFormat::DoubleBuffer);
    format.setRedBufferSize(8);
    format.setGreenBufferSize(8);
    format.setBlueBufferSize(8);
    format.setAlphaBufferSize(0);
    format.setDepthBufferSize(24);
    format.setStencilBufferSize(0);
    return format;
}

} // namespace

class GlWindowSurface::Window final : public QWindow {
  public:
    Window() {
        setSurfaceType(QSurface::OpenGLSurface);
        setFormat(window_format());
    }
    std::function<void()> paint;
    std::function<void(std::int32_t, std::int32_t)> resized;

    // The drawable's size in device pixels, which the view's viewport covers.
    std::int32_t device_width() const { return std::int32_t(std::lround(width() * devicePixelRatio())); }
    std::int32_t device_height() const { return std::int32_t(std::lround(height() * devicePixelRatio())); }
    void report_size() {
        if (resized) resized(device_width(), device_height());
    }

  protected:
    void exposeEvent(QExposeEvent*) override {
        if (isExposed() && paint) paint();
    }
    void resizeEvent(QResizeEvent*) override { report_size(); }
    bool event(QEvent* event) override {
        if (event->type() == QEvent::UpdateRequest) {
            if (isExposed() && paint) paint();
            return true;
        }
        return QWindow::event(event);
    }
};

GlWindowSurface::GlWindowSurface(QWidget* parent, std::uint32_t background)
    : window_(new Window), widget_(QWidget::createWindowContainer(window_, parent)), background_(background) {
    widget_->setAttribute(Qt::WA_NativeWindow);
    // On a screen of another scale the same window size is another number of pixels.
    Window* window = window_;
    QObject::connect(window, &QWindow::screenChanged, window, [window] { window->report_size(); });
}

GlWindowSurface::~GlWindowSurface() {
    destroy_context();
    // The container owns the window; a parent, when there is one, owns the container.
    if (!widget_->parent()) delete widget_;
}

QWidget* GlWindowSurface::widget() const {
    return widget_;
}

QWindow* GlWindowSurface::window() const {
    return window_;
}

void GlWindowSurface::set_paint_handler(std::function<void()> handler) {
    window_->paint = std::move(handler);
}

void GlWindowSurface::set_resize_handler(std::function<void(std::int32_t, std::int32_t)> handler) {
    window_->resized = std::move(handler);
}

void GlWindowSurface::set_erase_handler(std::function<void()> handler) {
    erase_ = std::move(handler);
}

void GlWindowSurface::invalidate(bool erase) {
    erasePending_ = erasePending_ || erase;
    window_->requestUpdate();
}

bool GlWindowSurface::erase_pending() const {
    return erasePending_;
}

bool GlWindowSurface::create_context() {
    if (context_) return true;
    if (!window_->handle()) window_->create();
    auto context = std::make_unique<QOpenGLContext>();
    context->setFormat(window_->requestedFormat());
    if (!context->create() || !context->makeCurrent(window_)) return false;
    const auto f = context->functions();
    f->glClearColor(float((background_ & 0xFF) / 255.0), float(((background_ >> 8) & 0xFF) / 255.0),
                    float(((background_ >> 16) & 0xFF) / 255.0), 1.0f);
    context_ = std::move(context);
    return true;
}

void GlWindowSurface::destroy_context() {
    if (!context_) return;
    if (QOpenGLContext::currentContext() == context_.get()) context_->doneCurrent();
    context_.reset();
}

bool GlWindowSurface::has_context() const {
    return context_ != nullptr;
}

bool GlWindowSurface::make_current() {
    return context_ && context_->makeCurrent(window_);
}

void GlWindowSurface::release_current() {
    if (QOpenGLContext* current = QOpenGLContext::currentContext()) current->doneCurrent();
}

void GlWindowSurface::swap_buffers() {
    if (context_) context_->swapBuffers(window_);
    // Validation after the swap, like the end of a paint: the erase asked for by the last
    // invalidation runs now, in this window's context.
    if (erasePending_) {
        erasePending_ = false;
        if (erase_) erase_();
    }
}

std::int32_t GlWindowSurface::width() const {
    return window_->device_width();
}

std::int32_t GlWindowSurface::height() const {
    return window_->device_height();
}

double GlWindowSurface::pixel_ratio() const {
    return window_->devicePixelRatio();
}

std::uint32_t GlWindowSurface::background_colour() const {
    return background_;
}

} // namespace platform
