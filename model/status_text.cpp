#include "model/status_text.h"

#include "model/model.h"

std::string ModelStatusText(int32_t status, ModelAccess access) {
    switch (status) {
    case MODEL_ERR_OPEN:
        return access == ModelAccess::Write ? "the file cannot be written"
                                            : "the file cannot be opened or read";
    case MODEL_ERR_MAGIC:
        return "the file is not a Korvex model";
    case MODEL_ERR_COMPRESSION:
        return "the file names an unknown compression method";
    case MODEL_ERR_BUFFER:
        return access == ModelAccess::Write ? "the model cannot be compressed"
                                            : "the compressed data hold more than the header announces";
    case MODEL_ERR_DATA:
        return "the compressed data are corrupt";
    case MODEL_ERR_PARAMS:
        return "the model cannot be compressed";
    case MODEL_ERR_MEMORY:
        return "there is not enough memory";
    case MODEL_ERR_RANGE:
        return access == ModelAccess::Import ? "the object's counts do not fit the file"
                                             : "the counts in the header do not fit the file";
    default:
        return "error " + std::to_string(status);
    }
}
