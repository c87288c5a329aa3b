#include "modeleditor/dialogs/editor_dialogs.h"

#include "modeleditor/dialogs/dialog_templates.h"
#include "modeleditor/dialogs/element_dialogs.h"
#include "modeleditor/dialogs/material_dialogs.h"
#include "modeleditor/dialogs/model_preview.h"
#include "modeleditor/dialogs/preview_window.h"
#include "platform/qt/colour_dialog.h"
#include "platform/qt/message_box.h"
#include "platform/qt/template_dialog.h"

#include <memory>

namespace editor {

DialogValues& ProgramDialogValues() {
    static DialogValues values;
    return values;
}

platform::BoxAnswer QtDialogServices::message_box(platform::DialogWindow& owner, const std::string& text,
                                                  const std::string& caption, platform::BoxStyle style) {
    return platform::message_box(dynamic_cast<QWidget*>(&owner), text, caption, style);
}

bool QtDialogServices::choose_colour(platform::DialogWindow& owner, std::uint32_t& colour,
                                     std::array<std::uint32_t, 16>& custom) {
    return platform::choose_colour(dynamic_cast<QWidget*>(&owner), colour, custom);
}

std::unique_ptr<MaterialPreview> QtDialogServices::open_material_preview(platform::DialogWindow& dialog,
                                                                         const DialogArea& area,
                                                                         const MaterialEdit& edit,
                                                                         std::function<void()> restore) {
    auto* shown = dynamic_cast<platform::TemplateDialog*>(&dialog);
    if (!shown) return nullptr;
    auto preview = std::make_unique<PreviewWindowProc>(shown, edit, std::move(restore));
    preview->move(shown->map_dialog_rect(QRect(area.x, area.y, area.width, area.height)));
    return preview;
}

std::intptr_t RunEditorDialog(int templateId, std::intptr_t parameter, DialogContext& context,
                              QWidget* owner) {
    const platform::DialogTemplate* dialogTemplate = EditorDialogTemplate(templateId);
    if (!dialogTemplate) return -1;
    std::unique_ptr<platform::DialogProcedure> procedure;
    switch (templateId) {
    case IDD_VERTEX:
        procedure = std::make_unique<VertexDialogProc>(context);
        break;
    case IDD_FACE:
        procedure = std::make_unique<FaceDialogProc>(context);
        break;
    case IDD_DUMMY:
        procedure = std::make_unique<DummyDialogProc>(context);
        break;
    case IDD_FACE_PROPERTIES:
        procedure = std::make_unique<FacePropertiesProc>(context);
        break;
    case IDD_MATERIAL:
        procedure = std::make_unique<MaterialDialogProc>(context);
        break;
    case IDD_MATERIAL_BROWSER:
        procedure = std::make_unique<MaterialBrowserProc>(context);
        break;
    case IDD_MODEL_PREVIEW:
        procedure = std::make_unique<ModelPreviewProc>(context);
        break;
    default:
        return -1;
    }
    platform::TemplateDialog dialog(*dialogTemplate, owner, *procedure);
    return dialog.run(parameter);
}

} // namespace editor
