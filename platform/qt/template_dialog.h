#pragma once
// A modal dialog built from a DialogTemplate, driven by a dialog procedure the way the old
// platform drove one: an init call with the caller's parameter, a command per button press, edit
// change and list selection, a draw call per owner-drawn button, a scroll call per trackbar move.
// Every control is a child widget whose object name is its identifier.
#include <QDialog>

#include <cstdint>
#include <string>
#include <vector>

#include "platform/qt/dialog_template.h"
#include "platform/qt/dialog_units.h"

class QPainter;
class QSlider;

namespace platform {

class TemplateDialog;

class DialogProcedure {
  public:
    virtual ~DialogProcedure() = default;
    // Once, before the dialog is shown; ending the dialog here means it is never shown.
    virtual bool init_dialog(TemplateDialog& dialog, std::intptr_t parameter) = 0;
    // A control's notification: BN_CLICKED for buttons (IDOK for Enter, IDCANCEL for Escape and
    // the close box), EN_UPDATE for edits whose text changed, LBN_SELCHANGE for list boxes.
    virtual bool command(TemplateDialog& dialog, int id, int notification) = 0;
    // Paints the owner-drawn button `id`; the painter is clipped to the button.
    virtual void draw_item(TemplateDialog& dialog, int id, QPainter& painter, const QRect& rect);
    // The trackbar `id` moved.
    virtual void hscroll(TemplateDialog& dialog, int id);
    // The dialog is being destroyed; its controls still exist.
    virtual void destroy_dialog(TemplateDialog& dialog);
};

class TemplateDialog final : public QDialog {
  public:
    // Builds the dialog and its controls; `procedure` must outlive the dialog.
    TemplateDialog(const DialogTemplate& dialogTemplate, QWidget* owner, DialogProcedure& procedure);
    ~TemplateDialog() override;

    // Runs init, then the modal loop unless init ended the dialog; returns the end value.
    std::intptr_t run(std::intptr_t parameter);
    // Runs init and shows the dialog without waiting (tests drive it from outside).
    void start(std::intptr_t parameter);
    // Ends the dialog with `result`: it closes and run returns `result`.
    void end_dialog(std::intptr_t result);
    bool ended() const { return ended_; }
    std::intptr_t end_result() const { return result_; }

    const DialogBaseUnits& base_units() const { return base_; }
    QRect map_dialog_rect(const QRect& units) const;

    // The control with this identifier (the first one for repeated identifiers); null when none.
    QWidget* item(int id) const;
    // Text of an edit, static or button; empty for anything else. Cut to `maxLength` characters.
    std::string item_text(int id, std::size_t maxLength = 255) const;
    // Sets the text of an edit, static or button; nothing for an unknown identifier.
    void set_item_text(int id, const std::string& text);
    // The control's text as a decimal number: optional spaces, a '-' only when `isSigned`, digits,
    // optional spaces. Anything else, or a number that does not fit, gives 0 and *translated false.
    std::uint32_t get_item_int(int id, bool* translated, bool isSigned) const;
    void set_item_int(int id, std::uint32_t value, bool isSigned);
    // Limits how many characters the edit `id` takes.
    void limit_text(int id, int maxLength);
    // Repaints control `id`.
    void invalidate_item(int id);

    // Trackbar operations.
    void set_trackbar_range(int id, int minimum, int maximum);
    void set_trackbar_tick_frequency(int id, int frequency);
    void set_trackbar_position(int id, int position);
    int trackbar_position(int id) const;

    // List box operations.
    void add_list_string(int id, const std::string& text);
    int list_selection(int id) const; // -1 when nothing is selected

  protected:
    void accept() override;
    void reject() override;

  private:
    QWidget* make_control(const DialogControl& control);
    QSlider* slider(int id) const;
    void notify(int id, int notification);

    DialogProcedure& procedure_;
    DialogBaseUnits base_;
    std::vector<QWidget*> controls_;
    bool ended_ = false;
    std::intptr_t result_ = 0;
};

// Parses a dialog field the way get_item_int does; exposed for tests and plain callers.
std::uint32_t parse_item_int(const std::string& text, bool* translated, bool isSigned);

} // namespace platform
