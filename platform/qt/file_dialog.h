#pragma once
// Open and save file dialogs with the old platform's filters and default extension.
#include <optional>
#include <string>
#include <vector>

class QWidget;

namespace platform {

// One filter: the text shown and its patterns separated by ';' ("*.Taviron;*.Tav").
struct FileFilter {
    std::string description;
    std::string patterns;
};

struct FileDialogOptions {
    std::vector<FileFilter> filters;
    std::string default_extension; // without the dot; added when the chosen name has none
    bool must_exist = false;       // open dialogs: only an existing file can be chosen
    bool overwrite_prompt = false; // save dialogs: ask before choosing an existing file
};

struct FileChoice {
    std::string path;
    int filter_index = 1; // 1-based index of the filter that was selected
};

// Shows a modal open dialog owned by `owner`; empty when the user cancelled.
std::optional<FileChoice> open_file_dialog(QWidget* owner, const FileDialogOptions& options);

// Shows a modal save dialog owned by `owner`; empty when the user cancelled.
std::optional<FileChoice> save_file_dialog(QWidget* owner, const FileDialogOptions& options);

// `path` with ".extension" appended when its file name has no extension and `extension` is not empty.
std::string with_default_extension(const std::string& path, const std::string& extension);

// The filter text Qt understands: the description, then the patterns in parentheses, separated by spaces.
std::string qt_filter_text(const FileFilter& filter);

} // namespace platform
