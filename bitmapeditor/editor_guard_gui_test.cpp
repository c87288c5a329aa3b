// The real Taviron Editor window: unsaved painting is marked in the title and guarded on close,
// Ctrl+Z, Ctrl+Y and Ctrl+S work, and a long file job keeps the window painting under a
// progress box.
#include <gtest/gtest.h>

#include <QApplication>
#include <QMessageBox>
#include <QProgressDialog>
#include <QPushButton>
#include <QTest>

#include "platform/qt/test_message_box.h"
#include <QTimer>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <thread>

#include "bitmapeditor/editor_main_window.h"
#include "platform/qt/file_job.h"

namespace bmpedit {
namespace {

TEST(EditorGuardGui, CloseAsksAndUndoRedoAndSaveWorkFromTheKeyboard) {
    std::vector<int> quits;
    EditorMainWindow window([&quits](int code) { quits.push_back(code); });
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window)); // shortcuts reach the active window only
    QWidget* client = window.client_area();

    QTest::mousePress(client, Qt::RightButton, {}, QPoint(12, 32)); // white on black
    QTest::mouseRelease(client, Qt::RightButton, {}, QPoint(12, 32));
    ASSERT_EQ(window.editor().bitmap()->get_rgb(0, 0), 0xFFFFFFu);
    EXPECT_TRUE(window.isWindowModified());
    EXPECT_EQ(window.windowTitle(), "App[*]");

    platform::AnsweredBox asked;
    platform::answer_next_box(asked, QMessageBox::Cancel);
    EXPECT_FALSE(window.close());
    EXPECT_EQ(asked.text, "Save the changes to untitled?");
    EXPECT_TRUE(window.isVisible());
    EXPECT_TRUE(quits.empty());
    // Without a window manager the window is not made active again when the box goes.
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));

    QTest::keyClick(&window, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(window.editor().bitmap()->get_rgb(0, 0), 0u);
    EXPECT_EQ(window.windowTitle(), "App");
    QTest::keyClick(&window, Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(window.editor().bitmap()->get_rgb(0, 0), 0xFFFFFFu);

    // Ctrl+S on a bitmap with a file saves there without a dialog.
    const std::string path = (std::filesystem::temp_directory_path() / "tav_editor_guard.Taviron").string();
    window.editor().history().saved_as({path, false});
    QTest::keyClick(&window, Qt::Key_Z, Qt::ControlModifier);
    QTest::keyClick(&window, Qt::Key_S, Qt::ControlModifier);
    Taviron saved;
    ASSERT_EQ(saved.load(path.c_str()), TAV_OK);
    EXPECT_EQ(saved.get_rgb(0, 0), 0u);
    EXPECT_FALSE(window.isWindowModified());

    // Changed again: Discard closes.
    QTest::keyClick(&window, Qt::Key_Y, Qt::ControlModifier);
    platform::answer_next_box(asked, QMessageBox::Discard);
    EXPECT_TRUE(window.close());
    EXPECT_EQ(quits, std::vector<int>{0});
    std::filesystem::remove(path);
}

TEST(EditorGuardGui, ALongFileJobShowsItsProgressWhileTheWindowRepaints) {
    EditorMainWindow window([](int) {});
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));

    platform::FileProgress progress;
    progress.total = 1000;
    std::atomic<int> ticksUnderBox{0};
    std::atomic<bool> boxSeen{false};
    QTimer probe;
    QObject::connect(&probe, &QTimer::timeout, [&] {
        if (auto* box = window.findChild<QProgressDialog*>("file_progress"); box && box->isVisible()) {
            boxSeen = true;
            if (box->labelText().contains("of 1,000 bytes")) ++ticksUnderBox;
        }
        window.client_area()->repaint(); // the window's thread is free to paint while the job runs
    });
    probe.start(50);
    const std::int32_t status = window.run_file_job("Saving big.Taviron", progress, [&] {
        for (int i = 0; i < 10; ++i) {
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
            progress.done += 100;
        }
        return std::int32_t(7);
    });
    probe.stop();
    EXPECT_EQ(status, 7);
    EXPECT_TRUE(boxSeen.load());
    EXPECT_GT(ticksUnderBox.load(), 0);
}

} // namespace
} // namespace bmpedit
