#include "modeleditor/dialogs/dialog_test_support.h"

#include <QLineEdit>
#include <QTest>

#include <cmath>

namespace editor::testing {

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

QRect DialogTest::Pixels(const platform::TemplateDialog& dialog, int x, int y, int width, int height) {
    const double bw = dialog.base_units().x, bh = dialog.base_units().y;
    const auto across = [bw](int units) { return int(std::lround(units * bw / 4.0)); };
    const auto down = [bh](int units) { return int(std::lround(units * bh / 8.0)); };
    return QRect(across(x), down(y), across(width), down(height));
}

} // namespace editor::testing
