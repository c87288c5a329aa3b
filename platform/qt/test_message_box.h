#pragma once
// For GUI tests: answering the message box a window is about to show, from a timer, since the
// box runs its own event loop.
#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QString>
#include <QTimer>

namespace platform {

// What a message box showed when a test answered it.
struct AnsweredBox {
    QString title, text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
};

// Waits for the next message box (one that offers `button`, when a button is named), records what
// it shows, then presses `button`, or accepts the box when none is named.
inline void answer_next_box(AnsweredBox& seen, QMessageBox::StandardButton button = QMessageBox::NoButton) {
    QTimer::singleShot(50, [&seen, button] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box || (button != QMessageBox::NoButton && !box->button(button)))
            return answer_next_box(seen, button);
        seen = {box->windowTitle(), box->text(), box->icon()};
        if (button == QMessageBox::NoButton)
            box->accept();
        else
            box->button(button)->click();
    });
}

} // namespace platform
