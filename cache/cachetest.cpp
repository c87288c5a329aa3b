// Runs a fixed sequence of calls on a small cache and prints what happens.
#include "cache/cache.h"
#include "platform/pause.h"

#include <cstdio>

int main() {
    cache* c = new cache();

    std::printf("start:\n");
    c->dump();

    c->add(123);
    c->add(456);
    c->add(354);
    c->add(900);
    c->dump();
    std::printf("\n");

    for (int i = 0; i < 3; ++i)
        c->get(456, 0);
    for (int i = 0; i < 2; ++i)
        c->get(123, 0);
    for (int i = 0; i < 2; ++i)
        c->get(900, 0);
    c->dump();

    c->add(100);
    c->dump();
    c->add(200);
    c->dump();

    c->clear();
    delete c;
    platform::pause();
    return 0;
}
