// Fuzzes korvex-thumbnailer's work on a file nobody vetted: the size checks, the Korvex reader and
// the offscreen drawing of whatever it accepts (bad corners, NaN coordinates and materials).
#include <cstddef>
#include <cstdint>
#include <string>

#include "bitmap/taviron.h"
#include "platform/egl_surface.h"
#include "tools/korvex_thumbnailer.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // One context for the whole run: making one per input would cost more than the drawing.
    static platform::EglSurface surface(1, 1);
    static const bool context = surface.create_context();
    if (!context) __builtin_trap();

    Model model;
    ModelInit(&model);
    std::string reason;
    if (korvex_thumbnail_load(data, size, model, reason)) {
        Taviron picture;
        if (korvex_thumbnail_draw(model, 24, picture, reason)) {
            if (picture.width != 24 || picture.height != 24 || picture.pixels == nullptr) __builtin_trap();
        } else if (picture.pixels != nullptr || reason.empty()) {
            __builtin_trap();
        }
    } else if (reason.empty()) {
        __builtin_trap();
    }
    ModelRelease(&model);
    return 0;
}
