#pragma once
// Files dropped on the main window: the local file a drag carries, if it carries one.
#include <optional>
#include <string>

class QMimeData;

namespace bmpedit {

// The path of the first local file among the URLs of `data`, in the local 8-bit encoding;
// nothing when it carries no local file.
std::optional<std::string> dropped_file(const QMimeData* data);

} // namespace bmpedit
