#pragma once
// Sample mode that reports every call on standard output.
#include "mode/sivra.h"

class test final : public Sivra {
  public:
    // Prints "virtual int test::entry()"; returns MODE_OK.
    std::int32_t entry() override;
    // Prints "virtual int test::close()"; returns MODE_OK.
    std::int32_t close() override;
    // Prints "virtual int test::evaluate(int) - <frameTime>"; returns MODE_OK.
    std::int32_t evaluate(std::int32_t frameTime) override;
    // Prints "virtual int test::render()", sleeps 100 ms; returns MODE_OK.
    std::int32_t render() override;
};
