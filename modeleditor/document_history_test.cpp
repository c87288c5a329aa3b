// Undo, redo and the unsaved-changes guard of Korvex Editor through the window procedure on the
// recording fake: every kind of step undone and redone, a drag as one step, the memory bound,
// the changed mark across saves and undos, the question before discarding, Ctrl+S.
#include "modeleditor/document_history.h"

#include "model/korvex_file.h"
#include "model/test_support.h"
#include "modeleditor/dialogs/dialog_ids.h"
#include "modeleditor/document_edits.h"
#include "modeleditor/editor_ids.h"
#include "modeleditor/fake_editor_window.h"
#include "modeleditor/model_file_jobs.h"
#include "platform/test_files.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>

namespace editor {
namespace {

using testing::EditorFixture;

// The header and the bytes of every list, without the list pointers.
std::vector<std::uint8_t> Content(const Model& m) {
    std::vector<std::uint8_t> all = ModelState(m);
    all.erase(all.begin() + std::ptrdiff_t(kModelHeaderSize), all.begin() + std::ptrdiff_t(sizeof(Model)));
    return all;
}

class History : public ::testing::Test, public EditorFixture {
  protected:
    void SetUp() override {
        // Two triangles on five vertices (vertex 1 used by neither), a dummy and a material.
        AddVertex(model(), 1, 2, 3, 0);
        AddVertex(model(), 4, 5, 6, 0);
        AddVertex(model(), 7, 8, 9, 0);
        AddVertex(model(), -1, -2, -3, 0);
        AddVertex(model(), 5, 5, 5, 0);
        AddFace(model(), 0, 2, 3, 0);
        AddFace(model(), 0, 3, 4, 0);
        const float tex[6] = {0.1f, 0.2f, 0.3f, 0.4f, 0.5f, 0.6f};
        SetFaceTexCoords(model(), 0, tex);
        AddDummy(model(), 7, 0.5f, 0.5f, 0.5f);
        AddDefaultMaterial(model(), "Default");
        proc.history().reset({});
    }
    void TearDown() override { std::filesystem::remove_all(dir); }
    void Command(int id) {
        proc.handle(WM_COMMAND, std::uintptr_t(id), 0);
        window.pump();
    }
    void Pick(std::int32_t kind, std::int32_t index) {
        state().pickKind = kind;
        state().pickIndex = index;
    }
    std::string Path(const char* name) {
        std::filesystem::create_directories(dir);
        return (dir / name).string();
    }
    // Runs `change`, then checks that undo restores the model exactly and redo remakes it.
    void ExpectOneStep(const std::string& what, const std::function<void()>& change) {
        const auto before = Content(*model());
        const std::size_t steps = proc.history().undo_count();
        change();
        window.pump();
        const auto after = Content(*model());
        ASSERT_NE(before, after) << what << " changed nothing";
        EXPECT_EQ(proc.history().undo_count(), steps + 1) << what;
        Command(IDM_UNDO);
        EXPECT_EQ(Content(*model()), before) << what << " undone";
        Command(IDM_REDO);
        EXPECT_EQ(Content(*model()), after) << what << " redone";
    }
    std::filesystem::path dir =
        std::filesystem::temp_directory_path() /
        ("kx_history_" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
};

TEST_F(History, EveryKindOfChangeIsOneStepUndoneAndRedoneExactly) {
    ExpectOneStep("delete of an unused vertex, faces renumbered", [&] {
        Pick(PICK_VERTEX, 1);
        key(VK_DELETE);
    });
    ExpectOneStep("delete of a face", [&] {
        Pick(PICK_FACE, 0);
        key(VK_DELETE);
    });
    ExpectOneStep("delete of a dummy", [&] {
        Pick(PICK_DUMMY, 0);
        key(VK_DELETE);
    });
    ExpectOneStep("'f'", [&] {
        Pick(PICK_FACE, 0);
        chars("f");
    });
    ExpectOneStep("'u'", [&] { chars("u"); });
    for (int id : {IDM_COPY_AROUND_X, IDM_COPY_AROUND_Y, IDM_COPY_AROUND_Y2, IDM_SWAP_YZ, IDM_SWAP_NORMALS,
                   IDM_MOVE_NEAR})
        ExpectOneStep("command " + std::to_string(id), [&] { Command(id); });
    ExpectOneStep("left double click", [&] { proc.handle(WM_LBUTTONDBLCLK, 0, 0); });

    // The dialogs: what the real dialog would change is done by the fake while it is open.
    window.dialogAction = [&](int templateId, std::intptr_t parameter) {
        if (templateId == IDD_VERTEX) AddVertex(model(), 3, 3, 3, 0);
        if (templateId == IDD_FACE) AddFace(model(), 0, 1, 3, 0);
        if (templateId == IDD_DUMMY) AddDummy(model(), 8, 1, 1, 1);
        if (templateId == IDD_MATERIAL && parameter == -1) AddDefaultMaterial(model(), "New");
        if (templateId == IDD_MATERIAL && parameter >= 0) SetMaterialTexture(model(), 0, 0); // cancelled
        if (templateId == IDD_MATERIAL_BROWSER) SetMaterialTexture(model(), 0, 5);
        if (templateId == IDD_FACE_PROPERTIES) SetFace(model(), int(parameter), 2, 1, 0, 0);
    };
    for (int id : {IDM_ADD_VERTEX, IDM_ADD_FACE, IDM_ADD_DUMMY, IDM_ADD_MATERIAL, IDM_MODIFY_MATERIAL})
        ExpectOneStep("dialog of command " + std::to_string(id), [&] { Command(id); });
    ExpectOneStep("face properties", [&] {
        Pick(PICK_FACE, 1);
        chars("m");
    });
    // A dialog that changes nothing leaves no step.
    window.dialogAction = nullptr;
    const std::size_t steps = proc.history().undo_count();
    Command(IDM_ADD_VERTEX);
    EXPECT_EQ(proc.history().undo_count(), steps);

    ExpectOneStep("New", [&] { Command(IDM_NEW); });
    // Open and import replace the model; undo brings the previous one back whole.
    ScopedModel other;
    AddVertex(other.get(), 42, 0, 0, 0);
    const std::string korvex = Path("other.Korvex");
    ASSERT_EQ(ModelSaveCompressed(other.get(), korvex.c_str()), MODEL_OK);
    window.dialogAnswer = FileDialogResult{korvex, 1};
    ExpectOneStep("Open", [&] { Command(IDM_OPEN); });
    const std::string asc = Path("mesh.asc");
    std::ofstream(asc) << "Named object: \"a\"\nTri-mesh, Vertices: 3 Faces: 1\nVertex list:\n"
                          "Vertex 0: X:0 Y:0 Z:0\nVertex 1: X:1 Y:0 Z:0\nVertex 2: X:0 Y:1 Z:0\n"
                          "Face list:\nFace 0: A:0 B:1 C:2 AB:1 BC:1 CA:1\n";
    window.dialogAnswer = FileDialogResult{asc, 1};
    ExpectOneStep("ASC import", [&] { Command(IDM_IMPORT_ASC); });
    // Another mesh, so that the advanced import changes what the simple one left.
    const std::string asc2 = Path("mesh2.asc");
    std::ofstream(asc2) << "Named object: \"b\"\nTri-mesh, Vertices: 3 Faces: 1\nVertex list:\n"
                           "Vertex 0: X:0 Y:0 Z:0\nVertex 1: X:2 Y:0 Z:0\nVertex 2: X:0 Y:2 Z:0\n"
                           "Face list:\nFace 0: A:0 B:1 C:2 AB:1 BC:1 CA:1\n";
    window.dialogAnswer = FileDialogResult{asc2, 1};
    ExpectOneStep("advanced ASC import", [&] { Command(IDM_IMPORT_ASC_ADVANCED); });
}

TEST_F(History, ADragIsOneStepAndUndoResetsAPickThatIsGone) {
    Pick(PICK_FACE, 0);
    const auto before = Content(*model());
    state().mouseLook = true;
    proc.handle(WM_LBUTTONDOWN, 0, 0);
    for (int i = 0; i < 5; ++i)
        mouse(10, 0);
    // A drag under way is already unsaved work.
    window.saveChoice = SaveChoice::Cancel;
    Command(IDM_NEW);
    EXPECT_EQ(window.questions.size(), 1u);
    proc.handle(WM_LBUTTONUP, 0, 0);
    EXPECT_NEAR(model()->vertices[0].x, 1.5f, 1e-5);
    EXPECT_EQ(proc.history().undo_count(), 1u);
    Command(IDM_UNDO);
    EXPECT_EQ(Content(*model()), before);

    // Undoing the face's addition takes the pick with it.
    window.dialogAction = [&](int, std::intptr_t) { AddFace(model(), 1, 2, 3, 0); };
    Command(IDM_ADD_FACE);
    Pick(PICK_FACE, 2);
    const int repaints = window.invalidations;
    Command(IDM_UNDO);
    EXPECT_EQ(state().pickKind, PICK_NOTHING);
    EXPECT_GT(window.invalidations, repaints);
    // Camera, view switches and the cursor are no steps.
    Command(IDM_VIEW_AXES);
    Command(IDM_RENDER_LINES);
    mouse(30, 30);
    EXPECT_EQ(proc.history().undo_count(), 0u);
}

TEST_F(History, ANewChangeDropsRedoAndTheBoundDropsTheOldestSteps) {
    Command(IDM_MOVE_UP);
    Command(IDM_MOVE_UP);
    Command(IDM_UNDO);
    EXPECT_EQ(proc.history().redo_count(), 1u);
    Command(IDM_MOVE_DOWN);
    EXPECT_EQ(proc.history().redo_count(), 0u);
    Command(IDM_REDO); // nothing to redo: nothing changes
    EXPECT_EQ(proc.history().undo_count(), 2u);

    // A history bounded to about three moves of this model keeps the newest three.
    DocumentHistory bounded(3 * (5 * sizeof(Vertex) + 300));
    for (int i = 0; i < 10; ++i)
        RecordedMoveAll(bounded, model(), 0.5, 0, 0);
    EXPECT_LE(bounded.bytes(), 3 * (5 * sizeof(Vertex) + 300));
    EXPECT_GE(bounded.undo_count(), 2u);
    EXPECT_LT(bounded.undo_count(), 10u);
    // A step larger than the bound alone is still kept.
    DocumentHistory tiny(1);
    RecordedMoveAll(tiny, model(), 0.5, 0, 0);
    RecordedMoveAll(tiny, model(), 0.5, 0, 0);
    EXPECT_EQ(tiny.undo_count(), 1u);
    EXPECT_TRUE(tiny.undo(model()));
    EXPECT_FLOAT_EQ(model()->vertices[0].x, 6.5f);
    // Undone past every kept step, the document still differs from its saved state.
    EXPECT_TRUE(tiny.changed());
}

TEST_F(History, AStepCostsOneCopyOfWhatChanged) {
    ScopedModel big;
    ResizeVertices(big.get(), 100000);
    ResizeFaces(big.get(), 300000);
    DocumentHistory history;
    EditorState pick;
    pick.pickKind = PICK_FACE;
    pick.pickIndex = 10;
    RecordedDeletePick(history, pick, big.get());
    EXPECT_LT(history.bytes(), 1024u); // one face, not the list behind it
    RecordedMoveAll(history, big.get(), 0.1, 0, 0);
    EXPECT_LT(history.bytes(), 100000 * sizeof(Vertex) + 2048); // the vertices once
    RecordedFlipAllFaces(history, big.get());
    EXPECT_LT(history.bytes(), 100000 * sizeof(Vertex) + 4096); // no copy at all

    // A replaced model is held once, and weighs nothing once undone (the empty one is held then).
    DocumentHistory replaced;
    Model empty;
    ModelInit(&empty);
    RecordedReplace(replaced, big.get(), empty, true);
    EXPECT_GE(replaced.bytes(), 300000 * sizeof(Face));
    ASSERT_TRUE(replaced.undo(big.get()));
    EXPECT_EQ(FaceCount(big.get()), 300000 - 1); // one was deleted above
    EXPECT_LT(replaced.bytes(), 4096u);
}

TEST_F(History, TheChangedMarkFollowsSavesUndosAndOpens) {
    std::vector<bool> marks;
    proc.history().set_changed_listener([&marks](bool changed) { marks.push_back(changed); });
    EXPECT_FALSE(proc.history().changed());
    Command(IDM_MOVE_UP);
    EXPECT_TRUE(proc.history().changed());
    const std::string path = Path("saved.Kor");
    window.dialogAnswer = FileDialogResult{path, 1};
    Command(IDM_SAVE_COMPRESSED);
    EXPECT_FALSE(proc.history().changed());
    Command(IDM_UNDO);
    EXPECT_TRUE(proc.history().changed());
    Command(IDM_REDO);
    EXPECT_FALSE(proc.history().changed()); // back at the saved state
    EXPECT_EQ(marks, (std::vector<bool>{false, true, false, true, false}));

    // Ctrl+S writes to the file last saved, in its format, without a dialog.
    Command(IDM_MOVE_UP);
    const std::size_t dialogs = window.dialogs.size();
    Command(IDM_QUICK_SAVE);
    EXPECT_EQ(window.dialogs.size(), dialogs);
    EXPECT_FALSE(proc.history().changed());
    ScopedModel back;
    ASSERT_EQ(ModelLoad(back.get(), path.c_str()), MODEL_OK);
    EXPECT_EQ(back->compression, 1);
    EXPECT_EQ(Content(*back.get()), Content(*model()));

    // Open makes the document that file's; undoing the Open brings back the saved document
    // unchanged, and redoing it the opened one.
    ScopedModel other;
    const std::string otherPath = Path("other.Korvex");
    ASSERT_EQ(ModelSave(other.get(), otherPath.c_str()), MODEL_OK);
    window.dialogAnswer = FileDialogResult{otherPath, 1};
    Command(IDM_OPEN);
    EXPECT_EQ(proc.history().file().path, otherPath);
    EXPECT_FALSE(proc.history().changed());
    Command(IDM_UNDO);
    EXPECT_EQ(proc.history().file().path, path);
    EXPECT_TRUE(proc.history().file().compressed);
    EXPECT_FALSE(proc.history().changed());
    Command(IDM_REDO);
    EXPECT_EQ(proc.history().file().path, otherPath);
    EXPECT_FALSE(proc.history().changed());
}

TEST_F(History, DiscardingChangedWorkAsksFirst) {
    Command(IDM_MOVE_UP);
    const auto changed = Content(*model());

    window.saveChoice = SaveChoice::Cancel;
    window.dialogAnswer = FileDialogResult{Path("x.Korvex"), 1};
    for (int id : {IDM_NEW, IDM_OPEN, IDM_IMPORT_ASC, IDM_IMPORT_ASC_ADVANCED, IDM_EXIT})
        Command(id);
    EXPECT_EQ(window.questions.size(), 5u);
    EXPECT_EQ(window.questions.front(), "Save the changes to untitled?");
    EXPECT_EQ(Content(*model()), changed);
    EXPECT_FALSE(window.destroyed);

    // Save without a file asks where; cancelling that dialog cancels the New.
    window.saveChoice = SaveChoice::Save;
    window.dialogAnswer.reset();
    Command(IDM_NEW);
    EXPECT_TRUE(window.dialogs.back().save);
    EXPECT_EQ(Content(*model()), changed);
    // Saving into a file goes on with the New, and the file holds the work.
    const std::string path = Path("work.Korvex");
    window.dialogAnswer = FileDialogResult{path, 1};
    Command(IDM_NEW);
    EXPECT_EQ(VertexCount(model()), 0);
    ScopedModel saved;
    ASSERT_EQ(ModelLoad(saved.get(), path.c_str()), MODEL_OK);
    EXPECT_EQ(VertexCount(saved.get()), 5);
    // The new document is unchanged: no question.
    const std::size_t asked = window.questions.size();
    Command(IDM_NEW);
    EXPECT_EQ(window.questions.size(), asked);

    // A question names the file; Discard goes on.
    Command(IDM_UNDO);
    Command(IDM_UNDO);
    Command(IDM_MOVE_UP);
    window.saveChoice = SaveChoice::Discard;
    Command(IDM_EXIT);
    EXPECT_EQ(window.questions.back(), "Save the changes to work.Korvex?");
    EXPECT_TRUE(window.destroyed);
}

TEST_F(History, FileJobsWriteAndReadWhatTheLibraryDoes) {
    for (bool compressed : {false, true}) {
        const std::string mine = Path("mine.Korvex"), theirs = Path("theirs.Korvex");
        platform::FileProgress progress;
        ASSERT_EQ(SaveKorvexFile(model(), mine, compressed, progress), MODEL_OK);
        EXPECT_EQ(progress.done.load(), progress.total.load());
        ASSERT_EQ(compressed ? ModelSaveCompressed(model(), theirs.c_str())
                             : ModelSave(model(), theirs.c_str()),
                  MODEL_OK);
        EXPECT_EQ(test_support::read_file(mine), test_support::read_file(theirs)) << compressed;
        ScopedModel back;
        ASSERT_EQ(LoadKorvexFile(back.get(), mine, progress), MODEL_OK);
        EXPECT_EQ(Content(*back.get()), Content(*model()));
    }
    ScopedModel untouched;
    platform::FileProgress progress;
    EXPECT_EQ(LoadKorvexFile(untouched.get(), Path("missing.Korvex"), progress), MODEL_ERR_OPEN);
    EXPECT_EQ(SaveKorvexFile(model(), dir.string(), true, progress), MODEL_ERR_OPEN); // a folder
}

} // namespace
} // namespace editor
