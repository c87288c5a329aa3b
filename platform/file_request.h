#pragma once
// A file dialog as a program asks for it, free of any window system: the editors' logic fills it
// in, the Qt shells show it.
#include <string>
#include <vector>

namespace platform {

// One filter: the text shown and its patterns separated by ';' ("*.Taviron;*.Tav").
struct FileFilter {
    std::string description;
    std::string patterns;
};

struct FileDialogRequest {
    bool save = false; // a save dialog, else an open dialog
    std::vector<FileFilter> filters;
    std::string default_extension; // without the dot; added when the chosen name has none
    bool must_exist = false;       // open dialogs: only an existing file can be chosen
    bool overwrite_prompt = false; // save dialogs: ask before choosing an existing file
};

struct FileChoice {
    std::string path;
    int filter_index = 1; // 1-based index of the filter that was selected
};

} // namespace platform
