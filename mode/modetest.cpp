// Drives one sample mode through one frame and prints what happens.
#include "mode/mode_manager.h"
#include "mode/test_mode.h"
#include "platform/pause.h"

#include <cstdio>

int main() {
    test* mode = new test();
    ModeManager manager;

    std::printf("%d\n", manager.current_mode());
    manager.switch_mode(manager.add_mode(mode));
    std::printf("%d\n", manager.current_mode());
    std::printf("%d\n", manager.frame());

    platform::pause();
    delete mode;
    return 0;
}
