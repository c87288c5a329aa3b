#include "platform/qt/unsaved_changes.h"

#include <QGuiApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QSessionManager>
#include <QString>

namespace platform {

UnsavedAnswer ask_unsaved_changes(QWidget* owner, const std::string& text, const std::string& caption) {
    QMessageBox box(QMessageBox::Question, QString::fromStdString(caption), QString::fromStdString(text),
                    QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, owner);
    box.setDefaultButton(QMessageBox::Save);
    box.setEscapeButton(QMessageBox::Cancel);
    switch (box.exec()) {
    case QMessageBox::Save:
        return UnsavedAnswer::Save;
    case QMessageBox::Discard:
        return UnsavedAnswer::Discard;
    default:
        return UnsavedAnswer::Cancel;
    }
}

void on_session_end(QObject* context, std::function<bool(bool can_ask)> may_end) {
    auto* application = qobject_cast<QGuiApplication*>(QCoreApplication::instance());
    if (!application) return;
    QObject::connect(
        application, &QGuiApplication::commitDataRequest, context,
        [may_end = std::move(may_end)](QSessionManager& manager) {
            // allowsInteraction() waits for the manager's permission to ask.
            if (!may_end(manager.allowsInteraction())) manager.cancel();
            manager.release();
        },
        Qt::DirectConnection);
}

} // namespace platform
