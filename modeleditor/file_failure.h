#pragma once
// The texts of the boxes that tell the user a file command failed.
#include <cstdint>
#include <string>

namespace editor {

enum class FileOperation { Open, Import, Save };

// The whole box text: what could not be done with which file, and why.
std::string FileFailureText(FileOperation operation, const std::string& path, int32_t status);

} // namespace editor
