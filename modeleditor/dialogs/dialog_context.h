#pragma once
// What the editor's dialog procedures work on: the model, the editor state, the main window,
// the program-wide dialog values, and the services that show message boxes, the colour chooser
// and the material preview (a recording fake in tests, real ones in the program).
#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "model/model.h"
#include "modeleditor/dialogs/dialog_values.h"
#include "modeleditor/editor_state.h"
#include "modeleditor/editor_window.h"
#include "platform/box_style.h"
#include "platform/dialog_window.h"

namespace editor {

// A rectangle of a dialog in dialog units.
struct DialogArea {
    int x = 0, y = 0, width = 0, height = 0;
};

// A live view of the material being edited, shown by the Material dialog and the Material
// browser beside their controls.
class MaterialPreview {
  public:
    virtual ~MaterialPreview() = default;
    // The material changed: shows it anew.
    virtual void invalidate() = 0;
};

class DialogServices {
  public:
    virtual ~DialogServices() = default;
    // A modal box owned by `owner`; returns the button pressed.
    virtual platform::BoxAnswer message_box(platform::DialogWindow& owner, const std::string& text,
                                            const std::string& caption, platform::BoxStyle style) = 0;
    // The colour chooser preselecting `colour` (0x00BBGGRR) with `custom` as its custom colours;
    // true and `colour` changed when the user chose one, `custom` updated either way.
    virtual bool choose_colour(platform::DialogWindow& owner, std::uint32_t& colour,
                               std::array<std::uint32_t, 16>& custom) = 0;
    // Opens a preview of `edit` over `area` of `dialog`; `restore` gives the main window its GL
    // context back after each paint. Null where the dialog cannot show one.
    virtual std::unique_ptr<MaterialPreview> open_material_preview(platform::DialogWindow& dialog,
                                                                   const DialogArea& area,
                                                                   const MaterialEdit& edit,
                                                                   std::function<void()> restore) = 0;
};

// Shows real boxes, the real colour chooser and GL previews in template dialogs.
class QtDialogServices final : public DialogServices {
  public:
    platform::BoxAnswer message_box(platform::DialogWindow& owner, const std::string& text,
                                    const std::string& caption, platform::BoxStyle style) override;
    bool choose_colour(platform::DialogWindow& owner, std::uint32_t& colour,
                       std::array<std::uint32_t, 16>& custom) override;
    std::unique_ptr<MaterialPreview> open_material_preview(platform::DialogWindow& dialog,
                                                           const DialogArea& area, const MaterialEdit& edit,
                                                           std::function<void()> restore) override;
};

struct DialogContext {
    Model* model = nullptr;
    EditorState* state = nullptr;       // the 3D cursor and the pick
    EditorWindow* mainWindow = nullptr; // repainted by "Pouzit = test"
    DialogServices* services = nullptr;
    DialogValues* values = nullptr;
};

} // namespace editor
