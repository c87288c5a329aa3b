#include "mode/test_mode.h"

#include "mode/mode_codes.h"
#include "platform/ticks.h"

#include <cstdio>

std::int32_t test::entry() {
    std::printf("virtual int test::entry()\n");
    return MODE_OK;
}

std::int32_t test::close() {
    std::printf("virtual int test::close()\n");
    return MODE_OK;
}

std::int32_t test::evaluate(std::int32_t frameTime) {
    std::printf("%s - %d\n", "virtual int test::evaluate(int)", frameTime);
    return MODE_OK;
}

std::int32_t test::render() {
    std::printf("virtual int test::render()\n");
    platform::sleep_ms(100);
    return MODE_OK;
}
