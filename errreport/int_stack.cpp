#include "errreport/int_stack.h"

#include "errreport/alloc_zeroed.h"

#include <cstdlib>
#include <limits>

namespace errreport {

IntStack::IntStack() : capacity(0), count(0), items(nullptr) {
    items = static_cast<std::int32_t*>(alloc_zeroed(4 * sizeof(std::int32_t)));
    if (items != nullptr) capacity = 4;
}

IntStack::~IntStack() {
    std::free(items);
}

bool IntStack::grow() {
    if (capacity > std::numeric_limits<std::int32_t>::max() / 2) return false;
    std::int32_t bigger = capacity == 0 ? 4 : capacity * 2;
    // The new part is left as realloc gives it: slots at and above count are never read.
    void* block = std::realloc(items, static_cast<std::size_t>(bigger) * sizeof(std::int32_t));
    if (block == nullptr) return false; // the old block is still ours and still matches capacity
    items = static_cast<std::int32_t*>(block);
    capacity = bigger;
    return true;
}

void IntStack::push(std::int32_t value) {
    if (count + 1 >= capacity && !grow()) return;
    items[count] = value;
    ++count;
}

std::int32_t IntStack::top() const {
    return count == 0 ? 0 : items[count - 1];
}

void IntStack::pop() {
    if (count != 0) --count;
}

} // namespace errreport
