// Korvex Editor: edits one Korvex model in an OpenGL view. `korvex-editor [FILE]` opens FILE at
// start (a ".asc" name is imported with the advanced importer, other model formats are read by
// this build's `korvex` in a child process).
#include "modeleditor/editor_main_window.h"

#include <QApplication>
#include <QStringList>

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    const QStringList arguments = QApplication::arguments();
    editor::EditorMainWindow window;
    window.start(arguments.size() > 1 ? arguments.at(1) : QString());
    return QApplication::exec();
}
