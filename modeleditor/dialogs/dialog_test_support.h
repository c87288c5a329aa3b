#pragma once
// Test support for the editor's dialogs: a model, editor state, a recording main window and
// recording dialog services, and dialogs opened without waiting so tests can type and click.
#include <QApplication>

#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "modeleditor/dialogs/dialog_context.h"
#include "modeleditor/dialogs/dialog_templates.h"
#include "modeleditor/fake_editor_window.h"
#include "platform/qt/template_dialog.h"

namespace editor::testing {

struct SeenBox {
    const platform::DialogWindow* owner;
    std::string text;
    std::string caption;
    platform::BoxStyle style;
};

class RecordingServices final : public DialogServices {
  public:
    platform::BoxAnswer message_box(platform::DialogWindow& owner, const std::string& text,
                                    const std::string& caption, platform::BoxStyle style) override {
        boxes.push_back({&owner, text, caption, style});
        return platform::BoxAnswer::ok;
    }
    bool choose_colour(platform::DialogWindow&, std::uint32_t& colour,
                       std::array<std::uint32_t, 16>& custom) override {
        offered.push_back(colour);
        custom[0] = 0x00010203; // the user edits a custom colour
        if (!colourAnswer) return false;
        colour = *colourAnswer;
        return true;
    }

    // The real previews, in the real dialogs.
    std::unique_ptr<MaterialPreview> open_material_preview(platform::DialogWindow& dialog,
                                                           const DialogArea& area, const MaterialEdit& edit,
                                                           std::function<void()> restore) override {
        return QtDialogServices().open_material_preview(dialog, area, edit, std::move(restore));
    }

    std::vector<SeenBox> boxes;
    std::vector<std::uint32_t> offered;
    std::optional<std::uint32_t> colourAnswer; // empty: the user cancels
};

template <class Proc> struct OpenDialog {
    std::unique_ptr<Proc> proc;
    std::unique_ptr<platform::TemplateDialog> dialog;
    platform::TemplateDialog& operator*() { return *dialog; }
    platform::TemplateDialog* operator->() { return dialog.get(); }
};

class DialogTest : public ::testing::Test {
  protected:
    DialogTest();
    ~DialogTest() override;

    // Builds the dialog of `templateId` with a procedure of type Proc and runs its init.
    template <class Proc> OpenDialog<Proc> Open(int templateId, std::intptr_t parameter) {
        OpenDialog<Proc> open;
        open.proc = std::make_unique<Proc>(context);
        open.dialog = std::make_unique<platform::TemplateDialog>(*EditorDialogTemplate(templateId), nullptr,
                                                                 *open.proc);
        open.dialog->start(parameter);
        return open;
    }

    // Replaces the text of edit `id` by typing `text` into it.
    static void Type(platform::TemplateDialog& dialog, int id, const std::string& text);
    static void Click(platform::TemplateDialog& dialog, int id);
    static std::string Text(platform::TemplateDialog& dialog, int id) { return dialog.item_text(id); }
    // Dialog units (x, y, width, height) in pixels of `dialog`, converted here rather than by the
    // dialog: x * base width / 4 and y * base height / 8, rounded.
    static QRect Pixels(const platform::TemplateDialog& dialog, int x, int y, int width, int height);

    Model model{};
    EditorState state;
    FakeEditorWindow mainWindow;
    RecordingServices services;
    DialogValues values;
    DialogContext context{&model, &state, &mainWindow, &services, &values};
};

} // namespace editor::testing
