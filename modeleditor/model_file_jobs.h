#pragma once
// The editor's file work with progress, for running off the window's thread: each gives the
// same model, statuses and file bytes as the model library's own call named beside it.
#include <cstdint>
#include <string>

#include "model/model.h"
#include "platform/file_progress.h"

namespace editor {

// ModelLoad into `fresh`.
std::int32_t LoadKorvexFile(Model* fresh, const std::string& path, platform::FileProgress& progress);

// ImportAsc, or ImportAscAdvanced when `advanced`, into `model`.
std::int32_t ImportAscFile(Model* model, const std::string& path, bool advanced,
                           platform::FileProgress& progress);

// ModelSave, or ModelSaveCompressed when `compressed`: the same bytes, written atomically.
std::int32_t SaveKorvexFile(Model* model, const std::string& path, bool compressed,
                            platform::FileProgress& progress);

} // namespace editor
