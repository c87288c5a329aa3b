#include "modeleditor/dialogs/material_edit.h"

#include <cmath>
#include <limits>

namespace editor {

std::int32_t ChannelOf(float value) {
    const double scaled = std::round(double(value) * 255.0);
    // Values from a file may be anything; keep the conversion defined.
    if (!(scaled >= double(std::numeric_limits<std::int32_t>::min())))
        return scaled < 0 ? std::numeric_limits<std::int32_t>::min() : 0;
    if (scaled > double(std::numeric_limits<std::int32_t>::max()))
        return std::numeric_limits<std::int32_t>::max();
    return std::int32_t(scaled);
}

namespace {

std::int32_t Rounded(float value) {
    const double rounded = std::round(double(value));
    if (!(rounded >= double(std::numeric_limits<std::int32_t>::min())))
        return rounded < 0 ? std::numeric_limits<std::int32_t>::min() : 0;
    if (rounded > double(std::numeric_limits<std::int32_t>::max()))
        return std::numeric_limits<std::int32_t>::max();
    return std::int32_t(rounded);
}

} // namespace

std::int32_t LoadMaterialEdit(const Model* model, std::int32_t index, MaterialEdit& edit) {
    float ambient[4], diffuse[4], specular[4], emission[4], shininess = 0.0f;
    const std::int32_t status = GetMaterial(model, index, ambient, diffuse, specular, emission, &shininess);
    if (status != MODEL_OK) return status;
    for (int i = 0; i < 4; ++i) {
        edit.ambient[i] = ChannelOf(ambient[i]);
        edit.diffuse[i] = ChannelOf(diffuse[i]);
        edit.specular[i] = ChannelOf(specular[i]);
        edit.emission[i] = ChannelOf(emission[i]);
    }
    edit.shininess = Rounded(shininess);
    return MODEL_OK;
}

MaterialColours ColoursOf(const MaterialEdit& edit) {
    MaterialColours colours{};
    for (int i = 0; i < 4; ++i) {
        colours.ambient[i] = float(edit.ambient[i] / 255.0);
        colours.diffuse[i] = float(edit.diffuse[i] / 255.0);
        colours.specular[i] = float(edit.specular[i] / 255.0);
        colours.emission[i] = float(edit.emission[i] / 255.0);
    }
    return colours;
}

} // namespace editor
