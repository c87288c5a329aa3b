// Taviron Editor: edits one small RGBA bitmap cell by cell. Usage: taviron-editor [FILE]
#include <QApplication>
#include <QStringList>

#include "bitmapeditor/editor_main_window.h"
#include "platform/qt/application.h"

int main(int argc, char** argv) {
    // Like Korvex Editor, it runs on X on a Wayland session, so the two editors behave alike.
    const auto app = platform::make_application(argc, argv, "taviron-editor", platform::OnWayland::XWayland);
    bmpedit::EditorMainWindow window([](int code) { QCoreApplication::exit(code); });
    const QStringList args = QApplication::arguments();
    if (args.size() > 1) window.editor().open_file(args.at(1).toLocal8Bit().toStdString());
    window.show();
    return QApplication::exec();
}
