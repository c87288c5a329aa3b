#pragma once
// What the bitmap editor needs from its window and from the surface it paints on.
// The Qt shell implements both; the tests use recording fakes.
#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "bitmapeditor/geometry.h"
#include "platform/box_style.h"
#include "platform/file_progress.h"
#include "platform/file_request.h"

namespace bmpedit {

// The child windows of the main window.
enum class Child { VerticalBar, HorizontalBar, SizeGrip, Button201, Button202, Button203 };

enum class ScrollBar { Horizontal, Vertical };

// Settings of a scroll bar in the old platform's terms: positions min..max, a page of `page` positions,
// the thumb at `position`. A bar whose page is larger than max - min shows disabled.
struct ScrollSettings {
    int min = 0;
    int max = 0;
    int page = 0;
    int position = 0;
    friend bool operator==(const ScrollSettings&, const ScrollSettings&) = default;
};

// A file dialog as the commands ask for it.
using FileRequest = platform::FileDialogRequest;

// The answers to the question asked before unsaved changes would be discarded.
using SaveChoice = platform::UnsavedAnswer;

class EditorWindow {
  public:
    virtual ~EditorWindow() = default;
    // Marks `area` for redraw; `erase` asks for the background to be filled first.
    virtual void invalidate(const Rect& area, bool erase) = 0;
    // Marks the whole client area for redraw.
    virtual void invalidate_client(bool erase) = 0;
    virtual void move_child(Child child, const Rect& place) = 0;
    virtual void enable_child(Child child, bool enabled) = 0;
    virtual void set_scroll_bar(ScrollBar bar, const ScrollSettings& settings) = 0;
    // Shows a modal file dialog; the chosen path, or nothing when cancelled.
    virtual std::optional<std::string> ask_file(const FileRequest& request) = 0;
    // Shows the modal colour chooser with `colour` preselected and `custom` as its custom colours,
    // which it may change. On OK stores the choice in `colour`; on cancel leaves it.
    virtual void choose_colour(Colour& colour, std::array<Colour, 16>& custom) = 0;
    virtual void message_box(const std::string& text, const std::string& caption,
                             platform::BoxStyle style) = 0;
    // Ends the program's event loop with this exit code once the current handler returns.
    virtual void quit(int code) = 0;
    // Asks the question `text` with Save, Discard and Cancel; a window that cannot ask cancels,
    // so that nothing is thrown away unasked.
    virtual SaveChoice ask_save_changes(const std::string& /*text*/, const std::string& /*caption*/) {
        return SaveChoice::Cancel;
    }
    // Runs `job`, which reads or writes a file without touching the window, and returns its
    // status. The window may run it on another thread, showing `text` and the bytes done of
    // `progress` when it takes longer than about half a second; the bitmap does not change
    // meanwhile. By default it runs at once.
    virtual std::int32_t run_file_job(const std::string& /*text*/, platform::FileProgress& /*progress*/,
                                      const std::function<std::int32_t()>& job) {
        return job();
    }
};

// The 2D calls the editor paints with. Texts are 8-bit, one byte per character (0xD7 is the sign x).
class EditorPainter {
  public:
    virtual ~EditorPainter() = default;
    // Fills `area` with `fill` inside a 1-pixel black outline on its border.
    virtual void rectangle(const Rect& area, Colour fill) = 0;
    virtual void fill_rect(const Rect& area, Colour fill) = 0;
    // A 1-pixel dotted outline on the border of `area`, inside left unchanged.
    virtual void dotted_frame(const Rect& area, Colour colour) = 0;
    // Text with its top-left corner at (x, y), on a transparent background.
    virtual void text_out(int x, int y, const std::string& text) = 0;
};

} // namespace bmpedit
