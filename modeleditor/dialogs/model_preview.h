#pragma once
// The model preview dialog: the whole current model drawn in a GL view that fills the
// resizable dialog, white behind it, lit from the editor's light position.
#include <QObject>

#include <memory>

#include "glview/view_context.h"
#include "modeleditor/dialogs/dialog_context.h"
#include "platform/qt/gl_window_surface.h"
#include "platform/qt/template_dialog.h"

namespace editor {

class ModelPreviewProc final : public QObject, public platform::DialogProcedure {
  public:
    explicit ModelPreviewProc(DialogContext& context) : context_(context) {}
    ~ModelPreviewProc() override;

    // Makes the view (zNear 1, zFar 64, clear colour white) on a GL child filling the dialog; a
    // dialog that is not a real window ends at once with 2.
    bool init_dialog(platform::DialogWindow& dialog, std::intptr_t parameter) override;
    // "OK" ends with 1, "Cancel" (Escape, close box) with 2.
    bool command(platform::DialogWindow& dialog, int id, int notification) override;
    void destroy_dialog(platform::DialogWindow& dialog) override;

    // Paints now: clear, draw the model, present.
    void paint();
    platform::GlWindowSurface* surface() const { return surface_.get(); }
    glview::ViewContext* view() const { return view_; }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void release();

    DialogContext& context_;
    platform::TemplateDialog* dialog_ = nullptr;
    std::unique_ptr<platform::GlWindowSurface> surface_;
    glview::ViewContext* view_ = nullptr;
};

} // namespace editor
