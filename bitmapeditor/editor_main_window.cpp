#include "bitmapeditor/editor_main_window.h"

#include <QCloseEvent>
#include <QMenuBar>
#include <QScrollBar>
#include <QSizeGrip>

#include "bitmapeditor/client_area.h"
#include "bitmapeditor/colour_button.h"
#include "bitmapeditor/commands.h"
#include "platform/qt/colour_dialog.h"
#include "platform/qt/file_dialog.h"
#include "platform/qt/menu_bar.h"
#include "platform/qt/message_box.h"
#include "platform/qt/scroll_bar.h"

namespace bmpedit {

namespace {

// A size grip that stays visible while the window is maximised, where it is disabled instead.
class SizeGrip : public QSizeGrip {
  public:
    using QSizeGrip::QSizeGrip;
    void setVisible(bool) override { QSizeGrip::setVisible(true); }
};

// Every item is a command of the bar itself; the last one is a greyed note at the right end.
const platform::MenuEntry kMenuBar[] = {
    {-1, "Novy", IDM_NEW, platform::MenuFlags::none},
    {-1, "    Load", IDM_LOAD, platform::MenuFlags::none},
    {-1, "Import", IDM_IMPORT, platform::MenuFlags::none},
    {-1, "    Save", IDM_SAVE, platform::MenuFlags::none},
    {-1, "Save compressed", IDM_SAVE_COMPRESSED, platform::MenuFlags::none},
    {-1, "    Mode", IDM_MODE, platform::MenuFlags::none},
    {-1, "Size 32x32", IDM_SIZE32, platform::MenuFlags::none},
    {-1, "<< toto jsou tlacitka", -1, platform::MenuFlags::grayed | platform::MenuFlags::right_justify},
};

QRect qrect(const Rect& r) {
    return QRect(r.left, r.top, r.right - r.left, r.bottom - r.top);
}

int scroll_code(int action) {
    switch (action) {
    case QAbstractSlider::SliderSingleStepAdd:
        return SB_LINEDOWN;
    case QAbstractSlider::SliderSingleStepSub:
        return SB_LINEUP;
    case QAbstractSlider::SliderPageStepAdd:
        return SB_PAGEDOWN;
    case QAbstractSlider::SliderPageStepSub:
        return SB_PAGEUP;
    case QAbstractSlider::SliderToMinimum:
        return SB_TOP;
    case QAbstractSlider::SliderToMaximum:
        return SB_BOTTOM;
    case QAbstractSlider::SliderMove:
        return SB_THUMBTRACK;
    default:
        return -1;
    }
}

} // namespace

EditorMainWindow::EditorMainWindow(std::function<void(int)> on_quit)
    : editor_(*this), on_quit_(std::move(on_quit)) {
    setWindowTitle("App");
    platform::build_menu_bar(*menuBar(), kMenuBar, [this](int id) { editor_.on_command(id); });
    platform::fit_menu_bar(*menuBar(), 544);

    client_ = new ClientArea(editor_, this);
    setCentralWidget(client_);
    vertical_ = make_scroll_bar(ScrollBar::Vertical);
    horizontal_ = make_scroll_bar(ScrollBar::Horizontal);
    grip_ = new SizeGrip(client_);
    grip_->setObjectName("size_grip");
    const int ids[3] = {IDC_LEFT_COLOUR, IDC_RIGHT_COLOUR, IDC_PAINT_ALPHA};
    for (int i = 0; i < 3; ++i) {
        buttons_[i] = new ColourButton(ids[i], editor_, client_);
        const int id = ids[i];
        connect(buttons_[i], &QAbstractButton::clicked, this, [this, id] { editor_.on_command(id); });
    }
    // The children start 1 x 1 at (0, 0); the first size change places them.
    for (QWidget* w : {static_cast<QWidget*>(vertical_), static_cast<QWidget*>(horizontal_),
                       static_cast<QWidget*>(grip_), static_cast<QWidget*>(buttons_[0]),
                       static_cast<QWidget*>(buttons_[1]), static_cast<QWidget*>(buttons_[2])})
        w->setGeometry(0, 0, 1, 1);
    editor_.on_create();
    resize(544, 375);
}

QScrollBar* EditorMainWindow::make_scroll_bar(ScrollBar which) {
    auto* bar = new QScrollBar(which == ScrollBar::Vertical ? Qt::Vertical : Qt::Horizontal, client_);
    bar->setObjectName(which == ScrollBar::Vertical ? "vertical_bar" : "horizontal_bar");
    connect(bar, &QAbstractSlider::actionTriggered, this, [this, bar, which](int action) {
        const int code = scroll_code(action);
        if (code < 0) return;
        editor_.on_scroll(which, code, bar->sliderPosition());
        // Arrow and page clicks end at once; a drag ends when the thumb is released.
        if (code != SB_THUMBTRACK) editor_.on_scroll(which, SB_ENDSCROLL, 0);
    });
    connect(bar, &QAbstractSlider::sliderReleased, this, [this, bar, which] {
        editor_.on_scroll(which, SB_THUMBPOSITION, bar->sliderPosition());
        editor_.on_scroll(which, SB_ENDSCROLL, 0);
    });
    return bar;
}

QWidget* EditorMainWindow::client_area() const {
    return client_;
}

QWidget* EditorMainWindow::child(Child which) const {
    switch (which) {
    case Child::VerticalBar:
        return vertical_;
    case Child::HorizontalBar:
        return horizontal_;
    case Child::SizeGrip:
        return grip_;
    case Child::Button201:
        return buttons_[0];
    case Child::Button202:
        return buttons_[1];
    case Child::Button203:
        return buttons_[2];
    }
    return nullptr;
}

// Qt always fills a repainted region with the background first, so both kinds of redraw look the same.
void EditorMainWindow::invalidate(const Rect& area, bool) {
    client_->update(qrect(area));
}

void EditorMainWindow::invalidate_client(bool) {
    client_->update();
}

void EditorMainWindow::move_child(Child which, const Rect& place) {
    if (QWidget* w = child(which)) w->setGeometry(qrect(place));
}

void EditorMainWindow::enable_child(Child which, bool enabled) {
    if (QWidget* w = child(which)) w->setEnabled(enabled);
}

void EditorMainWindow::set_scroll_bar(ScrollBar bar, const ScrollSettings& s) {
    platform::apply_scroll_settings(bar == ScrollBar::Vertical ? *vertical_ : *horizontal_, s.min, s.max,
                                    s.page, s.position);
}

std::optional<std::string> EditorMainWindow::ask_file(const FileRequest& request) {
    auto choice = platform::file_dialog(this, request);
    if (!choice) return std::nullopt;
    return choice->path;
}

void EditorMainWindow::choose_colour(Colour& colour, std::array<Colour, 16>& custom) {
    platform::choose_colour(this, colour, custom);
}

void EditorMainWindow::message_box(const std::string& text, const std::string& caption,
                                   platform::BoxStyle style) {
    platform::message_box(this, text, caption, style);
}

void EditorMainWindow::quit(int code) {
    if (on_quit_) on_quit_(code);
}

void EditorMainWindow::changeEvent(QEvent* event) {
    // Maximising or restoring may leave the size as it was; the editor still hears of the new state.
    if (event->type() == QEvent::WindowStateChange) client_->report_size();
    QMainWindow::changeEvent(event);
}

void EditorMainWindow::closeEvent(QCloseEvent* event) {
    if (!destroyed_) {
        destroyed_ = true;
        editor_.on_destroy();
    }
    event->accept();
}

} // namespace bmpedit
