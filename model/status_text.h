#pragma once
// The words for a model status code, shared by the editor's boxes and the command-line tool.
#include <cstdint>
#include <string>

// What was being done when the status came back; some codes mean different things for each.
enum class ModelAccess { Read, Import, Write };

// Why an operation failed with `status`: a lower-case phrase without a full stop, such as
// "the file is not a Korvex model". A code without words of its own gives "error N".
std::string ModelStatusText(int32_t status, ModelAccess access);
