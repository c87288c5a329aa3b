#include "modeleditor/dialogs/dialog_numbers.h"

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>

namespace editor {
namespace {

// A field is read into a buffer of 256 bytes with its NUL.
constexpr std::size_t kFieldChars = 255;

std::string FieldText(const std::string& text) {
    return text.substr(0, kFieldChars);
}

std::int32_t Clamped(long value) {
    if (value > INT_MAX) return INT_MAX;
    if (value < INT_MIN) return INT_MIN;
    return std::int32_t(value);
}

} // namespace

float ScanFieldFloat(const std::string& text) {
    float value = 0.0f;
    if (std::sscanf(FieldText(text).c_str(), "%f", &value) != 1) return 0.0f;
    return value;
}

std::int32_t ScanFieldInt(const std::string& text) {
    // "%d" on a number beyond int is undefined; read it wide and clamp.
    return AtoiField(text);
}

std::int32_t AtoiField(const std::string& text) {
    const std::string field = FieldText(text);
    errno = 0;
    char* end = nullptr;
    const long value = std::strtol(field.c_str(), &end, 10);
    if (end == field.c_str()) return 0;
    if (errno == ERANGE) return value < 0 ? INT_MIN : INT_MAX;
    return Clamped(value);
}

std::string FormatCoordinate(float value) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%5.2f", double(value));
    return buffer;
}

} // namespace editor
