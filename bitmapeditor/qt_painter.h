#pragma once
// EditorPainter on a QPainter: the editor's rectangles, fills, dotted frames and texts, pixel-exact.
#include "bitmapeditor/editor_window.h"

class QPainter;

namespace bmpedit {

class QtPainter : public EditorPainter {
  public:
    explicit QtPainter(QPainter& painter) : painter_(painter) {}

    void rectangle(const Rect& area, Colour fill) override;
    void fill_rect(const Rect& area, Colour fill) override;
    void dotted_frame(const Rect& area, Colour colour) override;
    void text_out(int x, int y, const std::string& text) override;

  private:
    QPainter& painter_;
};

} // namespace bmpedit
