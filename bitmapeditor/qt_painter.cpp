#include "bitmapeditor/qt_painter.h"

#include <QColor>
#include <QFontMetrics>
#include <QPainter>
#include <QString>

namespace bmpedit {

namespace {

QColor qcolor(Colour c) {
    return QColor(red_of(c), green_of(c), blue_of(c));
}

QRect qrect(const Rect& r) {
    return QRect(r.left, r.top, r.right - r.left, r.bottom - r.top);
}

} // namespace

void QtPainter::rectangle(const Rect& area, Colour fill) {
    painter_.fillRect(qrect(area), Qt::black);
    painter_.fillRect(qrect({area.left + 1, area.top + 1, area.right - 1, area.bottom - 1}), qcolor(fill));
}

void QtPainter::fill_rect(const Rect& area, Colour fill) {
    painter_.fillRect(qrect(area), qcolor(fill));
}

void QtPainter::dotted_frame(const Rect& area, Colour colour) {
    // Every other pixel along the border, counted from the top-left corner.
    const QColor pen = qcolor(colour);
    int step = 0;
    auto dot = [&](int x, int y) {
        if (step++ % 2 == 0) painter_.fillRect(x, y, 1, 1, pen);
    };
    const int right = area.right - 1;
    const int bottom = area.bottom - 1;
    for (int x = area.left; x < right; ++x)
        dot(x, area.top);
    for (int y = area.top; y < bottom; ++y)
        dot(right, y);
    for (int x = right; x > area.left; --x)
        dot(x, bottom);
    for (int y = bottom; y > area.top; --y)
        dot(area.left, y);
}

void QtPainter::text_out(int x, int y, const std::string& text) {
    // The editor's texts are 8-bit; Latin-1 keeps each byte as one character (0xD7 is the sign x).
    painter_.setPen(Qt::black);
    painter_.drawText(x, y + QFontMetrics(painter_.font()).ascent(), QString::fromLatin1(text.c_str()));
}

} // namespace bmpedit
