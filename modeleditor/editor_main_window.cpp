#include "modeleditor/editor_main_window.h"

#include "modeleditor/dialogs/editor_dialogs.h"
#include "modeleditor/document_edits.h"
#include "modeleditor/editor_ids.h"
#include "modeleditor/editor_menu.h"
#include "modeleditor/file_drop.h"
#include "modeleditor/key_codes.h"
#include "platform/qt/file_dialog.h"
#include "platform/qt/file_job.h"
#include "platform/qt/menu_bar.h"
#include "platform/qt/message_box.h"
#include "platform/qt/unsaved_changes.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QCursor>
#include <QDropEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPalette>
#include <QTimer>
#include <QWindow>

#include <algorithm>
#include <utility>
#include <vector>

namespace editor {
namespace {

// The old platform runs every timer at no less than this period.
constexpr std::uint32_t kShortestTimerMs = 10;

// Ctrl+Z undoes, Ctrl+Shift+Z and Ctrl+Y redo, Ctrl+S saves; 0 for any other key.
int undo_shortcut(const QKeyEvent& key) {
    const Qt::KeyboardModifiers mods = key.modifiers() & ~Qt::KeypadModifier;
    if (!(mods & Qt::ControlModifier) || (mods & (Qt::AltModifier | Qt::MetaModifier))) return 0;
    const bool shift = (mods & Qt::ShiftModifier) != 0;
    switch (key.key()) {
    case Qt::Key_Z:
        return shift ? IDM_REDO : IDM_UNDO;
    case Qt::Key_Y:
        return shift ? 0 : IDM_REDO;
    case Qt::Key_S:
        return shift ? 0 : IDM_QUICK_SAVE;
    default:
        return 0;
    }
}

} // namespace

EditorMainWindow::EditorMainWindow() : surface_(this, 0x000000), proc_(*this) {
    setObjectName(kEditorTitle);
    setWindowTitle(QString::fromLatin1(kEditorTitle));
    resize(544, 375);
    build_menus();
    setCentralWidget(surface_.widget());
    // The client area's background is black (the view's first clear colour is black too); the
    // menu bar keeps the desktop's colours.
    QPalette black = surface_.widget()->palette();
    black.setColor(QPalette::Window, Qt::black);
    surface_.widget()->setPalette(black);
    surface_.widget()->setAutoFillBackground(true);
    surface_.widget()->setFocusPolicy(Qt::StrongFocus);
    surface_.window()->installEventFilter(this);
    surface_.widget()->installEventFilter(this);
    surface_.set_paint_handler([this] { proc_.handle(WM_PAINT, 0, 0); });
    surface_.set_resize_handler([this](std::int32_t width, std::int32_t height) {
        if (created_ && !destroyed_)
            proc_.handle(
                WM_SIZE, 0,
                std::intptr_t((std::uint32_t(height) & 0xFFFF) << 16 | (std::uint32_t(width) & 0xFFFF)));
    });
    surface_.set_erase_handler([this] { proc_.handle(WM_ERASEBKGND, 0, 0); });
    // Unsaved changes show as Qt's modified mark; unchanged, the title is the plain one.
    proc_.history().set_changed_listener([this](bool changed) {
        const QString title = QString::fromLatin1(kEditorTitle);
        setWindowTitle(changed ? title + "[*]" : title);
        setWindowModified(changed);
    });
    // The end of the session asks like closing the window; with no one to answer it is refused,
    // so that the model stays open rather than being thrown away.
    platform::on_session_end(this, [this](bool canAsk) {
        if (destroyed_ || !proc_.history().changed()) return true;
        if (busy_) return false; // a file is being read or written: the session waits for it
        return canAsk && proc_.confirm_discard();
    });
    proc_.set_foreign_importer({foreign_importer_program()});
    setAcceptDrops(true);
}

EditorMainWindow::~EditorMainWindow() {
    // A window torn down without its destruction message still releases its view, but it
    // does not end a loop that it was never asked to end.
    quitOnDestroy_ = false;
    destroy_once();
}

void EditorMainWindow::build_menus() {
    std::vector<platform::MenuEntry> entries;
    const auto titles = editor_menu_titles();
    for (std::size_t i = 0; i < titles.size(); ++i)
        entries.push_back({-1, titles[i], int(i), platform::MenuFlags::popup});
    for (const EditorMenuItem& item : editor_menu_items())
        entries.push_back({item.menu, item.text, item.id, item.flags});
    platform::build_menu_bar(*menuBar(), entries,
                             [this](int id) { proc_.handle(WM_COMMAND, std::uintptr_t(id), 0); });
    // Every separator of the table is drawn, the ones closing the Materials and View menus too.
    for (QMenu* menu : menuBar()->findChildren<QMenu*>())
        menu->setSeparatorsCollapsible(false);
}

void EditorMainWindow::start(const QString& file) {
    // The native windows exist before the view's context is made on them.
    winId();
    created_ = true;
    proc_.handle(WM_CREATE, 0, 0);
    show();
    showMaximized();
    surface_.widget()->setFocus(); // keys go to the view from the start
    const std::int32_t width = surface_.width(), height = surface_.height();
    proc_.handle(WM_SIZE, 0,
                 std::intptr_t((std::uint32_t(height) & 0xFFFF) << 16 | (std::uint32_t(width) & 0xFFFF)));
    if (!file.isEmpty()) proc_.open_file(file.toLocal8Bit().toStdString());
}

// --- EditorWindow ---

void EditorMainWindow::invalidate() {
    surface_.invalidate(true);
}

ScreenRect EditorMainWindow::window_rect() const {
    const QRect r = frameGeometry();
    return {r.left(), r.top(), r.left() + r.width(), r.top() + r.height()};
}

ScreenPoint EditorMainWindow::pointer_position() const {
    const QPoint p = QCursor::pos();
    return {p.x(), p.y()};
}

void EditorMainWindow::set_pointer_position(ScreenPoint point) {
    QCursor::setPos(point.x, point.y);
}

void EditorMainWindow::show_pointer(bool show) {
    if (show) {
        surface_.window()->unsetCursor();
        unsetCursor();
    } else {
        surface_.window()->setCursor(Qt::BlankCursor);
        setCursor(Qt::BlankCursor);
    }
}

void EditorMainWindow::post_message(std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam) {
    QMetaObject::invokeMethod(
        this,
        [this, message, wParam, lParam] {
            if (busy_)
                deferred_.push_back({std::intptr_t(message), std::intptr_t(wParam), lParam});
            else if (!destroyed_)
                proc_.handle(message, wParam, lParam);
        },
        Qt::QueuedConnection);
}

std::intptr_t EditorMainWindow::send_message(std::uint32_t message, std::uintptr_t wParam,
                                             std::intptr_t lParam) {
    return proc_.handle(message, wParam, lParam);
}

void EditorMainWindow::set_timer(std::uint32_t id, std::uint32_t periodMs) {
    QTimer*& timer = timers_[id];
    if (!timer) {
        timer = new QTimer(this);
        connect(timer, &QTimer::timeout, this, [this, id] {
            if (!destroyed_ && !busy_) proc_.handle(WM_TIMER, id, 0);
        });
    }
    timer->start(int(std::max(periodMs, kShortestTimerMs)));
}

void EditorMainWindow::check_menu_item(int id, bool checked) {
    platform::check_menu_item(*menuBar(), id, checked);
}

std::optional<FileDialogResult> EditorMainWindow::file_dialog(const FileDialogRequest& request) {
    return platform::file_dialog(this, request);
}

platform::BoxAnswer EditorMainWindow::message_box(const std::string& text, const std::string& caption,
                                                  platform::BoxStyle style) {
    return platform::message_box(this, text, caption, style);
}

std::intptr_t EditorMainWindow::dialog_box(int templateId, std::intptr_t parameter) {
    QtDialogServices services;
    DialogContext context{proc_.model(), &proc_.state(), this, &services, &ProgramDialogValues()};
    return RunEditorDialog(templateId, parameter, context, this);
}

void EditorMainWindow::destroy_window() {
    destroy_once();
    hide();
}

void EditorMainWindow::post_quit(int exitCode) {
    if (!quitOnDestroy_) return;
    if (quit_) {
        quit_(exitCode);
        return;
    }
    QMetaObject::invokeMethod(
        QCoreApplication::instance(), [exitCode] { QCoreApplication::exit(exitCode); }, Qt::QueuedConnection);
}

platform::GlSurface* EditorMainWindow::gl_surface() {
    return &surface_;
}

std::int32_t EditorMainWindow::run_file_job(const std::string& text, platform::FileProgress& progress,
                                            const std::function<std::int32_t()>& job) {
    busy_ = true;
    const std::int32_t status = platform::run_file_job(this, text, progress, job);
    busy_ = false;
    for (const auto& [message, wParam, lParam] : std::exchange(deferred_, {}))
        post_message(std::uint32_t(message), std::uintptr_t(wParam), lParam);
    if (std::exchange(closeAfterJob_, false))
        QMetaObject::invokeMethod(this, &QWidget::close, Qt::QueuedConnection);
    return status;
}

SaveChoice EditorMainWindow::ask_save_changes(const std::string& text, const std::string& caption) {
    return platform::ask_unsaved_changes(this, text, caption);
}

void EditorMainWindow::destroy_once() {
    if (destroyed_) return;
    destroyed_ = true;
    for (auto& [id, timer] : timers_)
        timer->stop();
    if (created_)
        proc_.handle(WM_DESTROY, 0, 0);
    else
        post_quit(0);
}

// --- Events ---

void EditorMainWindow::closeEvent(QCloseEvent* event) {
    // Closing while a file is read or written waits for that to end, then closes as usual.
    if (busy_) {
        closeAfterJob_ = true;
        event->ignore();
        return;
    }
    if (!destroyed_ && !proc_.confirm_discard()) {
        event->ignore();
        return;
    }
    destroy_once();
    event->accept();
}

bool EditorMainWindow::key_event(QEvent* event) {
    auto* key = static_cast<QKeyEvent*>(event);
    const std::uint32_t code = virtual_key_from_qt(key->key(), (key->modifiers() & Qt::KeypadModifier) != 0);
    if (event->type() == QEvent::KeyPress) {
        if (const int command = undo_shortcut(*key)) {
            proc_.handle(WM_COMMAND, std::uintptr_t(command), 0);
            return true;
        }
        if (code != 0) proc_.handle(WM_KEYDOWN, code, 0);
        const QString text = key->text();
        if (!text.isEmpty() && text.at(0).unicode() < 256 && !destroyed_)
            proc_.handle(WM_CHAR, text.at(0).unicode(), 0);
        return true;
    }
    // Held keys repeat as press and release pairs; only the real release lifts the key.
    if (!key->isAutoRepeat() && code != 0) proc_.handle(WM_KEYUP, code, 0);
    return true;
}

bool EditorMainWindow::mouse_event(QEvent* event) {
    auto* mouse = static_cast<QMouseEvent*>(event);
    const bool left = mouse->button() == Qt::LeftButton;
    const bool right = mouse->button() == Qt::RightButton;
    if (!left && !right) return false;
    switch (event->type()) {
    case QEvent::MouseButtonPress:
        // The press that completes a double click is followed at once by the double-click
        // event, which alone stands for it: the second press is no button-down of its own.
        if (mouse->flags().testFlag(Qt::MouseEventCreatedDoubleClick)) return true;
        proc_.handle(left ? WM_LBUTTONDOWN : WM_RBUTTONDOWN, 0, 0);
        return true;
    case QEvent::MouseButtonRelease:
        proc_.handle(left ? WM_LBUTTONUP : WM_RBUTTONUP, 0, 0);
        return true;
    case QEvent::MouseButtonDblClick:
        proc_.handle(left ? WM_LBUTTONDBLCLK : WM_RBUTTONDBLCLK, 0, 0);
        return true;
    default:
        return false;
    }
}

void EditorMainWindow::release_held_keys() {
    if (!created_ || destroyed_) return;
    for (std::uint32_t code = 0; code < 256; ++code)
        if (proc_.state().keyDown[code]) proc_.handle(WM_KEYUP, code, 0);
}

bool EditorMainWindow::eventFilter(QObject* watched, QEvent* event) {
    // A key released while a menu or a dialog has the keyboard never reaches the view, so the
    // keys held when the view loses the keyboard are let go of then.
    if ((watched == surface_.window() || watched == surface_.widget()) && event->type() == QEvent::FocusOut)
        release_held_keys();
    if (watched == surface_.window() && !destroyed_) {
        switch (event->type()) {
        case QEvent::KeyPress:
        case QEvent::KeyRelease:
            return key_event(event);
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
            return mouse_event(event);
        case QEvent::DragEnter:
        case QEvent::DragMove:
        case QEvent::Drop:
            return drop_event(event);
        default:
            break;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

void EditorMainWindow::changeEvent(QEvent* event) {
    if (event->type() == QEvent::ActivationChange && !isActiveWindow()) release_held_keys();
    QMainWindow::changeEvent(event);
}

// A drop on the view or the frame: one local file is opened as Open would, once the drop is over
// (reading it may take a while, and the drag source waits for the drop to end).
bool EditorMainWindow::drop_event(QEvent* event) {
    auto* drop = static_cast<QDropEvent*>(event);
    const QString file = dropped_file(drop->mimeData());
    if (file.isEmpty()) return false;
    drop->acceptProposedAction();
    if (event->type() == QEvent::Drop) {
        QMetaObject::invokeMethod(
            this,
            [this, file] {
                if (!destroyed_) proc_.open_dropped_file(file.toLocal8Bit().toStdString());
            },
            Qt::QueuedConnection);
    }
    return true;
}

void EditorMainWindow::dragEnterEvent(QDragEnterEvent* event) {
    if (!destroyed_) drop_event(event);
}

void EditorMainWindow::dropEvent(QDropEvent* event) {
    if (!destroyed_) drop_event(event);
}

void EditorMainWindow::keyPressEvent(QKeyEvent* event) {
    if (!destroyed_) key_event(event);
}

void EditorMainWindow::keyReleaseEvent(QKeyEvent* event) {
    if (!destroyed_) key_event(event);
}

} // namespace editor
