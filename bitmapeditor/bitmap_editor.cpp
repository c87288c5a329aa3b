#include "bitmapeditor/bitmap_editor.h"

#include <algorithm>
#include <cctype>
#include <cstdio>

#include "bitmap/status_text.h"
#include "bitmapeditor/bitmap_file_jobs.h"
#include "bitmapeditor/commands.h"
#include "platform/file_name.h"

namespace bmpedit {

namespace {

constexpr int kNewSide = 32;
constexpr Colour kInactiveButton = 0xC0C0C0;
constexpr Colour kWhite = rgb(255, 255, 255);
constexpr Rect kButtonSurface{0, 0, 60, 30};
constexpr Rect kButtonFrame{4, 4, 54, 24};
const char* const kCaption = "App";

FileRequest load_request() {
    return {false, {{"Taviron file (*.Taviron;*Tav)", "*.Taviron;*.Tav"}}, "Taviron", true};
}

FileRequest import_request() {
    return {false, {{"BMP file (*.bmp)", "*.bmp"}, {"PNG (*.png)", "*.png"}}, "bmp", true};
}

FileRequest save_request() {
    return {true, {{"Taviron soubor (*.Taviron;*.Tav)", "*.Taviron;*.Tav"}}, "Taviron", false};
}

Colour grey(int level) {
    return rgb(level, level, level);
}

} // namespace

BitmapEditor::BitmapEditor(EditorWindow& window) : window_(window) {}

BitmapEditor::~BitmapEditor() = default;

void BitmapEditor::on_create() {
    bitmap_ = std::make_unique<Taviron>(kNewSide, kNewSide);
}

void BitmapEditor::on_destroy() {
    bitmap_.reset();
    window_.quit(0);
}

void BitmapEditor::on_size(int client_width, int client_height, SizeType type) {
    const int cx = client_width;
    const int cy = client_height;
    client_width_ = cx;
    client_height_ = cy;
    visible_ = visible_cells(cx, cy);
    window_.invalidate(grid_rect(cx, cy), false);
    window_.move_child(Child::VerticalBar, {cx - 16, 0, cx, cy - 16});
    window_.move_child(Child::HorizontalBar, {0, cy - 16, cx - 16, cy});
    if (type == SizeType::Maximised) window_.enable_child(Child::SizeGrip, false);
    if (type == SizeType::Restored) window_.enable_child(Child::SizeGrip, true);
    window_.move_child(Child::SizeGrip, {cx - 16, cy - 16, cx, cy});
    window_.move_child(Child::Button201, {cx - 80, 40, cx - 20, 70});
    window_.move_child(Child::Button202, {cx - 80, 80, cx - 20, 110});
    window_.move_child(Child::Button203, {cx - 80, 160, cx - 20, 190});
    clamp_view(); // more cells may fit now
    update_scroll_bars();
    refresh_status();
}

CellCount BitmapEditor::shown() const {
    if (!bitmap_) return {};
    return {std::min(bitmap_->get_width(), visible_.columns), std::min(bitmap_->get_height(), visible_.rows)};
}

std::string BitmapEditor::status_text() const {
    const CellCount cells = shown();
    const int width = bitmap_ ? bitmap_->get_width() : 0;
    const int height = bitmap_ ? bitmap_->get_height() : 0;
    char text[160];
    std::snprintf(text, sizeof text, "Bitmapa: %d\xD7%d, zobr od %d,%d velikost %d\xD7%d; Rezim: %s", width,
                  height, view_.x, view_.y, cells.columns, cells.rows,
                  mode_ == Mode::Colour ? "Barva" : "Alpha kanal");
    return text;
}

void BitmapEditor::on_paint(EditorPainter& painter) {
    if (bitmap_) {
        const CellCount cells = shown();
        for (int j = 0; j < cells.rows; ++j) {
            for (int i = 0; i < cells.columns; ++i) {
                const int x = view_.x + i;
                const int y = view_.y + j;
                Colour colour;
                if (mode_ == Mode::Colour) {
                    colour = bitmap_->get_rgb(x, y); // black outside the bitmap
                } else {
                    const int alpha = bitmap_->get_alpha(x, y);
                    colour = alpha < 0 ? kWhite : grey(alpha);
                }
                painter.rectangle(cell_rect(i, j), colour);
            }
        }
    }
    painter.text_out(10, 10, status_text());
    update_scroll_bars();
}

void BitmapEditor::on_draw_button(int id, EditorPainter& painter) const {
    Colour colour;
    bool active;
    switch (id) {
    case IDC_LEFT_COLOUR:
        colour = left_colour_;
        active = mode_ == Mode::Colour;
        break;
    case IDC_RIGHT_COLOUR:
        colour = right_colour_;
        active = mode_ == Mode::Colour;
        break;
    case IDC_PAINT_ALPHA:
        colour = grey(paint_alpha_);
        active = mode_ == Mode::Alpha;
        break;
    default:
        return;
    }
    painter.fill_rect(kButtonSurface, active ? colour : kInactiveButton);
    if (active) painter.dotted_frame(kButtonFrame, kWhite);
}

void BitmapEditor::on_mouse(std::uint16_t x, std::uint16_t y, bool left_down, bool right_down) {
    // A move with no button held ends a stroke whose release was not seen.
    if (!left_down && !right_down) history_.end_stroke(bitmap_.get());
    if (bitmap_) {
        const PixelPos p = pixel_at(x, y, view_);
        // Positions outside the bitmap are refused by the bitmap itself.
        if (mode_ == Mode::Colour) {
            const int alpha = bitmap_->get_alpha(p.x, p.y);
            if (left_down || right_down) history_.touch(*bitmap_, p.x, p.y);
            if (left_down)
                bitmap_->set_pixel(p.x, p.y, red_of(left_colour_), green_of(left_colour_),
                                   blue_of(left_colour_), alpha);
            if (right_down)
                bitmap_->set_pixel(p.x, p.y, red_of(right_colour_), green_of(right_colour_),
                                   blue_of(right_colour_), alpha);
        } else if (left_down) {
            history_.touch(*bitmap_, p.x, p.y);
            const Colour colour = bitmap_->get_rgb(p.x, p.y);
            bitmap_->set_pixel(p.x, p.y, red_of(colour), green_of(colour), blue_of(colour), paint_alpha_);
        }
    }
    window_.invalidate(grid_rect(client_width_, client_height_), false);
}

void BitmapEditor::on_command(int id) {
    const Rect grid = grid_rect(client_width_, client_height_);
    history_.end_stroke(bitmap_.get());
    switch (id) {
    case IDM_NEW:
        if (!confirm_discard()) break;
        replace_bitmap(std::make_unique<Taviron>(kNewSide, kNewSide), true);
        window_.invalidate(grid, true);
        break;
    case IDM_LOAD:
        if (!confirm_discard()) break;
        if (auto path = window_.ask_file(load_request())) load(*path);
        window_.invalidate(grid, true);
        break;
    case IDM_IMPORT:
        if (!confirm_discard()) break;
        if (auto path = window_.ask_file(import_request())) import(*path);
        window_.invalidate(grid, true);
        break;
    case IDM_UNDO:
    case IDM_REDO:
        undo(id == IDM_REDO);
        break;
    case IDM_QUICK_SAVE:
        quick_save();
        break;
    case IDM_SAVE:
        save(false);
        break;
    case IDM_SAVE_COMPRESSED:
        save(true);
        break;
    case IDM_MODE:
        mode_ = mode_ == Mode::Colour ? Mode::Alpha : Mode::Colour;
        window_.invalidate({9, 0, grid.right, grid.bottom}, true);
        break;
    case IDM_SIZE32:
        // Resized as a copy, so that the bitmap before stays whole for undo.
        if (auto resized = bitmap_ ? copy_bitmap(*bitmap_) : nullptr;
            resized && resized->resize(kNewSide, kNewSide) == TAV_OK)
            replace_bitmap(std::move(resized), false);
        window_.invalidate_client(true);
        break;
    case IDC_LEFT_COLOUR:
        choose_button_colour(left_colour_);
        window_.invalidate(grid, false);
        break;
    case IDC_RIGHT_COLOUR:
        choose_button_colour(right_colour_);
        window_.invalidate(grid, false);
        break;
    case IDC_PAINT_ALPHA:
        choose_paint_alpha();
        window_.invalidate(grid, false);
        break;
    default:
        return;
    }
    // A new, loaded, imported or resized bitmap may be smaller than the view's first cell.
    if (id == IDM_NEW || id == IDM_LOAD || id == IDM_IMPORT || id == IDM_SIZE32) clamp_view();
    refresh_status();
}

void BitmapEditor::open_file(const std::string& path) {
    read_file(path);
    // The file given at start is where the session begins: nothing to undo, nothing unsaved.
    history_.reset(history_.file().path == path ? history_.file() : BitmapFile{});
    window_.invalidate(grid_rect(client_width_, client_height_), true);
    refresh_status();
}

void BitmapEditor::open_dropped_file(const std::string& path) {
    if (!confirm_discard()) return;
    read_file(path);
    window_.invalidate(grid_rect(client_width_, client_height_), true);
    refresh_status();
}

void BitmapEditor::read_file(const std::string& path) {
    if (platform::has_extension(path, ".bmp") || platform::has_extension(path, ".png"))
        import(path);
    else
        load(path);
    clamp_view();
}

// Load and Import read into a record of their own, which then replaces the bitmap as one step;
// a failure leaves the bitmap as it was.
void BitmapEditor::load(const std::string& path) {
    if (!bitmap_) return;
    auto fresh = std::make_unique<Taviron>();
    platform::FileProgress progress;
    const std::int32_t status = window_.run_file_job(
        "Loading " + path, progress, [&] { return load_taviron_file(*fresh, path, progress); });
    if (status != TAV_OK) {
        report_failure(TavironAccess::Load, path, status);
        return;
    }
    const bool compressed = fresh->storage == 1;
    replace_bitmap(std::move(fresh), true, {path, compressed});
}

void BitmapEditor::import(const std::string& path) {
    if (!bitmap_) return;
    // The name decides the reader, whichever filter of the dialog found the file.
    const bool png = platform::has_extension(path, ".png");
    auto fresh = empty_like(*bitmap_);
    platform::FileProgress progress;
    const std::int32_t status = window_.run_file_job("Importing " + path, progress, [&] {
        return png ? import_png_file(*fresh, path, progress) : import_bmp_file(*fresh, path, progress);
    });
    if (status != TAV_OK)
        report_failure(png ? TavironAccess::ImportPng : TavironAccess::Import, path, status);
    else
        replace_bitmap(std::move(fresh), false);
}

bool BitmapEditor::save(bool compressed) {
    auto path = window_.ask_file(save_request());
    if (!path || !bitmap_) return false;
    return save_to(*path, compressed);
}

bool BitmapEditor::save_to(const std::string& path, bool compressed) {
    // A stroke under way ends its step here, so that the saved state is a step of its own.
    history_.end_stroke(bitmap_.get());
    platform::FileProgress progress;
    const std::int32_t status = window_.run_file_job(
        "Saving " + path, progress, [&] { return save_taviron_file(*bitmap_, path, compressed, progress); });
    if (status != TAV_OK) {
        report_failure(TavironAccess::Save, path, status);
        return false;
    }
    history_.saved_as({path, compressed});
    return true;
}

void BitmapEditor::on_mouse_up() {
    history_.end_stroke(bitmap_.get());
}

void BitmapEditor::replace_bitmap(std::unique_ptr<Taviron> fresh, bool new_file, const BitmapFile& file) {
    std::swap(bitmap_, fresh);
    history_.replaced(std::move(fresh), new_file, file);
}

void BitmapEditor::undo(bool redo) {
    if (!(redo ? history_.redo(bitmap_) : history_.undo(bitmap_))) return;
    window_.invalidate_client(true);
    update_scroll_bars();
    refresh_status();
}

bool BitmapEditor::quick_save() {
    if (!bitmap_) return false;
    if (history_.file().path.empty()) return save(false);
    const BitmapFile file = history_.file();
    return save_to(file.path, file.compressed);
}

bool BitmapEditor::confirm_discard() {
    history_.end_stroke(bitmap_.get());
    if (!history_.changed()) return true;
    const SaveChoice answer =
        window_.ask_save_changes(platform::unsaved_changes_text(history_.file().path), kCaption);
    return platform::may_discard_after(answer, [this] { return quick_save(); });
}

void BitmapEditor::report_failure(TavironAccess action, const std::string& path, std::int32_t status) {
    const char* verb = action == TavironAccess::Load                                           ? "load"
                       : action == TavironAccess::Import || action == TavironAccess::ImportPng ? "import"
                                                                                               : "save";
    window_.message_box("Cannot " + std::string(verb) + " " + path + ":\n" +
                            taviron_status_text(status, action) + ".",
                        kCaption, platform::BoxStyle::icon_stop);
}

void BitmapEditor::choose_button_colour(Colour& colour) {
    window_.choose_colour(colour, custom_colours_);
}

void BitmapEditor::choose_paint_alpha() {
    // The alpha dialog offers 16 greys of its own and leaves the program's custom colours alone.
    std::array<Colour, 16> greys{};
    for (int i = 0; i < 16; ++i)
        greys[static_cast<std::size_t>(i)] = grey(16 * i);
    Colour colour = grey(paint_alpha_);
    window_.choose_colour(colour, greys);
    paint_alpha_ = (red_of(colour) + green_of(colour) + blue_of(colour)) / 3;
}

void BitmapEditor::on_scroll(ScrollBar bar, int code, int position) {
    int& value = bar == ScrollBar::Horizontal ? view_.x : view_.y;
    const int page = std::max(1, bar == ScrollBar::Horizontal ? visible_.columns : visible_.rows);
    const int last = max_view(bar);
    switch (code) {
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION:
        value = position;
        break;
    case SB_LINEUP:
        value = std::clamp(value - 1, 0, last);
        break;
    case SB_LINEDOWN:
        value = std::clamp(value + 1, 0, last);
        break;
    case SB_PAGEUP:
        value = std::clamp(value - page, 0, last);
        break;
    case SB_PAGEDOWN:
        value = std::clamp(value + page, 0, last);
        break;
    case SB_TOP:
        value = 0;
        break;
    case SB_BOTTOM:
        value = last;
        break;
    case SB_ENDSCROLL:
        window_.invalidate(status_strip(), true);
        return;
    default:
        return;
    }
    window_.invalidate(grid_rect(client_width_, client_height_), false);
    update_scroll_bars();
    refresh_status();
}

int BitmapEditor::max_view(ScrollBar bar) const {
    const int range =
        bitmap_ ? (bar == ScrollBar::Horizontal ? bitmap_->get_width() : bitmap_->get_height()) : 0;
    const int page = (bar == ScrollBar::Horizontal ? visible_.columns : visible_.rows) + 1;
    // A page larger than the range leaves only position 0, as a scroll bar does.
    if (page < 1 || page > range) return 0;
    return range - page + 1;
}

void BitmapEditor::clamp_view() {
    view_.x = std::clamp(view_.x, 0, max_view(ScrollBar::Horizontal));
    view_.y = std::clamp(view_.y, 0, max_view(ScrollBar::Vertical));
}

void BitmapEditor::update_scroll_bars() {
    const int width = bitmap_ ? bitmap_->get_width() : 0;
    const int height = bitmap_ ? bitmap_->get_height() : 0;
    window_.set_scroll_bar(ScrollBar::Vertical, {0, height, visible_.rows + 1, view_.y});
    window_.set_scroll_bar(ScrollBar::Horizontal, {0, width, visible_.columns + 1, view_.x});
}

void BitmapEditor::refresh_status() {
    std::string text = status_text();
    if (text == requested_status_) return;
    requested_status_ = std::move(text);
    window_.invalidate(status_strip(), true);
}

} // namespace bmpedit
