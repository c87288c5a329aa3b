// Model edits of the editor on their own: vertex deletion keeps faces on their corners, and
// mirrored copies cope with odd corner numbers.
#include "modeleditor/element_edits.h"

#include <gtest/gtest.h>

namespace editor {
namespace {

class ElementEdits : public ::testing::Test {
  protected:
    void SetUp() override { ModelInit(&model); }
    void TearDown() override { ModelRelease(&model); }
    Model model;
    EditorState state;
};

TEST_F(ElementEdits, DeletingAVertexLowersTheCornersAboveIt) {
    for (int i = 0; i < 6; ++i)
        AddVertex(&model, float(i), float(10 * i), 0.0f, 0);
    AddFace(&model, 0, 2, 4, 0);
    AddFace(&model, 5, 3, 0, 1);
    state.pickKind = PICK_VERTEX;
    state.pickIndex = 1; // unused
    ASSERT_TRUE(DeletePick(state, &model));
    ASSERT_EQ(VertexCount(&model), 5);
    EXPECT_EQ(model.vertices[1].x, 2.0f);
    // Every face still names the same positions.
    EXPECT_EQ(model.faces[0].a, 0);
    EXPECT_EQ(model.faces[0].b, 1);
    EXPECT_EQ(model.faces[0].c, 3);
    EXPECT_EQ(model.faces[1].a, 4);
    EXPECT_EQ(model.faces[1].b, 2);
    EXPECT_EQ(model.faces[1].c, 0);
    EXPECT_EQ(model.vertices[model.faces[1].a].x, 5.0f);
    EXPECT_EQ(model.vertices[model.faces[1].b].y, 30.0f);
    EXPECT_EQ(state.pickKind, PICK_NOTHING);
}

TEST_F(ElementEdits, DeletingAFaceMovesWholeRecordsDown) {
    for (int i = 0; i < 3; ++i)
        AddVertex(&model, 0, 0, 0, 0);
    for (int i = 0; i < 3; ++i) {
        AddFace(&model, 0, 1, 2, i);
        const float tex[6] = {float(i), 0, 0, 0, 0, float(i)};
        SetFaceTexCoords(&model, i, tex);
    }
    state.pickKind = PICK_FACE;
    state.pickIndex = 0;
    ASSERT_TRUE(DeletePick(state, &model));
    ASSERT_EQ(FaceCount(&model), 2);
    EXPECT_EQ(model.faces[0].material, 1);
    EXPECT_EQ(model.faces[0].texCoords[5], 1.0f);
    EXPECT_EQ(model.faces[1].material, 2);
    EXPECT_EQ(model.faces[1].texCoords[0], 2.0f);
}

TEST_F(ElementEdits, MirroredCopyOfFacesWithOutOfRangeCorners) {
    AddVertex(&model, 1, 1, 1, 0);
    AddFace(&model, 0, INT32_MAX, -5, 2);
    ASSERT_EQ(CopyMirrored(&model, MirrorAxis::Z), 0);
    ASSERT_EQ(FaceCount(&model), 2);
    EXPECT_EQ(model.faces[1].a, 1);
    EXPECT_EQ(model.faces[1].b, -4);
    EXPECT_EQ(model.faces[1].c, INT32_MIN); // wraps instead of overflowing
    EXPECT_EQ(model.vertices[1].z, -1.0f);
}

TEST_F(ElementEdits, FlipOfAMissingFaceChangesNothing) {
    AddVertex(&model, 0, 0, 0, 0);
    AddFace(&model, 0, 0, 0, 0);
    FlipFace(&model, 1);
    FlipFace(&model, -1);
    EXPECT_EQ(FaceCount(&model), 1);
}

} // namespace
} // namespace editor
