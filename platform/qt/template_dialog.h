#pragma once
// A modal dialog built from a DialogTemplate, driven by a dialog procedure the way the old
// platform drove one: an init call with the caller's parameter, a command per button press, edit
// change and list selection, a scroll call per trackbar move, and the colour of each owner-drawn
// button when it is painted. The procedure sees the dialog as a DialogWindow.
// Every control is a child widget whose object name is its identifier.
#include <QDialog>

#include <cstdint>
#include <string>
#include <vector>

#include "platform/dialog_window.h"
#include "platform/qt/dialog_template.h"
#include "platform/qt/dialog_units.h"

class QPainter;
class QSlider;

namespace platform {

class TemplateDialog final : public QDialog, public DialogWindow {
  public:
    // Builds the dialog and its controls; `procedure` must outlive the dialog.
    TemplateDialog(const DialogTemplate& dialogTemplate, QWidget* owner, DialogProcedure& procedure);
    ~TemplateDialog() override;

    // Runs init, then the modal loop unless init ended the dialog; returns the end value.
    std::intptr_t run(std::intptr_t parameter);
    // Runs init and shows the dialog without waiting (tests drive it from outside).
    void start(std::intptr_t parameter);
    // Ends the dialog with `result`: it closes and run returns `result`.
    void end_dialog(std::intptr_t result) override;
    bool ended() const { return ended_; }
    std::intptr_t end_result() const { return result_; }

    const DialogBaseUnits& base_units() const { return base_; }
    QRect map_dialog_rect(const QRect& units) const;

    // The control with this identifier (the first one for repeated identifiers); null when none.
    QWidget* item(int id) const;
    // Text of an edit, static or button; empty for anything else. Cut to `maxLength` characters.
    std::string item_text(int id, std::size_t maxLength = 255) const override;
    // Sets the text of an edit, static or button; nothing for an unknown identifier.
    void set_item_text(int id, const std::string& text) override;
    // The control's text as a decimal number: optional spaces, a '-' only when `isSigned`, digits,
    // optional spaces. Anything else, or a number that does not fit, gives 0 and *translated false.
    std::uint32_t get_item_int(int id, bool* translated, bool isSigned) const override;
    void set_item_int(int id, std::uint32_t value, bool isSigned) override;
    // Limits how many characters the edit `id` takes.
    void limit_text(int id, int maxLength) override;
    // Repaints control `id`.
    void invalidate_item(int id) override;

    // Trackbar operations.
    void set_trackbar_range(int id, int minimum, int maximum) override;
    void set_trackbar_tick_frequency(int id, int frequency) override;
    void set_trackbar_position(int id, int position) override;
    int trackbar_position(int id) const override;

    // List box operations.
    void add_list_string(int id, const std::string& text) override;
    int list_selection(int id) const override; // -1 when nothing is selected

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

} // namespace platform
