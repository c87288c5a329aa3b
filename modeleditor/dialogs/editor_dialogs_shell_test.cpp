// The dialogs over the real editor window: modal, yet the main window's timers keep running
// behind them; the 'm' key and the model preview through the window's dialog_box; the main
// view's context current again once a preview is gone.
#include "glview/view_context.h"
#include "modeleditor/dialogs/dialog_test_support.h"
#include "modeleditor/dialogs/editor_dialogs.h"
#include "modeleditor/editor_ids.h"
#include "modeleditor/editor_main_window.h"

#include <QGuiApplication>
#include <QLineEdit>
#include <QMessageBox>
#include <QOpenGLContext>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QTimer>
#include <QWindow>

#include <functional>

namespace editor::testing {
namespace {

// Runs `step` on the modal dialog once it is up; the step closes it.
void OnModalDialog(const std::function<void(platform::TemplateDialog&)>& step) {
    QTimer::singleShot(20, [step] {
        auto* dialog = dynamic_cast<platform::TemplateDialog*>(QApplication::activeModalWidget());
        if (!dialog || !dialog->isVisible()) {
            OnModalDialog(step);
            return;
        }
        step(*dialog);
    });
}

class DialogsOverTheEditor : public ::testing::Test {
  protected:
    void SetUp() override {
        window.start();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
        ASSERT_TRUE(glview::view_has_context(window.proc().state().view))
            << "no GL context for the editor's view";
        Model* model = window.proc().model();
        AddVertex(model, -1, 0, 0, 0);
        AddVertex(model, 1, 0, 0, 0);
        AddVertex(model, 0, 1, 0, 0);
        AddVertex(model, 0, -1, 0, 0);
        AddFace(model, 0, 1, 2, 0);
        AddDefaultMaterial(model, "Default");
    }
    void Press(platform::TemplateDialog& dialog, int id) {
        QTest::mouseClick(dialog.item(id), Qt::LeftButton);
    }

    EditorMainWindow window;
};

TEST_F(DialogsOverTheEditor, TimersKeepRunningWhileADialogIsOpen) {
    EditorState& state = window.proc().state();
    window.proc().handle(WM_KEYDOWN, VK_LEFT, 0);
    bool sawTurn = false, sawCaption = false;
    OnModalDialog([&](platform::TemplateDialog& dialog) {
        sawCaption = dialog.windowTitle() == "Vertex" && dialog.parentWidget() == &window;
        const float before = state.cameraYaw;
        sawTurn = QTest::qWaitFor([&] { return state.cameraYaw > before; }, 10000);
        Press(dialog, platform::IDCANCEL);
    });
    window.proc().handle(WM_COMMAND, IDM_ADD_VERTEX, 0);
    window.proc().handle(WM_KEYUP, VK_LEFT, 0);
    EXPECT_TRUE(sawCaption);
    EXPECT_TRUE(sawTurn);
    EXPECT_EQ(VertexCount(window.proc().model()), 4);
}

TEST_F(DialogsOverTheEditor, MKeyOpensFacePropertiesAndTestAppliesBehindTheDialog) {
    EditorState& state = window.proc().state();
    state.pickKind = PICK_FACE;
    state.pickIndex = 0;
    std::int32_t cornerWhileOpen = -1;
    bool stillOpen = false;
    OnModalDialog([&](platform::TemplateDialog& dialog) {
        QLineEdit* edit = qobject_cast<QLineEdit*>(dialog.item(105));
        edit->selectAll();
        QTest::keyClicks(edit, "3");
        Press(dialog, 191);
        std::int32_t a, b, material;
        GetFace(window.proc().model(), 0, &a, &b, &cornerWhileOpen, &material);
        stillOpen = dialog.isVisible();
        Press(dialog, platform::IDCANCEL);
    });
    QTest::keyClick(window.surface().window(), Qt::Key_M);
    EXPECT_TRUE(stillOpen);
    EXPECT_EQ(cornerWhileOpen, 3);
}

TEST_F(DialogsOverTheEditor, ModelPreviewShowsTheModelOnWhiteAndGivesTheMainContextBack) {
    QRgb corner = 0, face = 0;
    QSurface* currentWhileOpen = nullptr;
    bool shown = false;
    OnModalDialog([&](platform::TemplateDialog& dialog) {
        // What the screen shows of the dialog: white around, the face a little above the middle.
        // The first frame reaches the screen some time after the dialog is up.
        auto look = [&] {
            const QRect area(dialog.mapToGlobal(QPoint(0, 0)), dialog.size());
            const QImage screen = QGuiApplication::primaryScreen()
                                      ->grabWindow(0, area.x(), area.y(), area.width(), area.height())
                                      .toImage();
            corner = screen.pixel(screen.width() - 5, screen.height() - 5);
            face = screen.pixel(screen.width() / 2, screen.height() / 2 - 8);
            return corner == qRgb(255, 255, 255) && face != corner;
        };
        shown = QTest::qWaitForWindowExposed(&dialog) && QTest::qWaitFor(look, 10000);
        currentWhileOpen =
            QOpenGLContext::currentContext() ? QOpenGLContext::currentContext()->surface() : nullptr;
        Press(dialog, platform::IDOK);
    });
    window.proc().handle(WM_COMMAND, IDM_MODEL_PREVIEW, 0);
    EXPECT_TRUE(shown) << "the preview never reached the screen";
    EXPECT_EQ(qRed(corner), 255);
    EXPECT_EQ(qGreen(corner), 255);
    EXPECT_EQ(qBlue(corner), 255);
    EXPECT_NE(face, corner);
    // After every preview paint, and once the preview is gone, the main view's context is current.
    EXPECT_EQ(currentWhileOpen, window.surface().window());
    QOpenGLContext* current = QOpenGLContext::currentContext();
    ASSERT_NE(current, nullptr);
    EXPECT_EQ(current->surface(), window.surface().window());
}

TEST_F(DialogsOverTheEditor, RefusalsAreRealBoxesOwnedByTheDialog) {
    QString title, text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QWidget* owner = nullptr;
    platform::TemplateDialog* face = nullptr;
    OnModalDialog([&](platform::TemplateDialog& dialog) {
        face = &dialog;
        for (const auto& [id, number] : {std::pair{104, "1"}, std::pair{105, "9"}}) {
            auto* edit = qobject_cast<QLineEdit*>(dialog.item(id));
            edit->selectAll();
            QTest::keyClicks(edit, number);
        }
        QTimer::singleShot(50, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (box) {
                title = box->windowTitle();
                text = box->text();
                icon = box->icon();
                owner = box->parentWidget();
                box->accept();
            }
            QTimer::singleShot(20, [&dialog, this] { Press(dialog, platform::IDCANCEL); });
        });
        Press(dialog, platform::IDOK);
    });
    window.proc().handle(WM_COMMAND, IDM_ADD_FACE, 0);
    EXPECT_EQ(title.toStdString(), "Korvex Editor v1.3 EN");
    EXPECT_EQ(text.toStdString(), "Error: Non existing vertex given.");
    EXPECT_EQ(icon, QMessageBox::Critical);
    EXPECT_EQ(owner, face);
    EXPECT_EQ(FaceCount(window.proc().model()), 1);
}

TEST_F(DialogsOverTheEditor, UnknownTemplatesOpenNothing) {
    QtDialogServices services;
    DialogContext context{window.proc().model(), &window.proc().state(), &window, &services,
                          &ProgramDialogValues()};
    EXPECT_EQ(RunEditorDialog(105, 0, context, &window), -1);
    EXPECT_EQ(window.dialog_box(999, 0), -1);
}

} // namespace
} // namespace editor::testing
