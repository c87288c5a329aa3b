// Pushes, reads and pops an integer stack and prints what it sees.
#include "errreport/int_stack.h"
#include "platform/pause.h"

#include <cstdio>

int main() {
    auto* stack = new errreport::IntStack();

    for (int i = 0; i < 10; ++i) {
        stack->push(i);
        std::printf("%d; ", i);
    }
    std::printf("\n");

    for (int i = 0; i < 10; ++i)
        std::printf("%d; ", stack->top());
    std::printf("\n");

    for (int i = 0; i < 10; ++i) {
        std::printf("%d; ", stack->top());
        stack->pop();
    }
    std::printf("\n");

    // The stack is empty now: ten zeros.
    for (int i = 0; i < 10; ++i) {
        std::printf("%d; ", stack->top());
        stack->pop();
    }

    platform::pause();
    delete stack;
    return 0;
}
