#pragma once
// Writing a Korvex model as OBJ text with its MTL materials. Numbers are written so that the
// interchange reader gives back the very same floats.

#include <string>
#include <vector>

#include "model/model.h"

struct ObjText {
    std::string obj;
    std::string mtl;
};

// The OBJ text (every vertex in list order, per-corner texture coordinates, one "usemtl" per run
// of faces with the same material) that refers to mtlName, and the MTL text. materialNames gives
// the name written for each material index, with one more entry at the end for faces whose
// material is out of range. Faces must name existing vertices (checked by the caller).
ObjText WriteObjText(const Model& model, const std::vector<std::string>& materialNames,
                     const std::string& mtlName);
