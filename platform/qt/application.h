#pragma once
// The application object of a windowed program, made so that the program starts on a display it
// can use: on a Wayland session a program may ask to run on the session's X server (moving the
// pointer is not allowed on Wayland), and without any display the program says so in one line.
#include <QApplication>

#include <memory>
#include <string>

namespace platform {

// The environment variables that choose where a program's windows go.
struct DisplayEnvironment {
    std::string qpaPlatform;    // QT_QPA_PLATFORM: the user's own choice, when not empty
    std::string display;        // DISPLAY: an X server (XWayland on a Wayland session)
    std::string waylandDisplay; // WAYLAND_DISPLAY
    std::string sessionType;    // XDG_SESSION_TYPE
};

// The present process's values.
DisplayEnvironment display_environment();

// True when a program that needs X should ask for it: the user chose no platform, the session
// is a Wayland one and an X server is named.
bool should_use_xwayland(const DisplayEnvironment& environment);

// True when no display is named at all and the user chose no platform either.
bool lacks_display(const DisplayEnvironment& environment);

enum class OnWayland {
    Native,   // a Wayland session is used as it is
    XWayland, // the program runs on the session's X server when there is one
};

// Makes the program's application, on X when `wayland` asks for it and should_use_xwayland holds;
// its desktop file name is `program` (the name of its desktop entry).
// When no display can be opened, prints "PROGRAM: cannot open a display" on standard error
// instead of the toolkit's messages and ends the process with 1.
std::unique_ptr<QApplication> make_application(int& argc, char** argv, const char* program,
                                               OnWayland wayland);

} // namespace platform
