#include "bitmap/status_text.h"

#include "bitmap/taviron.h"

std::string taviron_status_text(std::int32_t status, TavironAccess access) {
    const bool import = access == TavironAccess::Import;
    switch (status) {
    case TAV_ERR_FAILED:
        return access == TavironAccess::Save ? "the file cannot be written"
                                             : "the file cannot be opened or read";
    case TAV_ERR_MAGIC:
        return import ? "it is not a BMP file" : "it is not a Taviron file";
    case TAV_ERR_STORAGE:
        return "its pixels are stored in an unknown way";
    case TAV_ERR_BUFFER:
        return access == TavironAccess::Save ? "the pixels cannot be compressed"
                                             : "its compressed pixels inflate to too many bytes";
    case TAV_ERR_DATA:
        return "its compressed pixels are damaged";
    case TAV_ERR_SIZE:
        return "its pixel data is cut short or has the wrong length";
    case TAV_ERR_LEVEL:
        return "the pixels cannot be compressed";
    case TAV_ERR_MEMORY:
        return "there is not enough memory";
    case TAV_ERR_ARGUMENT:
        return import ? "its picture format or size is not supported" : "its size is not supported";
    default:
        return "error " + std::to_string(status);
    }
}
