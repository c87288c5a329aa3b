#include "platform/qt/application.h"

#include <QByteArray>
#include <QtGlobal>

#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <vector>

namespace platform {
namespace {

std::string variable(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

// While the application is being made, the toolkit's messages are held back: a display that
// cannot be opened ends in a fatal one, which becomes the program's own line.
struct HeldMessage {
    QtMsgType type;
    QString text;
};
const char* startingProgram = nullptr;
std::mutex heldLock; // the toolkit may log from its own threads while it starts
std::vector<HeldMessage>* heldMessages = nullptr;

void hold_message(QtMsgType type, const QMessageLogContext&, const QString& text) {
    if (type == QtFatalMsg) {
        std::fprintf(stderr, "%s: cannot open a display\n", startingProgram);
        std::fflush(stderr);
        std::_Exit(1);
    }
    const std::lock_guard<std::mutex> lock(heldLock);
    if (heldMessages) heldMessages->push_back({type, text});
}

[[noreturn]] void no_display(const char* program) {
    std::fprintf(stderr, "%s: cannot open a display\n", program);
    std::exit(1);
}

} // namespace

DisplayEnvironment display_environment() {
    return {variable("QT_QPA_PLATFORM"), variable("DISPLAY"), variable("WAYLAND_DISPLAY"),
            variable("XDG_SESSION_TYPE")};
}

bool should_use_xwayland(const DisplayEnvironment& e) {
    const bool wayland = !e.waylandDisplay.empty() || e.sessionType == "wayland";
    return e.qpaPlatform.empty() && wayland && !e.display.empty();
}

bool lacks_display(const DisplayEnvironment& e) {
    return e.qpaPlatform.empty() && e.display.empty() && e.waylandDisplay.empty();
}

std::unique_ptr<QApplication> make_application(int& argc, char** argv, const char* program,
                                               OnWayland wayland) {
    const DisplayEnvironment environment = display_environment();
    if (lacks_display(environment)) no_display(program);
    if (wayland == OnWayland::XWayland && should_use_xwayland(environment)) qputenv("QT_QPA_PLATFORM", "xcb");

    std::vector<HeldMessage> held;
    startingProgram = program;
    heldMessages = &held;
    const QtMessageHandler previous = qInstallMessageHandler(hold_message);
    auto application = std::make_unique<QApplication>(argc, argv);
    qInstallMessageHandler(previous);
    // The desktop entry of the same name: the desktop groups the windows under its icon.
    QGuiApplication::setDesktopFileName(QString::fromLatin1(program));
    {
        const std::lock_guard<std::mutex> lock(heldLock);
        heldMessages = nullptr;
    }
    // What the toolkit said on a good start is still said.
    for (const HeldMessage& message : held) {
        const QByteArray text = message.text.toLocal8Bit();
        switch (message.type) {
        case QtDebugMsg:
            qDebug("%s", text.constData());
            break;
        case QtInfoMsg:
            qInfo("%s", text.constData());
            break;
        default:
            qWarning("%s", text.constData());
            break;
        }
    }
    return application;
}

} // namespace platform
