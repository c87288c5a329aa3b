#pragma once
// Growable stack of 32-bit integers.
#include <cstdint>

namespace errreport {

// Starts with 4 slots and doubles when a push would fill the last one, so one slot always stays free.
class IntStack {
  public:
    // Empty, capacity 4 (capacity 0 if the block cannot be allocated; the first push grows it).
    IntStack();
    // Frees the item block.
    ~IntStack();

    IntStack(const IntStack&) = delete;
    IntStack& operator=(const IntStack&) = delete;

    // Pushes the value, growing the block first if needed. If growing fails the value is dropped and
    // the stack stays as it was.
    void push(std::int32_t value);
    // The top value, or 0 when the stack is empty.
    std::int32_t top() const;
    // Removes the top value; does nothing on an empty stack.
    void pop();

    std::int32_t capacity; // item slots in the block
    std::int32_t count;    // items on the stack, below capacity
    std::int32_t* items;   // the item block

  private:
    bool grow();
};

} // namespace errreport
