// taviron-thumbnailer -s SIZE IN OUT: a PNG preview of a Taviron bitmap for file managers.
#include "tools/taviron_thumbnailer.h"
#include "tools/thumbnailer_common.h"

int main(int argc, char** argv) {
    return thumbnailer::run("taviron-thumbnailer", argc, argv, taviron_thumbnail);
}
