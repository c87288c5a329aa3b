#include "platform/qt/template_dialog.h"

#include <QApplication>
#include <QFontMetrics>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMainWindow>
#include <QMenuBar>
#include <QPainter>
#include <QPushButton>
#include <QSlider>
#include <QTest>

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

namespace platform {
namespace {

constexpr std::uint32_t kChild = WS_CHILD | WS_VISIBLE;

DialogTemplate SampleTemplate() {
    return {
        900,
        "Sample",
        WS_POPUP | WS_VISIBLE | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT,
        120,
        33,
        180,
        142,
        "Helv",
        8,
        {
            {IDOK, ControlClass::Button, "Insert", kChild | BS_DEFPUSHBUTTON | WS_TABSTOP, 115, 119, 59, 14},
            {IDCANCEL, ControlClass::Button, "Cancel", kChild | BS_PUSHBUTTON | WS_TABSTOP, 53, 119, 59, 14},
            {103, ControlClass::Edit, "", kChild | WS_BORDER | ES_AUTOHSCROLL | WS_TABSTOP, 69, 38, 65, 12},
            {106, ControlClass::Static, "X", kChild | SS_RIGHT, 28, 40, 36, 12},
            {102, ControlClass::Static, "Left text", kChild | SS_LEFT, 6, 6, 168, 19},
            {107, ControlClass::Static, "Example", kChild | SS_LEFT | SS_SUNKEN, 6, 60, 50, 10},
            {112, ControlClass::Button, "", kChild | BS_OWNERDRAW | WS_TABSTOP, 8, 95, 72, 15},
            {110, ControlClass::Trackbar, "", kChild | TBS_AUTOTICKS | WS_TABSTOP, 7, 75, 151, 18},
            {120, ControlClass::ListBox, "", kChild | LBS_NOTIFY | WS_VSCROLL | WS_BORDER | WS_TABSTOP, 90,
             20, 80, 50},
            {IDC_STATIC, ControlClass::Static, "Second static", kChild, 90, 75, 40, 10},
        }};
}

struct Call {
    int id;
    int notification;
    bool operator==(const Call&) const = default;
};

// Records what the dialog tells its procedure; ends the dialog on IDOK and IDCANCEL.
class RecordingProcedure : public DialogProcedure {
  public:
    bool init_dialog(DialogWindow& dialog, std::intptr_t parameter) override {
        initParameter = parameter;
        if (endAtInit) dialog.end_dialog(77);
        return true;
    }
    bool command(DialogWindow& dialog, int id, int notification) override {
        calls.push_back({id, notification});
        if ((id == IDOK || id == IDCANCEL) && endOnButtons) dialog.end_dialog(id);
        return true;
    }
    std::optional<std::uint32_t> owner_draw_colour(int id) const override {
        drawn.push_back(id);
        return 0x001EC80Au; // red 10, green 200, blue 30
    }
    void hscroll(DialogWindow& dialog, int id) override { scrolled.push_back(dialog.trackbar_position(id)); }

    std::intptr_t initParameter = 0;
    bool endAtInit = false;
    bool endOnButtons = true;
    std::vector<Call> calls;
    mutable std::vector<int> drawn;
    std::vector<int> scrolled;
};

class TemplateDialogTest : public ::testing::Test {
  protected:
    RecordingProcedure procedure;
    DialogTemplate sample = SampleTemplate();
};

TEST(DialogUnits, MulDivRoundsHalvesAwayFromZero) {
    EXPECT_EQ(mul_div(59, 6, 4), 89);  // 88.5
    EXPECT_EQ(mul_div(20, 13, 8), 33); // 32.5
    EXPECT_EQ(mul_div(14, 13, 8), 23); // 22.75
    EXPECT_EQ(mul_div(13, 13, 8), 21); // 21.125
    EXPECT_EQ(mul_div(-59, 6, 4), -89);
    EXPECT_EQ(mul_div(59, 6, -4), -89);
    EXPECT_EQ(mul_div(2000000000, 3, 4), 1500000000); // no overflow in between
}

TEST(DialogUnits, RectanglesScaleByQuarterWidthAndEighthHeight) {
    const DialogBaseUnits base{6, 13};
    EXPECT_EQ(map_dialog_rect(QRect(115, 99, 59, 14), base), QRect(173, 161, 89, 23));
    EXPECT_EQ(map_dialog_rect(QRect(0, 0, 4, 8), base), QRect(0, 0, 6, 13));
    const DialogBaseUnits wide{8, 16};
    EXPECT_EQ(map_dialog_rect(QRect(332, 39, 83, 74), wide), QRect(664, 78, 166, 148));
}

TEST_F(TemplateDialogTest, BaseUnitsAreTheRoundedLetterAverageAndTheFontHeight) {
    const QFont font = dialog_font("Helv", 8);
    const DialogBaseUnits base = dialog_base_units(font);
    const QFontMetrics metrics(font);
    int sum = 0;
    for (char c = 'A'; c <= 'Z'; ++c)
        sum += metrics.horizontalAdvance(QChar(c)) + metrics.horizontalAdvance(QChar(c + 32));
    // Each letter's own width, summed, gives the same average within rounding.
    EXPECT_NEAR(base.x, sum / 52.0, 1.0);
    EXPECT_EQ(base.y, metrics.height());
    EXPECT_GT(base.x, 2);
    EXPECT_GT(base.y, 6);
    // Eight points at the screen's resolution.
    EXPECT_GE(font.pixelSize(), 8);
}

TEST_F(TemplateDialogTest, ControlsAreNamedByIdentifierWithTheirTextsKindsAndPixelRectangles) {
    TemplateDialog dialog(sample, nullptr, procedure);
    // Pixels from dialog units by the test's own arithmetic: x * base width / 4, y * base height / 8.
    const double bw = dialog.base_units().x, bh = dialog.base_units().y;
    const auto across = [bw](int units) { return int(std::lround(units * bw / 4.0)); };
    const auto down = [bh](int units) { return int(std::lround(units * bh / 8.0)); };
    EXPECT_EQ(dialog.windowTitle(), QString("Sample"));
    EXPECT_EQ(dialog.size(), QSize(across(180), down(142)));
    EXPECT_EQ(dialog.minimumSize(), dialog.maximumSize()); // modal frame: fixed size
    EXPECT_TRUE(dialog.isModal());
    for (const DialogControl& control : sample.controls) {
        QWidget* widget = dialog.item(control.id);
        ASSERT_NE(widget, nullptr) << control.id;
        if (control.id == IDC_STATIC) continue;
        EXPECT_EQ(widget->objectName(), QString::number(control.id));
    }
    EXPECT_EQ(dialog.item(IDOK)->geometry(), QRect(across(115), down(119), across(59), down(14)));
    EXPECT_EQ(dialog.item(103)->geometry(), QRect(across(69), down(38), across(65), down(12)));
    EXPECT_EQ(dialog.item(120)->geometry(), QRect(across(90), down(20), across(80), down(50)));
    auto* insert = qobject_cast<QPushButton*>(dialog.item(IDOK));
    auto* cancel = qobject_cast<QPushButton*>(dialog.item(IDCANCEL));
    ASSERT_TRUE(insert && cancel);
    EXPECT_EQ(insert->text(), QString("Insert"));
    EXPECT_TRUE(insert->isDefault());
    EXPECT_FALSE(cancel->isDefault());
    auto* edit = qobject_cast<QLineEdit*>(dialog.item(103));
    ASSERT_NE(edit, nullptr);
    EXPECT_TRUE(edit->hasFrame());
    auto* right = qobject_cast<QLabel*>(dialog.item(106));
    auto* left = qobject_cast<QLabel*>(dialog.item(102));
    auto* sunken = qobject_cast<QLabel*>(dialog.item(107));
    ASSERT_TRUE(right && left && sunken);
    EXPECT_TRUE(right->alignment() & Qt::AlignRight);
    EXPECT_TRUE(left->alignment() & Qt::AlignLeft);
    EXPECT_EQ(left->text(), QString("Left text"));
    EXPECT_EQ(sunken->frameShadow(), QFrame::Sunken);
    EXPECT_EQ(left->frameShape(), QFrame::NoFrame);
    EXPECT_EQ(qobject_cast<QPushButton*>(dialog.item(112)), nullptr); // owner-drawn, not a push button
    EXPECT_NE(qobject_cast<QAbstractButton*>(dialog.item(112)), nullptr);
    auto* bar = qobject_cast<QSlider*>(dialog.item(110));
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(bar->orientation(), Qt::Horizontal);
    EXPECT_NE(bar->tickPosition(), QSlider::NoTicks);
    EXPECT_NE(qobject_cast<QListWidget*>(dialog.item(120)), nullptr);
    EXPECT_EQ(dialog.item(4242), nullptr);
}

TEST_F(TemplateDialogTest, ThickFrameMakesTheDialogResizableAndThePositionCountsFromTheOwner) {
    QWidget owner;
    owner.move(40, 30);
    owner.resize(400, 300);
    owner.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&owner));
    sample.style |= WS_THICKFRAME;
    TemplateDialog dialog(sample, &owner, procedure);
    EXPECT_NE(dialog.minimumSize(), dialog.maximumSize());
    const QRect frame = dialog.map_dialog_rect(QRect(120, 33, 180, 142));
    EXPECT_EQ(dialog.pos(), owner.mapToGlobal(QPoint(0, 0)) + frame.topLeft());
}

TEST_F(TemplateDialogTest, PositionInAMainWindowCountsFromBelowItsMenuBar) {
    QMainWindow owner;
    owner.menuBar()->addMenu(QStringLiteral("File"));
    owner.setCentralWidget(new QWidget);
    owner.move(40, 30);
    owner.resize(400, 300);
    owner.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&owner));
    const QPoint client = owner.centralWidget()->mapToGlobal(QPoint(0, 0));
    ASSERT_GT(client.y(), owner.mapToGlobal(QPoint(0, 0)).y());
    TemplateDialog dialog(sample, &owner, procedure);
    const QRect frame = dialog.map_dialog_rect(QRect(120, 33, 180, 142));
    EXPECT_EQ(dialog.pos(), client + frame.topLeft());
}

TEST_F(TemplateDialogTest, ButtonsEditsListsAndKeysReachTheProcedure) {
    TemplateDialog dialog(sample, nullptr, procedure);
    procedure.endOnButtons = false;
    dialog.start(5);
    EXPECT_EQ(procedure.initParameter, 5);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));

    QTest::mouseClick(dialog.item(IDCANCEL), Qt::LeftButton);
    QTest::mouseClick(dialog.item(112), Qt::LeftButton);
    QTest::keyClicks(dialog.item(103), "7");
    auto* list = qobject_cast<QListWidget*>(dialog.item(120));
    dialog.add_list_string(120, "first");
    dialog.add_list_string(120, "second");
    EXPECT_EQ(dialog.list_selection(120), -1);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(1)).center());
    EXPECT_EQ(dialog.list_selection(120), 1);
    const std::vector<Call> expected = {
        {IDCANCEL, BN_CLICKED}, {112, BN_CLICKED}, {103, EN_UPDATE}, {120, LBN_SELCHANGE}};
    EXPECT_EQ(procedure.calls, expected);

    procedure.calls.clear();
    QTest::keyClick(dialog.item(103), Qt::Key_Return);
    QTest::keyClick(dialog.item(103), Qt::Key_Escape);
    const std::vector<Call> keys = {{IDOK, BN_CLICKED}, {IDCANCEL, BN_CLICKED}};
    EXPECT_EQ(procedure.calls, keys);
    EXPECT_TRUE(dialog.isVisible()); // the procedure decides when the dialog ends
    EXPECT_FALSE(dialog.ended());

    dialog.end_dialog(9);
    EXPECT_TRUE(dialog.ended());
    EXPECT_EQ(dialog.end_result(), 9);
    EXPECT_FALSE(dialog.isVisible());
    procedure.calls.clear();
    QTest::mouseClick(dialog.item(IDOK), Qt::LeftButton);
    EXPECT_TRUE(procedure.calls.empty()); // an ended dialog tells nothing more
}

TEST_F(TemplateDialogTest, ReturnPressesTheFocusedPushButtonElseTheDefaultOne) {
    TemplateDialog dialog(sample, nullptr, procedure);
    procedure.endOnButtons = false;
    dialog.start(0);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    dialog.activateWindow();
    dialog.item(IDCANCEL)->setFocus();
    QTest::keyClick(dialog.item(IDCANCEL), Qt::Key_Return);
    dialog.item(103)->setFocus();
    QTest::keyClick(dialog.item(103), Qt::Key_Return);
    const std::vector<Call> expected = {{IDCANCEL, BN_CLICKED}, {IDOK, BN_CLICKED}};
    EXPECT_EQ(procedure.calls, expected);
    dialog.end_dialog(0);
}

TEST_F(TemplateDialogTest, DialogEndedByItsInitIsNeverShown) {
    procedure.endAtInit = true;
    TemplateDialog dialog(sample, nullptr, procedure);
    EXPECT_EQ(dialog.run(3), 77);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(procedure.initParameter, 3);
}

TEST_F(TemplateDialogTest, TrackbarReportsUserMovesOnlyAndKeepsItsRange) {
    TemplateDialog dialog(sample, nullptr, procedure);
    dialog.set_trackbar_range(110, 0, 128);
    dialog.set_trackbar_tick_frequency(110, 8);
    dialog.set_trackbar_position(110, 64);
    EXPECT_TRUE(procedure.scrolled.empty());
    EXPECT_EQ(dialog.trackbar_position(110), 64);
    dialog.set_trackbar_position(110, 500);
    EXPECT_EQ(dialog.trackbar_position(110), 128);
    auto* bar = qobject_cast<QSlider*>(dialog.item(110));
    EXPECT_EQ(bar->tickInterval(), 8);
    dialog.start(0);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    bar->setFocus();
    QTest::keyClick(bar, Qt::Key_Home);
    ASSERT_EQ(procedure.scrolled.size(), 1u);
    EXPECT_EQ(procedure.scrolled[0], 0);
}

TEST_F(TemplateDialogTest, OwnerDrawnButtonIsFilledWithTheProceduresColourAndNothingElse) {
    TemplateDialog dialog(sample, nullptr, procedure);
    QWidget* swatch = dialog.item(112);
    const QImage image = swatch->grab().toImage();
    ASSERT_FALSE(procedure.drawn.empty());
    EXPECT_EQ(procedure.drawn.back(), 112);
    for (const QPoint at : {QPoint(0, 0), QPoint(image.width() / 2, image.height() / 2),
                            QPoint(image.width() - 1, image.height() - 1)})
        EXPECT_EQ(image.pixelColor(at), QColor(10, 200, 30)) << at.x() << "," << at.y();
    const QImage whole = dialog.grab().toImage();
    // Outside the button the dialog is not painted green.
    const QPoint outside = swatch->geometry().topRight() + QPoint(4, 0);
    EXPECT_NE(whole.pixelColor(outside), QColor(10, 200, 30));
}

TEST_F(TemplateDialogTest, ItemTextsAndNumbers) {
    TemplateDialog dialog(sample, nullptr, procedure);
    dialog.set_item_int(103, 300, false);
    EXPECT_EQ(dialog.item_text(103), "300");
    bool ok = false;
    EXPECT_EQ(dialog.get_item_int(103, &ok, false), 300u);
    EXPECT_TRUE(ok);
    dialog.set_item_int(103, std::uint32_t(-4), true);
    EXPECT_EQ(dialog.item_text(103), "-4");
    EXPECT_EQ(std::int32_t(dialog.get_item_int(103, &ok, true)), -4);
    EXPECT_EQ(dialog.get_item_int(103, &ok, false), 0u);
    EXPECT_FALSE(ok);
    dialog.limit_text(103, 11);
    dialog.set_item_text(103, "abcdefghijklmnop");
    EXPECT_EQ(dialog.item_text(103), "abcdefghijk");
    EXPECT_EQ(dialog.item_text(103, 3), "abc");
    dialog.set_item_text(106, "Material ID is: 3");
    EXPECT_EQ(dialog.item_text(106), "Material ID is: 3");
    dialog.set_item_text(IDOK, "Set");
    EXPECT_EQ(dialog.item_text(IDOK), "Set");
}

} // namespace
} // namespace platform
