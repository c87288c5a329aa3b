#pragma once
// Base class of a mode: one screen or state of a frame-driven program.
#include <cstdint>

// Every operation answers MODE_NOT_IMPLEMENTED unless a derived mode overrides it. The destructor is
// not virtual: destroy a mode through its own type.
class Sivra {
  public:
    // Called when the manager makes this mode current.
    virtual std::int32_t entry();
    // Called when the manager switches away from this mode.
    virtual std::int32_t close();
    // Called once per frame with the previous frame's length in milliseconds.
    virtual std::int32_t evaluate(std::int32_t frameTime);
    // Called once per frame after evaluate, unless evaluate asked to skip it.
    virtual std::int32_t render();
};
