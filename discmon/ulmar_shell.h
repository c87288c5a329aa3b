#pragma once
// The Qt window of Ulmar test: a thin shell that implements UlmarWindow and hands messages to the
// window procedure. Device-change broadcasts from DriveEvents arrive through deliver().
#include <functional>
#include <memory>
#include <string>

#include <QWidget>

#include "discmon/drive_events.h"
#include "discmon/ulmar_window.h"
#include "discmon/ulmar_window_proc.h"

class QSocketNotifier;
class QTimer;

class UlmarShell : public QWidget, public UlmarWindow {
  public:
    // Shows boxes with `box` (text, caption, style -> answer); by default modal Qt message boxes.
    using BoxFunction =
        std::function<platform::BoxAnswer(const std::string&, const std::string&, platform::BoxStyle)>;

    explicit UlmarShell(DiscMonitor& monitor, BoxFunction box = {});
    ~UlmarShell() override;

    // Runs the creation message; call once before showing the window.
    void create();
    // Hands one message to the window procedure at once, as a sent message.
    void deliver(std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam);
    // Takes over `events` and drives it from the event loop: a one-second poll, and its udev descriptor.
    void watch(std::unique_ptr<DriveEvents> events);

    platform::BoxAnswer message_box(const std::string& text, const std::string& caption,
                                    platform::BoxStyle style) override;
    void post_message(std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam) override;
    void post_quit(int code) override;

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    UlmarWindowProc proc_;
    BoxFunction box_;
    std::unique_ptr<DriveEvents> events_;
    QSocketNotifier* notifier_ = nullptr;
    QTimer* poll_timer_ = nullptr;
};
