#include "window/appearance.h"

#include <QImage>
#include <QPixmap>
#include <QStringList>

namespace dravlet::appearance {

void installFontSubstitutes()
{
    // Liberation Sans and Arimo share Arial's metrics; DejaVu Sans is wider but
    // present on nearly every Linux desktop.
    QFont::insertSubstitutions(QString::fromLatin1(legacyFamily),
                               {QStringLiteral("Liberation Sans"), QStringLiteral("Arimo"),
                                QStringLiteral("Arial"), QStringLiteral("Helvetica"),
                                QStringLiteral("DejaVu Sans")});
}

QFont legacyFont(double pointSize, bool bold)
{
    QFont font(QString::fromLatin1(legacyFamily));
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
    return QIcon(QPixmap::fromImage(image));
}

}  // namespace dravlet::appearance
