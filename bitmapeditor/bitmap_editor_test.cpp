#include "bitmapeditor/bitmap_editor.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <vector>

#include "bitmapeditor/commands.h"
#include "bitmapeditor/fake_window.h"
#include "platform/test_files.h"

namespace bmpedit {
namespace {

namespace fs = std::filesystem;

std::string temp_path(const std::string& name) {
    const fs::path dir = fs::path(testing::TempDir()) / "taviron_editor_test";
    fs::create_directories(dir);
    return (dir / name).string();
}

// A raw Taviron file of w x h pixels, pixel (x, y) = (x, y, x + y, 200).
std::string write_taviron(const std::string& name, int w, int h) {
    test_support::Bytes bytes = {'T', 'a', 'v', 'i', 'r', 'o', 'n', 0};
    for (int v : {w, h, 0, 0, 0, 0})
        test_support::put_le32(bytes, std::uint32_t(v));
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            for (int c : {x, y, x + y, 200})
                bytes.push_back(static_cast<unsigned char>(c));
    const std::string path = temp_path(name);
    test_support::write_file(path, bytes);
    return path;
}

// A 2 x 2 24-bit BMP: bottom row red, top row blue.
std::string write_bmp(const std::string& name) {
    test_support::Bytes bytes = {'B', 'M'};
    const int data = 2 * 8; // rows of 6 bytes padded to 8
    test_support::put_le32(bytes, std::uint32_t(54 + data));
    test_support::put_le32(bytes, std::uint32_t(0));
    test_support::put_le32(bytes, std::uint32_t(54));
    for (int v : {40, 2, 2})
        test_support::put_le32(bytes, std::uint32_t(v));
    bytes.insert(bytes.end(), {1, 0, 24, 0});
    for (int v : {0, data, 2835, 2835, 0, 0})
        test_support::put_le32(bytes, std::uint32_t(v));
    for (int i = 0; i < 2; ++i)
        bytes.insert(bytes.end(), {0, 0, 255});
    bytes.insert(bytes.end(), {0, 0});
    for (int i = 0; i < 2; ++i)
        bytes.insert(bytes.end(), {255, 0, 0});
    bytes.insert(bytes.end(), {0, 0});
    const std::string path = temp_path(name);
    test_support::write_file(path, bytes);
    return path;
}

std::string write_text(const std::string& name, const std::string& text) {
    const std::string path = temp_path(name);
    std::ofstream(path, std::ios::binary) << text;
    return path;
}

std::vector<unsigned char> pixels_of(const Taviron& t) {
    return {t.pixels, t.pixels + static_cast<std::size_t>(t.get_width()) * t.get_height() * 4};
}

std::uint32_t pixel(const BitmapEditor& editor, int x, int y) {
    return editor.bitmap()->get_pixel(x, y);
}

constexpr std::uint32_t rgba(int r, int g, int b, int a) {
    return static_cast<std::uint32_t>(r) | static_cast<std::uint32_t>(g) << 8 |
           static_cast<std::uint32_t>(b) << 16 | static_cast<std::uint32_t>(a) << 24;
}

class EditorTest : public testing::Test {
  protected:
    FakeWindow window;
    BitmapEditor editor{window};

    void start(int cx = 300, int cy = 200) {
        editor.on_create();
        editor.on_size(cx, cy, SizeType::Restored);
        window.invalidations.clear();
    }
    Rect grid() const { return grid_rect(300, 200); }
    void pick_colour(int command, Colour colour) {
        window.colour_answers.push_back(colour);
        editor.on_command(command);
    }
    RecordingPainter paint() {
        RecordingPainter painter;
        editor.on_paint(painter);
        return painter;
    }
};

TEST(CellGrid, VisibleCellsAndClickRule) {
    EXPECT_EQ(visible_cells(300, 200), (CellCount{28, 20}));
    EXPECT_EQ(visible_cells(106, 66), (CellCount{0, 0}));
    EXPECT_EQ(visible_cells(30, 10), (CellCount{-10, -7})); // truncation toward zero
    EXPECT_EQ(cell_rect(0, 0), (Rect{10, 30, 18, 38}));
    EXPECT_EQ(cell_rect(2, 1), (Rect{24, 37, 32, 45})); // outlines shared with the neighbours
    EXPECT_EQ(pixel_at(12, 31, {0, 0}), (PixelPos{0, 0}));
    EXPECT_EQ(pixel_at(5, 35, {0, 0}), (PixelPos{0, 0}));
    EXPECT_EQ(pixel_at(2, 35, {0, 0}), (PixelPos{-1, 0}));
    EXPECT_EQ(pixel_at(17, 36, {4, 9}), (PixelPos{5, 9}));
    EXPECT_EQ(pixel_at(10, 24, {0, 0}), (PixelPos{0, 0}));
    EXPECT_EQ(pixel_at(10, 23, {0, 3}), (PixelPos{0, 2}));
}

TEST_F(EditorTest, SizePlacesChildrenAndSetsScrollBars) {
    editor.on_create();
    editor.on_size(300, 200, SizeType::Restored);
    EXPECT_EQ(editor.visible(), (CellCount{28, 20}));
    EXPECT_EQ(editor.shown(), (CellCount{28, 20}));
    EXPECT_TRUE(window.invalidated(grid_rect(300, 200), false));
    EXPECT_EQ(grid_rect(300, 200), (Rect{9, 29, 283, 183}));
    EXPECT_EQ(window.places[Child::VerticalBar], (Rect{284, 0, 300, 184}));
    EXPECT_EQ(window.places[Child::HorizontalBar], (Rect{0, 184, 284, 200}));
    EXPECT_EQ(window.places[Child::SizeGrip], (Rect{284, 184, 300, 200}));
    EXPECT_EQ(window.places[Child::Button201], (Rect{220, 40, 280, 70}));
    EXPECT_EQ(window.places[Child::Button202], (Rect{220, 80, 280, 110}));
    EXPECT_EQ(window.places[Child::Button203], (Rect{220, 160, 280, 190}));
    EXPECT_EQ(window.scroll[ScrollBar::Horizontal], (ScrollSettings{0, 32, 29, 0}));
    EXPECT_EQ(window.scroll[ScrollBar::Vertical], (ScrollSettings{0, 32, 21, 0}));

    window.enables.clear();
    editor.on_size(800, 600, SizeType::Maximised);
    editor.on_size(0, 0, SizeType::Minimised);
    editor.on_size(544, 352, SizeType::Restored);
    const std::vector<std::pair<Child, bool>> expected = {{Child::SizeGrip, false}, {Child::SizeGrip, true}};
    EXPECT_EQ(window.enables, expected);
    EXPECT_EQ(editor.shown(), (CellCount{32, 32}));
}

TEST_F(EditorTest, StartUpPaintsBlackCellsAndStatusLine) {
    start(544, 352);
    const RecordingPainter painter = paint();
    ASSERT_EQ(painter.rectangles.size(), 32u * 32u);
    for (const DrawnRect& r : painter.rectangles)
        EXPECT_EQ(r.colour, rgb(0, 0, 0));
    EXPECT_EQ(painter.rectangles.front().area, cell_rect(0, 0));
    EXPECT_EQ(painter.rectangles.back().area, cell_rect(31, 31));
    ASSERT_EQ(painter.texts.size(), 1u);
    EXPECT_EQ(std::get<0>(painter.texts[0]), 10);
    EXPECT_EQ(std::get<1>(painter.texts[0]), 10);
    EXPECT_EQ(std::get<2>(painter.texts[0]), "Bitmapa: 32\xD7"
                                             "32, zobr od 0,0 velikost 32\xD7"
                                             "32; Rezim: Barva");
}

TEST_F(EditorTest, SmallWindowShowsFewerCellsOrNone) {
    start();
    EXPECT_EQ(std::get<2>(paint().texts[0]), "Bitmapa: 32\xD7"
                                             "32, zobr od 0,0 velikost 28\xD7"
                                             "20; Rezim: Barva");
    editor.on_size(60, 40, SizeType::Restored);
    const RecordingPainter painter = paint();
    EXPECT_TRUE(painter.rectangles.empty());
    EXPECT_EQ(std::get<2>(painter.texts[0]), "Bitmapa: 32\xD7"
                                             "32, zobr od 0,0 velikost -5\xD7"
                                             "-2; Rezim: Barva");
    // A page smaller than one position leaves nothing to scroll: the arrows keep the view at 0.
    editor.on_scroll(ScrollBar::Horizontal, SB_LINEDOWN, 0);
    EXPECT_EQ(editor.view().x, 0);
}

TEST_F(EditorTest, ClickRulePaintsTheAddressedPixelOnly) {
    start();
    pick_colour(IDC_LEFT_COLOUR, rgb(10, 20, 30));
    editor.on_mouse(12, 31, true, false);
    EXPECT_EQ(pixel(editor, 0, 0), rgba(10, 20, 30, 0));

    pick_colour(IDC_LEFT_COLOUR, rgb(40, 50, 60));
    editor.on_mouse(5, 35, true, false); // left of the grid: still column 0
    EXPECT_EQ(pixel(editor, 0, 0), rgba(40, 50, 60, 0));

    const auto before = pixels_of(*editor.bitmap());
    editor.on_mouse(2, 35, true, true); // column -1: outside the bitmap
    editor.on_mouse(65535, 65535, true, true);
    EXPECT_EQ(pixels_of(*editor.bitmap()), before);

    // Beyond the shown cells but inside the bitmap still paints.
    editor.on_size(150, 200, SizeType::Restored); // 7 visible columns
    editor.on_mouse(10 + 7 * 10 + 1, 30 + 7 * 3 + 1, false, true);
    EXPECT_EQ(pixel(editor, 10, 3), rgba(255, 255, 255, 0));
}

TEST_F(EditorTest, ClickFollowsTheScrolledView) {
    start(200, 200); // 14 x 20 visible
    editor.on_scroll(ScrollBar::Horizontal, SB_THUMBTRACK, 5);
    editor.on_scroll(ScrollBar::Vertical, SB_THUMBTRACK, 3);
    editor.on_mouse(12, 31, false, true);
    EXPECT_EQ(pixel(editor, 5, 3), rgba(255, 255, 255, 0));
    editor.on_mouse(2, 35, false, true); // one column left of the view
    EXPECT_EQ(pixel(editor, 4, 3), rgba(255, 255, 255, 0));
    EXPECT_EQ(pixel(editor, 3, 3), rgba(0, 0, 0, 0));
}

TEST_F(EditorTest, BothButtonsAndEveryMoveRedrawTheGrid) {
    start();
    editor.on_mouse(12, 31, true, true); // right is applied after left
    EXPECT_EQ(pixel(editor, 0, 0), rgba(255, 255, 255, 0));
    window.invalidations.clear();
    editor.on_mouse(100, 100, false, false);
    EXPECT_EQ(window.invalidations, (std::vector<Invalidation>{{grid(), false, false}}));
}

TEST_F(EditorTest, ColourModeKeepsAlphaAndAlphaModeKeepsColour) {
    start();
    // Give pixel (1, 1) alpha 77 through alpha mode.
    pick_colour(IDC_PAINT_ALPHA, rgb(77, 77, 77));
    EXPECT_EQ(editor.paint_alpha(), 77);
    editor.on_command(IDM_MODE);
    ASSERT_EQ(editor.mode(), Mode::Alpha);
    editor.on_mouse(19, 38, true, false);
    EXPECT_EQ(pixel(editor, 1, 1), rgba(0, 0, 0, 77));

    editor.on_command(IDM_MODE);
    pick_colour(IDC_LEFT_COLOUR, rgb(1, 2, 3));
    editor.on_mouse(19, 38, true, false);
    EXPECT_EQ(pixel(editor, 1, 1), rgba(1, 2, 3, 77));
    editor.on_mouse(19, 38, false, true);
    EXPECT_EQ(pixel(editor, 1, 1), rgba(255, 255, 255, 77));

    // Alpha mode: the left button changes alpha only, the right one nothing.
    editor.on_command(IDM_MODE);
    pick_colour(IDC_PAINT_ALPHA, rgb(200, 200, 200));
    editor.on_mouse(19, 38, false, true);
    EXPECT_EQ(pixel(editor, 1, 1), rgba(255, 255, 255, 77));
    editor.on_mouse(19, 38, true, false);
    EXPECT_EQ(pixel(editor, 1, 1), rgba(255, 255, 255, 200));
}

TEST_F(EditorTest, AlphaModePaintsGreysAndOutsideColours) {
    start(200, 200); // 14 visible columns
    editor.bitmap()->set_pixel(20, 0, 9, 9, 9, 128);
    editor.on_scroll(ScrollBar::Horizontal, SB_THUMBTRACK, 20);
    RecordingPainter colour = paint();
    ASSERT_EQ(colour.rectangles.size(), 14u * 20u);
    EXPECT_EQ(colour.rectangles[0].colour, rgb(9, 9, 9));
    EXPECT_EQ(colour.rectangles[12].colour, rgb(0, 0, 0)); // column 32: outside, black
    editor.on_command(IDM_MODE);
    RecordingPainter alpha = paint();
    EXPECT_EQ(alpha.rectangles[0].colour, rgb(128, 128, 128));
    EXPECT_EQ(alpha.rectangles[1].colour, rgb(0, 0, 0));
    EXPECT_EQ(alpha.rectangles[12].colour, rgb(255, 255, 255)); // outside, white
    EXPECT_NE(std::get<2>(alpha.texts[0])
                  .find("zobr od 20,0 velikost 14\xD7"
                        "20; Rezim: Alpha kanal"),
              std::string::npos);
}

TEST_F(EditorTest, ButtonsShowActiveAndInactiveLooks) {
    start();
    pick_colour(IDC_LEFT_COLOUR, rgb(1, 2, 3));
    RecordingPainter left;
    editor.on_draw_button(IDC_LEFT_COLOUR, left);
    ASSERT_EQ(left.fills.size(), 1u);
    EXPECT_EQ(left.fills[0].area, (Rect{0, 0, 60, 30}));
    EXPECT_EQ(left.fills[0].colour, rgb(1, 2, 3));
    ASSERT_EQ(left.dotted.size(), 1u);
    EXPECT_EQ(left.dotted[0].area, (Rect{4, 4, 54, 24}));
    EXPECT_EQ(left.dotted[0].colour, rgb(255, 255, 255));
    RecordingPainter alpha;
    editor.on_draw_button(IDC_PAINT_ALPHA, alpha);
    EXPECT_EQ(alpha.fills[0].colour, 0xC0C0C0u);
    EXPECT_TRUE(alpha.dotted.empty());

    editor.on_command(IDM_MODE);
    pick_colour(IDC_PAINT_ALPHA, rgb(30, 60, 90));
    RecordingPainter right, alpha2, other;
    editor.on_draw_button(IDC_RIGHT_COLOUR, right);
    editor.on_draw_button(IDC_PAINT_ALPHA, alpha2);
    editor.on_draw_button(204, other);
    EXPECT_EQ(right.fills[0].colour, 0xC0C0C0u);
    EXPECT_TRUE(right.dotted.empty());
    EXPECT_EQ(alpha2.fills[0].colour, rgb(60, 60, 60));
    EXPECT_EQ(alpha2.dotted.size(), 1u);
    EXPECT_TRUE(other.fills.empty() && other.dotted.empty());
}

TEST_F(EditorTest, CommandsRedrawTheirAreas) {
    start();
    const Rect g = grid();
    const Invalidation grid_erased{g, true, false};
    const Invalidation grid_kept{g, false, false};
    struct Case {
        int id;
        std::vector<Invalidation> expected;
    };
    const Case cases[] = {
        {IDM_NEW, {grid_erased}},
        {IDM_LOAD, {grid_erased}}, // cancelled dialogs still redraw
        {IDM_IMPORT, {grid_erased}},
        {IDM_SAVE, {}},
        {IDM_SAVE_COMPRESSED, {}},
        {IDM_MODE, {{{9, 0, g.right, g.bottom}, true, false}, {status_strip(), true, false}}},
        {IDM_MODE, {{{9, 0, g.right, g.bottom}, true, false}, {status_strip(), true, false}}},
        {IDM_SIZE32, {{{}, true, true}}},
        {IDC_LEFT_COLOUR, {grid_kept}},
        {IDC_RIGHT_COLOUR, {grid_kept}},
        {IDC_PAINT_ALPHA, {grid_kept}},
        {104, {}},
        {-1, {}},
    };
    for (const Case& c : cases) {
        window.invalidations.clear();
        editor.on_command(c.id);
        EXPECT_EQ(window.invalidations, c.expected) << "command " << c.id;
    }
    EXPECT_TRUE(window.boxes.empty());
}

TEST_F(EditorTest, NewReplacesTheBitmapWithA32By32Black) {
    start();
    editor.open_file(write_taviron("new.Taviron", 64, 48));
    window.invalidations.clear();
    editor.on_command(IDM_NEW);
    ASSERT_NE(editor.bitmap(), nullptr);
    EXPECT_EQ(editor.bitmap()->get_width(), 32);
    EXPECT_EQ(editor.bitmap()->get_height(), 32);
    EXPECT_EQ(pixels_of(*editor.bitmap()), std::vector<unsigned char>(32 * 32 * 4, 0));
    EXPECT_TRUE(window.invalidated(status_strip(), true)); // the size on the status line changed
}

TEST_F(EditorTest, SizeCommandResizesTo32By32) {
    start();
    editor.bitmap()->resize(64, 48);
    editor.on_command(IDM_SIZE32);
    EXPECT_EQ(editor.bitmap()->get_width(), 32);
    EXPECT_EQ(editor.bitmap()->get_height(), 32);
    EXPECT_NE(editor.status_text().find("Bitmapa: 32\xD7"
                                        "32"),
              std::string::npos);
}

TEST_F(EditorTest, ButtonColourDialogsKeepTheCustomColours) {
    start();
    window.custom_change_index = 3;
    window.custom_change_value = rgb(7, 8, 9);
    editor.on_command(IDC_RIGHT_COLOUR); // cancelled
    EXPECT_EQ(editor.right_colour(), rgb(255, 255, 255));
    ASSERT_EQ(window.colour_requests.size(), 1u);
    EXPECT_EQ(window.colour_requests[0].preselected, rgb(255, 255, 255));
    EXPECT_EQ(window.colour_requests[0].custom, (std::array<Colour, 16>{}));
    EXPECT_EQ(editor.custom_colours()[3], rgb(7, 8, 9));

    window.custom_change_index = 16;
    pick_colour(IDC_LEFT_COLOUR, rgb(100, 0, 50));
    EXPECT_EQ(editor.left_colour(), rgb(100, 0, 50));
    EXPECT_EQ(window.colour_requests[1].preselected, rgb(0, 0, 0));
    EXPECT_EQ(window.colour_requests[1].custom[3], rgb(7, 8, 9));
}

TEST_F(EditorTest, AlphaDialogAveragesTheChosenColourWithItsOwnGreys) {
    start();
    window.custom_change_index = 0;
    window.custom_change_value = rgb(1, 1, 1);
    pick_colour(IDC_PAINT_ALPHA, rgb(30, 60, 90));
    EXPECT_EQ(editor.paint_alpha(), 60);
    ASSERT_EQ(window.colour_requests.size(), 1u);
    EXPECT_EQ(window.colour_requests[0].preselected, rgb(0, 0, 0));
    for (int i = 0; i < 16; ++i)
        EXPECT_EQ(window.colour_requests[0].custom[static_cast<std::size_t>(i)], rgb(16 * i, 16 * i, 16 * i));
    EXPECT_EQ(editor.custom_colours(), (std::array<Colour, 16>{})); // the greys are not the program's

    pick_colour(IDC_PAINT_ALPHA, rgb(255, 255, 254));
    EXPECT_EQ(editor.paint_alpha(), 254);
    EXPECT_EQ(window.colour_requests[1].preselected, rgb(60, 60, 60));
    editor.on_command(IDC_PAINT_ALPHA); // cancel keeps it
    EXPECT_EQ(editor.paint_alpha(), 254);
}

TEST_F(EditorTest, ScrollingToFiveShowsColumnFive) {
    start(200, 200); // 14 x 20 visible of 32 x 32
    editor.bitmap()->set_pixel(5, 0, 50, 0, 0, 255);
    editor.on_scroll(ScrollBar::Horizontal, SB_THUMBTRACK, 5);
    EXPECT_EQ(editor.view(), (PixelPos{5, 0}));
    EXPECT_TRUE(window.invalidated(grid_rect(200, 200), false));
    EXPECT_EQ(window.scroll[ScrollBar::Horizontal], (ScrollSettings{0, 32, 15, 5}));
    // Positions reach up to width - visible columns: 32 - 15 + 1 = 18.
    EXPECT_EQ(std::get<2>(paint().texts[0]), "Bitmapa: 32\xD7"
                                             "32, zobr od 5,0 velikost 14\xD7"
                                             "20; Rezim: Barva");
    EXPECT_EQ(paint().rectangles[0].colour, rgb(50, 0, 0));
    window.invalidations.clear();
    editor.on_scroll(ScrollBar::Horizontal, SB_ENDSCROLL, 0);
    EXPECT_EQ(window.invalidations, (std::vector<Invalidation>{{status_strip(), true, false}}));
    // Scrolling ignores bars other than its own: the vertical one moves view y only.
    editor.on_scroll(ScrollBar::Vertical, SB_THUMBPOSITION, 7);
    EXPECT_EQ(editor.view(), (PixelPos{5, 7}));
}

TEST_F(EditorTest, ArrowsScrollByACellAndPagesByAPageOfCells) {
    start(200, 200); // 14 x 20 visible: horizontal 0..18, vertical 0..12
    editor.on_scroll(ScrollBar::Horizontal, SB_LINEDOWN, 0);
    EXPECT_EQ(editor.view().x, 1);
    editor.on_scroll(ScrollBar::Horizontal, SB_PAGEDOWN, 0);
    EXPECT_EQ(editor.view().x, 15);
    editor.on_scroll(ScrollBar::Horizontal, SB_PAGEDOWN, 0);
    EXPECT_EQ(editor.view().x, 18);
    EXPECT_EQ(window.scroll[ScrollBar::Horizontal].position, 18);
    editor.on_scroll(ScrollBar::Horizontal, SB_LINEDOWN, 0);
    EXPECT_EQ(editor.view().x, 18);
    editor.on_scroll(ScrollBar::Horizontal, SB_PAGEUP, 0);
    EXPECT_EQ(editor.view().x, 4);
    editor.on_scroll(ScrollBar::Horizontal, SB_PAGEUP, 0);
    EXPECT_EQ(editor.view().x, 0);
    editor.on_scroll(ScrollBar::Horizontal, SB_LINEUP, 0);
    EXPECT_EQ(editor.view().x, 0);
    editor.on_scroll(ScrollBar::Vertical, SB_BOTTOM, 0);
    EXPECT_EQ(editor.view(), (PixelPos{0, 12}));
    editor.on_scroll(ScrollBar::Vertical, SB_TOP, 0);
    EXPECT_EQ(editor.view(), (PixelPos{0, 0}));
    // The whole bitmap shown: nothing to scroll.
    editor.on_size(544, 352, SizeType::Restored);
    editor.on_scroll(ScrollBar::Vertical, SB_PAGEDOWN, 0);
    EXPECT_EQ(editor.view(), (PixelPos{0, 0}));
}

TEST_F(EditorTest, TheViewNeverStartsBeyondWhatTheBitmapAndTheCellsAllow) {
    start(200, 200); // 14 x 20 cells visible
    const std::string big = write_taviron("clamp_big.Taviron", 64, 64);
    const std::string small = write_taviron("clamp_small.Taviron", 16, 16);
    const std::string bmp = write_bmp("clamp.bmp");
    // Load the 64 x 64 bitmap and scroll to its far corner, (64 - 14, 64 - 20).
    const auto at_far_corner = [&] {
        window.file_answers.push_back(big);
        editor.on_command(IDM_LOAD);
        editor.on_scroll(ScrollBar::Horizontal, SB_BOTTOM, 0);
        editor.on_scroll(ScrollBar::Vertical, SB_BOTTOM, 0);
        return editor.view() == PixelPos{50, 44};
    };
    ASSERT_TRUE(at_far_corner());
    editor.on_command(IDM_NEW);
    EXPECT_EQ(editor.view(), (PixelPos{18, 12})); // 32 - 14, 32 - 20
    EXPECT_NE(editor.status_text().find("zobr od 18,12 velikost 14\xD7"
                                        "20"),
              std::string::npos);
    paint();
    EXPECT_EQ(window.scroll[ScrollBar::Horizontal], (ScrollSettings{0, 32, 15, 18}));
    EXPECT_EQ(window.scroll[ScrollBar::Vertical], (ScrollSettings{0, 32, 21, 12}));

    ASSERT_TRUE(at_far_corner());
    editor.on_command(IDM_SIZE32);
    EXPECT_EQ(editor.view(), (PixelPos{18, 12}));
    ASSERT_TRUE(at_far_corner());
    window.file_answers.push_back(small);
    editor.on_command(IDM_LOAD);
    EXPECT_EQ(editor.view(), (PixelPos{2, 0})); // 16 - 14 columns; 16 rows fit in 20
    ASSERT_TRUE(at_far_corner());
    window.file_answers.push_back(bmp);
    editor.on_command(IDM_IMPORT);
    EXPECT_EQ(editor.view(), (PixelPos{0, 0}));
    ASSERT_TRUE(at_far_corner());
    editor.open_file(small);
    EXPECT_EQ(editor.view(), (PixelPos{2, 0}));

    // A larger window shows more cells, so the view may have to move back.
    ASSERT_TRUE(at_far_corner());
    editor.on_size(400, 300, SizeType::Restored); // 42 x 34 cells
    EXPECT_EQ(editor.view(), (PixelPos{22, 30}));
    editor.on_size(1000, 700, SizeType::Restored); // all of it
    EXPECT_EQ(editor.view(), (PixelPos{0, 0}));
}

TEST_F(EditorTest, LoadShowsTheFileAndRedrawsTheStatusLine) {
    start();
    const std::string path = write_taviron("big.Taviron", 64, 64);
    window.file_answers.push_back(path);
    editor.on_command(IDM_LOAD);
    ASSERT_EQ(window.file_requests.size(), 1u);
    const FileRequest& request = window.file_requests[0];
    EXPECT_FALSE(request.save);
    EXPECT_TRUE(request.must_exist);
    EXPECT_EQ(request.default_extension, "Taviron");
    ASSERT_EQ(request.filters.size(), 1u);
    EXPECT_EQ(request.filters[0].description, "Taviron file (*.Taviron;*Tav)");
    EXPECT_EQ(request.filters[0].patterns, "*.Taviron;*.Tav");
    EXPECT_EQ(editor.bitmap()->get_width(), 64);
    EXPECT_EQ(pixel(editor, 3, 5), rgba(3, 5, 8, 200));
    EXPECT_TRUE(window.invalidated(grid(), true));
    EXPECT_TRUE(window.invalidated(status_strip(), true));
    EXPECT_NE(editor.status_text().find("Bitmapa: 64\xD7"
                                        "64"),
              std::string::npos);
    EXPECT_TRUE(window.boxes.empty());
    // Painting a cell changes nothing on the status line, so it is not redrawn.
    window.invalidations.clear();
    editor.on_mouse(12, 31, true, false);
    EXPECT_FALSE(window.invalidated(status_strip(), true));
}

TEST_F(EditorTest, FailedLoadReportsAndKeepsTheBitmap) {
    start();
    editor.on_mouse(12, 31, false, true);
    const auto before = pixels_of(*editor.bitmap());
    const std::string bad = write_text("bad.Taviron", "TavironX" + std::string(40, '\0'));
    window.file_answers.push_back(bad);
    editor.on_command(IDM_LOAD);
    ASSERT_EQ(window.boxes.size(), 1u);
    EXPECT_EQ(window.boxes[0].caption, "App");
    EXPECT_EQ(window.boxes[0].style, platform::BoxStyle::icon_stop);
    EXPECT_NE(window.boxes[0].text.find(bad), std::string::npos);
    EXPECT_NE(window.boxes[0].text.find("not a Taviron file"), std::string::npos);
    EXPECT_EQ(editor.bitmap()->get_width(), 32);
    EXPECT_EQ(pixels_of(*editor.bitmap()), before);

    const std::string missing = temp_path("no such file.Taviron");
    window.file_answers.push_back(missing);
    editor.on_command(IDM_LOAD);
    ASSERT_EQ(window.boxes.size(), 2u);
    EXPECT_NE(window.boxes[1].text.find(missing), std::string::npos);
    EXPECT_EQ(pixels_of(*editor.bitmap()), before);
}

TEST_F(EditorTest, ImportReadsBmpAndReportsFailures) {
    start();
    window.file_answers.push_back(write_bmp("two.bmp"));
    editor.on_command(IDM_IMPORT);
    ASSERT_EQ(window.file_requests.size(), 1u);
    EXPECT_EQ(window.file_requests[0].filters[0].description, "BMP file (*.bmp)");
    EXPECT_EQ(window.file_requests[0].filters[0].patterns, "*.bmp");
    EXPECT_EQ(window.file_requests[0].default_extension, "bmp");
    EXPECT_TRUE(window.file_requests[0].must_exist);
    ASSERT_EQ(editor.bitmap()->get_width(), 2);
    EXPECT_EQ(pixel(editor, 0, 0), rgba(0, 0, 255, 255));
    EXPECT_EQ(pixel(editor, 1, 1), rgba(255, 0, 0, 255));
    EXPECT_TRUE(window.invalidated(status_strip(), true));
    EXPECT_TRUE(window.boxes.empty());

    const auto before = pixels_of(*editor.bitmap());
    const std::string text = write_text("not.bmp", "this is no picture at all, only some text to read");
    window.file_answers.push_back(text);
    editor.on_command(IDM_IMPORT);
    ASSERT_EQ(window.boxes.size(), 1u);
    EXPECT_EQ(window.boxes[0].caption, "App");
    EXPECT_EQ(window.boxes[0].style, platform::BoxStyle::icon_stop);
    EXPECT_NE(window.boxes[0].text.find(text), std::string::npos);
    EXPECT_EQ(pixels_of(*editor.bitmap()), before);
}

TEST_F(EditorTest, SaveWritesRawAndCompressedFiles) {
    start();
    editor.on_mouse(12 + 7, 31, false, true);
    const std::string raw = temp_path("raw.Taviron");
    const std::string packed = temp_path("packed.Tav");
    window.file_answers.push_back(raw);
    editor.on_command(IDM_SAVE);
    window.file_answers.push_back(packed);
    editor.on_command(IDM_SAVE_COMPRESSED);
    EXPECT_TRUE(window.boxes.empty());
    ASSERT_EQ(window.file_requests.size(), 2u);
    for (const FileRequest& r : window.file_requests) {
        EXPECT_TRUE(r.save);
        EXPECT_FALSE(r.must_exist);
        EXPECT_EQ(r.default_extension, "Taviron");
        EXPECT_EQ(r.filters[0].description, "Taviron soubor (*.Taviron;*.Tav)");
        EXPECT_EQ(r.filters[0].patterns, "*.Taviron;*.Tav");
    }
    EXPECT_EQ(fs::file_size(raw), 32u + 32u * 32u * 4u);
    EXPECT_LT(fs::file_size(packed), fs::file_size(raw));
    for (const std::string& path : {raw, packed}) {
        Taviron back;
        ASSERT_EQ(back.load(path.c_str()), TAV_OK) << path;
        EXPECT_EQ(pixels_of(back), pixels_of(*editor.bitmap())) << path;
    }
    // Cancelled: nothing asked of the bitmap, nothing shown.
    editor.on_command(IDM_SAVE);
    EXPECT_TRUE(window.boxes.empty());
}

TEST_F(EditorTest, FailedSaveReports) {
    start();
    const std::string path = temp_path("no such folder/out.Taviron");
    window.file_answers.push_back(path);
    editor.on_command(IDM_SAVE_COMPRESSED);
    ASSERT_EQ(window.boxes.size(), 1u);
    EXPECT_EQ(window.boxes[0].caption, "App");
    EXPECT_EQ(window.boxes[0].style, platform::BoxStyle::icon_stop);
    EXPECT_NE(window.boxes[0].text.find(path), std::string::npos);
    EXPECT_FALSE(fs::exists(path));
}

TEST_F(EditorTest, OpenFileLoadsTaviron_OrImportsBmp) {
    start();
    editor.open_file(write_bmp("start.BMP"));
    EXPECT_EQ(editor.bitmap()->get_width(), 2);
    editor.open_file(write_taviron("start.Tav", 40, 3));
    EXPECT_EQ(editor.bitmap()->get_width(), 40);
    EXPECT_EQ(editor.bitmap()->get_height(), 3);
    EXPECT_TRUE(window.invalidated(status_strip(), true));
    EXPECT_TRUE(window.boxes.empty());
    editor.open_file(temp_path("absent.Taviron"));
    EXPECT_EQ(window.boxes.size(), 1u);
    EXPECT_EQ(editor.bitmap()->get_width(), 40);
}

TEST_F(EditorTest, DestroyDropsTheBitmapAndQuitsWithZero) {
    start();
    editor.on_destroy();
    EXPECT_EQ(editor.bitmap(), nullptr);
    EXPECT_EQ(window.quits, std::vector<int>{0});
    RecordingPainter painter;
    editor.on_paint(painter); // a late paint draws no cells
    EXPECT_TRUE(painter.rectangles.empty());
}

// A 3 x 1 PNG: red, green, blue with alpha 255, 128, 0.
std::string write_png(const std::string& name) {
    Taviron picture(3, 1);
    const std::uint8_t bytes[12] = {255, 0, 0, 255, 0, 255, 0, 128, 0, 0, 255, 0};
    std::copy(bytes, bytes + 12, picture.pixels);
    const std::string path = temp_path(name);
    EXPECT_EQ(picture.save_png(path.c_str()), TAV_OK);
    return path;
}

TEST_F(EditorTest, ImportOffersPngAfterBmpAndReadsItByItsName) {
    start();
    window.file_answers.push_back(write_png("three.png"));
    editor.on_command(IDM_IMPORT);
    ASSERT_EQ(window.file_requests.size(), 1u);
    ASSERT_EQ(window.file_requests[0].filters.size(), 2u);
    EXPECT_EQ(window.file_requests[0].filters[1].description, "PNG (*.png)");
    EXPECT_EQ(window.file_requests[0].filters[1].patterns, "*.png");
    ASSERT_EQ(editor.bitmap()->get_width(), 3);
    EXPECT_EQ(pixel(editor, 1, 0), rgba(0, 255, 0, 128));
    EXPECT_TRUE(window.boxes.empty());

    // A BMP named .png goes to the PNG reader, which refuses it and names the file.
    const auto before = pixels_of(*editor.bitmap());
    const std::string fake = temp_path("fake.PNG");
    fs::copy_file(write_bmp("real.bmp"), fake, fs::copy_options::overwrite_existing);
    window.file_answers.push_back(fake);
    editor.on_command(IDM_IMPORT);
    ASSERT_EQ(window.boxes.size(), 1u);
    EXPECT_EQ(window.boxes[0].text, "Cannot import " + fake + ":\nit is not a PNG file.");
    EXPECT_EQ(pixels_of(*editor.bitmap()), before);
}

TEST_F(EditorTest, OpenFileImportsPng) {
    start();
    editor.open_file(write_png("start.Png"));
    EXPECT_EQ(editor.bitmap()->get_width(), 3);
    EXPECT_EQ(pixel(editor, 2, 0), rgba(0, 0, 255, 0));
    EXPECT_TRUE(window.invalidated(status_strip(), true));
    EXPECT_TRUE(window.boxes.empty());
}

} // namespace
} // namespace bmpedit
