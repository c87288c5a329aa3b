#pragma once
// The taviron command line: look at Taviron files and convert between raw, compressed, BMP and PNG.
//   taviron info FILE                     width, height and storage of a Taviron file
//   taviron convert IN OUT [--compressed] IN is a Taviron file, or a BMP or PNG file when its name
//                                         ends in ".bmp" or ".png" (any case); OUT is a PNG file
//                                         when its name ends in ".png" (any case, --compressed
//                                         not needed), else a Taviron file
#include <ostream>

// Runs one command line (argv[0] is the program). Returns the exit status: 0 done, 1 a file
// failed ("taviron: FILE: reason" on err), 2 a usage error (usage on err).
int run_taviron(int argc, const char* const* argv, std::ostream& out, std::ostream& err);
