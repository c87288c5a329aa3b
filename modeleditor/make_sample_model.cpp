// Writes the sample model that `make run` opens: make-sample-model OUT.Korvex
#include "model/korvex_file.h"
#include "modeleditor/sample_model.h"

#include <cstdio>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: make-sample-model OUT.Korvex\n");
        return 2;
    }
    Model model;
    ModelInit(&model);
    int32_t status = editor::BuildSampleModel(&model);
    if (status == MODEL_OK) status = ModelSaveCompressed(&model, argv[1]);
    if (status != MODEL_OK) std::fprintf(stderr, "make-sample-model: %s: error %d\n", argv[1], int(status));
    ModelRelease(&model);
    return status == MODEL_OK ? 0 : 1;
}
