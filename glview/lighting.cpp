#include "glview/lighting.h"

#include <GL/gl.h>

namespace glview {

std::int32_t view_set_lighting(ViewContext* context, std::int32_t on) {
    if (!view_has_context(context)) return VIEW_ERR_NO_CONTEXT;
    if (on) {
        glEnable(GL_LIGHTING);
        glEnable(GL_COLOR_MATERIAL);
    } else {
        glDisable(GL_LIGHTING);
        glDisable(GL_COLOR_MATERIAL);
    }
    return VIEW_OK;
}

std::int32_t view_set_light(ViewContext* context, std::int32_t index, std::int32_t on, float px, float py,
                            float pz, float ambientR, float ambientG, float ambientB, float diffuseR,
                            float diffuseG, float diffuseB, float specularR, float specularG,
                            float specularB) {
    if (!view_has_context(context)) return VIEW_ERR_NO_CONTEXT;
    const GLenum light = GLenum(GL_LIGHT0 + index);
    if (on)
        glEnable(light);
    else
        glDisable(light);
    const GLfloat ambient[4] = {ambientR, ambientG, ambientB, 1.0f};
    const GLfloat diffuse[4] = {diffuseR, diffuseG, diffuseB, 1.0f};
    const GLfloat position[4] = {px, py, pz, 1.0f};
    const GLfloat specular[4] = {specularR, specularG, specularB, 1.0f};
    glLightfv(light, GL_AMBIENT, ambient);
    glLightfv(light, GL_DIFFUSE, diffuse);
    glLightfv(light, GL_POSITION, position);
    glLightfv(light, GL_SPECULAR, specular);
    return VIEW_OK;
}

std::int32_t view_set_material(ViewContext* context, float ambientR, float ambientG, float ambientB,
                               float ambientA, float diffuseR, float diffuseG, float diffuseB, float diffuseA,
                               float specularR, float specularG, float specularB, float specularA,
                               float emissionR, float emissionG, float emissionB, float emissionA,
                               std::int32_t shininess) {
    if (!view_has_context(context)) return VIEW_ERR_NO_CONTEXT;
    const GLfloat ambient[4] = {ambientR, ambientG, ambientB, ambientA};
    const GLfloat diffuse[4] = {diffuseR, diffuseG, diffuseB, diffuseA};
    const GLfloat specular[4] = {specularR, specularG, specularB, specularA};
    const GLfloat emission[4] = {emissionR, emissionG, emissionB, emissionA};
    glMaterialfv(GL_FRONT_AND_BACK, GL_AMBIENT, ambient);
    glMaterialfv(GL_FRONT_AND_BACK, GL_DIFFUSE, diffuse);
    glMaterialfv(GL_FRONT_AND_BACK, GL_SPECULAR, specular);
    glMaterialfv(GL_FRONT_AND_BACK, GL_EMISSION, emission);
    glMateriali(GL_FRONT_AND_BACK, GL_SHININESS, shininess);
    return VIEW_OK;
}

} // namespace glview
