// Taviron Editor: edits one small RGBA bitmap cell by cell. Usage: taviron-editor [FILE]
#include <QApplication>
#include <QStringList>

#include "bitmapeditor/editor_main_window.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QGuiApplication::setDesktopFileName(QStringLiteral("taviron-editor"));
    bmpedit::EditorMainWindow window([](int code) { QCoreApplication::exit(code); });
    const QStringList args = QApplication::arguments();
    if (args.size() > 1) window.editor().open_file(args.at(1).toLocal8Bit().toStdString());
    window.show();
    return QApplication::exec();
}
