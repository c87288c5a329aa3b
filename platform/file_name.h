#pragma once
// Tests on file names.
#include <string_view>

namespace platform {

// True when `path` ends in `extension` (given with its dot, ".bmp"), letters compared without case.
bool has_extension(std::string_view path, std::string_view extension);

} // namespace platform
