#include "errreport/error_report.h"

#include <cstdio>

namespace errreport {

namespace {

// One location per process, as the last error_set_location left it.
const char* errFile = nullptr;
const char* errFunc = nullptr;
std::int32_t errLine = 0;

const char* or_unknown(const char* text) {
    return text != nullptr ? text : "(unknown)";
}

} // namespace

std::int32_t error_set_location(const char* file, const char* func, std::int32_t line) {
    if (file == nullptr || func == nullptr) return 1;
    errFile = file;
    errFunc = func;
    errLine = line;
    return 0;
}

std::int32_t error_report(std::int32_t code, const char* description) {
    std::printf("\nError: %d\nIn: %s\tLine: %d\tFunc: %s\nDesc: %s\n\n", code, or_unknown(errFile), errLine,
                or_unknown(errFunc), or_unknown(description));
    return 0;
}

} // namespace errreport
