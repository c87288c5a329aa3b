#include "mode/mode_manager.h"

#include "platform/ticks.h"

namespace {

bool bad_index(std::int32_t index) {
    return static_cast<std::uint32_t>(index) >= ModeManager::kSlotCount;
}

} // namespace

ModeManager::ModeManager() : frameTime(1), current(-1), quit(false), frameCount(0), slots{} {}

void ModeManager::note(std::int32_t code) {
    if (code == MODE_REQ_QUIT) quit = true;
}

Sivra* ModeManager::current_slot() const {
    return current == -1 ? nullptr : slots[static_cast<std::uint32_t>(current)];
}

std::int32_t ModeManager::add_mode(Sivra* mode) {
    if (mode == nullptr) return MODE_ERR_ARG;
    for (std::uint32_t i = 0; i < kSlotCount; ++i) {
        if (slots[i] == nullptr) {
            slots[i] = mode;
            return static_cast<std::int32_t>(i);
        }
    }
    return MODE_ERR_FULL;
}

std::int32_t ModeManager::set_mode(std::int32_t index, Sivra* mode) {
    if (bad_index(index)) return MODE_ERR_ARG;
    slots[static_cast<std::uint32_t>(index)] = mode;
    return MODE_OK;
}

std::int32_t ModeManager::switch_mode(std::int32_t index) {
    if (bad_index(index)) return MODE_ERR_ARG;
    if (slots[static_cast<std::uint32_t>(index)] == nullptr) return MODE_ERR_EMPTY;

    // A current slot emptied by set_mode has nobody left to close.
    if (Sivra* old = current_slot()) note(old->close());

    current = index;
    // Read again: close may have replaced or removed the mode in the target slot.
    Sivra* next = slots[static_cast<std::uint32_t>(index)];
    if (next == nullptr) return MODE_ERR_EMPTY;
    note(next->entry());
    return quit ? MODE_QUITTING : MODE_OK;
}

std::int32_t ModeManager::current_mode() const {
    return current == -1 ? MODE_ERR_NONE : current;
}

std::int32_t ModeManager::request_quit() {
    quit = true;
    return MODE_QUITTING;
}

std::int32_t ModeManager::frame() {
    Sivra* mode = current_slot();
    if (mode == nullptr) return MODE_ERR_NONE;

    std::uint32_t t0 = platform::tick_count();
    std::int32_t r = mode->evaluate(frameTime);
    if (r == MODE_REQ_QUIT || r == MODE_REQ_QUIT_SKIP) quit = true;
    // evaluate may have emptied or refilled the slot; render whatever mode is current now.
    if (r != MODE_REQ_QUIT_SKIP && r != MODE_REQ_SKIP) {
        if (Sivra* now = current_slot()) note(now->render());
    }
    std::int32_t result = quit ? MODE_QUITTING : MODE_OK;
    frameCount = static_cast<std::int32_t>(static_cast<std::uint32_t>(frameCount) + 1u);
    // Unsigned difference survives the counter's wrap.
    frameTime = static_cast<std::int32_t>(platform::tick_count() - t0);
    return result;
}
