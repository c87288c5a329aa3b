#pragma once
// Reading and writing the numbers of the editor's dialog fields.
#include <cstdint>
#include <string>

namespace editor {

// The field's first 255 characters scanned as "%f"; text that does not scan as a number is 0.
float ScanFieldFloat(const std::string& text);
// The field's first 255 characters scanned as "%d"; text that does not scan is 0, numbers
// beyond the int range are clamped to it.
std::int32_t ScanFieldInt(const std::string& text);
// Leading spaces, a sign and digits as atoi reads them, clamped to the int range; 0 without digits.
std::int32_t AtoiField(const std::string& text);
// "%5.2f".
std::string FormatCoordinate(float value);

} // namespace editor
