#pragma once
// What the editor's window procedure needs from its window. The Qt shell implements it on a
// real window; tests implement it with a recording fake.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/box_style.h"
#include "platform/file_progress.h"
#include "platform/file_request.h"

namespace platform {
class GlSurface;
}

namespace editor {

struct ScreenPoint {
    std::int32_t x = 0;
    std::int32_t y = 0;
    bool operator==(const ScreenPoint&) const = default;
};

struct ScreenRect {
    std::int32_t left = 0;
    std::int32_t top = 0;
    std::int32_t right = 0;
    std::int32_t bottom = 0;
};

// File dialogs are asked for and answered in the platform's terms.
using FileDialogRequest = platform::FileDialogRequest;
using FileDialogResult = platform::FileChoice;

// The answers to the question asked before unsaved changes would be discarded.
using SaveChoice = platform::UnsavedAnswer;

class EditorWindow {
  public:
    virtual ~EditorWindow() = default;

    // Schedules a repaint of the whole client area (erasing first).
    virtual void invalidate() = 0;
    // The window's outer rectangle in screen coordinates.
    virtual ScreenRect window_rect() const = 0;
    virtual ScreenPoint pointer_position() const = 0;
    virtual void set_pointer_position(ScreenPoint point) = 0;
    // Shows or hides the pointer while it is over the window.
    virtual void show_pointer(bool show) = 0;
    // Runs the message after the current handler has returned.
    virtual void post_message(std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam) = 0;
    // Runs the message at once and returns its result.
    virtual std::intptr_t send_message(std::uint32_t message, std::uintptr_t wParam,
                                       std::intptr_t lParam) = 0;
    // Starts a periodic timer that arrives as WM_TIMER with `id`.
    virtual void set_timer(std::uint32_t id, std::uint32_t periodMs) = 0;
    // Ticks or unticks the menu item of command `id`.
    virtual void check_menu_item(int id, bool checked) = 0;
    // Shows a modal file dialog; empty when the user cancelled.
    virtual std::optional<FileDialogResult> file_dialog(const FileDialogRequest& request) = 0;
    // Shows a modal message box owned by the window; returns the button pressed.
    virtual platform::BoxAnswer message_box(const std::string& text, const std::string& caption,
                                            platform::BoxStyle style) = 0;
    // Runs the editor's dialog of template `templateId` modally with `parameter` and returns the
    // value the dialog ended with (-1 for an unknown template).
    virtual std::intptr_t dialog_box(int templateId, std::intptr_t parameter) = 0;
    // Destroys the window (its WM_DESTROY follows).
    virtual void destroy_window() = 0;
    // Ends the message loop with `exitCode` once the current handler has returned.
    virtual void post_quit(int exitCode) = 0;
    // The drawing surface of the view filling the client area; null when there is none.
    virtual platform::GlSurface* gl_surface() = 0;
    // Asks the question `text` with Save, Discard and Cancel; a window that cannot ask cancels,
    // so that nothing is thrown away unasked.
    virtual SaveChoice ask_save_changes(const std::string& /*text*/, const std::string& /*caption*/) {
        return SaveChoice::Cancel;
    }
    // Runs `job`, which reads or writes a file without touching the window, and returns its
    // status. The window may run it on another thread, showing `text` and the bytes done of
    // `progress` when it takes longer than about half a second; the document does not change
    // meanwhile. By default it runs at once.
    virtual std::int32_t run_file_job(const std::string& /*text*/, platform::FileProgress& /*progress*/,
                                      const std::function<std::int32_t()>& job) {
        return job();
    }
};

} // namespace editor
