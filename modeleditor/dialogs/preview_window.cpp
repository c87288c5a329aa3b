#include "modeleditor/dialogs/preview_window.h"

#include "modeleditor/dialogs/preview_draw.h"

#include <QFrame>
#include <QVBoxLayout>
#include <QWidget>

namespace editor {

PreviewWindowProc::PreviewWindowProc(QWidget* parent, const MaterialEdit& edit, std::function<void()> restore)
    : frame_(new QFrame(parent)), surface_(frame_, 0x000000), edit_(edit), restore_(std::move(restore)) {
    // A static edge: one sunken line around the view.
    frame_->setObjectName(QStringLiteral("A"));
    frame_->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    frame_->setLineWidth(1);
    frame_->setGeometry(0, 0, 150, 150);
    auto* layout = new QVBoxLayout(frame_);
    layout->setContentsMargins(0, 0, 0, 0);
    QWidget* child = surface_.widget();
    layout->addWidget(child);
    // The GL window needs its native window before a context can be made on it.
    child->winId();
    view_ = glview::view_create(&surface_);
    view_->zNear = 0.01f;
    view_->zFar = 5.0f;
    glview::view_resize(view_, std::uint32_t(surface_.width()), std::uint32_t(surface_.height()));
    surface_.set_paint_handler([this] { paint(); });
    surface_.set_resize_handler([this](std::int32_t width, std::int32_t height) {
        glview::view_resize(view_, std::uint32_t(width), std::uint32_t(height));
        invalidate();
    });
    surface_.set_erase_handler([this] { glview::view_current_clear(view_); });
    frame_->show();
    if (restore_) restore_();
}

PreviewWindowProc::~PreviewWindowProc() {
    surface_.set_paint_handler({});
    surface_.set_resize_handler({});
    surface_.set_erase_handler({});
    glview::view_release(&surface_, view_);
    view_ = nullptr;
    if (restore_) restore_();
    // The frame holds the surface's window, which the surface still reaches while it is destroyed.
    frame_->hide();
    frame_->deleteLater();
}

void PreviewWindowProc::move(const QRect& pixels) {
    frame_->setGeometry(pixels);
    invalidate();
}

void PreviewWindowProc::invalidate() {
    surface_.invalidate(true);
}

void PreviewWindowProc::paint() {
    if (!glview::view_has_context(view_)) return;
    glview::view_current_clear(view_);
    DrawMaterialPreview(view_, edit_);
    glview::view_swap(&surface_, view_);
    if (restore_) restore_();
}

} // namespace editor
