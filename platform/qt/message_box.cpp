#include "platform/qt/message_box.h"

#include <QMessageBox>
#include <QString>

namespace platform {

namespace {

QMessageBox::Icon icon_of(unsigned style) {
    switch (style & 0xF0u) {
    case MB_ICONSTOP: return QMessageBox::Critical;
    case MB_ICONQUESTION: return QMessageBox::Question;
    case MB_ICONEXCLAMATION: return QMessageBox::Warning;
    case MB_ICONINFORMATION: return QMessageBox::Information;
    default: return QMessageBox::NoIcon;
    }
}

QMessageBox::StandardButtons buttons_of(unsigned style) {
    switch (style & 0x0Fu) {
    case MB_OKCANCEL: return QMessageBox::Ok | QMessageBox::Cancel;
    case MB_YESNOCANCEL: return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    case MB_YESNO: return QMessageBox::Yes | QMessageBox::No;
    default: return QMessageBox::Ok;
    }
}

int answer_of(int button, unsigned style) {
    switch (button) {
    case QMessageBox::Ok: return IDOK;
    case QMessageBox::Yes: return IDYES;
    case QMessageBox::No: return IDNO;
    case QMessageBox::Cancel: return IDCANCEL;
    default:
        if ((style & 0x0Fu) == MB_YESNO) return IDNO;
        if ((style & 0x0Fu) == MB_OK) return IDOK;
        return IDCANCEL;
    }
}

} // namespace

int message_box(QWidget* owner, const std::string& text, const std::string& caption, unsigned style) {
    // Texts are the programs' own 8-bit strings; Latin-1 keeps every byte as one character.
    QMessageBox box(icon_of(style), QString::fromLatin1(caption.c_str()), QString::fromLatin1(text.c_str()),
                    buttons_of(style), owner);
    return answer_of(box.exec(), style);
}

} // namespace platform
