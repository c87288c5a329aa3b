#pragma once
// The bitmap editor's main window procedure without any window system: one handler per message it
// handles. It owns the bitmap being edited and reaches its window only through EditorWindow.
#include <array>
#include <cstdint>
#include <memory>
#include <string>

#include "bitmap/status_text.h"
#include "bitmap/taviron.h"
#include "bitmapeditor/bitmap_history.h"
#include "bitmapeditor/cell_grid.h"
#include "bitmapeditor/editor_window.h"

namespace bmpedit {

enum class Mode { Colour = 0, Alpha = 1 };

enum class SizeType { Restored, Minimised, Maximised };

class BitmapEditor {
  public:
    explicit BitmapEditor(EditorWindow& window);
    ~BitmapEditor();
    BitmapEditor(const BitmapEditor&) = delete;
    BitmapEditor& operator=(const BitmapEditor&) = delete;

    // Window creation: makes the 32 x 32 bitmap (all zero).
    void on_create();
    // Window destruction: drops the bitmap and ends the program with code 0.
    void on_destroy();
    // New client size: visible cells, redraw of the grid, children placed, scroll bars updated.
    void on_size(int client_width, int client_height, SizeType type);
    // Paints the cells and the status line, then updates the scroll bars.
    void on_paint(EditorPainter& painter);
    // Paints colour button 201, 202 or 203 on a 60 x 30 surface; other ids are ignored.
    void on_draw_button(int id, EditorPainter& painter) const;
    // Mouse move or button press at client position (x, y) with the buttons held now.
    void on_mouse(std::uint16_t x, std::uint16_t y, bool left_down, bool right_down);
    // All mouse buttons released: the painting stroke ends.
    void on_mouse_up();
    // A menu command or a colour button; unknown ids do nothing.
    void on_command(int id);
    // A request of a scroll bar (an SB_ code); `position` is the thumb position for thumb requests.
    void on_scroll(ScrollBar bar, int code, int position);

    // Opens `path` as the Load command does after its dialog (a name ending in ".bmp" or ".png",
    // in any case, is imported).
    void open_file(const std::string& path);
    // A file dropped on the window: asks first about unsaved changes, then opens it as open_file
    // does, as one step that can be undone.
    void open_dropped_file(const std::string& path);

    // Before the bitmap would be discarded: true at once when it has no unsaved changes, else the
    // Save / Discard / Cancel question; Save goes on only when the save succeeded.
    bool confirm_discard();
    BitmapHistory& history() { return history_; }

    // The status line as it is painted, 8-bit text.
    std::string status_text() const;

    // The bitmap being edited; null before creation and after destruction.
    const Taviron* bitmap() const { return bitmap_.get(); }
    Taviron* bitmap() { return bitmap_.get(); }
    Mode mode() const { return mode_; }
    PixelPos view() const { return view_; }
    CellCount visible() const { return visible_; }
    CellCount shown() const;
    Colour left_colour() const { return left_colour_; }
    Colour right_colour() const { return right_colour_; }
    int paint_alpha() const { return paint_alpha_; }
    const std::array<Colour, 16>& custom_colours() const { return custom_colours_; }

  private:
    // Imports a ".bmp" or ".png" name, loads any other, and keeps the view within the bitmap.
    void read_file(const std::string& path);
    void load(const std::string& path);
    void import(const std::string& path);
    bool save(bool compressed);
    bool save_to(const std::string& path, bool compressed);
    bool quick_save();
    void undo(bool redo);
    void replace_bitmap(std::unique_ptr<Taviron> fresh, bool new_file, const BitmapFile& file = {});
    void choose_button_colour(Colour& colour);
    void choose_paint_alpha();
    // Shows the stop box that names the file and why `action` failed on it.
    void report_failure(TavironAccess action, const std::string& path, std::int32_t status);
    void update_scroll_bars();
    void refresh_status();
    int max_view(ScrollBar bar) const;
    // Keeps the view's first column and row where the bitmap and the visible cells allow: up to
    // the bitmap's size less the visible cells, 0 when the bitmap fits.
    void clamp_view();

    EditorWindow& window_;
    std::unique_ptr<Taviron> bitmap_;
    Mode mode_ = Mode::Colour;
    PixelPos view_;
    CellCount visible_;
    int client_width_ = 0;
    int client_height_ = 0;
    Colour left_colour_ = rgb(0, 0, 0);
    Colour right_colour_ = rgb(255, 255, 255);
    int paint_alpha_ = 0;
    std::array<Colour, 16> custom_colours_{};
    // The status line as last painted or asked to be repainted; a different text asks again.
    std::string requested_status_;
    BitmapHistory history_;
};

} // namespace bmpedit
