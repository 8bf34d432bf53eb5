// SPDX-License-Identifier: MIT
#include "window/fitlabel.h"

#include <QAccessible>
#include <QFontMetricsF>

namespace dravlet {

namespace {

constexpr double smallestPointSize = 5.0;
constexpr double shrinkStep = 0.25;

bool fits(const QFont& font, const QString& text, const QRect& room)
{
    const QFontMetricsF metrics(font);
    return metrics.horizontalAdvance(text) <= room.width() && metrics.height() <= room.height();
}

}  // namespace

FitLabel::FitLabel(const QFont& font, QWidget* parent) : QLabel(parent), m_baseFont(font)
{
    setFont(font);
}

void FitLabel::setCaption(const QString& caption)
{
    if (caption == text()) {
        return;
    }
    setText(caption);
    fitFont();
    // The caption is the label's accessible name: tell assistive technology it changed,
    // so a screen reader can speak the new verdict or count.
    QAccessibleEvent changed(this, QAccessible::NameChanged);
    QAccessible::updateAccessibility(&changed);
}

void FitLabel::resizeEvent(QResizeEvent* event)
{
    QLabel::resizeEvent(event);
    fitFont();
}

void FitLabel::fitFont()
{
    // An empty caption needs no measuring, and measuring would load its font before
    // anything is shown in it.
    if (text().isEmpty()) {
        if (font() != m_baseFont) {
            setFont(m_baseFont);
        }
        return;
    }
    const QRect room = contentsRect().adjusted(margin(), margin(), -margin(), -margin());
    QFont font = m_baseFont;
    while (!fits(font, text(), room) && font.pointSizeF() - shrinkStep >= smallestPointSize) {
        font.setPointSizeF(font.pointSizeF() - shrinkStep);
    }
    if (font != this->font()) {
        setFont(font);
    }
}

}  // namespace dravlet
