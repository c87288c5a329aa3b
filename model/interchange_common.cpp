#include "model/interchange_common.h"

#include <cerrno>
#include <cstring>

#include "model/model.h"

namespace {

std::string Cut(const std::string& s, size_t n) {
    return s.size() <= n ? s : s.substr(0, n);
}

} // namespace

int32_t InterchangeFailure(std::string* reason, int32_t status, const std::string& text) {
    if (reason) *reason = text;
    return status;
}

int32_t InterchangeErrnoFailure(std::string* reason, int error) {
    InterchangeFailure(reason, MODEL_ERR_OPEN, std::strerror(error));
    errno = error;
    return MODEL_ERR_OPEN;
}

std::string UniqueMaterialName(std::string name, std::set<std::string>& taken) {
    if (name.empty()) name = kDefaultMaterialName;
    std::string candidate = Cut(name, 11);
    for (int n = 2; taken.count(candidate); ++n) {
        std::string suffix = std::to_string(n);
        suffix.insert(suffix.begin(), '_');
        candidate = Cut(name, 11 - suffix.size());
        candidate.append(suffix);
    }
    taken.insert(candidate);
    return candidate;
}
