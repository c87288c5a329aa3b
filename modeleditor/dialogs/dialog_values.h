#pragma once
// The values the editor's dialogs keep for the whole run: the next proposed dummy id, the
// material being edited or browsed, which material the Material dialog edits, the browser's
// choice and the colour chooser's custom colours.
#include <array>
#include <cstdint>

namespace editor {

// Colours and shininess of the material being edited or previewed, channels 0..255 as typed
// (not clamped). A channel c is the material's c / 255.0.
struct MaterialEdit {
    std::int32_t ambient[4] = {128, 128, 128, 255};
    std::int32_t diffuse[4] = {192, 192, 192, 255};
    std::int32_t specular[4] = {255, 255, 255, 255};
    std::int32_t emission[4] = {0, 0, 0, 255};
    std::int32_t shininess = 64;
};

struct DialogValues {
    std::int32_t nextDummyId = 0;       // proposed by the next Dummy dialog
    MaterialEdit materialEdit;          // shared by the Material dialog, the browser and the preview
    std::int32_t materialEditIndex = 0; // the material the open Material dialog edits
    bool materialEditExisting = false;  // false while it edits a material it added itself
    std::int32_t browserSelection = 0;  // the line last selected in the Material browser
    std::array<std::uint32_t, 16> customColours{}; // 0x00BBGGRR, kept for the run
};

// The one set of values of the running program.
DialogValues& ProgramDialogValues();

} // namespace editor
