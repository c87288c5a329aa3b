#include "tools/korvex_asc.h"

#if __has_include("model/asc_import.h")
#include "model/asc_import.h"
#define KORVEX_HAS_ASC_IMPORT 1
#else
#define KORVEX_HAS_ASC_IMPORT 0
#endif

bool KorvexCanImportAsc() { return KORVEX_HAS_ASC_IMPORT != 0; }

int32_t KorvexImportAsc([[maybe_unused]] Model* model, [[maybe_unused]] const char* path,
                        [[maybe_unused]] bool simple) {
#if KORVEX_HAS_ASC_IMPORT
  return simple ? ImportAsc(model, path) : ImportAscAdvanced(model, path);
#else
  return MODEL_ERR_OPEN;
#endif
}
