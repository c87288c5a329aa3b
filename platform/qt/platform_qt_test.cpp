// The Qt stand-ins under an X server (Xvfb in the test runs); modal dialogs are answered by timers.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QColorDialog>
#include <QComboBox>
#include <QFileDialog>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QScrollBar>
#include <QTest>
#include <QTimer>
#include <filesystem>
#include <fstream>
#include <functional>
#include <vector>

#include "platform/qt/application.h"
#include "platform/qt/colour_dialog.h"
#include "platform/qt/file_dialog.h"
#include "platform/qt/menu_bar.h"
#include "platform/qt/message_box.h"
#include "platform/qt/scroll_bar.h"

namespace {

// Runs `answer` on the modal dialog of type T once it is shown.
// Types a name into a file dialog's name box, as the user would.
void type_file_name(QFileDialog* dialog, const std::filesystem::path& path) {
    auto* edit = dialog->findChild<QLineEdit*>("fileNameEdit");
    ASSERT_NE(edit, nullptr);
    edit->setText(QString::fromStdString(path.string()));
}

template <typename T> void answer_dialog(std::function<void(T*)> answer) {
    auto* timer = new QTimer(qApp);
    QObject::connect(timer, &QTimer::timeout, timer, [timer, answer] {
        if (auto* dialog = qobject_cast<T*>(QApplication::activeModalWidget())) {
            timer->stop();
            timer->deleteLater();
            answer(dialog);
            // Should the answer not end the dialog (a warning box on top, say), fail instead of hanging.
            QTimer::singleShot(3000, [] {
                while (QWidget* modal = QApplication::activeModalWidget()) {
                    ADD_FAILURE() << "dialog still open: " << modal->metaObject()->className() << " "
                                  << modal->windowTitle().toStdString() << " "
                                  << (qobject_cast<QMessageBox*>(modal)
                                          ? qobject_cast<QMessageBox*>(modal)->text().toStdString()
                                          : "");
                    modal->close();
                    if (auto* d = qobject_cast<QDialog*>(modal)) d->reject();
                }
            });
        }
    });
    timer->start(20);
}

class PlatformQt : public testing::Test {
  protected:
};

TEST_F(PlatformQt, MessageBoxShowsUtf8NamesAndOtherBytesAsLatin1) {
    QString shown_text, shown_caption;
    QMessageBox::Icon shown_icon = QMessageBox::NoIcon;
    answer_dialog<QMessageBox>([&](QMessageBox* box) {
        shown_text = box->text();
        shown_caption = box->windowTitle();
        shown_icon = box->icon();
        box->button(QMessageBox::Yes)->click();
    });
    const platform::BoxAnswer answer =
        platform::message_box(nullptr, "Cannot open /tmp/\xC5\xBEluv.Korvex", "App \xD7",
                              platform::BoxStyle::yes_no | platform::BoxStyle::icon_warning);
    EXPECT_EQ(answer, platform::BoxAnswer::yes);
    EXPECT_EQ(shown_text, QString::fromUtf8("Cannot open /tmp/\u017Eluv.Korvex"));
    EXPECT_EQ(shown_caption, QString(QChar(0xD7)).prepend("App ")); // not UTF-8: one byte, one character
    EXPECT_EQ(shown_icon, QMessageBox::Warning);
}

TEST_F(PlatformQt, MenuBarFromOneTable) {
    const platform::MenuEntry table[] = {
        {-1, "&File", 0, platform::MenuFlags::popup},
        {0, "&Open...\tCtrl+O", 102, platform::MenuFlags::none},
        {0, nullptr, 0, platform::MenuFlags::separator},
        {0, "Grid", 120, platform::MenuFlags::checked},
        {-1, "Run", 130, platform::MenuFlags::none},
        {-1, "&View", 1, platform::MenuFlags::popup},
        {1, "Wire", 140, platform::MenuFlags::grayed},
        {-1, "note", -1, platform::MenuFlags::grayed | platform::MenuFlags::right_justify},
        {-1, "after", 150, platform::MenuFlags::none},
    };
    QMenuBar bar;
    std::vector<int> chosen;
    platform::build_menu_bar(bar, table, [&](int id) { chosen.push_back(id); });

    const auto actions = bar.actions();
    ASSERT_EQ(actions.size(), 3);
    EXPECT_EQ(actions[0]->text(), "&File");
    ASSERT_NE(actions[0]->menu(), nullptr);
    const auto file = actions[0]->menu()->actions();
    ASSERT_EQ(file.size(), 3);
    EXPECT_EQ(file[0]->text(), "&Open...\tCtrl+O");
    EXPECT_TRUE(file[1]->isSeparator());
    EXPECT_TRUE(file[2]->isChecked());
    EXPECT_EQ(actions[1]->text(), "Run");
    EXPECT_FALSE(actions[2]->menu()->actions()[0]->isEnabled());

    auto* right = qobject_cast<QMenuBar*>(bar.cornerWidget(Qt::TopRightCorner));
    ASSERT_NE(right, nullptr);
    ASSERT_EQ(right->actions().size(), 2);
    EXPECT_EQ(right->actions()[0]->text(), "note");
    EXPECT_FALSE(right->actions()[0]->isEnabled());
    EXPECT_EQ(right->actions()[1]->text(), "after");

    for (int id : {102, 120, 130, 150})
        platform::find_menu_action(bar, id)->trigger();
    EXPECT_EQ(chosen, (std::vector<int>{102, 120, 130, 150}));
    EXPECT_EQ(platform::find_menu_action(bar, 102), file[0]);
    EXPECT_EQ(platform::find_menu_action(bar, 102)->objectName(), "102");
    EXPECT_EQ(platform::find_menu_action(bar, 999), nullptr);

    EXPECT_TRUE(platform::check_menu_item(bar, 120, false));
    EXPECT_FALSE(file[2]->isChecked());
    EXPECT_TRUE(platform::enable_menu_item(bar, 140, true));
    EXPECT_TRUE(platform::find_menu_action(bar, 140)->isEnabled());
    EXPECT_FALSE(platform::check_menu_item(bar, 999, true));
    EXPECT_FALSE(platform::enable_menu_item(bar, 999, true));
}

TEST_F(PlatformQt, FittedMenuBarShowsEveryItem) {
    const platform::MenuEntry table[] = {
        {-1, "A rather long first command", 1, platform::MenuFlags::none},
        {-1, "A second long command", 2, platform::MenuFlags::none},
        {-1, "Third command here", 3, platform::MenuFlags::none},
        {-1, "And a fourth", 4, platform::MenuFlags::none},
        {-1, "note at the right", -1, platform::MenuFlags::grayed | platform::MenuFlags::right_justify},
    };
    QMainWindow window;
    platform::build_menu_bar(*window.menuBar(), table, {});
    const qreal before = window.menuBar()->font().pointSizeF();
    platform::fit_menu_bar(*window.menuBar(), 520);
    EXPECT_LT(window.menuBar()->font().pointSizeF(), before);
    window.resize(520, 200);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    auto* right = window.menuBar()->cornerWidget(Qt::TopRightCorner);
    int right_end = 0;
    for (QAction* action : window.menuBar()->actions()) {
        const QRect place = window.menuBar()->actionGeometry(action);
        EXPECT_FALSE(place.isEmpty()) << action->text().toStdString();
        right_end = std::max(right_end, place.right());
    }
    EXPECT_LT(right_end, right->x()); // nothing hidden under the right-hand part
}

TEST_F(PlatformQt, DefaultExtensionAndFilterText) {
    using platform::with_default_extension;
    EXPECT_EQ(with_default_extension("/tmp/pic", "Taviron"), "/tmp/pic.Taviron");
    EXPECT_EQ(with_default_extension("/tmp/pic.Tav", "Taviron"), "/tmp/pic.Tav");
    EXPECT_EQ(with_default_extension("/tmp/dir.d/pic", "bmp"), "/tmp/dir.d/pic.bmp");
    EXPECT_EQ(with_default_extension("pic", ""), "pic");
    EXPECT_EQ(with_default_extension("", "bmp"), "");
    EXPECT_EQ(with_default_extension("/tmp/", "bmp"), "/tmp/");
    EXPECT_EQ(platform::qt_filter_text({"Taviron file (*.Taviron;*Tav)", "*.Taviron;*.Tav"}),
              "Taviron file (*.Taviron;*Tav) (*.Taviron *.Tav)");
}

TEST_F(PlatformQt, SaveDialogAddsTheDefaultExtensionAndTellsTheFilter) {
    const std::filesystem::path dir = std::filesystem::path(testing::TempDir()) / "platform_qt_dialog";
    std::filesystem::create_directories(dir);
    platform::FileDialogRequest options;
    options.filters = {{"Taviron soubor (*.Taviron;*.Tav)", "*.Taviron;*.Tav"}, {"All (*)", "*"}};
    options.save = true;
    options.default_extension = "Taviron";
    answer_dialog<QFileDialog>([&](QFileDialog* dialog) {
        dialog->selectNameFilter(dialog->nameFilters().at(1));
        type_file_name(dialog, dir / "picture");
        static_cast<QDialog*>(dialog)->accept(); // runs the file dialog's own checks
    });
    const auto choice = platform::file_dialog(nullptr, options);
    ASSERT_TRUE(choice.has_value());
    EXPECT_EQ(choice->path, (dir / "picture.Taviron").string());
    EXPECT_EQ(choice->filter_index, 2);

    options.save = false;
    answer_dialog<QFileDialog>([](QFileDialog* dialog) { dialog->reject(); });
    EXPECT_FALSE(platform::file_dialog(nullptr, options).has_value());
}

TEST_F(PlatformQt, DialogShowsEachFilterByItsDescriptionOnly) {
    platform::FileDialogRequest options;
    options.filters = {{"Taviron file (*.Taviron;*Tav)", "*.Taviron;*.Tav"}, {"BMP file (*.bmp)", "*.bmp"}};
    QStringList shown;
    QStringList matched;
    answer_dialog<QFileDialog>([&](QFileDialog* dialog) {
        auto* combo = dialog->findChild<QComboBox*>("fileTypeCombo");
        if (combo) {
            for (int i = 0; i < combo->count(); ++i)
                shown << combo->itemText(i);
        }
        matched = dialog->nameFilters();
        dialog->reject();
    });
    EXPECT_FALSE(platform::file_dialog(nullptr, options).has_value());
    EXPECT_EQ(shown.join('|').toStdString(), "Taviron file (*.Taviron;*Tav)|BMP file (*.bmp)");
    // The patterns in parentheses still choose the files listed.
    EXPECT_EQ(matched.join('|').toStdString(),
              "Taviron file (*.Taviron;*Tav) (*.Taviron *.Tav)|BMP file (*.bmp) (*.bmp)");
}

TEST_F(PlatformQt, OpenDialogFindsAnExistingFileByItsBareName) {
    const std::filesystem::path dir = std::filesystem::path(testing::TempDir()) / "platform_qt_open";
    std::filesystem::create_directories(dir);
    std::ofstream(dir / "pic.bmp") << "x";
    platform::FileDialogRequest options;
    options.filters = {{"BMP file (*.bmp)", "*.bmp"}};
    options.default_extension = "bmp";
    options.must_exist = true;
    answer_dialog<QFileDialog>([&](QFileDialog* dialog) {
        type_file_name(dialog, dir / "pic");
        static_cast<QDialog*>(dialog)->accept();
    });
    const auto choice = platform::file_dialog(nullptr, options);
    ASSERT_TRUE(choice.has_value());
    EXPECT_EQ(choice->path, (dir / "pic.bmp").string());
    EXPECT_EQ(choice->filter_index, 1);
}

TEST_F(PlatformQt, ColourChooserKeepsTheProgramsCustomColours) {
    std::array<platform::ColourRef, 16> custom{};
    custom[2] = platform::rgb(1, 2, 3);
    platform::ColourRef colour = platform::rgb(10, 20, 30);
    platform::ColourRef shown = 0;
    answer_dialog<QColorDialog>([&](QColorDialog* dialog) {
        const QColor current = dialog->currentColor();
        shown = platform::rgb(current.red(), current.green(), current.blue());
        EXPECT_EQ(QColorDialog::customColor(2), QColor(1, 2, 3));
        QColorDialog::setCustomColor(5, QColor(50, 60, 70)); // as the user adding a custom colour
        dialog->setCurrentColor(QColor(200, 100, 0));
        dialog->accept();
    });
    EXPECT_TRUE(platform::choose_colour(nullptr, colour, custom));
    EXPECT_EQ(shown, platform::rgb(10, 20, 30));
    EXPECT_EQ(colour, platform::rgb(200, 100, 0));
    EXPECT_EQ(custom[5], platform::rgb(50, 60, 70));
    EXPECT_EQ(custom[2], platform::rgb(1, 2, 3));

    // Another program's set is lent to the dialog in turn; a cancel keeps the colour.
    std::array<platform::ColourRef, 16> greys{};
    for (int i = 0; i < 16; ++i)
        greys[static_cast<std::size_t>(i)] = platform::rgb(16 * i, 16 * i, 16 * i);
    answer_dialog<QColorDialog>([](QColorDialog* dialog) {
        EXPECT_EQ(QColorDialog::customColor(5), QColor(80, 80, 80));
        dialog->setCurrentColor(QColor(1, 1, 1));
        dialog->reject();
    });
    EXPECT_FALSE(platform::choose_colour(nullptr, colour, greys));
    EXPECT_EQ(colour, platform::rgb(200, 100, 0));
    EXPECT_EQ(greys[5], platform::rgb(80, 80, 80));
}

TEST_F(PlatformQt, ScrollSettingsAsTheOldPlatformTookThem) {
    EXPECT_EQ(platform::max_thumb_position(0, 32, 29), 4);
    EXPECT_EQ(platform::max_thumb_position(0, 32, 33), 0);
    EXPECT_EQ(platform::max_thumb_position(0, 32, 0), 32);
    EXPECT_EQ(platform::max_thumb_position(0, 32, -5), 0);
    EXPECT_EQ(platform::max_thumb_position(5, 2, 1), 5);

    QScrollBar bar(Qt::Horizontal);
    int signals_seen = 0;
    QObject::connect(&bar, &QScrollBar::valueChanged, [&] { ++signals_seen; });
    platform::apply_scroll_settings(bar, 0, 64, 15, 60);
    EXPECT_TRUE(bar.isEnabled());
    EXPECT_EQ(bar.minimum(), 0);
    EXPECT_EQ(bar.maximum(), 50);
    EXPECT_EQ(bar.pageStep(), 15);
    EXPECT_EQ(bar.value(), 50);
    platform::apply_scroll_settings(bar, 0, 32, 33, 0);
    EXPECT_FALSE(bar.isEnabled());
    EXPECT_TRUE(bar.isVisible() || !bar.isVisibleTo(nullptr)); // hidden only because it has no window
    platform::apply_scroll_settings(bar, 0, 32, 32, 1);
    EXPECT_TRUE(bar.isEnabled());
    EXPECT_EQ(bar.value(), 1);
    EXPECT_EQ(signals_seen, 0);
}

TEST(DisplayChoice, WaylandSessionsUseTheirXServerUnlessTheUserChoseAPlatform) {
    using platform::DisplayEnvironment;
    // qpaPlatform, display, waylandDisplay, sessionType
    EXPECT_TRUE(platform::should_use_xwayland(DisplayEnvironment{"", ":0", "wayland-0", "wayland"}));
    EXPECT_TRUE(platform::should_use_xwayland(DisplayEnvironment{"", ":1", "wayland-0", ""}));
    EXPECT_TRUE(platform::should_use_xwayland(DisplayEnvironment{"", ":0", "", "wayland"}));
    EXPECT_FALSE(platform::should_use_xwayland(DisplayEnvironment{"wayland", ":0", "wayland-0", "wayland"}));
    EXPECT_FALSE(platform::should_use_xwayland(DisplayEnvironment{"", "", "wayland-0", "wayland"})); // no X
    EXPECT_FALSE(platform::should_use_xwayland(DisplayEnvironment{"", ":0", "", "x11"})); // plain X

    EXPECT_TRUE(platform::lacks_display(DisplayEnvironment{"", "", "", "tty"}));
    EXPECT_FALSE(platform::lacks_display(DisplayEnvironment{"offscreen", "", "", ""}));
    EXPECT_FALSE(platform::lacks_display(DisplayEnvironment{"", ":0", "", ""}));
    EXPECT_FALSE(platform::lacks_display(DisplayEnvironment{"", "", "wayland-0", ""}));
}

} // namespace
