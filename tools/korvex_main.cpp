#include <cstdio>

#include "tools/korvex_cli.h"

int main(int argc, char** argv) {
    return RunKorvex(argc, argv, stdout, stderr);
}
