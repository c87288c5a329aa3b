#pragma once
// Opening models of other formats in the editor. A foreign file is read by a separate importer
// process (this build's `korvex convert FILE -`), which hands back the plain Korvex stream on its
// standard output: a crash or a hang of the reader ends that process only, never the editor or
// the model being edited.
#include <cstdint>
#include <string>

#include "model/model.h"
#include "modeleditor/editor_window.h"

namespace editor {

inline constexpr int kForeignImportTimeoutMs = 30000;

struct ForeignImporter {
    std::string program;                     // run as: program convert FILE -
    int timeoutMs = kForeignImportTimeoutMs; // killed when it has not finished by then
};

// The Open dialog: the Korvex filter first (and chosen), then one filter for every model format
// the editor opens, then one per common format.
FileDialogRequest ModelOpenRequest();

// True when path's extension names a format that is read out of process (not Korvex, not ASC).
bool IsForeignModelPath(const std::string& path);

// Runs the importer on path and loads what it prints into model. Returns 0, or a negative model
// status with reason (a phrase in words: the importer's own reason, a crash, the time running
// out, an answer that is not a Korvex stream). On failure the model is unchanged.
std::int32_t ImportForeignModel(Model* model, const ForeignImporter& importer, const std::string& path,
                                std::string* reason);

// The box text for a foreign file that could not be opened.
std::string ForeignFailureText(const std::string& path, const std::string& reason);

} // namespace editor
