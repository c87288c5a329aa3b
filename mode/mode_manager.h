#pragma once
// Holds modes in numbered slots, switches between them and runs frames, timing each one.
#include "mode/mode_codes.h"
#include "mode/sivra.h"

#include <array>
#include <cstdint>

class ModeManager {
  public:
    static constexpr std::uint32_t kSlotCount = 65536;

    // No current mode, quit clear, all slots empty, frameTime 1.
    ModeManager();

    // Stores the mode in the first empty slot and returns its index; MODE_ERR_ARG for a null mode,
    // MODE_ERR_FULL when no slot is empty.
    std::int32_t add_mode(Sivra* mode);
    // Stores the mode (null empties the slot) and returns MODE_OK; MODE_ERR_ARG for a bad index.
    std::int32_t set_mode(std::int32_t index, Sivra* mode);
    // Closes the current mode (if its slot still holds one), makes `index` current and enters it.
    // MODE_ERR_ARG / MODE_ERR_EMPTY change nothing, except when close itself emptied the target slot:
    // the switch has happened then, without an entry, and MODE_ERR_EMPTY tells so.
    // Otherwise MODE_QUITTING once quit is set, else MODE_OK.
    std::int32_t switch_mode(std::int32_t index);
    // The current slot index, or MODE_ERR_NONE.
    std::int32_t current_mode() const;
    // Sets quit; returns MODE_QUITTING.
    std::int32_t request_quit();
    // Runs evaluate and (unless skipped) render of the current mode and times them. MODE_ERR_NONE and
    // nothing called when there is no current mode or its slot is empty; else MODE_QUITTING or MODE_OK.
    std::int32_t frame();

    std::int32_t frameTime;  // length of the last frame in milliseconds, passed to the next evaluate
    std::int32_t current;    // current slot index, -1 for none
    bool quit;               // set by a quit request, never cleared
    std::int32_t frameCount; // frames run
    std::array<Sivra*, kSlotCount> slots; // registered modes, not owned

  private:
    // Sets quit when a mode operation answered MODE_REQ_QUIT.
    void note(std::int32_t code);
    Sivra* current_slot() const;
};
