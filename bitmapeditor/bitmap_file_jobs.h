#pragma once
// Taviron Editor's file work with progress, for running off the window's thread: each gives the
// same bitmap, statuses and file bytes as the bitmap library's call named beside it.
#include <cstdint>
#include <string>

#include "bitmap/taviron.h"
#include "platform/file_progress.h"

namespace bmpedit {

// Taviron::load into `fresh`.
std::int32_t load_taviron_file(Taviron& fresh, const std::string& path, platform::FileProgress& progress);
// Taviron::import_bmp into `fresh`.
std::int32_t import_bmp_file(Taviron& fresh, const std::string& path, platform::FileProgress& progress);
// Taviron::import_png into `fresh`.
std::int32_t import_png_file(Taviron& fresh, const std::string& path, platform::FileProgress& progress);
// Taviron::save, or Taviron::save_compressed when `compressed`: the same bytes, written atomically.
std::int32_t save_taviron_file(Taviron& bitmap, const std::string& path, bool compressed,
                               platform::FileProgress& progress);

} // namespace bmpedit
