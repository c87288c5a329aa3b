#include "platform/qt/colour_dialog.h"

#include <QColor>
#include <QColorDialog>

namespace platform {

namespace {

QColor qcolor(ColourRef c) {
    return QColor(red_of(c), green_of(c), blue_of(c));
}
ColourRef colour_ref(const QColor& c) {
    return rgb(c.red(), c.green(), c.blue());
}

} // namespace

bool choose_colour(QWidget* owner, ColourRef& colour, std::array<ColourRef, 16>& custom) {
    // Qt keeps one set of custom colours for the whole process; each program keeps its own set and lends it
    // to the dialog for the time it is shown.
    for (int i = 0; i < 16; ++i)
        QColorDialog::setCustomColor(i, qcolor(custom[static_cast<std::size_t>(i)]));
    QColorDialog dialog(qcolor(colour), owner);
    dialog.setOption(QColorDialog::DontUseNativeDialog, true);
    const bool accepted = dialog.exec() == QDialog::Accepted;
    for (int i = 0; i < 16; ++i)
        custom[static_cast<std::size_t>(i)] = colour_ref(QColorDialog::customColor(i));
    if (accepted) colour = colour_ref(dialog.selectedColor());
    return accepted;
}

} // namespace platform
