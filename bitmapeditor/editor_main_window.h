#pragma once
// The Qt main window of Taviron Editor: menu bar, client area, scroll bars, size grip and colour
// buttons, with the editor behind them. It implements the editor's window interface with Qt.
#include <QMainWindow>
#include <functional>

#include "bitmapeditor/bitmap_editor.h"
#include "bitmapeditor/editor_window.h"

class QScrollBar;
class QSizeGrip;

namespace bmpedit {

class ClientArea;
class ColourButton;

class EditorMainWindow : public QMainWindow, public EditorWindow {
  public:
    // `on_quit` receives the exit code when the window is destroyed (closed).
    explicit EditorMainWindow(std::function<void(int)> on_quit);

    BitmapEditor& editor() { return editor_; }
    QWidget* client_area() const;
    QWidget* child(Child which) const;

    void invalidate(const Rect& area, bool erase) override;
    void invalidate_client(bool erase) override;
    void move_child(Child child, const Rect& place) override;
    void enable_child(Child child, bool enabled) override;
    void set_scroll_bar(ScrollBar bar, const ScrollSettings& settings) override;
    std::optional<std::string> ask_file(const FileRequest& request) override;
    void choose_colour(Colour& colour, std::array<Colour, 16>& custom) override;
    void message_box(const std::string& text, const std::string& caption, platform::BoxStyle style) override;
    void quit(int code) override;
    SaveChoice ask_save_changes(const std::string& text, const std::string& caption) override;
    std::int32_t run_file_job(const std::string& text, platform::FileProgress& progress,
                              const std::function<std::int32_t()>& job) override;

  protected:
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;
    // A local file dragged onto the window is opened as `taviron-editor FILE` opens it.
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

  private:
    QScrollBar* make_scroll_bar(ScrollBar which);

    BitmapEditor editor_;
    std::function<void(int)> on_quit_;
    ClientArea* client_ = nullptr;
    QScrollBar* vertical_ = nullptr;
    QScrollBar* horizontal_ = nullptr;
    QSizeGrip* grip_ = nullptr;
    ColourButton* buttons_[3] = {};
    bool destroyed_ = false;
    // While a file job runs, a close waits for its end.
    bool busy_ = false;
    bool close_after_job_ = false;
};

} // namespace bmpedit
