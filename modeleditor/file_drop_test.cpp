// The real editor window opening other model formats: from the command line and by a drop.
#include "modeleditor/editor_main_window.h"

#include "model/test_support.h"

#include <QDropEvent>
#include <QMimeData>
#include <QTest>
#include <QUrl>

#include <gtest/gtest.h>

#include <fstream>

namespace editor {
namespace {

void WriteTriangleObj(const std::string& path, const char* y) {
    std::ofstream(path) << "v 0 0 0\nv 1 0 0\nv 0 " << y << " 0\nf 1 2 3\n";
}

void Started(EditorMainWindow& window, const QString& file) {
    window.start(file);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    ASSERT_NE(window.proc().state().view, nullptr);
}

TEST(EditorForeignFiles, CommandLineAndDropOpenAnObjThroughThisBuildsImporter) {
    TempDir dir;
    const std::string first = dir.File("first.obj"), second = dir.File("second.OBJ");
    WriteTriangleObj(first, "2.5");
    WriteTriangleObj(second, "7");
    EditorMainWindow window;
    Started(window, QString::fromStdString(first));
    Model* model = window.proc().model();
    ASSERT_EQ(VertexCount(model), 3);
    EXPECT_EQ(model->vertices[2].y, 2.5f);

    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(QString::fromStdString(second))});
    QDragEnterEvent enter(QPoint(20, 20), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&window, &enter);
    EXPECT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(20, 20), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&window, &drop);
    EXPECT_TRUE(drop.isAccepted());
    EXPECT_TRUE(
        QTest::qWaitFor([&] { return VertexCount(model) == 3 && model->vertices[2].y == 7.0f; }, 10000));

    // Text without a file is not taken.
    QMimeData text;
    text.setText("hello");
    QDragEnterEvent refused(QPoint(20, 20), Qt::CopyAction, &text, Qt::LeftButton, Qt::NoModifier);
    refused.setAccepted(false);
    QCoreApplication::sendEvent(&window, &refused);
    EXPECT_FALSE(refused.isAccepted());
}

} // namespace
} // namespace editor
