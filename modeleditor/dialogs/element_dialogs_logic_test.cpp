// The element dialog procedures on a recording dialog: what they show, what they add to the model,
// which boxes they raise, with which value they end. No display is involved.
#include "modeleditor/dialogs/element_dialogs.h"

#include <gtest/gtest.h>

#include "modeleditor/dialogs/dialog_controls.h"
#include "modeleditor/dialogs/fake_dialog.h"
#include "modeleditor/editor_ids.h"

namespace editor::testing {
namespace {

using platform::BN_CLICKED;
using platform::IDCANCEL;
using platform::IDOK;

class ElementDialogLogic : public DialogLogicTest {
  protected:
    void Corners(const char* a, const char* b, const char* c) {
        dialog.texts[IDC_VERTEX_A] = a;
        dialog.texts[IDC_VERTEX_B] = b;
        dialog.texts[IDC_VERTEX_C] = c;
    }
};

TEST_F(ElementDialogLogic, VertexShowsTheCursorAndInsertsTheTypedPlace) {
    state.cursorPos[0] = 1.5f;
    state.cursorPos[1] = -2.0f;
    VertexDialogProc vertex(context);
    vertex.init_dialog(dialog, 0);
    EXPECT_EQ(dialog.texts[IDC_X], " 1.50");
    EXPECT_EQ(dialog.texts[IDC_Y], "-2.00");
    dialog.texts[IDC_Z] = "abc"; // not a number: 0
    dialog.texts[IDC_Y] = "4.25";
    EXPECT_TRUE(vertex.command(dialog, IDOK, BN_CLICKED));
    ASSERT_EQ(VertexCount(&model), 1);
    float x = 0, y = 0, z = 9;
    GetVertex(&model, 0, &x, &y, &z);
    EXPECT_EQ(x, 1.5f);
    EXPECT_EQ(y, 4.25f);
    EXPECT_EQ(z, 0.0f);
    EXPECT_EQ(dialog.ended, std::optional<std::intptr_t>(1));
}

TEST_F(ElementDialogLogic, FaceRefusesRepeatedThenMissingVerticesAndStaysOpen) {
    for (int i = 0; i < 3; ++i)
        AddVertex(&model, float(i), 0, 0, 0);
    FaceDialogProc face(context);
    face.init_dialog(dialog, 0);
    Corners("0", "1", "1");
    face.command(dialog, IDOK, BN_CLICKED);
    Corners("0", "1", "3");
    face.command(dialog, IDOK, BN_CLICKED);
    ASSERT_EQ(services.boxes.size(), 2u);
    EXPECT_EQ(services.boxes[0].text, kSameVertexError);
    EXPECT_EQ(services.boxes[1].text, kMissingVertexError);
    EXPECT_EQ(services.boxes[1].style, platform::BoxStyle::icon_stop);
    EXPECT_EQ(services.boxes[1].owner, &dialog);
    EXPECT_FALSE(dialog.ended.has_value());
    EXPECT_EQ(FaceCount(&model), 0);

    Corners("2", "0", "1");
    face.command(dialog, IDOK, BN_CLICKED);
    EXPECT_EQ(FaceCount(&model), 1);
    EXPECT_EQ(dialog.ended, std::optional<std::intptr_t>(1));
}

TEST_F(ElementDialogLogic, DummyWarnsAboutAnIdInUseAndAddsItAnyway) {
    AddDummy(&model, 7, 0, 0, 0);
    values.nextDummyId = 7;
    DummyDialogProc dummy(context);
    dummy.init_dialog(dialog, 0);
    EXPECT_EQ(dialog.texts[IDC_DUMMY_ID], "7");
    EXPECT_EQ(values.nextDummyId, 8);
    dummy.command(dialog, IDOK, BN_CLICKED);
    ASSERT_EQ(services.boxes.size(), 1u);
    EXPECT_EQ(services.boxes[0].text, "Warning: Dummy with ID 7 do exist.");
    EXPECT_EQ(services.boxes[0].style, platform::BoxStyle::icon_warning);
    EXPECT_EQ(DummyCount(&model), 2);
    FakeDialog cancelled;
    dummy.command(cancelled, IDCANCEL, BN_CLICKED);
    EXPECT_EQ(cancelled.ended, std::optional<std::intptr_t>(2));
}

} // namespace
} // namespace editor::testing
