// Other model formats in the editor: the Open dialog's filters, and reading out of process with
// this build's importer and with stand-ins that crash, hang and fail.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "model/test_support.h"
#include "modeleditor/fake_editor_window.h"
#include "modeleditor/foreign_import.h"

namespace editor {
namespace {

using testing::EditorFixture;

struct ForeignOpen : EditorFixture, ::testing::Test {
    TempDir dir;
    std::string File(const char* name, const std::string& text) {
        const std::string path = dir.File(name);
        std::ofstream(path) << text;
        return path;
    }
    void Open(const std::string& path, const char* importer, int timeoutMs = kForeignImportTimeoutMs) {
        proc.set_foreign_importer({importer, timeoutMs});
        window.dialogAnswer = FileDialogResult{path, 2};
        proc.handle(WM_COMMAND, IDM_OPEN, 0);
    }
    // A model with unsaved work in it, and what it holds.
    std::vector<uint8_t> Work() {
        AddVertex(model(), 1, 2, 3, 0);
        AddDummy(model(), 9, 0, 0, 0);
        state().pickKind = PICK_VERTEX;
        return ModelState(*model());
    }
};

TEST_F(ForeignOpen, DialogListsKorvexFirstThenAllModelFormatsThenCommonOnes) {
    window.dialogAnswer.reset();
    proc.handle(WM_COMMAND, IDM_OPEN, 0);
    ASSERT_EQ(window.dialogs.size(), 1u);
    const FileDialogRequest& r = window.dialogs[0];
    EXPECT_EQ(r.default_extension, "Korvex");
    ASSERT_GE(r.filters.size(), 7u);
    EXPECT_EQ(r.filters[0].description, "Korvex file (*.Korvex;*Kor)");
    EXPECT_EQ(r.filters[0].patterns, "*.Korvex;*.Kor");
    EXPECT_EQ(r.filters[1].description, "All model formats");
    for (const char* p :
         {"*.Korvex;", ";*.asc;", ";*.obj;", ";*.OBJ;", ";*.glb;", ";*.fbx;", ";*.3ds;", ";*.dae;"})
        EXPECT_NE(r.filters[1].patterns.find(p), std::string::npos) << p;
    EXPECT_EQ(r.filters[2].description, "Wavefront OBJ (*.obj)");
    EXPECT_EQ(r.filters[2].patterns, "*.obj;*.OBJ");
}

TEST_F(ForeignOpen, ThisBuildsImporterReadsAnObjIntoTheModel) {
    const std::string obj = File("tri.obj", "v 0 0 0\nv 1 0 0\nv 0 1.5 0\nf 1 2 3\n");
    Work();
    Open(obj, KORVEX_PROGRAM);
    EXPECT_TRUE(window.boxes.empty()) << window.boxes[0].text;
    ASSERT_EQ(VertexCount(model()), 3);
    EXPECT_EQ(FaceCount(model()), 1);
    EXPECT_EQ(model()->vertices[2].y, 1.5f);
    EXPECT_EQ(state().pickKind, PICK_NOTHING);
}

TEST_F(ForeignOpen, CrashHangAndFailureEndInABoxAndKeepTheWork) {
    const auto work = Work();
    struct Case {
        const char* name;
        const char* content;
        const char* importer;
        std::string reason;
    };
    const Case cases[] = {
        {"crash.obj", "crash", FAKE_IMPORTER, "the importer crashed (Segmentation fault)."},
        {"hang.stl", "hang", FAKE_IMPORTER, "the importer did not finish within 2 seconds."},
        {"fail.fbx", "fail", FAKE_IMPORTER, "the reader refused it."},
        {"garbage.ply", "garbage", FAKE_IMPORTER, "the importer's answer cannot be loaded"},
        {"x.dae", "", "/nonexistent/importer", "cannot be started: No such file or directory."},
        // The reader of this build would never finish on a PLY whose header stops short; this
        // build's importer refuses such a file before the reader sees it.
        {"cut.ply", "ply\nformat ascii 1.0\nelement vertex 4\nproperty float x\n", KORVEX_PROGRAM,
         "the PLY header has no end_header line in its first 64 KiB."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string path = File(c.name, c.content);
        window.boxes.clear();
        Open(path, c.importer, 2000);
        ASSERT_EQ(window.boxes.size(), 1u);
        EXPECT_EQ(window.boxes[0].caption, "Korvex Editor v1.3 EN");
        EXPECT_EQ(window.boxes[0].text.find("Cannot open " + path + ":\n"), 0u) << window.boxes[0].text;
        EXPECT_NE(window.boxes[0].text.find(c.reason), std::string::npos) << window.boxes[0].text;
        EXPECT_EQ(ModelState(*model()), work);
        EXPECT_EQ(state().pickKind, PICK_VERTEX);
    }
}

TEST_F(ForeignOpen, OpenFileTakesForeignNamesOutOfProcessAndAscStillByTheAdvancedImporter) {
    proc.set_foreign_importer({FAKE_IMPORTER, 2000});
    const std::string fbx = File("-dash.FBX", "fail");
    EXPECT_NE(proc.open_file(fbx), 0);
    ASSERT_EQ(window.boxes.size(), 1u);
    EXPECT_NE(window.boxes[0].text.find("the reader refused it"), std::string::npos);

    const std::string asc =
        File("box.asc", "Named object: \"Box\"\nTri-mesh, Vertices: 3     Faces: 1\n"
                        "Vertex list:\nVertex 0:  X: 0 Y: 0 Z: 0\nVertex 1:  X: 1 Y: 0 Z: 0\n"
                        "Vertex 2:  X: 0 Y: 1 Z: 0\nFace list:\nFace 0:    A:0 B:1 C:2\n"
                        "Material:\"Wood\"\n");
    EXPECT_EQ(proc.open_file(asc), 0);
    EXPECT_EQ(MaterialCount(model()), 2); // "Default" and "Wood"
}

} // namespace
} // namespace editor
