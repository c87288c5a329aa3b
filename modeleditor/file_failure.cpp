#include "modeleditor/file_failure.h"

#include "model/model.h"

namespace editor {

std::string FileFailureReason(FileOperation operation, int32_t status) {
    switch (status) {
    case MODEL_ERR_OPEN:
        return operation == FileOperation::Save ? "the file cannot be written"
                                                : "the file cannot be opened or read";
    case MODEL_ERR_MAGIC:
        return "the file is not a Korvex model";
    case MODEL_ERR_COMPRESSION:
        return "the file names an unknown compression method";
    case MODEL_ERR_BUFFER:
        return operation == FileOperation::Save ? "the model cannot be compressed"
                                                : "the compressed data hold more than the header announces";
    case MODEL_ERR_DATA:
        return "the compressed data are corrupt";
    case MODEL_ERR_PARAMS:
        return "the model cannot be compressed";
    case MODEL_ERR_MEMORY:
        return "there is not enough memory";
    case MODEL_ERR_RANGE:
        return operation == FileOperation::Import ? "the object's counts do not fit the file"
                                                  : "the counts in the header do not fit the file";
    default:
        return "error " + std::to_string(status);
    }
}

std::string FileFailureText(FileOperation operation, const std::string& path, int32_t status) {
    const char* verb = operation == FileOperation::Open     ? "Cannot open "
                       : operation == FileOperation::Import ? "Cannot import "
                                                            : "Cannot save ";
    return verb + path + ":\n" + FileFailureReason(operation, status) + ".";
}

} // namespace editor
