#include "bitmap/status_text.h"

#include "bitmap/taviron.h"

std::string taviron_status_text(std::int32_t status, TavironAccess access) {
    const bool png = access == TavironAccess::ImportPng || access == TavironAccess::SavePng;
    const bool import = access == TavironAccess::Import || access == TavironAccess::ImportPng;
    const bool save = access == TavironAccess::Save || access == TavironAccess::SavePng;
    switch (status) {
    case TAV_ERR_FAILED:
        return save ? "the file cannot be written" : "the file cannot be opened or read";
    case TAV_ERR_MAGIC:
        if (png) return "it is not a PNG file";
        return import ? "it is not a BMP file" : "it is not a Taviron file";
    case TAV_ERR_STORAGE:
        return "its pixels are stored in an unknown way";
    case TAV_ERR_BUFFER:
        return save ? "the pixels cannot be compressed" : "its compressed pixels inflate to too many bytes";
    case TAV_ERR_DATA:
        return png ? "its PNG data is damaged" : "its compressed pixels are damaged";
    case TAV_ERR_SIZE:
        return "its pixel data is cut short or has the wrong length";
    case TAV_ERR_LEVEL:
        return "the pixels cannot be compressed";
    case TAV_ERR_MEMORY:
        return png && !save ? "there is not enough memory, or a chunk is larger than the reader allows"
                            : "there is not enough memory";
    case TAV_ERR_ARGUMENT:
        if (access == TavironAccess::SavePng) return "a PNG needs at least one pixel each way";
        return import ? "its picture format or size is not supported" : "its size is not supported";
    default:
        return "error " + std::to_string(status);
    }
}
