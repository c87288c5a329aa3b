#pragma once
// What the editor's dialog procedures work on: the model, the editor state, the main window,
// the program-wide dialog values, and the services that show message boxes and the colour
// chooser (a recording fake in tests, real modal boxes in the program).
#include <array>
#include <cstdint>
#include <string>

#include "model/model.h"
#include "modeleditor/dialogs/dialog_values.h"
#include "modeleditor/editor_state.h"
#include "modeleditor/editor_window.h"
#include "platform/box_style.h"
#include "platform/dialog_window.h"

namespace editor {

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
};

// Shows real boxes and the real colour chooser.
class QtDialogServices final : public DialogServices {
  public:
    platform::BoxAnswer message_box(platform::DialogWindow& owner, const std::string& text,
                                    const std::string& caption, platform::BoxStyle style) override;
    bool choose_colour(platform::DialogWindow& owner, std::uint32_t& colour,
                       std::array<std::uint32_t, 16>& custom) override;
};

struct DialogContext {
    Model* model = nullptr;
    EditorState* state = nullptr;       // the 3D cursor and the pick
    EditorWindow* mainWindow = nullptr; // repainted by "Pouzit = test"
    DialogServices* services = nullptr;
    DialogValues* values = nullptr;
};

} // namespace editor
