#include "modeleditor/file_failure.h"

#include "model/status_text.h"

namespace editor {

std::string FileFailureText(FileOperation operation, const std::string& path, int32_t status) {
    const char* verb = operation == FileOperation::Open     ? "Cannot open "
                       : operation == FileOperation::Import ? "Cannot import "
                                                            : "Cannot save ";
    const ModelAccess access = operation == FileOperation::Open     ? ModelAccess::Read
                               : operation == FileOperation::Import ? ModelAccess::Import
                                                                    : ModelAccess::Write;
    return verb + path + ":\n" + ModelStatusText(status, access) + ".";
}

} // namespace editor
