// The real Taviron Editor window under an X server (Xvfb in the test runs), driven with Qt Test.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <QAction>
#include <QApplication>
#include <QMenuBar>
#include <QMimeData>
#include <QMouseEvent>
#include <QScreen>
#include <QScrollBar>
#include <QTest>
#include <filesystem>
#include <fstream>
#include <vector>

#include "bitmapeditor/commands.h"
#include "bitmapeditor/editor_main_window.h"
#include "platform/qt/menu_bar.h"
#include "platform/test_process.h"

namespace bmpedit {
namespace {

class EditorGui : public testing::Test {
  protected:
    void SetUp() override {
        window = std::make_unique<EditorMainWindow>([this](int code) { quits.push_back(code); });
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
        ASSERT_TRUE(shown());
    }
    void TearDown() override { window.reset(); }

    // Waits until the X server shows the client area as the editor paints it now: repaints
    // reach the server some time after the change, later still when the machine is busy.
    bool shown() const {
        return QTest::qWaitFor([this] { return on_screen() == rendered(); }, 10000);
    }
    QWidget* client() const { return window->client_area(); }
    // What the X server shows of the client area now.
    QImage on_screen() const {
        const QPoint at = client()->mapTo(window.get(), QPoint(0, 0));
        return window->screen()
            ->grabWindow(window->winId(), at.x(), at.y(), client()->width(), client()->height())
            .toImage()
            .convertToFormat(QImage::Format_RGB32);
    }
    // The client area painted afresh.
    QImage rendered() const { return client()->grab().toImage().convertToFormat(QImage::Format_RGB32); }
    QImage strip(const QImage& image) const {
        return image.copy(0, 0, image.width(), int(29 * window->devicePixelRatio()));
    }
    // The colour at client position p in a picture of the client area, which has the desktop's
    // scale: at 2, each client pixel is 2 x 2 pixels of the picture.
    QRgb at(const QImage& image, QPoint p) const {
        const double r = window->devicePixelRatio();
        return image.pixel(int(p.x() * r), int(p.y() * r));
    }

    std::unique_ptr<EditorMainWindow> window;
    std::vector<int> quits;
};

TEST_F(EditorGui, WindowAndMenuBarTexts) {
    EXPECT_EQ(window->windowTitle(), "App");
    EXPECT_EQ(window->size(), QSize(544, 375));
    QStringList texts;
    for (QAction* action : window->menuBar()->actions())
        texts << action->text();
    EXPECT_EQ(texts, (QStringList{"Novy", "    Load", "Import", "    Save", "Save compressed", "    Mode",
                                  "Size 32x32"}));
    auto* right = qobject_cast<QMenuBar*>(window->menuBar()->cornerWidget(Qt::TopRightCorner));
    ASSERT_NE(right, nullptr);
    ASSERT_EQ(right->actions().size(), 1);
    EXPECT_EQ(right->actions()[0]->text(), "<< toto jsou tlacitka");
    EXPECT_FALSE(right->actions()[0]->isEnabled());
    EXPECT_GT(right->mapTo(window.get(), QPoint(0, 0)).x(), window->width() / 2);
    for (int id : {101, 102, 103, 105, 106, 107, 111}) {
        QAction* action = platform::find_menu_action(*window->menuBar(), id);
        ASSERT_NE(action, nullptr) << id;
        EXPECT_TRUE(action->isEnabled()) << id;
    }
}

TEST_F(EditorGui, ChildrenArePlacedAtTheRightEdge) {
    const int cx = client()->width();
    const int cy = client()->height();
    EXPECT_EQ(window->child(Child::VerticalBar)->geometry(), QRect(cx - 16, 0, 16, cy - 16));
    EXPECT_EQ(window->child(Child::HorizontalBar)->geometry(), QRect(0, cy - 16, cx - 16, 16));
    EXPECT_EQ(window->child(Child::SizeGrip)->geometry(), QRect(cx - 16, cy - 16, 16, 16));
    EXPECT_EQ(window->child(Child::Button201)->geometry(), QRect(cx - 80, 40, 60, 30));
    EXPECT_EQ(window->child(Child::Button202)->geometry(), QRect(cx - 80, 80, 60, 30));
    EXPECT_EQ(window->child(Child::Button203)->geometry(), QRect(cx - 80, 160, 60, 30));
    // The whole 32 x 32 bitmap fits, so both bars have nothing to scroll.
    EXPECT_FALSE(window->child(Child::HorizontalBar)->isEnabled());
    EXPECT_FALSE(window->child(Child::VerticalBar)->isEnabled());
}

TEST_F(EditorGui, ClickPaintsACell) {
    const QPoint inside(10 + 7 * 3 + 3, 30 + 7 * 2 + 3); // cell (3, 2)
    QImage before = rendered();
    EXPECT_EQ(at(before, inside), qRgb(0, 0, 0));
    QTest::mouseClick(client(), Qt::RightButton, {}, inside);
    ASSERT_TRUE(shown());
    EXPECT_EQ(window->editor().bitmap()->get_pixel(3, 2), 0x00FFFFFFu);
    for (const QImage& image : {rendered(), on_screen()}) {
        EXPECT_EQ(at(image, inside), qRgb(255, 255, 255));
        EXPECT_EQ(at(image, {10 + 7 * 3 + 1, 30 + 7 * 2 + 1}), qRgb(255, 255, 255)); // first pixel inside
        EXPECT_EQ(at(image, {10 + 7 * 3, 30 + 7 * 2 + 3}), qRgb(0, 0, 0));           // the outline
        EXPECT_EQ(at(image, inside + QPoint(7, 0)), qRgb(0, 0, 0));                  // the next cell
    }
}

TEST_F(EditorGui, SecondPressOfADoubleClickPaintsNothingButAHeldMoveDoes) {
    const QPointF at(13, 33); // cell (0, 0)
    const QPointF global = client()->mapToGlobal(at);
    QMouseEvent second(QEvent::MouseButtonDblClick, at, global, Qt::RightButton, Qt::RightButton,
                       Qt::NoModifier);
    QApplication::sendEvent(client(), &second);
    EXPECT_EQ(window->editor().bitmap()->get_pixel(0, 0), 0u);
    QMouseEvent held(QEvent::MouseMove, at, global, Qt::NoButton, Qt::RightButton, Qt::NoModifier);
    QApplication::sendEvent(client(), &held);
    EXPECT_EQ(window->editor().bitmap()->get_pixel(0, 0), 0x00FFFFFFu);
}

TEST_F(EditorGui, ARealDoubleClickPaintsOnlyWithItsFirstPress) {
    // Presses and releases through the window system's own path, so that Qt itself makes the
    // second press a double click.
    QWindow* top = window->windowHandle();
    const QPointF at = client()->mapTo(window.get(), QPointF(13, 33)); // cell (0, 0)
    int clock = QTest::lastMouseTimestamp + 1000;
    auto send = [&](QEvent::Type type) {
        const Qt::MouseButtons held = type == QEvent::MouseButtonPress ? Qt::RightButton : Qt::NoButton;
        qt_handleMouseEvent(top, at, top->mapToGlobal(at), held, Qt::RightButton, type, {}, clock += 10);
        QCoreApplication::processEvents();
    };
    send(QEvent::MouseButtonPress);
    EXPECT_EQ(window->editor().bitmap()->get_pixel(0, 0), 0x00FFFFFFu);
    send(QEvent::MouseButtonRelease);
    window->editor().bitmap()->set_pixel(0, 0, 0, 0, 0, 0);
    send(QEvent::MouseButtonPress);
    EXPECT_EQ(window->editor().bitmap()->get_pixel(0, 0), 0u) << "the second press painted";
    send(QEvent::MouseButtonRelease);
    QTest::lastMouseTimestamp = clock + 1000;
}

TEST_F(EditorGui, ModeSwitchRedrawsStatusLineGridAndButtons) {
    QTest::mouseClick(client(), Qt::RightButton, {}, QPoint(13, 33));
    ASSERT_TRUE(shown());
    const QImage before = on_screen();
    EXPECT_EQ(at(before, {13, 33}), qRgb(255, 255, 255));
    // The centre of a button as the X server shows it.
    auto centre = [this](QWidget* w) { return at(on_screen(), w->geometry().center()); };
    EXPECT_EQ(centre(window->child(Child::Button201)), qRgb(0, 0, 0));
    EXPECT_EQ(centre(window->child(Child::Button203)), qRgb(192, 192, 192));

    platform::find_menu_action(*window->menuBar(), IDM_MODE)->trigger();
    ASSERT_TRUE(shown());
    EXPECT_NE(window->editor().status_text().find("Rezim: Alpha kanal"), std::string::npos);
    const QImage after = on_screen();
    EXPECT_NE(strip(after), strip(before));
    EXPECT_EQ(strip(after), strip(rendered()));    // what is shown is what the editor paints now
    EXPECT_EQ(at(after, {13, 33}), qRgb(0, 0, 0)); // alpha 0 shows as black
    EXPECT_EQ(centre(window->child(Child::Button201)), qRgb(192, 192, 192));
    EXPECT_EQ(centre(window->child(Child::Button203)), qRgb(0, 0, 0));
}

TEST_F(EditorGui, StatusLineFollowsALoadedFile) {
    const QImage before = on_screen();
    const std::filesystem::path path = std::filesystem::path(testing::TempDir()) / "gui_big.Taviron";
    {
        Taviron big(64, 64);
        ASSERT_EQ(big.save(path.string().c_str()), TAV_OK);
    }
    window->editor().open_file(path.string());
    ASSERT_TRUE(shown());
    const QImage after = on_screen();
    EXPECT_NE(strip(after), strip(before));
    EXPECT_EQ(strip(after), strip(rendered()));
}

TEST_F(EditorGui, ScrollBarArrowAndPageClicksScroll) {
    window->resize(300, 260);
    ASSERT_TRUE(QTest::qWaitFor([this] { return window->size() == QSize(300, 260); }, 10000));
    ASSERT_TRUE(shown());
    auto* bar = static_cast<QScrollBar*>(window->child(Child::HorizontalBar));
    ASSERT_TRUE(bar->isEnabled());
    const int visible = window->editor().visible().columns;
    ASSERT_LT(visible, 31);
    QTest::mouseClick(bar, Qt::LeftButton, {}, QPoint(bar->width() - 4, bar->height() / 2));
    ASSERT_TRUE(shown());
    EXPECT_EQ(window->editor().view().x, 1);
    EXPECT_EQ(bar->value(), 1);
    QTest::mouseClick(bar, Qt::LeftButton, {}, QPoint(4, bar->height() / 2));
    ASSERT_TRUE(shown());
    EXPECT_EQ(window->editor().view().x, 0);
    const QImage before = on_screen();
    // A click in the trough beside the thumb scrolls a page, here as far as the bar reaches.
    QTest::mouseClick(bar, Qt::LeftButton, {}, QPoint(bar->width() - 20, bar->height() / 2));
    ASSERT_TRUE(shown());
    EXPECT_EQ(window->editor().view().x, 32 - visible);
    EXPECT_EQ(bar->value(), 32 - visible);
    EXPECT_NE(strip(on_screen()), strip(before));
    EXPECT_EQ(strip(on_screen()), strip(rendered()));
}

TEST_F(EditorGui, NovyAfterScrollingFarKeepsTheViewOnTheNewBitmap) {
    window->resize(300, 260);
    ASSERT_TRUE(QTest::qWaitFor([this] { return window->size() == QSize(300, 260); }, 10000));
    const std::filesystem::path path = std::filesystem::path(testing::TempDir()) / "gui_clamp.Taviron";
    ASSERT_EQ(Taviron(64, 64).save(path.string().c_str()), TAV_OK);
    window->editor().open_file(path.string());
    platform::find_menu_action(*window->menuBar(), IDM_MODE)->trigger(); // cells outside show white
    auto* bar = static_cast<QScrollBar*>(window->child(Child::HorizontalBar));
    ASSERT_TRUE(shown());
    bar->triggerAction(QAbstractSlider::SliderToMaximum);
    const int visible = window->editor().visible().columns;
    ASSERT_EQ(window->editor().view().x, 64 - visible);

    platform::find_menu_action(*window->menuBar(), IDM_NEW)->trigger();
    ASSERT_TRUE(shown());
    EXPECT_EQ(window->editor().view().x, 32 - visible);
    EXPECT_TRUE(bar->isEnabled());
    EXPECT_EQ(bar->maximum(), 32 - visible);
    EXPECT_EQ(bar->value(), 32 - visible);
    // The last shown cell is the new bitmap's last column (alpha 0, black), not a cell beyond it.
    const QPoint last(10 + 7 * (visible - 1) + 3, 30 + 3);
    EXPECT_EQ(at(on_screen(), last), qRgb(0, 0, 0));
}

TEST_F(EditorGui, SizeGripStaysVisibleButDisabledWhileMaximised) {
    window->showMaximized();
    ASSERT_TRUE(QTest::qWaitFor([this] { return window->isMaximized(); }, 10000));
    QWidget* grip = window->child(Child::SizeGrip);
    EXPECT_TRUE(window->isMaximized());
    EXPECT_TRUE(grip->isVisible());
    EXPECT_FALSE(grip->isEnabled());
    window->showNormal();
    ASSERT_TRUE(QTest::qWaitFor([this] { return !window->isMaximized(); }, 10000));
    EXPECT_TRUE(grip->isVisible());
    EXPECT_TRUE(grip->isEnabled());
}

TEST_F(EditorGui, DroppingAFileOpensIt) {
    const std::filesystem::path path = std::filesystem::path(testing::TempDir()) / "gui_drop.png";
    {
        Taviron picture(5, 4);
        picture.pixels[0] = 200;
        ASSERT_EQ(picture.save_png(path.string().c_str()), TAV_OK);
    }
    EXPECT_TRUE(window->acceptDrops());
    const QPoint at = client()->geometry().center();
    QMimeData text;
    text.setText("no file here");
    QDragEnterEvent refused(at, Qt::CopyAction, &text, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(window.get(), &refused);
    EXPECT_FALSE(refused.isAccepted());

    QMimeData file;
    file.setUrls({QUrl::fromLocalFile(QString::fromStdString(path.string()))});
    QDragEnterEvent enter(at, Qt::CopyAction, &file, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(window.get(), &enter);
    EXPECT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(at), Qt::CopyAction, &file, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(window.get(), &drop);
    EXPECT_TRUE(drop.isAccepted());
    ASSERT_TRUE(QTest::qWaitFor([this] { return window->editor().bitmap()->get_width() == 5; }, 10000));
    EXPECT_EQ(window->editor().bitmap()->get_pixel(0, 0), 0x000000C8u);
}

TEST_F(EditorGui, ClosingQuitsWithZero) {
    window->close();
    EXPECT_EQ(quits, std::vector<int>{0});
    EXPECT_EQ(window->editor().bitmap(), nullptr);
}

// Started where no display can be opened, the program says so in one line and ends with 1.
TEST(TavironEditorProgram, WithoutADisplayItSaysSoInOneLine) {
    platform::expect_no_display_line(KX_BINARY_DIR "/bitmapeditor/taviron-editor",
                                     "taviron-editor: cannot open a display\n");
}

} // namespace
} // namespace bmpedit
