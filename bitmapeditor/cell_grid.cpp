#include "bitmapeditor/cell_grid.h"

namespace bmpedit {

CellCount visible_cells(int client_width, int client_height) {
    return {(client_width - 100) / kCellPitch, (client_height - 60) / kCellPitch};
}

Rect grid_rect(int client_width, int client_height) {
    return {9, 29, client_width - 17, client_height - 17};
}

Rect status_strip() {
    return {0, 0, 1000, 29};
}

Rect cell_rect(int column, int row) {
    const int left = kCellPitch * column + kGridLeft;
    const int top = kCellPitch * row + kGridTop;
    return {left, top, left + 8, top + 8};
}

PixelPos pixel_at(int x, int y, PixelPos view) {
    // Division truncates toward zero, so the six pixels before the grid still count as cell 0.
    return {(x - kGridLeft) / kCellPitch + view.x, (y - kGridTop) / kCellPitch + view.y};
}

} // namespace bmpedit
