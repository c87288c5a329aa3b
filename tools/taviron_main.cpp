#include <iostream>

#include "tools/taviron_cli.h"

int main(int argc, char** argv) {
    return run_taviron(argc, argv, std::cout, std::cerr);
}
