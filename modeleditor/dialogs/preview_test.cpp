// The pictures of the material and model previews, drawn offscreen and read back.
#include "modeleditor/dialogs/preview_draw.h"

#include "glview/gl_test_support.h"

namespace editor {
namespace {

using glview::testing::OffscreenView;
using glview::testing::Rgba;

class MaterialPreviewPicture : public OffscreenView {
  protected:
    MaterialPreviewPicture() : OffscreenView(166, 148) {}
    void SetUp() override {
        OffscreenView::SetUp();
        view->zNear = 0.01f;
        view->zFar = 5.0f;
    }
    // Pure stripe colours in the top rows, which the sphere does not reach.
    int StripePixels(const std::vector<std::uint8_t>& image, int channel) {
        int count = 0;
        for (int y = 0; y < 12; ++y)
            for (int x = 0; x < surface.width(); ++x) {
                const Rgba p = at(image, x, y);
                const int values[3] = {p.r, p.g, p.b};
                if (values[channel] > 200 && values[(channel + 1) % 3] < 60 && values[(channel + 2) % 3] < 60)
                    ++count;
            }
        return count;
    }
};

TEST_F(MaterialPreviewPicture, StripesOnlyBehindATranslucentMaterial) {
    MaterialEdit edit;
    DrawMaterialPreview(view, edit);
    const std::vector<std::uint8_t> opaque = grab();
    EXPECT_EQ(StripePixels(opaque, 0), 0);
    EXPECT_EQ(StripePixels(opaque, 1), 0);
    EXPECT_EQ(StripePixels(opaque, 2), 0);

    edit.diffuse[3] = 254;
    DrawMaterialPreview(view, edit);
    const std::vector<std::uint8_t> translucent = grab();
    EXPECT_GT(StripePixels(translucent, 0), 0);
    EXPECT_GT(StripePixels(translucent, 1), 0);
    EXPECT_GT(StripePixels(translucent, 2), 0);
    // The sixth red stripe stands at x = 0, in the middle column.
    const int middle = surface.width() / 2;
    const Rgba left = at(translucent, middle - 1, 2), right = at(translucent, middle, 2);
    EXPECT_TRUE((left.r > 200 && left.g < 60) || (right.r > 200 && right.g < 60));
}

TEST_F(MaterialPreviewPicture, SphereCentreIsLitInTheMaterialsColour) {
    MaterialEdit edit;
    edit.diffuse[0] = 255;
    edit.diffuse[1] = 0;
    edit.diffuse[2] = 0;
    edit.ambient[1] = edit.ambient[2] = 0;
    edit.specular[0] = edit.specular[1] = edit.specular[2] = 0;
    DrawMaterialPreview(view, edit);
    const auto& image = grab();
    const Rgba centre = at(image, surface.width() / 2, surface.height() / 2);
    EXPECT_GT(centre.r, 100);
    EXPECT_LT(centre.g, 40);
    EXPECT_LT(centre.b, 40);
    const Rgba corner = at(image, 1, surface.height() - 2);
    EXPECT_FALSE(corner.lit()); // black around the sphere
    // The light comes from the upper left: that side of the sphere is brighter.
    const Rgba upperLeft = at(image, surface.width() / 2 - 20, surface.height() / 2 - 20);
    const Rgba lowerRight = at(image, surface.width() / 2 + 20, surface.height() / 2 + 20);
    EXPECT_GT(upperLeft.r, lowerRight.r);
}

TEST_F(MaterialPreviewPicture, EmissionAloneLightsTheSphere) {
    MaterialEdit edit;
    for (int i = 0; i < 3; ++i) {
        edit.ambient[i] = edit.diffuse[i] = edit.specular[i] = 0;
        edit.emission[i] = 0;
    }
    edit.emission[2] = 255;
    DrawMaterialPreview(view, edit);
    const Rgba centre = pixel(surface.width() / 2, surface.height() / 2);
    EXPECT_GT(centre.b, 240);
    EXPECT_LT(centre.r, 10);
}

class ModelPreviewPicture : public OffscreenView {
  protected:
    ModelPreviewPicture() : OffscreenView(160, 120, 0xFFFFFF) {}
};

TEST_F(ModelPreviewPicture, ModelIsDrawnTenUnitsAwayOnWhite) {
    Model model;
    ModelInit(&model);
    AddVertex(&model, -1, -1, 0, 0);
    AddVertex(&model, 1, -1, 0, 0);
    AddVertex(&model, 0, 1, 0, 0);
    AddFace(&model, 0, 1, 2, 0);
    const float ambient[4] = {0.2f, 0.0f, 0.0f, 1.0f}, diffuse[4] = {0.8f, 0.1f, 0.1f, 1.0f};
    const float specular[4] = {0.0f, 0.0f, 0.0f, 1.0f}, emission[4] = {0.0f, 0.0f, 0.0f, 1.0f};
    AddMaterial(&model, "red", ambient, diffuse, specular, emission, 10.0f);
    glview::view_set_clear_color(view, 0xFFFFFF, 1.0f);
    // A light beside the face in its plane leaves it to the ambient light.
    const float beside[3] = {10.0f, 0.0f, -10.0f};
    DrawModelPreview(view, &model, beside);
    const auto& image = grab();
    const Rgba background = at(image, 2, 2);
    EXPECT_EQ(background.r, 255);
    EXPECT_EQ(background.g, 255);
    EXPECT_EQ(background.b, 255);
    const Rgba dim = at(image, surface.width() / 2, surface.height() / 2);
    EXPECT_LT(dim.r, 100); // not the white behind: the face is there, in its ambient red
    EXPECT_GT(dim.r, dim.g);
    // A triangle two units high at ten units away covers about a quarter of the height.
    EXPECT_EQ(at(image, surface.width() / 2, surface.height() / 2 + 30).r, 255);
    EXPECT_EQ(at(image, surface.width() / 2, surface.height() / 2 - 30).r, 255);

    // In front of the face the same light brightens it.
    const float front[3] = {0.0f, 0.0f, 0.0f};
    DrawModelPreview(view, &model, front);
    const Rgba lit = pixel(surface.width() / 2, surface.height() / 2);
    EXPECT_GT(lit.r, dim.r + 60);
    EXPECT_LT(lit.g, 80); // in the material's red, not in the current colour
    ModelRelease(&model);
}

} // namespace
} // namespace editor
