#pragma once
// The material dialogs: the Material dialog creates (parameter -1) or edits a material with a
// live preview; the Material browser lists the materials and returns the one chosen. The previews
// come from the dialog services; where they give none, the dialogs run without.
#include <memory>
#include <optional>

#include "modeleditor/dialogs/dialog_context.h"

namespace editor {

// Opened with -1 it appends a zero material and edits it ("Cancel" removes it again); opened
// with an index it edits that material. "Set" writes colours, shininess and the name (at most
// 11 characters) and ends with 1; "Cancel" ends with 2.
class MaterialDialogProc final : public platform::DialogProcedure {
  public:
    explicit MaterialDialogProc(DialogContext& context) : context_(context) {}
    bool init_dialog(platform::DialogWindow& dialog, std::intptr_t parameter) override;
    bool command(platform::DialogWindow& dialog, int id, int notification) override;
    // The colour swatches (owner-drawn) show their set's colour.
    std::optional<std::uint32_t> owner_draw_colour(int id) const override;
    void hscroll(platform::DialogWindow& dialog, int id) override;
    void destroy_dialog(platform::DialogWindow& dialog) override;

    // The preview while the dialog is open.
    MaterialPreview* preview() const { return preview_.get(); }

  private:
    void end(platform::DialogWindow& dialog, std::intptr_t result);
    void choose_swatch_colour(platform::DialogWindow& dialog, int swatch);

    DialogContext& context_;
    std::unique_ptr<MaterialPreview> preview_;
};

// Warns and ends with -1 when the model has no material. Otherwise lists them; selecting a
// line loads it into the preview; "Cont..." ends with the last selected line (0 when none was
// selected), "Cancel" with -1.
class MaterialBrowserProc final : public platform::DialogProcedure {
  public:
    explicit MaterialBrowserProc(DialogContext& context) : context_(context) {}
    bool init_dialog(platform::DialogWindow& dialog, std::intptr_t parameter) override;
    bool command(platform::DialogWindow& dialog, int id, int notification) override;
    void destroy_dialog(platform::DialogWindow& dialog) override;

    MaterialPreview* preview() const { return preview_.get(); }

  private:
    void end(platform::DialogWindow& dialog, std::intptr_t result);

    DialogContext& context_;
    std::unique_ptr<MaterialPreview> preview_;
};

inline constexpr char kNoMaterialWarning[] = "You will need to add at least one material!";
inline constexpr char kTextureRemoved[] = "Texture removed.";

} // namespace editor
