#pragma once
// Converting between a model's material and the editable channels of MaterialEdit.
#include <cstdint>

#include "model/model.h"
#include "modeleditor/dialogs/dialog_values.h"

namespace editor {

// Channel of a material float: f * 255 rounded to the nearest integer.
std::int32_t ChannelOf(float value);

// Loads material `index` into `edit` (colours * 255 rounded, shininess rounded). Returns the
// model status; on failure `edit` is unchanged.
std::int32_t LoadMaterialEdit(const Model* model, std::int32_t index, MaterialEdit& edit);

// The four colours of `edit` as floats (each channel / 255.0).
struct MaterialColours {
    float ambient[4];
    float diffuse[4];
    float specular[4];
    float emission[4];
};
MaterialColours ColoursOf(const MaterialEdit& edit);

} // namespace editor
