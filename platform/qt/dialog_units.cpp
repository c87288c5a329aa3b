#include "platform/qt/dialog_units.h"

#include <QFontMetrics>
#include <QGuiApplication>
#include <QScreen>

#include <cstdint>
#include <cstdlib>

namespace platform {

int mul_div(int a, int b, int c) {
    const std::int64_t product = std::int64_t(a) * b;
    const std::int64_t half = std::llabs(c) / 2;
    const bool negative = (product < 0) != (c < 0);
    const std::int64_t magnitude = (std::llabs(product) + half) / std::llabs(c);
    return int(negative ? -magnitude : magnitude);
}

QFont dialog_font(const std::string& name, int points) {
    QFont font(QString::fromLatin1(name.c_str()));
    int dpi = 96;
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        dpi = int(screen->logicalDotsPerInchY() + 0.5);
    // The character height in pixels, as the old platform sized a font of so many points.
    font.setPixelSize(mul_div(points, dpi, 72));
    return font;
}

DialogBaseUnits dialog_base_units(const QFont& font) {
    const QFontMetrics metrics(font);
    const int letters =
        metrics.horizontalAdvance(QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
    return {(letters / 26 + 1) / 2, metrics.height()};
}

QRect map_dialog_rect(const QRect& units, const DialogBaseUnits& base) {
    return QRect(mul_div(units.x(), base.x, 4), mul_div(units.y(), base.y, 8),
                 mul_div(units.width(), base.x, 4), mul_div(units.height(), base.y, 8));
}

} // namespace platform
