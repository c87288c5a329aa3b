#pragma once
// The Korvex Editor main window on Qt: a thin shell that implements EditorWindow and turns Qt
// events into the window procedure's messages. Menu bar from the editor's table, the GL view as
// a native child filling the client area, timers, posted and sent messages.
#include <QMainWindow>
#include <QString>

#include <array>
#include <functional>
#include <map>
#include <memory>

#include "modeleditor/editor_window.h"
#include "modeleditor/editor_window_proc.h"
#include "platform/qt/gl_window_surface.h"

class QTimer;

namespace editor {

class EditorMainWindow final : public QMainWindow, public EditorWindow {
  public:
    // Title, size 544 x 375, black background, menu bar and GL view; nothing is shown yet.
    EditorMainWindow();
    ~EditorMainWindow() override;

    // Runs the creation message (view, fonts, timers), shows the window maximised and, when
    // `file` is not empty, opens it as Open would (".asc" names with the advanced importer, other
    // model formats out of process). A file dropped on the window is opened the same way.
    void start(const QString& file = {});

    // What ending the message loop does; by default QCoreApplication::exit once control is back
    // in the loop.
    void set_quit_handler(std::function<void(int exitCode)> handler) { quit_ = std::move(handler); }

    EditorWindowProc& proc() { return proc_; }
    platform::GlWindowSurface& surface() { return surface_; }

    // EditorWindow
    void invalidate() override;
    ScreenRect window_rect() const override;
    ScreenPoint pointer_position() const override;
    void set_pointer_position(ScreenPoint point) override;
    void show_pointer(bool show) override;
    void post_message(std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam) override;
    std::intptr_t send_message(std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam) override;
    void set_timer(std::uint32_t id, std::uint32_t periodMs) override;
    void check_menu_item(int id, bool checked) override;
    std::optional<FileDialogResult> file_dialog(const FileDialogRequest& request) override;
    platform::BoxAnswer message_box(const std::string& text, const std::string& caption,
                                    platform::BoxStyle style) override;
    std::intptr_t dialog_box(int templateId, std::intptr_t parameter) override;
    void destroy_window() override;
    void post_quit(int exitCode) override;
    platform::GlSurface* gl_surface() override;
    SaveChoice ask_save_changes(const std::string& text, const std::string& caption) override;
    std::int32_t run_file_job(const std::string& text, platform::FileProgress& progress,
                              const std::function<std::int32_t()>& job) override;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

  private:
    void build_menus();
    bool key_event(QEvent* event);
    bool mouse_event(QEvent* event);
    bool drop_event(QEvent* event);
    void destroy_once();
    // Lifts every camera key the window procedure holds as pressed.
    void release_held_keys();

    platform::GlWindowSurface surface_;
    EditorWindowProc proc_;
    std::map<std::uint32_t, QTimer*> timers_;
    bool created_ = false;
    bool destroyed_ = false;
    bool quitOnDestroy_ = true;
    std::function<void(int)> quit_;
    // While a file job runs, timers and posted messages wait, and a close waits for its end.
    bool busy_ = false;
    bool closeAfterJob_ = false;
    std::vector<std::array<std::intptr_t, 3>> deferred_;
};

} // namespace editor
