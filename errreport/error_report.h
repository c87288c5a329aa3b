#pragma once
// Numbered error reports on standard output with the source location recorded last.
#include <cstdint>

namespace errreport {

// Remembers the location for later reports; the texts are not copied and must outlive every report.
// Returns 0, or 1 (keeping the previous location) if `file` or `func` is null.
std::int32_t error_set_location(const char* file, const char* func, std::int32_t line);

// Prints "\nError: <code>\nIn: <file>\tLine: <line>\tFunc: <func>\nDesc: <description>\n\n".
// A text that was never set (or a null description) prints as "(unknown)". Returns 0.
std::int32_t error_report(std::int32_t code, const char* description);

} // namespace errreport
