// Korvex Editor: edits one Korvex model in an OpenGL view. `korvex-editor [FILE]` opens FILE at
// start (a ".asc" name is imported with the advanced importer).
#include "modeleditor/editor_main_window.h"

#include <QApplication>
#include <QStringList>

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QGuiApplication::setDesktopFileName(QStringLiteral("korvex-editor"));
    const QStringList arguments = QApplication::arguments();
    editor::EditorMainWindow window;
    window.start(arguments.size() > 1 ? arguments.at(1) : QString());
    return QApplication::exec();
}
