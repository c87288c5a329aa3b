#pragma once
// The main window's client area: hands paints, mouse input and size changes to the editor.
#include <QWidget>

namespace bmpedit {

class BitmapEditor;

class ClientArea : public QWidget {
  public:
    ClientArea(BitmapEditor& editor, QWidget* parent);

    // Tells the editor the present size and whether the window is maximised, minimised or neither.
    void report_size();

  protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

  private:
    void send_mouse(const QPoint& at, Qt::MouseButtons buttons);

    BitmapEditor& editor_;
};

} // namespace bmpedit
