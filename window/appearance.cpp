// SPDX-License-Identifier: MIT
#include "window/appearance.h"

#include <QFontDatabase>
#include <QImage>
#include <QPixmap>
#include <QStringList>

namespace dravlet::appearance {

namespace {

// Liberation Sans and Arimo share Arial's metrics; DejaVu Sans is wider but present on
// nearly every Linux desktop.
const QStringList& substitutes()
{
    static const QStringList families{QStringLiteral("Liberation Sans"), QStringLiteral("Arimo"),
                                      QStringLiteral("Arial"), QStringLiteral("Helvetica"),
                                      QStringLiteral("DejaVu Sans")};
    return families;
}

// The face the program's fonts ask for: the legacy face where it is installed, else
// the first substitute that is. Asking for an installed family by name spares the font
// system a fallback search for every size the window uses.
QString& chosenFamily()
{
    static QString family = QString::fromLatin1(legacyFamily);
    return family;
}

}  // namespace

void installFontSubstitutes()
{
    QFont::insertSubstitutions(QString::fromLatin1(legacyFamily), substitutes());
    if (QFontDatabase::hasFamily(QString::fromLatin1(legacyFamily))) {
        return;
    }
    for (const QString& family : substitutes()) {
        if (QFontDatabase::hasFamily(family)) {
            chosenFamily() = family;
            return;
        }
    }
}

QFont legacyFont(double pointSize, bool bold)
{
    QFont font(chosenFamily());
    font.setPointSizeF(pointSize);
    font.setWeight(bold ? QFont::Bold : QFont::Normal);
    font.setStyleHint(QFont::SansSerif);
    return font;
}

QIcon windowIcon()
{
    constexpr int size = 16;
    QImage image(size, size, QImage::Format_RGB32);
    image.fill(Qt::white);
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            const bool upright = x >= 6 && x <= 9;
            const bool crossbar = y >= 6 && y <= 9;
            if (upright || crossbar) {
                image.setPixelColor(x, y, QColor(255, 0, 0));
            }
        }
    }
    // Whole multiples, scaled pixel for pixel, so the plus stays sharp on high-density
    // screens instead of being blurred up from 16 pixels.
    QIcon icon;
    for (const int factor : {1, 2, 3, 4}) {
        icon.addPixmap(QPixmap::fromImage(image.scaled(size * factor, size * factor,
                                                       Qt::IgnoreAspectRatio, Qt::FastTransformation)));
    }
    return icon;
}

}  // namespace dravlet::appearance
