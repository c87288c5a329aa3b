// Korvex Editor: edits one Korvex model in an OpenGL view. `korvex-editor [FILE]` opens FILE at
// start (a ".asc" name is imported with the advanced importer, other model formats are read by
// this build's `korvex` in a child process).
#include "modeleditor/editor_main_window.h"
#include "platform/qt/application.h"

#include <QApplication>
#include <QStringList>

int main(int argc, char** argv) {
    // Mouse-look moves the pointer, which a Wayland session allows only to X programs.
    const auto application =
        platform::make_application(argc, argv, "korvex-editor", platform::OnWayland::XWayland);
    const QStringList arguments = QApplication::arguments();
    editor::EditorMainWindow window;
    window.start(arguments.size() > 1 ? arguments.at(1) : QString());
    return QApplication::exec();
}
