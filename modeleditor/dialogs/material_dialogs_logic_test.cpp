// The Material dialog and the Material browser on a recording dialog: what they show, what they
// store, which boxes they raise, how their previews are told of changes. No display is involved.
#include "modeleditor/dialogs/material_dialogs.h"

#include <gtest/gtest.h>

#include <cstring>
#include <limits>

#include "model/test_support.h"
#include "modeleditor/dialogs/dialog_controls.h"
#include "modeleditor/dialogs/fake_dialog.h"
#include "modeleditor/dialogs/material_edit.h"

namespace editor::testing {
namespace {

using platform::BN_CLICKED;
using platform::EN_UPDATE;
using platform::IDCANCEL;
using platform::IDOK;
using platform::LBN_SELCHANGE;

class MaterialDialogLogic : public DialogLogicTest {
  protected:
    // Types into edit `id` as a user would: the text, then the change notification.
    void Type(platform::DialogProcedure& proc, int id, const std::string& text) {
        dialog.texts[id] = text;
        proc.command(dialog, id, EN_UPDATE);
    }
};

TEST(MaterialEditValues, StartWithTheBindingColoursAndConvertRounded) {
    const MaterialEdit edit;
    EXPECT_EQ(std::vector<int>(edit.ambient, edit.ambient + 4), std::vector<int>({128, 128, 128, 255}));
    EXPECT_EQ(std::vector<int>(edit.diffuse, edit.diffuse + 4), std::vector<int>({192, 192, 192, 255}));
    EXPECT_EQ(edit.shininess, 64);
    EXPECT_EQ(ChannelOf(0.5f), 128); // 127.5 rounds up
    EXPECT_EQ(ChannelOf(0.498f), 127);
    EXPECT_EQ(ChannelOf(-0.2f), -51);
    EXPECT_EQ(ChannelOf(std::numeric_limits<float>::quiet_NaN()), 0);
    EXPECT_EQ(ChannelOf(1e30f), std::numeric_limits<std::int32_t>::max());
}

TEST_F(MaterialDialogLogic, NewMaterialShowsTheLastValuesAndCancelRemovesIt) {
    AddGreyMaterial(&model, "first", 0.5f);
    values.materialEdit.shininess = 40;
    MaterialDialogProc proc(context);
    proc.init_dialog(dialog, -1);
    EXPECT_EQ(MaterialCount(&model), 2); // added on opening
    EXPECT_EQ(values.materialEditIndex, 1);
    EXPECT_EQ(dialog.texts[IDC_MATERIAL_NUMBER], "Material ID is: 1");
    EXPECT_EQ(dialog.texts[IDC_AMBIENT_RED], "128");
    EXPECT_EQ(dialog.texts[IDC_DIFFUSE_ALPHA], "255");
    EXPECT_EQ(dialog.trackbars[IDC_SHININESS], 40);
    EXPECT_EQ(dialog.limits[IDC_MATERIAL_NAME], 11);
    ASSERT_EQ(services.previewAreas.size(), 1u);
    EXPECT_EQ(services.previewAreas[0].x, 332);
    EXPECT_EQ(services.previewAreas[0].height, 74);

    proc.command(dialog, IDCANCEL, BN_CLICKED);
    EXPECT_EQ(dialog.ended, std::optional<std::intptr_t>(2));
    EXPECT_EQ(MaterialCount(&model), 1);
    EXPECT_EQ(MaterialNameOf(&model, 0), "first");
    EXPECT_EQ(proc.preview(), nullptr);
}

TEST_F(MaterialDialogLogic, SetStoresTypedChannelsShininessAndTheNameWhileEachChangeRepaints) {
    MaterialDialogProc proc(context);
    proc.init_dialog(dialog, -1);
    Type(proc, IDC_DIFFUSE_RED, "300");
    Type(proc, IDC_DIFFUSE_ALPHA, "128");
    Type(proc, IDC_AMBIENT_RED, "abc"); // not a number: 0
    dialog.trackbars[IDC_SHININESS] = 128;
    proc.hscroll(dialog, IDC_SHININESS);
    EXPECT_EQ(services.previewInvalidations, 4);
    dialog.texts[IDC_MATERIAL_NAME] = "Steel plate number two";
    proc.command(dialog, IDOK, BN_CLICKED);
    EXPECT_EQ(dialog.ended, std::optional<std::intptr_t>(1));
    ASSERT_EQ(MaterialCount(&model), 1);
    const Material& stored = model.materials[0];
    EXPECT_EQ(MaterialNameOf(&model, 0), "Steel plate");
    EXPECT_FLOAT_EQ(stored.diffuse[0], float(300 / 255.0));
    EXPECT_FLOAT_EQ(stored.diffuse[3], float(128 / 255.0));
    EXPECT_FLOAT_EQ(stored.ambient[0], 0.0f);
    EXPECT_FLOAT_EQ(stored.ambient[3], 1.0f); // the alpha without a field keeps its value
    EXPECT_FLOAT_EQ(stored.shininess, 128.0f);
}

TEST_F(MaterialDialogLogic, AnExistingMaterialIsLoadedAndCancelLeavesItAndItsTexture) {
    AddGreyMaterial(&model, "zero", 0.1f);
    AddGreyMaterial(&model, "one", 0.5f, 0.2f, 12.4f);
    SetMaterialTexture(&model, 1, 42);
    MaterialDialogProc proc(context);
    proc.init_dialog(dialog, 1);
    EXPECT_TRUE(values.materialEditExisting);
    EXPECT_EQ(dialog.texts[IDC_MATERIAL_NAME], "one");
    EXPECT_EQ(dialog.texts[IDC_AMBIENT_RED], "26");  // 25.5
    EXPECT_EQ(dialog.texts[IDC_DIFFUSE_RED], "128"); // 127.5
    EXPECT_EQ(dialog.texts[IDC_DIFFUSE_ALPHA], "51");
    EXPECT_EQ(dialog.trackbars[IDC_SHININESS], 12);
    Type(proc, IDC_DIFFUSE_RED, "10");
    proc.command(dialog, IDCANCEL, BN_CLICKED);
    EXPECT_EQ(MaterialCount(&model), 2);
    EXPECT_FLOAT_EQ(model.materials[1].diffuse[0], 0.5f);
    EXPECT_EQ(model.materials[1].texture, 42);

    FakeDialog again;
    MaterialDialogProc set(context);
    set.init_dialog(again, 1);
    again.texts[IDC_MATERIAL_NAME] = "one";
    set.command(again, IDOK, BN_CLICKED); // "Set" keeps the texture
    EXPECT_EQ(model.materials[1].texture, 42);
}

TEST_F(MaterialDialogLogic, TextureRemovalActsAtOnceAndSaysSo) {
    AddGreyMaterial(&model, "tex", 0.5f);
    SetMaterialTexture(&model, 0, 7);
    MaterialDialogProc proc(context);
    proc.init_dialog(dialog, 0);
    proc.command(dialog, IDC_REMOVE_TEXTURE, BN_CLICKED);
    EXPECT_EQ(model.materials[0].texture, 0);
    using Box = FakeDialogServices::Box;
    EXPECT_EQ(services.boxes, std::vector<Box>({{&dialog, kTextureRemoved, kTextureRemoved,
                                                 platform::BoxStyle::icon_information}}));
    EXPECT_FALSE(dialog.ended.has_value());
}

TEST_F(MaterialDialogLogic, SwatchesShowTheirColourByLowBytesAndTakeTheChoosersChoice) {
    values.materialEdit.specular[0] = 10;
    values.materialEdit.specular[1] = 20;
    values.materialEdit.specular[2] = 300;
    MaterialDialogProc proc(context);
    proc.init_dialog(dialog, -1);
    EXPECT_EQ(proc.owner_draw_colour(IDC_SPECULAR_SWATCH), std::optional<std::uint32_t>(0x002C140Au));
    EXPECT_EQ(proc.owner_draw_colour(IDC_MATERIAL_NAME), std::nullopt);

    services.colourAnswer = 0x00336699;
    proc.command(dialog, IDC_SPECULAR_SWATCH, BN_CLICKED);
    EXPECT_EQ(dialog.texts[IDC_SPECULAR_RED], "153");
    EXPECT_EQ(dialog.texts[IDC_SPECULAR_BLUE], "51");
    EXPECT_EQ(proc.owner_draw_colour(IDC_SPECULAR_SWATCH), std::optional<std::uint32_t>(0x00336699u));

    services.colourAnswer.reset(); // cancelling the chooser changes nothing
    proc.command(dialog, IDC_AMBIENT_SWATCH, BN_CLICKED);
    EXPECT_EQ(values.materialEdit.ambient[0], 128);
    EXPECT_EQ(dialog.texts[IDC_AMBIENT_RED], "128");
}

TEST_F(MaterialDialogLogic, BrowserWithoutMaterialsWarnsAndEndsWithMinusOne) {
    MaterialBrowserProc proc(context);
    proc.init_dialog(dialog, 0);
    EXPECT_EQ(dialog.ended, std::optional<std::intptr_t>(-1));
    using Box = FakeDialogServices::Box;
    EXPECT_EQ(services.boxes, std::vector<Box>({{&dialog, kNoMaterialWarning, kEditorTitle,
                                                 platform::BoxStyle::icon_warning}}));
    EXPECT_TRUE(services.previewAreas.empty());
}

TEST_F(MaterialDialogLogic, BrowserListsLoadsTheSelectedMaterialAndEndsWithIt) {
    AddGreyMaterial(&model, "Default", 0.2f);
    AddGreyMaterial(&model, "elevenchars", 0.6f, 0.5f, 33.0f);
    values.browserSelection = 5;
    MaterialBrowserProc proc(context);
    proc.init_dialog(dialog, 0);
    EXPECT_EQ(values.browserSelection, 0);
    EXPECT_EQ(dialog.lists[IDC_MATERIAL_LIST],
              std::vector<std::string>({"Material number 0 [Default]", "Material number 1 [elevenchars]"}));
    ASSERT_EQ(services.previewAreas.size(), 1u);
    EXPECT_EQ(services.previewAreas[0].x, 164);
    EXPECT_EQ(services.previewAreas[0].width, 139);

    dialog.selection = 1;
    proc.command(dialog, IDC_MATERIAL_LIST, LBN_SELCHANGE);
    EXPECT_EQ(values.materialEdit.diffuse[0], 153);
    EXPECT_EQ(values.materialEdit.diffuse[3], 128);
    EXPECT_EQ(values.materialEdit.shininess, 33);
    EXPECT_EQ(services.previewInvalidations, 1);
    proc.command(dialog, IDOK, BN_CLICKED);
    EXPECT_EQ(dialog.ended, std::optional<std::intptr_t>(1));

    FakeDialog cancelled;
    MaterialBrowserProc again(context);
    again.init_dialog(cancelled, 0);
    again.command(cancelled, IDCANCEL, BN_CLICKED);
    EXPECT_EQ(cancelled.ended, std::optional<std::intptr_t>(-1));
}

} // namespace
} // namespace editor::testing
