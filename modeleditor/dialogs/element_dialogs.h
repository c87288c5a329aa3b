#pragma once
// The element dialogs: Vertex, Face and Dummy add an element to the model; Face properties
// changes the picked face. Errors and warnings are boxes owned by the dialog with the editor's
// title as caption; the dialog stays open after an error. They know the dialog only as a
// DialogWindow and run without a display.
#include "modeleditor/dialogs/dialog_context.h"
#include "platform/dialog_window.h"

namespace editor {

// Shows the 3D cursor; "Insert" adds a vertex there or at the typed place and ends with 1.
class VertexDialogProc final : public platform::DialogProcedure {
  public:
    explicit VertexDialogProc(DialogContext& context) : context_(context) {}
    bool init_dialog(platform::DialogWindow& dialog, std::intptr_t parameter) override;
    bool command(platform::DialogWindow& dialog, int id, int notification) override;

  private:
    DialogContext& context_;
};

// Vertex numbers, material and texture coordinates; "Insert" refuses repeated vertices first,
// then vertices that do not exist, otherwise adds the face and ends with 1.
class FaceDialogProc final : public platform::DialogProcedure {
  public:
    explicit FaceDialogProc(DialogContext& context) : context_(context) {}
    bool init_dialog(platform::DialogWindow& dialog, std::intptr_t parameter) override;
    bool command(platform::DialogWindow& dialog, int id, int notification) override;

  private:
    DialogContext& context_;
};

// Proposes the cursor and the next dummy id (which grows on every opening); "Insert" warns
// about an id in use, adds the dummy anyway and ends with 1.
class DummyDialogProc final : public platform::DialogProcedure {
  public:
    explicit DummyDialogProc(DialogContext& context) : context_(context) {}
    bool init_dialog(platform::DialogWindow& dialog, std::intptr_t parameter) override;
    bool command(platform::DialogWindow& dialog, int id, int notification) override;

  private:
    DialogContext& context_;
};

// Edits the picked face (ends at once with 2 when no face is picked). "Set" and "Pouzit = test"
// validate the vertex numbers as the Face dialog does, write the face and repaint the main
// window; "Set" then ends with 1.
class FacePropertiesProc final : public platform::DialogProcedure {
  public:
    explicit FacePropertiesProc(DialogContext& context) : context_(context) {}
    bool init_dialog(platform::DialogWindow& dialog, std::intptr_t parameter) override;
    bool command(platform::DialogWindow& dialog, int id, int notification) override;

  private:
    bool apply(platform::DialogWindow& dialog);

    DialogContext& context_;
    std::int32_t face_ = 0;
};

// The box texts of the element dialogs.
inline constexpr char kSameVertexError[] = "Error: The same vertex specified more than one time.";
inline constexpr char kMissingVertexError[] = "Error: Non existing vertex given.";

} // namespace editor
