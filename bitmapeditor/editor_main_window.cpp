#include "bitmapeditor/editor_main_window.h"

#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMenuBar>
#include <QScrollBar>
#include <QShortcut>
#include <QSizeGrip>
#include <utility>

#include "bitmapeditor/client_area.h"
#include "bitmapeditor/colour_button.h"
#include "bitmapeditor/commands.h"
#include "bitmapeditor/file_drop.h"
#include "platform/qt/colour_dialog.h"
#include "platform/qt/file_dialog.h"
#include "platform/qt/file_job.h"
#include "platform/qt/menu_bar.h"
#include "platform/qt/message_box.h"
#include "platform/qt/scroll_bar.h"
#include "platform/qt/unsaved_changes.h"

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
    setAcceptDrops(true);
    // Ctrl+Z undoes, Ctrl+Shift+Z and Ctrl+Y redo, Ctrl+S saves to the file of the bitmap.
    const std::pair<QKeySequence, int> shortcuts[] = {
        {QKeySequence(Qt::CTRL | Qt::Key_Z), IDM_UNDO},
        {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), IDM_REDO},
        {QKeySequence(Qt::CTRL | Qt::Key_Y), IDM_REDO},
        {QKeySequence(Qt::CTRL | Qt::Key_S), IDM_QUICK_SAVE}};
    for (const auto& [keys, id] : shortcuts)
        connect(new QShortcut(keys, this), &QShortcut::activated, this,
                [this, id = id] { editor_.on_command(id); });
    // Unsaved changes show as Qt's modified mark; unchanged, the title is the plain one.
    editor_.history().set_changed_listener([this](bool changed) {
        setWindowTitle(changed ? "App[*]" : "App");
        setWindowModified(changed);
    });
    // The end of the session asks like closing the window; with no one to answer it is refused,
    // so that the bitmap stays open rather than being thrown away.
    platform::on_session_end(this, [this](bool can_ask) {
        if (destroyed_ || !editor_.history().changed()) return true;
        if (busy_) return false; // a file is being read or written: the session waits for it
        return can_ask && editor_.confirm_discard();
    });
}

void EditorMainWindow::dragEnterEvent(QDragEnterEvent* event) {
    if (dropped_file(event->mimeData())) event->acceptProposedAction();
}

void EditorMainWindow::dropEvent(QDropEvent* event) {
    const auto path = dropped_file(event->mimeData());
    if (!path) return;
    event->acceptProposedAction();
    // Opened after the drop has finished, so that a box about a failure does not hold up the
    // program the file came from.
    QMetaObject::invokeMethod(
        this, [this, file = *path] { editor_.open_dropped_file(file); }, Qt::QueuedConnection);
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

std::int32_t EditorMainWindow::run_file_job(const std::string& text, platform::FileProgress& progress,
                                            const std::function<std::int32_t()>& job) {
    busy_ = true;
    const std::int32_t status = platform::run_file_job(this, text, progress, job);
    busy_ = false;
    if (std::exchange(close_after_job_, false))
        QMetaObject::invokeMethod(this, &QWidget::close, Qt::QueuedConnection);
    return status;
}

SaveChoice EditorMainWindow::ask_save_changes(const std::string& text, const std::string& caption) {
    return platform::ask_unsaved_changes(this, text, caption);
}

void EditorMainWindow::closeEvent(QCloseEvent* event) {
    // Closing while a file is read or written waits for that to end, then closes as usual.
    if (busy_) {
        close_after_job_ = true;
        event->ignore();
        return;
    }
    if (!destroyed_ && !editor_.confirm_discard()) {
        event->ignore();
        return;
    }
    if (!destroyed_) {
        destroyed_ = true;
        editor_.on_destroy();
    }
    event->accept();
}

} // namespace bmpedit
