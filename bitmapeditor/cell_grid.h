#pragma once
// Where the cells of the enlarged grid lie in the client area, and which pixel a client position addresses.
#include "bitmapeditor/geometry.h"

namespace bmpedit {

inline constexpr int kCellPitch = 7; // cells share their outlines: 8-pixel rectangles every 7 pixels
inline constexpr int kGridLeft = 10; // client position of cell (0, 0)
inline constexpr int kGridTop = 30;

struct CellCount {
    int columns = 0;
    int rows = 0;
    friend bool operator==(const CellCount&, const CellCount&) = default;
};

struct PixelPos {
    int x = 0;
    int y = 0;
    friend bool operator==(const PixelPos&, const PixelPos&) = default;
};

// Cells that fit in a client area of cx x cy: (cx - 100) / 7 by (cy - 60) / 7, truncated toward zero
// (negative for a very small window, which then shows no cells).
CellCount visible_cells(int client_width, int client_height);

// The area redrawn after most changes: the grid with the three colour buttons beside it.
Rect grid_rect(int client_width, int client_height);

// The strip at the top of the client area that holds the status line.
Rect status_strip();

// The 8 x 8 rectangle of cell (column, row), outline included.
Rect cell_rect(int column, int row);

// The bitmap pixel under client position (x, y) when the grid's top-left cell shows pixel `view`.
// Positions up to six pixels left of or above the grid fall on column or row 0 of the view.
PixelPos pixel_at(int x, int y, PixelPos view);

} // namespace bmpedit
