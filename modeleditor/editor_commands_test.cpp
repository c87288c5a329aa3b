// Menu commands through the window procedure: the menu table, display switches and their
// ticks, the whole-model commands, the file commands with their failure boxes, and "TODO".
#include "modeleditor/editor_window_proc.h"

#include "model/korvex_file.h"
#include "modeleditor/editor_ids.h"
#include "modeleditor/editor_menu.h"
#include "modeleditor/fake_editor_window.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <set>

namespace editor {
namespace {

using testing::EditorFixture;

class Commands : public ::testing::Test, public EditorFixture {
  protected:
    void SetUp() override {
        dir = std::filesystem::temp_directory_path() /
              ("kx_editor_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "_" +
               ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::create_directories(dir);
    }
    void TearDown() override { std::filesystem::remove_all(dir); }
    void Command(int id) { proc.handle(WM_COMMAND, std::uintptr_t(id), 0); }
    void Choose(const std::filesystem::path& path) {
        window.dialogAnswer = FileDialogResult{path.string(), 1};
    }
    void Square() {
        AddVertex(model(), 1, 2, 3, 0);
        AddVertex(model(), 4, 5, 6, 0);
        AddVertex(model(), 7, 8, 9, 0);
        AddVertex(model(), -1, -2, -3, 0);
        AddFace(model(), 0, 1, 2, 5);
        AddFace(model(), 0, 2, 3, 6);
    }
    std::filesystem::path dir;
};

TEST(EditorMenu, EightMenusWithTheirItemsIdsAndFlags) {
    const auto titles = editor_menu_titles();
    ASSERT_EQ(titles.size(), 8u);
    const std::vector<std::string> expected = {"File", "Add",     "Materials", "Show",
                                               "View", "Shading", "Specials",  "Transformations"};
    EXPECT_EQ(std::vector<std::string>(titles.begin(), titles.end()), expected);

    std::map<int, std::vector<EditorMenuItem>> byMenu;
    std::set<int> ids;
    for (const EditorMenuItem& item : editor_menu_items()) {
        byMenu[item.menu].push_back(item);
        if (item.id != -1) {
            EXPECT_TRUE(ids.insert(item.id).second) << "duplicate id " << item.id;
        }
        EXPECT_EQ(item.id == -1, platform::has_flag(item.flags, MF_SEPARATOR));
    }
    EXPECT_EQ(ids.size(), 36u);
    EXPECT_EQ(byMenu[0].size(), 8u);
    EXPECT_EQ(byMenu[0][6].flags, MF_SEPARATOR);
    EXPECT_STREQ(byMenu[0][7].text, "Exit");
    EXPECT_EQ(byMenu[0][7].id, 109);
    // Materials and View end with a separator.
    EXPECT_EQ(byMenu[2].back().flags, MF_SEPARATOR);
    EXPECT_EQ(byMenu[4].back().flags, MF_SEPARATOR);
    // Specials: the greyed warning caption first, then "Copy around Y axis" twice with different ids.
    EXPECT_STREQ(byMenu[6][0].text, "Pozor na to!");
    EXPECT_EQ(byMenu[6][0].id, 0xFFFF);
    EXPECT_EQ(byMenu[6][0].flags, MF_GRAYED);
    EXPECT_STREQ(byMenu[6][3].text, "Copy around Y axis");
    EXPECT_STREQ(byMenu[6][4].text, "Copy around Y axis");
    EXPECT_EQ(byMenu[6][3].id, 152);
    EXPECT_EQ(byMenu[6][4].id, 153);
    EXPECT_STREQ(byMenu[7][3].text, "Right 0.01\tL");
    EXPECT_EQ(byMenu[7][3].id, 163);
    // Initially ticked: Full graphics, the six View switches, Smooth.
    std::set<int> ticked;
    for (const EditorMenuItem& item : editor_menu_items())
        if (platform::has_flag(item.flags, MF_CHECKED)) ticked.insert(item.id);
    EXPECT_EQ(ticked, (std::set<int>{121, 131, 132, 133, 134, 135, 136, 142}));
}

TEST_F(Commands, ShowAndShadingTickExactlyTheChosenItem) {
    Command(IDM_RENDER_LINES);
    EXPECT_EQ(state().renderMode, 1);
    Command(IDM_RENDER_FILL);
    EXPECT_EQ(state().renderMode, 0);
    EXPECT_EQ(window.ticks, (std::map<int, bool>{{121, true}, {122, false}, {123, false}}));
    Command(IDM_RENDER_POINTS);
    EXPECT_EQ(state().renderMode, 2);
    EXPECT_TRUE(window.ticks[123]);
    EXPECT_FALSE(window.ticks[121]);

    Command(IDM_SHADE_FLAT);
    EXPECT_EQ(state().shadeMode, 0);
    EXPECT_TRUE(window.ticks[141]);
    EXPECT_FALSE(window.ticks[142]);
    EXPECT_FALSE(window.ticks[143]);
    Command(IDM_SHADE_SMOOTH_NO_NORMALS);
    EXPECT_EQ(state().shadeMode, 2);
    EXPECT_TRUE(window.ticks[143]);
    EXPECT_FALSE(window.ticks[141]);
}

TEST_F(Commands, ViewSwitchesToggleWithTheirTicks) {
    struct Switch {
        int id;
        bool EditorState::*field;
    };
    const Switch switches[] = {{131, &EditorState::showAxes},    {132, &EditorState::showPointGrid},
                               {133, &EditorState::showSurface}, {134, &EditorState::showLight},
                               {135, &EditorState::showNormals}, {136, &EditorState::showVertices}};
    for (const Switch& s : switches) {
        Command(s.id);
        EXPECT_FALSE(state().*s.field) << s.id;
        EXPECT_FALSE(window.ticks.at(s.id));
        Command(s.id);
        EXPECT_TRUE(state().*s.field) << s.id;
        EXPECT_TRUE(window.ticks.at(s.id));
    }
    EXPECT_EQ(window.invalidations, 12);
}

TEST_F(Commands, CopyAroundEachAxisNegatesItsCoordinateAndReversesFaces) {
    Square();
    Command(IDM_COPY_AROUND_Y);
    ASSERT_EQ(VertexCount(model()), 8);
    ASSERT_EQ(FaceCount(model()), 4);
    EXPECT_EQ(model()->vertices[4].x, -1.0f);
    EXPECT_EQ(model()->vertices[4].y, 2.0f);
    EXPECT_EQ(model()->vertices[4].z, 3.0f);
    const Face& copy = model()->faces[2];
    EXPECT_EQ(copy.a, 4);
    EXPECT_EQ(copy.b, 6);
    EXPECT_EQ(copy.c, 5);
    EXPECT_EQ(copy.material, 5);
    for (float t : copy.texCoords)
        EXPECT_EQ(t, 0.0f);
    EXPECT_EQ(model()->faces[3].a, 4);
    EXPECT_EQ(model()->faces[3].b, 7);
    EXPECT_EQ(model()->faces[3].c, 6);

    ModelRelease(model());
    ModelInit(model());
    AddVertex(model(), 1, 2, 3, 0);
    Command(IDM_COPY_AROUND_Y2);
    Command(IDM_COPY_AROUND_X);
    ASSERT_EQ(VertexCount(model()), 4);
    EXPECT_EQ(model()->vertices[1].x, 1.0f); // 153 negates y
    EXPECT_EQ(model()->vertices[1].y, -2.0f);
    EXPECT_EQ(model()->vertices[2].z, -3.0f); // 151 negates z
    EXPECT_EQ(model()->vertices[3].y, -2.0f);
    EXPECT_EQ(model()->vertices[3].z, -3.0f);
    EXPECT_EQ(DummyCount(model()), 0);
}

TEST_F(Commands, CopyOfAnEmptyModelChangesNothing) {
    AddDummy(model(), 1, 0, 0, 0);
    Command(IDM_COPY_AROUND_X);
    EXPECT_EQ(VertexCount(model()), 0);
    EXPECT_EQ(FaceCount(model()), 0);
    EXPECT_EQ(DummyCount(model()), 1);
}

TEST_F(Commands, SwapYZAndSwapAllNormals) {
    Square();
    const float tex[6] = {1, 2, 3, 4, 5, 6};
    SetFaceTexCoords(model(), 1, tex);
    Command(IDM_SWAP_YZ);
    EXPECT_EQ(model()->vertices[1].y, 6.0f);
    EXPECT_EQ(model()->vertices[1].z, 5.0f);
    Command(IDM_SWAP_NORMALS);
    EXPECT_EQ(model()->faces[0].b, 2);
    EXPECT_EQ(model()->faces[0].c, 1);
    EXPECT_EQ(model()->faces[1].b, 3);
    EXPECT_EQ(model()->faces[1].c, 2);
    const float flipped[6] = {1, 2, 5, 6, 3, 4};
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(model()->faces[1].texCoords[i], flipped[i]);
}

TEST_F(Commands, SixUpsMoveEveryVertexBySixSinglePrecisionSteps) {
    Square();
    AddDummy(model(), 3, 1, 1, 1);
    SetVertex(model(), 0, 1, 2, 3, 99);
    chars("uuuuuu");
    window.pump();
    float y = 2.0f;
    for (int i = 0; i < 6; ++i)
        y = float(double(y) + 0.01);
    EXPECT_EQ(model()->vertices[0].y, y);
    EXPECT_NEAR(model()->vertices[0].y, 2.06f, 1e-5);
    EXPECT_NEAR(model()->vertices[3].y, -1.94f, 1e-5);
    EXPECT_EQ(model()->vertices[0].w, 0u);
    EXPECT_EQ(model()->dummies[0].y, 1.0f); // dummies, cursor and light stay
    EXPECT_EQ(state().cursorPos[1], 0.0f);

    Command(IDM_MOVE_FAR);
    Command(IDM_MOVE_LEFT);
    EXPECT_NEAR(model()->vertices[1].z, 5.99f, 1e-5);
    EXPECT_NEAR(model()->vertices[1].x, 3.99f, 1e-5);
}

TEST_F(Commands, MovesChangeOnlyTheirOwnCoordinate) {
    // A mirrored copy holds -0.0 coordinates; a move along one axis leaves the others' bits.
    AddVertex(model(), -0.0f, -0.0f, -0.0f, 0);
    Command(IDM_MOVE_UP);
    EXPECT_TRUE(std::signbit(model()->vertices[0].x));
    EXPECT_TRUE(std::signbit(model()->vertices[0].z));
    EXPECT_FLOAT_EQ(model()->vertices[0].y, 0.01f);
    Command(IDM_MOVE_NEAR);
    EXPECT_TRUE(std::signbit(model()->vertices[0].x));
    EXPECT_FLOAT_EQ(model()->vertices[0].z, 0.01f);
    SetVertex(model(), 0, 1.0f, -0.0f, -0.0f, 0);
    Command(IDM_MOVE_RIGHT);
    EXPECT_TRUE(std::signbit(model()->vertices[0].y));
    EXPECT_TRUE(std::signbit(model()->vertices[0].z));
}

TEST_F(Commands, UnknownIdentifiersShowTodo) {
    Command(999);
    Command(0xFFFF);
    ASSERT_EQ(window.boxes.size(), 2u);
    EXPECT_EQ(window.boxes[0].text, "TODO");
    EXPECT_EQ(window.boxes[0].caption, "TODO");
    EXPECT_EQ(window.boxes[0].style, platform::BoxStyle::ok);
}

TEST_F(Commands, NewEmptiesTheModelAndDropsThePickButKeepsTheView) {
    Square();
    state().pickKind = PICK_FACE;
    state().pickIndex = 1;
    state().cameraYaw = 12.0f;
    Command(IDM_NEW);
    EXPECT_EQ(VertexCount(model()), 0);
    EXPECT_EQ(FaceCount(model()), 0);
    EXPECT_EQ(state().pickKind, PICK_NOTHING);
    EXPECT_EQ(state().pickIndex, 0);
    EXPECT_EQ(state().cameraYaw, 12.0f);
}

TEST_F(Commands, OpenAndSaveRoundTripThroughTheDialogs) {
    Square();
    const auto plain = dir / "plain.Korvex";
    const auto packed = dir / "packed.Kor";
    Choose(plain);
    Command(IDM_SAVE_PURE);
    Choose(packed);
    Command(IDM_SAVE_COMPRESSED);
    EXPECT_TRUE(window.boxes.empty());
    ASSERT_EQ(window.dialogs.size(), 2u);
    EXPECT_TRUE(window.dialogs[0].save);
    EXPECT_EQ(window.dialogs[0].filters[0].description, "Korvex soubor (*.Korvex;*.Kor)");
    EXPECT_EQ(window.dialogs[0].default_extension, "Korvex");

    Command(IDM_NEW);
    state().pickKind = PICK_VERTEX;
    Choose(packed);
    Command(IDM_OPEN);
    EXPECT_EQ(VertexCount(model()), 4);
    EXPECT_EQ(FaceCount(model()), 2);
    EXPECT_EQ(state().pickKind, PICK_NOTHING);
    const FileDialogRequest& open = window.dialogs.back();
    EXPECT_FALSE(open.save);
    EXPECT_TRUE(open.must_exist);
    EXPECT_EQ(open.filters[0].description, "Korvex file (*.Korvex;*Kor)");
    EXPECT_EQ(open.filters[0].patterns, "*.Korvex;*.Kor");
}

TEST_F(Commands, CancelledDialogsChangeNothingButOpenStillRepaints) {
    Square();
    window.dialogAnswer.reset();
    const int before = window.invalidations;
    Command(IDM_OPEN);
    Command(IDM_IMPORT_ASC);
    Command(IDM_SAVE_PURE);
    EXPECT_EQ(window.invalidations, before + 2);
    EXPECT_EQ(VertexCount(model()), 4);
    EXPECT_TRUE(window.boxes.empty());
    EXPECT_EQ(window.dialogs[1].filters[0].description, "3D studio ASC (*.asc)");
}

TEST_F(Commands, FailedFileCommandsSayWhichFileAndWhyAndKeepTheModel) {
    Square();
    state().pickKind = PICK_VERTEX;
    state().pickIndex = 2;
    const auto garbage = dir / "garbage.Korvex";
    std::ofstream(garbage) << "not a model at all";
    Choose(garbage);
    Command(IDM_OPEN);
    ASSERT_EQ(window.boxes.size(), 1u);
    EXPECT_EQ(window.boxes[0].caption, "Korvex Editor v1.3 EN");
    EXPECT_EQ(window.boxes[0].style, platform::BoxStyle::icon_stop);
    EXPECT_NE(window.boxes[0].text.find(garbage.string()), std::string::npos);
    EXPECT_NE(window.boxes[0].text.find("not a Korvex model"), std::string::npos);
    EXPECT_EQ(VertexCount(model()), 4);
    EXPECT_EQ(state().pickKind, PICK_VERTEX); // the model did not change, nor does the pick

    Choose(dir / "missing.asc");
    Command(IDM_IMPORT_ASC_ADVANCED);
    ASSERT_EQ(window.boxes.size(), 2u);
    EXPECT_NE(window.boxes[1].text.find("Cannot import"), std::string::npos);
    EXPECT_NE(window.boxes[1].text.find("missing.asc"), std::string::npos);

    Choose(dir / "no" / "such" / "folder" / "out.Korvex");
    Command(IDM_SAVE_COMPRESSED);
    ASSERT_EQ(window.boxes.size(), 3u);
    EXPECT_NE(window.boxes[2].text.find("Cannot save"), std::string::npos);
    EXPECT_NE(window.boxes[2].text.find("cannot be written"), std::string::npos);
    EXPECT_EQ(VertexCount(model()), 4);
}

TEST_F(Commands, OpenFileImportsAscNamesAndLoadsTheRest) {
    const auto asc = dir / "box.ASC";
    std::ofstream(asc) << "Named object: \"Box\"\n"
                          "Tri-mesh, Vertices: 3     Faces: 1\n"
                          "Vertex list:\n"
                          "Vertex 0:  X: 0     Y: 0     Z: 0\n"
                          "Vertex 1:  X: 1     Y: 0     Z: 0\n"
                          "Vertex 2:  X: 0     Y: 1     Z: 0\n"
                          "Face list:\n"
                          "Face 0:    A:0 B:1 C:2 AB:1 BC:1 CA:1\n"
                          "Material:\"Wood\"\n";
    state().pickKind = PICK_DUMMY;
    EXPECT_EQ(proc.open_file(asc.string()), 0);
    EXPECT_EQ(VertexCount(model()), 3);
    EXPECT_EQ(FaceCount(model()), 1);
    EXPECT_EQ(MaterialCount(model()), 2); // "Default" and "Wood": the advanced importer
    EXPECT_EQ(state().pickKind, PICK_NOTHING);

    EXPECT_NE(proc.open_file((dir / "absent.Korvex").string()), 0);
    ASSERT_EQ(window.boxes.size(), 1u);
    EXPECT_NE(window.boxes[0].text.find("Cannot open"), std::string::npos);
    EXPECT_EQ(VertexCount(model()), 3);
}

TEST_F(Commands, ExitDestroysTheWindowAndEndsTheLoopWithZero) {
    Command(IDM_EXIT);
    EXPECT_TRUE(window.destroyed);
    EXPECT_EQ(window.quitCode, 0);
}

} // namespace
} // namespace editor
