#include "bitmapeditor/client_area.h"

#include <QMouseEvent>
#include <QPainter>
#include <cstdint>

#include "bitmapeditor/bitmap_editor.h"
#include "bitmapeditor/qt_painter.h"

namespace bmpedit {

ClientArea::ClientArea(BitmapEditor& editor, QWidget* parent) : QWidget(parent), editor_(editor) {
    setObjectName("client");
    // Moves are reported with and without buttons held, as every mouse move reaches the editor.
    setMouseTracking(true);
    // The background is the colour of three-dimensional faces.
    setBackgroundRole(QPalette::Button);
    setAutoFillBackground(true);
}

void ClientArea::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    QtPainter target(painter);
    editor_.on_paint(target);
}

void ClientArea::resizeEvent(QResizeEvent*) {
    report_size();
}

void ClientArea::report_size() {
    const QWidget* top = window();
    const SizeType type = top->isMaximized()   ? SizeType::Maximised
                          : top->isMinimized() ? SizeType::Minimised
                                               : SizeType::Restored;
    editor_.on_size(width(), height(), type);
}

void ClientArea::send_mouse(const QPoint& at, Qt::MouseButtons buttons) {
    // Only positions over the client area itself count: the children get their own input.
    if (!rect().contains(at) || childAt(at)) return;
    editor_.on_mouse(static_cast<std::uint16_t>(at.x()), static_cast<std::uint16_t>(at.y()),
                     buttons.testFlag(Qt::LeftButton), buttons.testFlag(Qt::RightButton));
}

void ClientArea::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton || event->button() == Qt::RightButton)
        send_mouse(event->position().toPoint(), event->buttons());
}

void ClientArea::mouseMoveEvent(QMouseEvent* event) {
    send_mouse(event->position().toPoint(), event->buttons());
}

// The second press of a double click paints nothing by itself; moving with the button held does.
void ClientArea::mouseDoubleClickEvent(QMouseEvent*) {}

// Releasing the last button ends the painting stroke, wherever the pointer is.
void ClientArea::mouseReleaseEvent(QMouseEvent* event) {
    if (event->buttons() == Qt::NoButton) editor_.on_mouse_up();
}

} // namespace bmpedit
