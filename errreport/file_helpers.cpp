#include "errreport/file_helpers.h"

#include <sys/types.h>

namespace errreport {

std::int64_t file_length(std::FILE* file) {
    if (file == nullptr) return -1;
    off_t here = ftello(file);
    if (here < 0) return -1;
    if (fseeko(file, 0, SEEK_END) != 0) return -1;
    off_t end = ftello(file);
    fseeko(file, here, SEEK_SET);
    return end < 0 ? -1 : static_cast<std::int64_t>(end);
}

void file_step_back(std::FILE* file) {
    if (file == nullptr) return;
    fseeko(file, -1, SEEK_CUR);
}

} // namespace errreport
