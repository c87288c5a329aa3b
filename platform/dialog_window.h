#pragma once
// What a dialog procedure sees of its dialog, free of any window system: its controls by
// identifier and the way to end it. The Qt template dialog implements it; tests implement it with
// a recording fake, so dialog logic runs without a display.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

namespace platform {

class DialogWindow {
  public:
    virtual ~DialogWindow() = default;

    // Text of an edit, static or button; empty for anything else. Cut to `maxLength` characters.
    virtual std::string item_text(int id, std::size_t maxLength = 255) const = 0;
    // Sets the text of an edit, static or button; nothing for an unknown identifier.
    virtual void set_item_text(int id, const std::string& text) = 0;
    // The control's text as parse_item_int reads it.
    virtual std::uint32_t get_item_int(int id, bool* translated, bool isSigned) const = 0;
    // Sets the control's text to the decimal number.
    virtual void set_item_int(int id, std::uint32_t value, bool isSigned) = 0;
    // Limits how many characters the edit `id` takes.
    virtual void limit_text(int id, int maxLength) = 0;
    // Repaints control `id`.
    virtual void invalidate_item(int id) = 0;

    // Trackbar operations.
    virtual void set_trackbar_range(int id, int minimum, int maximum) = 0;
    virtual void set_trackbar_tick_frequency(int id, int frequency) = 0;
    virtual void set_trackbar_position(int id, int position) = 0;
    virtual int trackbar_position(int id) const = 0;

    // List box operations.
    virtual void add_list_string(int id, const std::string& text) = 0;
    virtual int list_selection(int id) const = 0; // -1 when nothing is selected

    // Ends the dialog with `result`: it closes and whoever ran it gets `result`.
    virtual void end_dialog(std::intptr_t result) = 0;
};

// What the dialog tells its procedure, as the old platform's dialog procedure was told it.
class DialogProcedure {
  public:
    virtual ~DialogProcedure() = default;
    // Once, before the dialog is shown; ending the dialog here means it is never shown.
    virtual bool init_dialog(DialogWindow& dialog, std::intptr_t parameter) = 0;
    // A control's notification: BN_CLICKED for buttons (IDOK for Enter, IDCANCEL for Escape and
    // the close box), EN_UPDATE for edits whose text changed, LBN_SELCHANGE for list boxes.
    virtual bool command(DialogWindow& dialog, int id, int notification) = 0;
    // The trackbar `id` moved.
    virtual void hscroll(DialogWindow& dialog, int id);
    // The dialog is being destroyed; its controls still exist.
    virtual void destroy_dialog(DialogWindow& dialog);
    // The colour (0x00BBGGRR) that fills the owner-drawn button `id`, asked each time it is
    // painted; nothing leaves it unpainted.
    virtual std::optional<std::uint32_t> owner_draw_colour(int id) const;
};

// Identifiers of the default and the cancel button, and of controls without one of their own.
enum : int { IDOK = 1, IDCANCEL = 2, IDC_STATIC = -1 };

// Notification codes passed with a control's command.
enum : int {
    BN_CLICKED = 0,
    LBN_SELCHANGE = 1,
    EN_UPDATE = 0x400,
};

// Reads a dialog field as a decimal number: optional spaces, a '-' only when `isSigned`, digits,
// optional spaces. Anything else, or a number that does not fit, gives 0 and *translated false.
std::uint32_t parse_item_int(const std::string& text, bool* translated, bool isSigned);

} // namespace platform
