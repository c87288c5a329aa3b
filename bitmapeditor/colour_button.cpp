#include "bitmapeditor/colour_button.h"

#include <QPainter>

#include "bitmapeditor/bitmap_editor.h"
#include "bitmapeditor/qt_painter.h"

namespace bmpedit {

ColourButton::ColourButton(int id, const BitmapEditor& editor, QWidget* parent)
    : QAbstractButton(parent), id_(id), editor_(editor) {
    setObjectName(QString::number(id));
}

void ColourButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const int w = width();
    const int h = height();
    // The edge takes the outer pixel; the face is drawn inside it.
    painter.fillRect(0, 0, w, 1, QColor(128, 128, 128));
    painter.fillRect(0, 0, 1, h, QColor(128, 128, 128));
    painter.fillRect(0, h - 1, w, 1, Qt::white);
    painter.fillRect(w - 1, 0, 1, h, Qt::white);
    painter.setClipRect(1, 1, w - 2, h - 2);
    painter.translate(1, 1);
    QtPainter face(painter);
    editor_.on_draw_button(id_, face);
}

} // namespace bmpedit
