#include "discmon/ulmar_shell.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QPalette>
#include <QSocketNotifier>
#include <QTimer>

#include "discmon/device_change.h"
#include "platform/qt/message_box.h"

namespace {

constexpr int kPollMilliseconds = 1000;

} // namespace

UlmarShell::UlmarShell(DiscMonitor& monitor, BoxFunction box) : proc_(*this, monitor), box_(std::move(box)) {
    setWindowTitle(QString::fromLatin1(kUlmarTitle));
    resize(kUlmarWidth, kUlmarHeight);
    // The window draws nothing: it shows the button-face colour.
    QPalette colours = palette();
    colours.setColor(QPalette::Window, colours.color(QPalette::Button));
    setPalette(colours);
    setAutoFillBackground(true);
}

UlmarShell::~UlmarShell() = default;

void UlmarShell::create() {
    deliver(WM_CREATE, 0, 0);
}

void UlmarShell::deliver(std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam) {
    proc_.handle(message, wParam, lParam);
}

void UlmarShell::watch(std::unique_ptr<DriveEvents> events) {
    delete notifier_;
    notifier_ = nullptr;
    delete poll_timer_;
    poll_timer_ = nullptr;
    events_ = std::move(events);
    if (!events_) return;
    if (events_->fd() >= 0) {
        notifier_ = new QSocketNotifier(events_->fd(), QSocketNotifier::Read, this);
        connect(notifier_, &QSocketNotifier::activated, this, [this] { events_->on_readable(); });
    }
    poll_timer_ = new QTimer(this);
    connect(poll_timer_, &QTimer::timeout, this, [this] { events_->poll(); });
    poll_timer_->start(kPollMilliseconds);
}

platform::BoxAnswer UlmarShell::message_box(const std::string& text, const std::string& caption,
                                            platform::BoxStyle style) {
    if (box_) return box_(text, caption, style);
    return platform::message_box(this, text, caption, style);
}

void UlmarShell::post_message(std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam) {
    QMetaObject::invokeMethod(
        this, [this, message, wParam, lParam] { deliver(message, wParam, lParam); }, Qt::QueuedConnection);
}

void UlmarShell::post_quit(int code) {
    QMetaObject::invokeMethod(
        QCoreApplication::instance(), [code] { QCoreApplication::exit(code); }, Qt::QueuedConnection);
}

void UlmarShell::closeEvent(QCloseEvent* event) {
    event->accept();
    deliver(WM_DESTROY, 0, 0);
}
