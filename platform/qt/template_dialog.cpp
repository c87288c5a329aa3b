#include "platform/qt/template_dialog.h"

#include <QAbstractButton>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMainWindow>
#include <QPainter>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSlider>

#include <cctype>
#include <functional>
#include <limits>

namespace platform {
namespace {

// A button painted by its dialog procedure, as an owner-drawn button was.
class OwnerDrawButton final : public QAbstractButton {
  public:
    OwnerDrawButton(QWidget* parent, std::function<void(QPainter&, const QRect&)> draw)
        : QAbstractButton(parent), draw_(std::move(draw)) {}

  protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.setClipRect(rect());
        draw_(painter, rect());
        if (hasFocus()) {
            painter.setPen(QPen(palette().color(QPalette::WindowText), 1, Qt::DotLine));
            painter.drawRect(rect().adjusted(2, 2, -3, -3));
        }
    }

  private:
    std::function<void(QPainter&, const QRect&)> draw_;
};

QString latin1(const std::string& text) {
    return QString::fromLatin1(text.c_str());
}

} // namespace

TemplateDialog::TemplateDialog(const DialogTemplate& dialogTemplate, QWidget* owner,
                               DialogProcedure& procedure)
    : QDialog(owner), procedure_(procedure) {
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowCloseButtonHint);
    setWindowTitle(latin1(dialogTemplate.caption));
    setModal(true);
    const QFont font = dialog_font(dialogTemplate.fontName, dialogTemplate.fontPoints);
    setFont(font);
    base_ = dialog_base_units(font);
    const QRect frame = map_dialog_rect(
        QRect(dialogTemplate.x, dialogTemplate.y, dialogTemplate.width, dialogTemplate.height));
    if (dialogTemplate.style & WS_THICKFRAME)
        resize(frame.size());
    else
        setFixedSize(frame.size());
    // The template's position counts from the owner's client area; a main window's client area
    // is its central widget, below the menu bar.
    QWidget* client = owner;
    if (auto* mainWindow = qobject_cast<QMainWindow*>(owner); mainWindow && mainWindow->centralWidget())
        client = mainWindow->centralWidget();
    const QPoint origin = client ? client->mapToGlobal(QPoint(0, 0)) : QPoint(0, 0);
    move(origin + frame.topLeft());
    for (const DialogControl& control : dialogTemplate.controls) {
        QWidget* widget = make_control(control);
        widget->setObjectName(QString::number(control.id));
        widget->setGeometry(map_dialog_rect(QRect(control.x, control.y, control.width, control.height)));
        widget->setVisible((control.style & WS_VISIBLE) != 0);
        if (!(control.style & WS_TABSTOP))
            widget->setFocusPolicy(widget->focusPolicy() == Qt::NoFocus ? Qt::NoFocus : Qt::ClickFocus);
        controls_.push_back(widget);
    }
}

TemplateDialog::~TemplateDialog() {
    procedure_.destroy_dialog(*this);
}

QWidget* TemplateDialog::make_control(const DialogControl& control) {
    const int id = control.id;
    switch (control.kind) {
    case ControlClass::Button: {
        const std::uint32_t type = control.style & BS_TYPEMASK;
        if (type == BS_OWNERDRAW) {
            auto* button = new OwnerDrawButton(this, [this, id](QPainter& painter, const QRect& rect) {
                if (const auto colour = procedure_.owner_draw_colour(id))
                    painter.fillRect(rect, QColor(int(*colour & 0xFF), int(*colour >> 8 & 0xFF),
                                                  int(*colour >> 16 & 0xFF)));
            });
            connect(button, &QAbstractButton::clicked, this, [this, id] { notify(id, BN_CLICKED); });
            return button;
        }
        auto* button = new QPushButton(latin1(control.text), this);
        button->setDefault(type == BS_DEFPUSHBUTTON);
        // A push button with the focus is the one Return presses; elsewhere it is the default one.
        button->setAutoDefault(true);
        connect(button, &QPushButton::clicked, this, [this, id] { notify(id, BN_CLICKED); });
        return button;
    }
    case ControlClass::Edit: {
        auto* edit = new QLineEdit(latin1(control.text), this);
        edit->setFrame((control.style & WS_BORDER) != 0);
        // Windows edits take 32767 characters unless limited.
        edit->setMaxLength(32767);
        connect(edit, &QLineEdit::textChanged, this, [this, id] { notify(id, EN_UPDATE); });
        return edit;
    }
    case ControlClass::Static: {
        auto* label = new QLabel(latin1(control.text), this);
        label->setTextFormat(Qt::PlainText);
        label->setWordWrap(true);
        const bool right = (control.style & SS_TYPEMASK) == SS_RIGHT;
        label->setAlignment((right ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignTop);
        if (control.style & SS_SUNKEN) label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        label->setFocusPolicy(Qt::NoFocus);
        return label;
    }
    case ControlClass::ListBox: {
        auto* list = new QListWidget(this);
        list->setVerticalScrollBarPolicy((control.style & WS_VSCROLL) ? Qt::ScrollBarAsNeeded
                                                                      : Qt::ScrollBarAlwaysOff);
        list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        list->setFrameStyle((control.style & WS_BORDER) ? (QFrame::Box | QFrame::Plain) : QFrame::NoFrame);
        if (control.style & LBS_NOTIFY)
            // After the selection itself has changed, so that the procedure reads the new one.
            connect(list, &QListWidget::itemSelectionChanged, this,
                    [this, id] { notify(id, LBN_SELCHANGE); });
        return list;
    }
    case ControlClass::Trackbar: {
        auto* bar = new QSlider(Qt::Horizontal, this);
        bar->setTickPosition((control.style & TBS_AUTOTICKS) ? QSlider::TicksBelow : QSlider::NoTicks);
        bar->setRange(0, 100); // the old trackbar's default range
        bar->setTickInterval(1);
        connect(bar, &QSlider::valueChanged, this, [this, id] {
            if (!ended_) procedure_.hscroll(*this, id);
        });
        return bar;
    }
    }
    return new QWidget(this);
}

void TemplateDialog::notify(int id, int notification) {
    if (!ended_) procedure_.command(*this, id, notification);
}

std::intptr_t TemplateDialog::run(std::intptr_t parameter) {
    start(parameter);
    if (!ended_) exec();
    return result_;
}

void TemplateDialog::start(std::intptr_t parameter) {
    procedure_.init_dialog(*this, parameter);
    if (!ended_) show();
}

void TemplateDialog::end_dialog(std::intptr_t result) {
    if (ended_) return;
    ended_ = true;
    result_ = result;
    done(int(result));
}

QRect TemplateDialog::map_dialog_rect(const QRect& units) const {
    return platform::map_dialog_rect(units, base_);
}

QWidget* TemplateDialog::item(int id) const {
    const QString name = QString::number(id);
    for (QWidget* widget : controls_)
        if (widget->objectName() == name) return widget;
    return nullptr;
}

std::string TemplateDialog::item_text(int id, std::size_t maxLength) const {
    QString text;
    QWidget* widget = item(id);
    if (auto* edit = qobject_cast<QLineEdit*>(widget))
        text = edit->text();
    else if (auto* label = qobject_cast<QLabel*>(widget))
        text = label->text();
    else if (auto* button = qobject_cast<QAbstractButton*>(widget))
        text = button->text();
    std::string bytes = text.toLatin1().toStdString();
    if (bytes.size() > maxLength) bytes.resize(maxLength);
    return bytes;
}

void TemplateDialog::set_item_text(int id, const std::string& text) {
    QWidget* widget = item(id);
    if (auto* edit = qobject_cast<QLineEdit*>(widget))
        edit->setText(latin1(text));
    else if (auto* label = qobject_cast<QLabel*>(widget))
        label->setText(latin1(text));
    else if (auto* button = qobject_cast<QAbstractButton*>(widget))
        button->setText(latin1(text));
}

std::uint32_t TemplateDialog::get_item_int(int id, bool* translated, bool isSigned) const {
    return parse_item_int(item_text(id, std::numeric_limits<std::size_t>::max()), translated, isSigned);
}

void TemplateDialog::set_item_int(int id, std::uint32_t value, bool isSigned) {
    set_item_text(id, isSigned ? std::to_string(std::int32_t(value)) : std::to_string(value));
}

void TemplateDialog::limit_text(int id, int maxLength) {
    if (auto* edit = qobject_cast<QLineEdit*>(item(id))) edit->setMaxLength(maxLength);
}

void TemplateDialog::invalidate_item(int id) {
    if (QWidget* widget = item(id)) widget->update();
}

QSlider* TemplateDialog::slider(int id) const {
    return qobject_cast<QSlider*>(item(id));
}

void TemplateDialog::set_trackbar_range(int id, int minimum, int maximum) {
    if (QSlider* bar = slider(id)) {
        const QSignalBlocker quiet(bar);
        bar->setRange(minimum, maximum);
    }
}

void TemplateDialog::set_trackbar_tick_frequency(int id, int frequency) {
    if (QSlider* bar = slider(id)) bar->setTickInterval(frequency);
}

void TemplateDialog::set_trackbar_position(int id, int position) {
    // Setting the position from code is not a move of the user's; no scroll call follows.
    if (QSlider* bar = slider(id)) {
        const QSignalBlocker quiet(bar);
        bar->setValue(position);
    }
}

int TemplateDialog::trackbar_position(int id) const {
    const QSlider* bar = slider(id);
    return bar ? bar->value() : 0;
}

void TemplateDialog::add_list_string(int id, const std::string& text) {
    if (auto* list = qobject_cast<QListWidget*>(item(id))) list->addItem(latin1(text));
}

int TemplateDialog::list_selection(int id) const {
    const auto* list = qobject_cast<QListWidget*>(item(id));
    if (!list || list->selectedItems().isEmpty()) return -1;
    return list->row(list->selectedItems().first());
}

void TemplateDialog::accept() {
    notify(IDOK, BN_CLICKED);
}

void TemplateDialog::reject() {
    notify(IDCANCEL, BN_CLICKED);
}

} // namespace platform
