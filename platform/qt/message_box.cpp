#include "platform/qt/message_box.h"

#include <QMessageBox>
#include <QString>
#include <QStringDecoder>

namespace platform {

namespace {

QMessageBox::Icon icon_of(unsigned style) {
    switch (style & 0xF0u) {
    case MB_ICONSTOP:
        return QMessageBox::Critical;
    case MB_ICONQUESTION:
        return QMessageBox::Question;
    case MB_ICONEXCLAMATION:
        return QMessageBox::Warning;
    case MB_ICONINFORMATION:
        return QMessageBox::Information;
    default:
        return QMessageBox::NoIcon;
    }
}

QMessageBox::StandardButtons buttons_of(unsigned style) {
    switch (style & 0x0Fu) {
    case MB_OKCANCEL:
        return QMessageBox::Ok | QMessageBox::Cancel;
    case MB_YESNOCANCEL:
        return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    case MB_YESNO:
        return QMessageBox::Yes | QMessageBox::No;
    default:
        return QMessageBox::Ok;
    }
}

// Program texts are 8-bit; file names on Linux are UTF-8. Text that is valid UTF-8 is shown as such,
// anything else byte for byte as Latin-1.
QString text_of(const std::string& bytes) {
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString decoded = utf8.decode(QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size())));
    if (!utf8.hasError()) return decoded;
    return QString::fromLatin1(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

int answer_of(int button, unsigned style) {
    switch (button) {
    case QMessageBox::Ok:
        return IDOK;
    case QMessageBox::Yes:
        return IDYES;
    case QMessageBox::No:
        return IDNO;
    case QMessageBox::Cancel:
        return IDCANCEL;
    default:
        if ((style & 0x0Fu) == MB_YESNO) return IDNO;
        if ((style & 0x0Fu) == MB_OK) return IDOK;
        return IDCANCEL;
    }
}

} // namespace

int message_box(QWidget* owner, const std::string& text, const std::string& caption, unsigned style) {
    QMessageBox box(icon_of(style), text_of(caption), text_of(text), buttons_of(style), owner);
    return answer_of(box.exec(), style);
}

} // namespace platform
