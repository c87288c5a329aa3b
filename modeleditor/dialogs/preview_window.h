#pragma once
// The material preview child of the Material dialog and the Material browser: a GL child
// window with its own view that shows a lit sphere in the colours of `materialEdit`.
#include <QFrame>
#include <QRect>

#include <functional>

#include "glview/view_context.h"
#include "modeleditor/dialogs/dialog_context.h"
#include "modeleditor/dialogs/dialog_values.h"
#include "platform/qt/gl_window_surface.h"

class QWidget;

namespace editor {

class PreviewWindowProc final : public MaterialPreview {
  public:
    // Creates the child in `parent` at 0, 0 with 150 x 150 pixels and its view (zNear 0.01,
    // zFar 5). `restore` runs after each paint and at destruction, to give the main window
    // its context back.
    PreviewWindowProc(QWidget* parent, const MaterialEdit& edit, std::function<void()> restore = {});
    // Releases the view.
    ~PreviewWindowProc() override;
    PreviewWindowProc(const PreviewWindowProc&) = delete;
    PreviewWindowProc& operator=(const PreviewWindowProc&) = delete;

    // Moves and sizes the child (pixels of its parent) and repaints it.
    void move(const QRect& pixels);
    // Asks for a repaint.
    void invalidate() override;
    // Paints now: clear, draw, present.
    void paint();

    // The child window: a sunken edge around the GL view.
    QWidget* widget() const { return frame_; }
    platform::GlWindowSurface& surface() { return surface_; }
    glview::ViewContext* view() const { return view_; }

  private:
    QFrame* frame_; // owned by the parent
    platform::GlWindowSurface surface_;
    const MaterialEdit& edit_;
    std::function<void()> restore_;
    glview::ViewContext* view_ = nullptr;
};

} // namespace editor
