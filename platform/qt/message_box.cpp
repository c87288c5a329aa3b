#include "platform/qt/message_box.h"

#include <QMessageBox>
#include <QString>
#include <QStringDecoder>

namespace platform {

namespace {

QMessageBox::Icon icon_of(BoxStyle style) {
    switch (box_icon(style)) {
    case BoxStyle::icon_stop:
        return QMessageBox::Critical;
    case BoxStyle::icon_question:
        return QMessageBox::Question;
    case BoxStyle::icon_warning:
        return QMessageBox::Warning;
    case BoxStyle::icon_information:
        return QMessageBox::Information;
    default:
        return QMessageBox::NoIcon;
    }
}

QMessageBox::StandardButtons buttons_of(BoxStyle style) {
    switch (box_buttons(style)) {
    case BoxStyle::ok_cancel:
        return QMessageBox::Ok | QMessageBox::Cancel;
    case BoxStyle::yes_no_cancel:
        return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    case BoxStyle::yes_no:
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

BoxAnswer answer_of(int button, BoxStyle style) {
    switch (button) {
    case QMessageBox::Ok:
        return BoxAnswer::ok;
    case QMessageBox::Yes:
        return BoxAnswer::yes;
    case QMessageBox::No:
        return BoxAnswer::no;
    case QMessageBox::Cancel:
        return BoxAnswer::cancel;
    default:
        if (box_buttons(style) == BoxStyle::yes_no) return BoxAnswer::no;
        if (box_buttons(style) == BoxStyle::ok) return BoxAnswer::ok;
        return BoxAnswer::cancel;
    }
}

} // namespace

BoxAnswer message_box(QWidget* owner, const std::string& text, const std::string& caption, BoxStyle style) {
    QMessageBox box(icon_of(style), text_of(caption), text_of(text), buttons_of(style), owner);
    return answer_of(box.exec(), style);
}

} // namespace platform
