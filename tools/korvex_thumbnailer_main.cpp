// korvex-thumbnailer -s SIZE IN OUT: a PNG preview of a Korvex model for file managers; draws
// offscreen, so it needs no display.
#include "tools/korvex_thumbnailer.h"
#include "tools/thumbnailer_common.h"

int main(int argc, char** argv) {
    return thumbnailer::run("korvex-thumbnailer", argc, argv, korvex_thumbnail);
}
