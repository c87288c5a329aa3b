#pragma once
// Return codes of modes and of the mode manager.
#include <cstdint>

constexpr std::int32_t MODE_OK = 0;
constexpr std::int32_t MODE_NOT_IMPLEMENTED = -701; // default answer of every Sivra operation
constexpr std::int32_t MODE_ERR_ARG = -702;         // null mode, or slot index not below 65,536
constexpr std::int32_t MODE_ERR_FULL = -703;        // no free slot for add_mode
constexpr std::int32_t MODE_ERR_EMPTY = -704;       // switch_mode to an empty slot
constexpr std::int32_t MODE_ERR_NONE = -705;        // no mode is current
constexpr std::int32_t MODE_REQ_QUIT = -801; // from a mode operation: please quit (the frame still renders)
constexpr std::int32_t MODE_REQ_SKIP = -802; // from evaluate: skip render this frame
constexpr std::int32_t MODE_REQ_QUIT_SKIP = -803; // from evaluate: quit and skip render
constexpr std::int32_t MODE_QUITTING = -901;      // from the manager once quit is set
