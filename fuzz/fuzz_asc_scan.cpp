// Differential target for the ASC scan patterns: every input, taken as one line, must scan
// exactly as sscanf scans it (same number of fields, same bits in every field).

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "model/asc_scan.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > 2047) return 0;
    // sscanf sees the text up to the first NUL; the scanner must stop there by itself.
    const std::string line(reinterpret_cast<const char*>(data), size);
    static const char* const kPatterns[] = {"Tri-mesh, Vertices: %d     Faces: %d",
                                            "Vertex %d:  X: %f     Y: %f     Z: %f",
                                            "Face %d:    A: %d B: %d C: %d", "%f|%f", "%d %d"};
    for (const char* pattern : kPatterns) {
        uint32_t expected[4] = {0x7fc01234u, 0x7fc01234u, 0x7fc01234u, 0x7fc01234u};
        uint32_t actual[4] = {0x7fc01234u, 0x7fc01234u, 0x7fc01234u, 0x7fc01234u};
        int expectedCount =
            std::sscanf(line.c_str(), pattern, &expected[0], &expected[1], &expected[2], &expected[3]);
        if (expectedCount < 0) expectedCount = 0;
        void* const fields[4] = {&actual[0], &actual[1], &actual[2], &actual[3]};
        const int actualCount = AscPattern(pattern).Scan(line, fields);
        if (actualCount != expectedCount || std::memcmp(actual, expected, sizeof actual) != 0) {
            std::fprintf(stderr, "pattern \"%s\": %d fields, sscanf %d\n", pattern, actualCount,
                         expectedCount);
            std::abort();
        }
    }
    return 0;
}
