// The real Korvex Editor window: unsaved work is marked in the title and guarded on close,
// Ctrl+Z and Ctrl+S reach the model and its file.
#include "modeleditor/editor_main_window.h"

#include "model/korvex_file.h"
#include "model/test_support.h"
#include "modeleditor/editor_ids.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>

#include "platform/qt/test_message_box.h"
#include <QTimer>
#include <QWindow>

#include <gtest/gtest.h>

#include <filesystem>

namespace editor {
namespace {

TEST(EditorGuard, CloseAsksAndStaysOnCancelAndCtrlZBringsADeletedFaceBackIntoTheSavedFile) {
    const std::string path = (std::filesystem::temp_directory_path() / "kx_editor_guard.Kor").string();
    {
        ScopedModel m;
        AddVertex(m.get(), 0, 0, 0, 0);
        AddVertex(m.get(), 1, 0, 0, 0);
        AddVertex(m.get(), 0, 1, 0, 0);
        AddFace(m.get(), 0, 1, 2, 0);
        ASSERT_EQ(ModelSaveCompressed(m.get(), path.c_str()), MODEL_OK);
    }
    EditorMainWindow window;
    std::vector<int> quits;
    window.set_quit_handler([&quits](int code) { quits.push_back(code); });
    window.start(QString::fromStdString(path));
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    ASSERT_NE(window.proc().state().view, nullptr);
    QWindow* view = window.surface().window();
    view->requestActivate();
    Model* model = window.proc().model();

    QTest::keyClick(view, Qt::Key_U);
    ASSERT_TRUE(QTest::qWaitFor([&] { return model->vertices[0].y > 0.0f; }));
    window.proc().state().pickKind = PICK_FACE;
    window.proc().state().pickIndex = 0;
    QTest::keyClick(view, Qt::Key_Delete);
    ASSERT_EQ(FaceCount(model), 0);
    EXPECT_TRUE(window.isWindowModified());
    EXPECT_EQ(window.windowTitle(), "Korvex Editor v1.3 EN[*]");

    platform::AnsweredBox asked;
    platform::answer_next_box(asked, QMessageBox::Cancel);
    EXPECT_FALSE(window.close());
    EXPECT_EQ(asked.text, "Save the changes to kx_editor_guard.Kor?");
    EXPECT_TRUE(window.isVisible());
    EXPECT_TRUE(quits.empty());
    EXPECT_EQ(FaceCount(model), 0);

    QTest::keyClick(view, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(FaceCount(model), 1);
    QTest::keyClick(view, Qt::Key_S, Qt::ControlModifier);
    EXPECT_FALSE(window.isWindowModified());
    EXPECT_EQ(window.windowTitle(), "Korvex Editor v1.3 EN");
    ScopedModel saved;
    ASSERT_EQ(ModelLoad(saved.get(), path.c_str()), MODEL_OK);
    EXPECT_EQ(FaceCount(saved.get()), 1);
    EXPECT_EQ(saved->compression, 1);
    EXPECT_NEAR(saved->vertices[0].y, 0.01f, 1e-6);

    // Saved: closing asks nothing and ends the program.
    EXPECT_TRUE(window.close());
    EXPECT_EQ(quits, std::vector<int>{0});
    std::filesystem::remove(path);
}

} // namespace
} // namespace editor
