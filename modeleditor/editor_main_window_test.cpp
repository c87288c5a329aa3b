// The real Korvex Editor window under a display, driven with Qt Test: start-up with a model
// file, menus, keys, mouse-look, timers, the failure box and Exit.
#include "modeleditor/editor_main_window.h"

#include "glview/view_context.h"
#include "model/korvex_file.h"
#include "modeleditor/editor_ids.h"
#include "platform/qt/menu_bar.h"
#include "platform/qt/test_message_box.h"
#include "platform/test_process.h"

#include <QAction>
#include <QApplication>
#include <QCursor>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QScreen>
#include <QTest>
#include <QTimer>
#include <QWindow>

#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cmath>
#include <filesystem>
#include <functional>

namespace editor {
namespace {

void Wait(int ms) {
    QTest::qWait(ms);
}

bool WaitFor(const std::function<bool()>& condition, int ms = 3000) {
    return QTest::qWaitFor(condition, ms);
}

class EditorWindowTest : public ::testing::Test {
  protected:
    void SetUp() override {
        path = std::filesystem::temp_directory_path() /
               ("kx_editor_gui_" +
                std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()) + ".Korvex");
        Model m;
        ModelInit(&m);
        AddVertex(&m, 0, 0, 0, 0);
        AddVertex(&m, 1, 0, 0, 0);
        AddVertex(&m, 0, 1, 0, 0);
        AddFace(&m, 0, 1, 2, 0);
        AddDummy(&m, 3, 0.5f, 0.5f, 0.5f);
        AddDefaultMaterial(&m, "Default");
        ASSERT_EQ(ModelSaveCompressed(&m, path.c_str()), 0);
        ModelRelease(&m);
    }
    void TearDown() override { std::filesystem::remove(path); }

    void Start(const QString& file) {
        window.start(file);
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
        // A GUI test that cannot get its GL context fails; it never passes by skipping.
        ASSERT_NE(window.proc().state().view, nullptr);
        ASSERT_NE(window.proc().state().view->rc, nullptr) << "no GL context for the editor's view";
        Wait(50);
    }
    QWindow* View() { return window.surface().window(); }
    EditorState& State() { return window.proc().state(); }
    Model* TheModel() { return window.proc().model(); }

    std::filesystem::path path;
    EditorMainWindow window;
};

TEST_F(EditorWindowTest, StartsMaximisedWithTheModelNamedOnTheCommandLine) {
    Start(QString::fromStdString(path.string()));
    EXPECT_EQ(window.windowTitle(), "Korvex Editor v1.3 EN");
    EXPECT_TRUE(window.isMaximized());
    EXPECT_EQ(VertexCount(TheModel()), 3);
    EXPECT_EQ(DummyCount(TheModel()), 1);
    EXPECT_NE(State().bitmapFont, nullptr);
    EXPECT_NE(State().outlineFont, nullptr);
    // The view fills the client area below the menu bar.
    EXPECT_EQ(window.centralWidget(), window.surface().widget());
    EXPECT_EQ(State().view->width, std::uint32_t(window.surface().width()));
    EXPECT_EQ(window.surface().widget()->size(), window.centralWidget()->size());
    // The menu bar is shown above the view, not covered by it.
    EXPECT_TRUE(window.menuBar()->isVisible());
    EXPECT_GT(window.menuBar()->height(), 0);
    const QPalette menus = window.menuBar()->palette();
    EXPECT_NE(menus.color(QPalette::Window), menus.color(QPalette::WindowText)); // readable
    EXPECT_GE(window.surface().widget()->geometry().top(), window.menuBar()->geometry().bottom());
    EXPECT_EQ(View()->geometry().top() + View()->parent()->mapToGlobal(QPoint(0, 0)).y() -
                  window.mapToGlobal(QPoint(0, 0)).y(),
              window.surface().widget()->geometry().top())
        << "menu " << window.menuBar()->geometry().bottom();

    // Timers 1 and 2 both run at 10 ms: nothing runs faster than the old platform allowed.
    std::vector<int> intervals;
    for (QTimer* timer : window.findChildren<QTimer*>())
        if (timer->isActive()) intervals.push_back(timer->interval());
    EXPECT_EQ(intervals, (std::vector<int>{10, 10}));
}

TEST_F(EditorWindowTest, MenusComeFromTheTableWithTicksHintsAndTheGreyedCaption) {
    Start({});
    QMenuBar* bar = window.menuBar();
    QStringList titles;
    for (QAction* action : bar->actions())
        titles << action->text();
    EXPECT_EQ(titles, (QStringList{"File", "Add", "Materials", "Show", "View", "Shading", "Specials",
                                   "Transformations"}));
    QAction* caution = platform::find_menu_action(*bar, 0xFFFF);
    ASSERT_NE(caution, nullptr);
    EXPECT_EQ(caution->text(), "Pozor na to!");
    EXPECT_FALSE(caution->isEnabled());
    QAction* right = platform::find_menu_action(*bar, IDM_MOVE_RIGHT);
    ASSERT_NE(right, nullptr);
    EXPECT_EQ(right->text(), "Right 0.01\tL");
    EXPECT_TRUE(right->shortcut().isEmpty()); // a hint only; 'k' is the key

    platform::find_menu_action(*bar, IDM_RENDER_LINES)->trigger();
    EXPECT_EQ(State().renderMode, 1);
    EXPECT_TRUE(platform::find_menu_action(*bar, IDM_RENDER_LINES)->isChecked());
    EXPECT_FALSE(platform::find_menu_action(*bar, IDM_RENDER_FILL)->isChecked());
    platform::find_menu_action(*bar, IDM_VIEW_AXES)->trigger();
    EXPECT_FALSE(State().showAxes);
    EXPECT_FALSE(platform::find_menu_action(*bar, IDM_VIEW_AXES)->isChecked());
}

TEST_F(EditorWindowTest, MaterialsAndViewMenusShowTheirClosingSeparator) {
    Start({});
    for (const char* title : {"Materials", "View"}) {
        QMenu* menu = nullptr;
        for (QAction* action : window.menuBar()->actions())
            if (action->text() == title) menu = action->menu();
        ASSERT_NE(menu, nullptr) << title;
        ASSERT_FALSE(menu->actions().isEmpty());
        QAction* last = menu->actions().last();
        ASSERT_TRUE(last->isSeparator()) << title;
        menu->popup(window.mapToGlobal(QPoint(0, 0)));
        ASSERT_TRUE(QTest::qWaitForWindowExposed(menu));
        // The separator takes room at the foot of the open menu.
        EXPECT_FALSE(menu->actionGeometry(last).isEmpty()) << title;
        menu->hide();
    }
}

TEST_F(EditorWindowTest, KeysMoveTheCameraAndTheModel) {
    Start(QString::fromStdString(path.string()));
    View()->requestActivate();
    QTest::keyClick(View(), Qt::Key_U);
    ASSERT_TRUE(WaitFor([&] { return TheModel()->vertices[0].y > 0.0f; }));
    EXPECT_NEAR(TheModel()->vertices[2].y, 1.01f, 1e-6);
    QTest::keyClick(View(), Qt::Key_L, Qt::ShiftModifier); // 'L' does nothing
    QTest::keyClick(View(), Qt::Key_L);                    // nor does 'l'
    Wait(30);
    EXPECT_NEAR(TheModel()->vertices[1].x, 1.0f, 1e-6);

    QTest::keyPress(View(), Qt::Key_Plus, Qt::KeypadModifier);
    ASSERT_TRUE(WaitFor([&] { return State().cameraDistance > -8.9f; }));
    EXPECT_EQ(State().keyDown[VK_ADD], 1);
    QTest::keyRelease(View(), Qt::Key_Plus, Qt::KeypadModifier);
    EXPECT_EQ(State().keyDown[VK_ADD], 0);
    const float stopped = State().cameraDistance;
    Wait(50);
    EXPECT_EQ(State().cameraDistance, stopped);

    // The main row's plus is not the numeric pad's.
    QTest::keyPress(View(), Qt::Key_Plus);
    EXPECT_EQ(State().keyDown[VK_ADD], 0);
    QTest::keyRelease(View(), Qt::Key_Plus);
}

TEST_F(EditorWindowTest, MouseLookMovesTheCursorAndDeleteRemovesThePickedDummy) {
    Start(QString::fromStdString(path.string()));
    QTest::mouseDClick(View(), Qt::RightButton, {}, QPoint(100, 100));
    ASSERT_TRUE(State().mouseLook);
    const ScreenRect r = window.window_rect();
    const QPoint centre(r.left + (r.right - r.left) / 2, r.top + (r.bottom - r.top) / 2);
    ASSERT_TRUE(WaitFor([&] { return QCursor::pos() == centre; }));
    // A pointer resting on the centre moves nothing, at any desktop scale.
    Wait(100);
    EXPECT_EQ(State().cursorPos[0], 0.0f);
    EXPECT_EQ(State().cursorPos[2], 0.0f);

    // Pointer 50 px right and 50 px towards the user: the cursor to (0.5, 0, 0.5) ...
    QCursor::setPos(centre + QPoint(50, 50));
    ASSERT_TRUE(WaitFor([&] { return State().cursorPos[0] > 0.4f; }));
    EXPECT_NEAR(State().cursorPos[2], 0.5f, 1e-6);
    EXPECT_TRUE(WaitFor([&] { return QCursor::pos() == centre; }));
    // ... then up 0.5 with the right button held: onto the dummy at (0.5, 0.5, 0.5).
    QTest::mousePress(View(), Qt::RightButton, {}, QPoint(100, 100));
    QCursor::setPos(centre + QPoint(0, -50));
    ASSERT_TRUE(WaitFor([&] { return State().pickKind == PICK_DUMMY; }));
    QTest::mouseRelease(View(), Qt::RightButton, {}, QPoint(100, 100));
    QTest::keyClick(View(), Qt::Key_Delete);
    EXPECT_EQ(DummyCount(TheModel()), 0);
    EXPECT_EQ(State().pickKind, PICK_NOTHING);

    QTest::mouseDClick(View(), Qt::RightButton, {}, QPoint(100, 100));
    EXPECT_FALSE(State().mouseLook);
}

// One press or release through the window system's own path with its time stamp, so that Qt
// itself decides which press completes a double click.
void SendButton(QWindow* window, QEvent::Type type, Qt::MouseButton button, int timestamp) {
    const QPointF at(window->width() / 2, window->height() / 2);
    const Qt::MouseButtons held = type == QEvent::MouseButtonPress ? Qt::MouseButtons(button) : Qt::NoButton;
    qt_handleMouseEvent(window, at, window->mapToGlobal(at), held, button, type, {}, timestamp);
    QCoreApplication::processEvents();
}

TEST_F(EditorWindowTest, TheSecondPressOfADoubleClickIsTheDoubleClickAlone) {
    Start(QString::fromStdString(path.string()));
    int clock = QTest::lastMouseTimestamp + 1000; // well after any earlier click
    SendButton(View(), QEvent::MouseButtonPress, Qt::LeftButton, clock += 10);
    EXPECT_TRUE(State().dragging); // a single press is a button-down
    SendButton(View(), QEvent::MouseButtonRelease, Qt::LeftButton, clock += 10);
    SendButton(View(), QEvent::MouseButtonPress, Qt::LeftButton, clock += 10);
    EXPECT_FALSE(State().dragging) << "the second press of a double click started a drag";
    EXPECT_EQ(VertexCount(TheModel()), 4);
    SendButton(View(), QEvent::MouseButtonRelease, Qt::LeftButton, clock += 10);
    EXPECT_EQ(VertexCount(TheModel()), 4);

    clock += 1000;
    SendButton(View(), QEvent::MouseButtonPress, Qt::RightButton, clock += 10);
    EXPECT_TRUE(State().verticalIsY);
    SendButton(View(), QEvent::MouseButtonRelease, Qt::RightButton, clock += 10);
    SendButton(View(), QEvent::MouseButtonPress, Qt::RightButton, clock += 10);
    EXPECT_TRUE(State().mouseLook);
    EXPECT_FALSE(State().verticalIsY) << "the second press of a double click set vertical-is-Y";
    SendButton(View(), QEvent::MouseButtonRelease, Qt::RightButton, clock += 10);
    QTest::lastMouseTimestamp = clock + 1000;
}

TEST_F(EditorWindowTest, CameraKeysAreLetGoWhenAMenuOrADialogTakesTheKeyboard) {
    Start({});
    View()->requestActivate();
    ASSERT_TRUE(WaitFor([&] { return QGuiApplication::focusWindow() == View(); }));
    QTest::keyPress(View(), Qt::Key_Left);
    ASSERT_EQ(State().keyDown[VK_LEFT], 1);
    QMenu* menu = window.menuBar()->actions().first()->menu();
    menu->popup(window.mapToGlobal(QPoint(0, 0)));
    ASSERT_TRUE(QTest::qWaitForWindowExposed(menu));
    EXPECT_TRUE(WaitFor([&] { return State().keyDown[VK_LEFT] == 0; })) << "the menu took the keyboard";
    QTest::keyRelease(menu, Qt::Key_Left); // released where the view does not hear it
    menu->hide();
    const float yaw = State().cameraYaw;
    Wait(50);
    EXPECT_EQ(State().cameraYaw, yaw) << "the camera keeps turning";

    View()->requestActivate();
    ASSERT_TRUE(WaitFor([&] { return QGuiApplication::focusWindow() == View(); }));
    QTest::keyPress(View(), Qt::Key_Up);
    ASSERT_EQ(State().keyDown[VK_UP], 1);
    bool letGo = false;
    QTimer::singleShot(50, [&] {
        QMessageBox* box = nullptr;
        WaitFor([&] { return (box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())); });
        letGo = WaitFor([&] { return State().keyDown[VK_UP] == 0; });
        if (!box) return;
        QTest::keyRelease(box, Qt::Key_Up);
        box->accept();
    });
    window.proc().handle(WM_COMMAND, 999, 0); // a box that takes the keyboard
    EXPECT_TRUE(letGo) << "the dialog took the keyboard";
    EXPECT_EQ(State().keyDown[VK_UP], 0);
}

// The desktop's scale this run asks for (QT_SCALE_FACTOR), 1 when it asks for none.
double AskedScale() {
    const QByteArray factor = qgetenv("QT_SCALE_FACTOR");
    return factor.isEmpty() ? 1.0 : factor.toDouble();
}

TEST_F(EditorWindowTest, TheViewFillsItsWindowAtTheDesktopScale) {
    Start({});
    const double r = View()->devicePixelRatio();
    ASSERT_DOUBLE_EQ(r, AskedScale());
    const int w = int(std::lround(View()->width() * r)), h = int(std::lround(View()->height() * r));
    EXPECT_EQ(State().view->width, std::uint32_t(w));
    EXPECT_EQ(State().view->height, std::uint32_t(h));
    EXPECT_DOUBLE_EQ(State().view->pixelRatio, r);
    // Only the cursor rings (grey), the axis letters (orange) and the overlay text (white) stay.
    for (int id : {IDM_VIEW_AXES, IDM_VIEW_POINT_GRID, IDM_VIEW_SURFACE, IDM_VIEW_LIGHT, IDM_VIEW_NORMALS,
                   IDM_VIEW_VERTICES})
        platform::find_menu_action(*window.menuBar(), id)->trigger();

    struct Seen {
        QRect text;          // white: the overlay
        QPointF ringCentre;  // grey: the rings around the cursor at the origin
        bool yellow = false; // the light or the surface's edge: not yet drawn without them
    };
    const auto look = [&] {
        const QImage image = View()->screen()->grabWindow(View()->winId()).toImage();
        Seen seen;
        double sx = 0, sy = 0, n = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x) {
                const QColor c = image.pixelColor(x, y);
                if (c.red() > 240 && c.green() > 240 && c.blue() > 240)
                    seen.text |= QRect(x, y, 1, 1);
                else if (c.red() > 200 && c.green() > 200 && c.blue() < 150)
                    seen.yellow = true;
                else if (c.red() == c.green() && c.green() == c.blue() && c.red() > 40) {
                    sx += x;
                    sy += y;
                    ++n;
                }
            }
        if (n > 0) seen.ringCentre = {sx / n, sy / n};
        return std::make_pair(image.size(), seen);
    };
    // The overlay is laid out in window units: "Korvex Editor v1.3 EN" on line 20 down to
    // "Nothing" on line 75, its letters about 14 units tall.
    const auto laidOut = [&](const Seen& seen) {
        return !seen.yellow && seen.text.left() <= 3 * r && seen.text.top() >= 4 * r &&
               seen.text.top() < 20 * r && seen.text.bottom() >= 75 * r - 1 && seen.text.bottom() <= 80 * r;
    };
    std::pair<QSize, Seen> seen;
    EXPECT_TRUE(WaitFor([&] { return laidOut((seen = look()).second); }))
        << "text from " << seen.second.text.top() << " to " << seen.second.text.bottom() << " left "
        << seen.second.text.left();
    EXPECT_EQ(seen.first, QSize(w, h));
    // The perspective's centre, where the origin lies, is the middle of the whole drawable.
    EXPECT_NEAR(seen.second.ringCentre.x(), w / 2.0, 0.03 * w);
    EXPECT_NEAR(seen.second.ringCentre.y(), h / 2.0, 0.03 * h);
}

TEST_F(EditorWindowTest, AFileThatCannotBeOpenedIsReportedAndTheModelStays) {
    platform::AnsweredBox seen;
    platform::answer_next_box(seen);
    Start("/nonexistent/folder/model.Korvex");
    EXPECT_EQ(seen.title, "Korvex Editor v1.3 EN");
    EXPECT_EQ(seen.icon, QMessageBox::Critical);
    EXPECT_TRUE(seen.text.contains("/nonexistent/folder/model.Korvex"));
    EXPECT_TRUE(seen.text.contains("cannot be opened"));
    EXPECT_EQ(VertexCount(TheModel()), 0);

    platform::AnsweredBox todo;
    platform::answer_next_box(todo);
    window.proc().handle(WM_COMMAND, 999, 0);
    EXPECT_EQ(todo.title, "TODO");
    EXPECT_EQ(todo.text, "TODO");
}

TEST_F(EditorWindowTest, ExitDestroysTheWindowAndReleasesTheView) {
    Start({});
    std::vector<int> quits;
    window.set_quit_handler([&quits](int code) { quits.push_back(code); });
    platform::find_menu_action(*window.menuBar(), IDM_EXIT)->trigger();
    EXPECT_FALSE(window.isVisible());
    EXPECT_EQ(State().view, nullptr);
    EXPECT_EQ(quits, std::vector<int>{0});
}

// Started where no display can be opened, the program says so in one line and ends with 1.
TEST(KorvexEditorProgram, WithoutADisplayItSaysSoInOneLine) {
    platform::expect_no_display_line(KX_BINARY_DIR "/modeleditor/korvex-editor",
                                     "korvex-editor: cannot open a display\n");
}

} // namespace
} // namespace editor
