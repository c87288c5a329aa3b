#include "modeleditor/dialogs/model_preview.h"

#include "modeleditor/dialogs/preview_draw.h"

#include <QEvent>
#include <QWidget>

namespace editor {

using platform::BN_CLICKED;
using platform::IDCANCEL;
using platform::IDOK;

ModelPreviewProc::~ModelPreviewProc() {
    release();
}

bool ModelPreviewProc::init_dialog(platform::DialogWindow& window, std::intptr_t) {
    auto* shown = dynamic_cast<platform::TemplateDialog*>(&window);
    if (!shown) {
        window.end_dialog(2);
        return true;
    }
    platform::TemplateDialog& dialog = *shown;
    dialog_ = &dialog;
    surface_ = std::make_unique<platform::GlWindowSurface>(&dialog, 0xFFFFFF);
    QWidget* child = surface_->widget();
    child->setGeometry(dialog.rect());
    child->winId();
    // The button stays above the view that fills the dialog.
    if (QWidget* ok = dialog.item(IDOK)) {
        ok->setAttribute(Qt::WA_NativeWindow);
        ok->raise();
    }
    view_ = glview::view_create(surface_.get());
    view_->zNear = 1.0f;
    view_->zFar = 64.0f;
    glview::view_set_clear_color(view_, 0xFFFFFF, 1.0f);
    glview::view_resize(view_, std::uint32_t(surface_->width()), std::uint32_t(surface_->height()));
    surface_->set_paint_handler([this] { paint(); });
    surface_->set_resize_handler([this](std::int32_t width, std::int32_t height) {
        glview::view_resize(view_, std::uint32_t(width), std::uint32_t(height));
        surface_->invalidate(true);
    });
    surface_->set_erase_handler([this] { glview::view_current_clear(view_); });
    dialog.installEventFilter(this);
    child->show();
    return true;
}

bool ModelPreviewProc::eventFilter(QObject* watched, QEvent* event) {
    if (watched == dialog_ && event->type() == QEvent::Resize && surface_)
        surface_->widget()->setGeometry(dialog_->rect());
    return QObject::eventFilter(watched, event);
}

void ModelPreviewProc::paint() {
    if (!glview::view_has_context(view_)) return;
    glview::view_current_clear(view_);
    DrawModelPreview(view_, context_.model, context_.state->lightPos);
    glview::view_swap(surface_.get(), view_);
    if (glview::view_has_context(context_.state->view)) context_.state->view->rc->make_current();
}

void ModelPreviewProc::release() {
    if (dialog_) dialog_->removeEventFilter(this);
    if (surface_) {
        surface_->set_paint_handler({});
        surface_->set_resize_handler({});
        surface_->set_erase_handler({});
        glview::view_release(surface_.get(), view_);
        view_ = nullptr;
        surface_.reset();
    }
    if (context_.state && glview::view_has_context(context_.state->view))
        context_.state->view->rc->make_current();
    dialog_ = nullptr;
}

void ModelPreviewProc::destroy_dialog(platform::DialogWindow&) {
    release();
}

bool ModelPreviewProc::command(platform::DialogWindow& dialog, int id, int notification) {
    if (notification != BN_CLICKED || (id != IDOK && id != IDCANCEL)) return false;
    release();
    dialog.end_dialog(id == IDOK ? 1 : 2);
    return true;
}

} // namespace editor
