// The Material dialog and the Material browser driven like a user, in real dialogs with their GL
// previews; the logic alone is tested in material_dialogs_logic_test.cpp.
#include "model/test_support.h"
#include "modeleditor/dialogs/dialog_test_support.h"
#include "modeleditor/dialogs/material_dialogs.h"
#include "modeleditor/dialogs/material_edit.h"
#include "modeleditor/dialogs/preview_window.h"
#include "modeleditor/editor_ids.h"

#include <QGuiApplication>
#include <QListWidget>
#include <QScreen>
#include <QSlider>
#include <QTest>

#include <algorithm>
#include <cmath>
#include <cstring>

namespace editor::testing {
namespace {

using platform::IDCANCEL;
using platform::IDOK;

class MaterialDialogs : public DialogTest {
  protected:
    Material Stored(std::int32_t i) { return model.materials[i]; }
};

TEST_F(MaterialDialogs, AddingShowsTheLastValuesAndCancelRemovesTheNewMaterial) {
    AddGreyMaterial(&model, "first", 0.5f);
    values.materialEdit.shininess = 40;
    auto material = Open<MaterialDialogProc>(IDD_MATERIAL, -1);
    EXPECT_EQ(MaterialCount(&model), 2); // added on opening, all zero
    EXPECT_EQ(MaterialNameOf(&model, 1), "");
    EXPECT_EQ(values.materialEditIndex, 1);
    EXPECT_FALSE(values.materialEditExisting);
    EXPECT_EQ(Text(*material, 104), "Material ID is: 1");
    EXPECT_EQ(Text(*material, 118), "128");
    EXPECT_EQ(Text(*material, 124), "192");
    EXPECT_EQ(Text(*material, 142), "255");
    EXPECT_EQ(Text(*material, 130), "255");
    EXPECT_EQ(Text(*material, 133), "0");
    auto* bar = qobject_cast<QSlider*>(material->item(110));
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(bar->minimum(), 0);
    EXPECT_EQ(bar->maximum(), 128);
    EXPECT_EQ(bar->tickInterval(), 8);
    EXPECT_EQ(bar->value(), 40);

    Click(*material, IDCANCEL);
    EXPECT_EQ(material->end_result(), 2);
    EXPECT_EQ(MaterialCount(&model), 1);
    EXPECT_EQ(MaterialNameOf(&model, 0), "first");
    EXPECT_EQ(material.proc->preview(), nullptr); // the preview goes with the dialog
}

TEST_F(MaterialDialogs, SetKeepsTheNewMaterialWithItsNameCutAndTypedChannels) {
    auto material = Open<MaterialDialogProc>(IDD_MATERIAL, -1);
    Type(*material, 191, "Steel plate number two");
    EXPECT_EQ(Text(*material, 191), "Steel plate"); // the field takes 11 characters
    Type(*material, 124, "300");
    Type(*material, 142, "128");
    Type(*material, 118, "abc"); // not a number: 0
    EXPECT_EQ(values.materialEdit.diffuse[0], 300);
    EXPECT_EQ(values.materialEdit.ambient[0], 0);
    QSlider* bar = qobject_cast<QSlider*>(material->item(110));
    bar->setFocus();
    QTest::keyClick(bar, Qt::Key_End);
    EXPECT_EQ(values.materialEdit.shininess, 128);
    Click(*material, IDOK);
    EXPECT_EQ(material->end_result(), 1);
    ASSERT_EQ(MaterialCount(&model), 1);
    const Material stored = Stored(0);
    EXPECT_EQ(MaterialNameOf(&model, 0), "Steel plate");
    EXPECT_EQ(stored.texture, 0);
    EXPECT_FLOAT_EQ(stored.diffuse[0], float(300 / 255.0));
    EXPECT_NEAR(stored.diffuse[0], 1.176f, 1e-3);
    EXPECT_FLOAT_EQ(stored.diffuse[3], float(128 / 255.0));
    EXPECT_FLOAT_EQ(stored.ambient[0], 0.0f);
    EXPECT_FLOAT_EQ(stored.ambient[1], float(128 / 255.0));
    EXPECT_FLOAT_EQ(stored.ambient[3], 1.0f); // the alpha without a field keeps its value
    EXPECT_FLOAT_EQ(stored.shininess, 128.0f);

    // The next new material starts from the values last shown.
    auto next = Open<MaterialDialogProc>(IDD_MATERIAL, -1);
    EXPECT_EQ(Text(*next, 124), "300");
    Click(*next, IDCANCEL);
    EXPECT_EQ(MaterialCount(&model), 1);
}

TEST_F(MaterialDialogs, SwatchesShowTheirColourAndTakeTheChoosersChoice) {
    values.materialEdit.specular[0] = 10;
    values.materialEdit.specular[1] = 20;
    values.materialEdit.specular[2] = 300; // shown by its low byte, as the colour value packs it
    auto material = Open<MaterialDialogProc>(IDD_MATERIAL, -1);
    QWidget* swatch = material->item(114);
    const QImage image = swatch->grab().toImage();
    EXPECT_EQ(image.pixelColor(image.width() / 2, image.height() / 2), QColor(10, 20, 300 & 0xFF));

    services.colourAnswer = 0x00336699; // red 0x99, green 0x66, blue 0x33
    Click(*material, 114);
    ASSERT_EQ(services.offered.size(), 1u);
    EXPECT_EQ(services.offered[0], 0x002C140Au);
    EXPECT_EQ(values.customColours[0], 0x00010203u); // the chooser's custom colours are kept
    EXPECT_EQ(Text(*material, 130), "153");
    EXPECT_EQ(Text(*material, 131), "102");
    EXPECT_EQ(Text(*material, 132), "51");
    EXPECT_EQ(values.materialEdit.specular[2], 51);
    const QImage after = swatch->grab().toImage();
    EXPECT_EQ(after.pixelColor(after.width() / 2, after.height() / 2), QColor(153, 102, 51));

    services.colourAnswer.reset(); // cancelling changes nothing
    Click(*material, 112);
    EXPECT_EQ(services.offered.back(), 0x00808080u);
    EXPECT_EQ(values.materialEdit.ambient[0], 128);
    EXPECT_EQ(Text(*material, 118), "128");
    Click(*material, IDCANCEL);
}

TEST_F(MaterialDialogs, PreviewChildSitsAtTheExampleRectangle) {
    auto material = Open<MaterialDialogProc>(IDD_MATERIAL, -1);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(material.dialog.get()));
    auto* preview = dynamic_cast<PreviewWindowProc*>(material.proc->preview());
    ASSERT_NE(preview, nullptr);
    EXPECT_EQ(preview->widget()->parentWidget(), material.dialog.get());
    EXPECT_EQ(preview->widget()->geometry(), Pixels(*material, 332, 39, 83, 74));
    ASSERT_TRUE(glview::view_has_context(preview->view())) << "no GL context for the preview";
    EXPECT_FLOAT_EQ(preview->view()->zNear, 0.01f);
    EXPECT_FLOAT_EQ(preview->view()->zFar, 5.0f);
    // The view hears of its size once the surface has been laid out.
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return preview->view()->width == std::uint32_t(preview->surface().width()); }, 10000))
        << preview->view()->width << " " << preview->surface().width();
    // A sunken edge of one pixel around the view.
    const QRect edge = preview->widget()->rect();
    EXPECT_EQ(preview->surface().widget()->geometry(), edge.adjusted(1, 1, -1, -1));
    EXPECT_EQ(preview->surface().width(),
              int(std::lround((edge.width() - 2) * preview->surface().window()->devicePixelRatio())));
    Click(*material, IDCANCEL);
}

// Pure red, green and blue pixels of the preview as the screen shows it.
int StripePixelsOnScreen(PreviewWindowProc& preview) {
    QWidget* child = preview.widget();
    const QRect area(child->mapToGlobal(QPoint(0, 0)), child->size());
    const QImage screen = QGuiApplication::primaryScreen()
                              ->grabWindow(0, area.x(), area.y(), area.width(), area.height())
                              .toImage();
    int count = 0;
    for (int y = 2; y < 8; ++y)
        for (int x = 2; x < screen.width() - 2; ++x) {
            const QColor c = screen.pixelColor(x, y);
            const int high = std::max({c.red(), c.green(), c.blue()});
            const int others = c.red() + c.green() + c.blue() - high;
            if (high > 200 && others < 80) ++count;
        }
    return count;
}

TEST_F(MaterialDialogs, PreviewOnScreenShowsStripesOnlyWhileTheDiffuseAlphaIsBelow255) {
    auto material = Open<MaterialDialogProc>(IDD_MATERIAL, -1);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(material.dialog.get()));
    auto* preview = dynamic_cast<PreviewWindowProc*>(material.proc->preview());
    ASSERT_NE(preview, nullptr);
    QTest::qWait(100);
    EXPECT_EQ(StripePixelsOnScreen(*preview), 0);
    // Each edit repaints the preview; the frame reaches the screen a little later.
    Type(*material, 142, "200");
    EXPECT_TRUE(QTest::qWaitFor([&] { return StripePixelsOnScreen(*preview) > 10; }, 10000));
    Type(*material, 142, "255");
    EXPECT_TRUE(QTest::qWaitFor([&] { return StripePixelsOnScreen(*preview) == 0; }, 10000));
    Click(*material, IDCANCEL);
}

TEST_F(MaterialDialogs, BrowserListsMaterialsAndReturnsTheSelection) {
    AddGreyMaterial(&model, "Default", 0.2f);
    AddGreyMaterial(&model, "elevenchars", 0.6f, 0.5f, 33.0f);
    values.browserSelection = 5;
    auto browser = Open<MaterialBrowserProc>(IDD_MATERIAL_BROWSER, 0);
    EXPECT_EQ(values.browserSelection, 0);
    auto* list = qobject_cast<QListWidget*>(browser->item(103));
    ASSERT_NE(list, nullptr);
    ASSERT_EQ(list->count(), 2);
    EXPECT_EQ(list->item(0)->text(), QString("Material number 0 [Default]"));
    EXPECT_EQ(list->item(1)->text(), QString("Material number 1 [elevenchars]"));
    auto* preview = dynamic_cast<PreviewWindowProc*>(browser.proc->preview());
    ASSERT_NE(preview, nullptr);
    EXPECT_EQ(preview->widget()->geometry(), Pixels(*browser, 164, 37, 139, 97));
    // Until something is selected the preview shows the values left by the last dialog.
    EXPECT_EQ(values.materialEdit.diffuse[0], 192);
    Click(*browser, IDOK);
    EXPECT_EQ(browser->end_result(), 0);

    auto second = Open<MaterialBrowserProc>(IDD_MATERIAL_BROWSER, 0);
    auto* lines = qobject_cast<QListWidget*>(second->item(103));
    ASSERT_TRUE(QTest::qWaitForWindowExposed(second.dialog.get()));
    QTest::mouseClick(lines->viewport(), Qt::LeftButton, {}, lines->visualItemRect(lines->item(1)).center());
    EXPECT_EQ(values.browserSelection, 1);
    EXPECT_EQ(values.materialEdit.diffuse[0], 153);
    EXPECT_EQ(values.materialEdit.diffuse[3], 128);
    EXPECT_EQ(values.materialEdit.shininess, 33);
    Click(*second, IDOK);
    EXPECT_EQ(second->end_result(), 1);

    auto cancelled = Open<MaterialBrowserProc>(IDD_MATERIAL_BROWSER, 0);
    Click(*cancelled, IDCANCEL);
    EXPECT_EQ(cancelled->end_result(), -1);
    EXPECT_TRUE(services.boxes.empty());
}

} // namespace
} // namespace editor::testing
