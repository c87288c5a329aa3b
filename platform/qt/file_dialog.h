#pragma once
// Open and save file dialogs with the old platform's filters and default extension.
#include <optional>
#include <string>
#include <vector>

#include "platform/file_request.h"

class QWidget;

namespace platform {

// Shows a modal open or save dialog (as `request.save` says) owned by `owner`; empty when the user
// cancelled.
std::optional<FileChoice> file_dialog(QWidget* owner, const FileDialogRequest& request);

// `path` with ".extension" appended when its file name has no extension and `extension` is not empty.
std::string with_default_extension(const std::string& path, const std::string& extension);

// The filter text Qt understands: the description, then the patterns in parentheses, separated by spaces.
std::string qt_filter_text(const FileFilter& filter);

} // namespace platform
