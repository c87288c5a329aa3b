#pragma once
// Lighting switch, one positional light, the current material.
// Each returns VIEW_ERR_NO_CONTEXT, doing nothing, when the context has no GL context.
#include "glview/view_context.h"

#include <cstdint>

namespace glview {

// on != 0 enables GL_LIGHTING and GL_COLOR_MATERIAL, 0 disables both.
std::int32_t view_set_lighting(ViewContext* context, std::int32_t on);
// Enables or disables GL_LIGHT0 + index and sets its ambient, diffuse, position (w = 1,
// under the modelview matrix in force now) and specular; colours get alpha 1.
std::int32_t view_set_light(ViewContext* context, std::int32_t index, std::int32_t on, float px, float py,
                            float pz, float ambientR, float ambientG, float ambientB, float diffuseR,
                            float diffuseG, float diffuseB, float specularR, float specularG,
                            float specularB);
// Sets ambient, diffuse, specular, emission and shininess of front and back material.
std::int32_t view_set_material(ViewContext* context, float ambientR, float ambientG, float ambientB,
                               float ambientA, float diffuseR, float diffuseG, float diffuseB, float diffuseA,
                               float specularR, float specularG, float specularB, float specularA,
                               float emissionR, float emissionG, float emissionB, float emissionA,
                               std::int32_t shininess);

} // namespace glview
