#include "modeleditor/dialogs/dialog_test_support.h"

#include <QLineEdit>
#include <QTest>

namespace editor::testing {

QApplication& TestApplication() {
    static int argc = 1;
    static char name[] = "modeleditor_dialogs_test";
    static char* argv[] = {name, nullptr};
    static QApplication application(argc, argv);
    return application;
}

DialogTest::DialogTest() {
    ModelInit(&model);
}

DialogTest::~DialogTest() {
    ModelRelease(&model);
}

void DialogTest::Type(platform::TemplateDialog& dialog, int id, const std::string& text) {
    auto* edit = qobject_cast<QLineEdit*>(dialog.item(id));
    ASSERT_NE(edit, nullptr) << id;
    edit->setFocus();
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Delete);
    QTest::keyClicks(edit, QString::fromLatin1(text.c_str()));
}

void DialogTest::Click(platform::TemplateDialog& dialog, int id) {
    QWidget* widget = dialog.item(id);
    ASSERT_NE(widget, nullptr) << id;
    QTest::mouseClick(widget, Qt::LeftButton);
}

} // namespace editor::testing
