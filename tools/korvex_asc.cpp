#include "tools/korvex_asc.h"

#include "model/asc_import.h"

int32_t KorvexImportAsc(Model* model, const char* path, bool simple) {
    return simple ? ImportAsc(model, path) : ImportAscAdvanced(model, path);
}
