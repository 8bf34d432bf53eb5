// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <QApplication>
#include <QFontInfo>
#include <QImage>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

#include <algorithm>
#include <cmath>
#include <tuple>
#include <utility>
#include <vector>

#include "window/appearance.h"
#include "window/dravletwindow.h"
#include "window/fitlabel.h"

namespace dravlet {
namespace {

namespace look = appearance;

struct ControlRow {
    const char* name;
    QRect rect;
    bool visibleAtStart;
    QString text;
};

const ControlRow controlsInLayout[] = {
    {"cmdSubmit", {240, 280, 81, 33}, false, "Submit"},
    {"txtAnswer", {8, 272, 177, 41}, true, ""},
    {"txtProb", {16, 24, 297, 233}, true, ""},
    {"cmdRun", {320, 280, 81, 33}, true, "Start"},
    {"cmdNext", {240, 280, 81, 33}, false, "Next"},
    {"cmdQuit", {344, 368, 81, 33}, true, "Quit"},
    {"Label3", {24, 384, 217, 17}, true, "Type a number, then press Submit."},
    {"Label2", {360, 160, 57, 17}, true, "Wrong"},
    {"lblWrong", {352, 112, 73, 41}, true, "0"},
    {"Label1", {360, 88, 57, 17}, true, "Right"},
    {"lblRight", {352, 40, 73, 41}, true, "0"},
    {"lblResponse", {0, 328, 209, 25}, true, ""},
};

QString shownText(const QWidget* widget)
{
    if (const auto* button = qobject_cast<const QPushButton*>(widget)) {
        return button->text();
    }
    if (const auto* line = qobject_cast<const QLineEdit*>(widget)) {
        return line->text();
    }
    if (const auto* box = qobject_cast<const QPlainTextEdit*>(widget)) {
        return box->toPlainText();
    }
    if (const auto* label = qobject_cast<const QLabel*>(widget)) {
        return label->text();
    }
    return "?";
}

TEST(Layout, WindowHasItsNameTitleSizeAndTwelveControlsInCreationOrder)
{
    DravletWindow window;
    window.show();
    EXPECT_EQ(window.objectName(), "cmdDravlet");
    EXPECT_EQ(window.windowTitle(), "Dravlet Problem Practice Version 2.1");
    EXPECT_EQ(window.size(), QSize(438, 408));

    const auto children = window.findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly);
    ASSERT_EQ(children.size(), 12);
    for (int i = 0; i < 12; ++i) {
        const ControlRow& row = controlsInLayout[i];
        const QWidget* widget = children.at(i);
        SCOPED_TRACE(row.name);
        EXPECT_EQ(widget->objectName(), row.name);
        EXPECT_EQ(widget->geometry(), row.rect);
        EXPECT_EQ(widget->isVisible(), row.visibleAtStart);
        EXPECT_EQ(shownText(widget), row.text);
    }
}

TEST(Layout, ResizingMovesNothing)
{
    DravletWindow window;
    window.show();
    window.resize(700, 600);
    QApplication::processEvents();
    for (const ControlRow& row : controlsInLayout) {
        EXPECT_EQ(window.findChild<QWidget*>(row.name)->geometry(), row.rect) << row.name;
    }
}

void expectFont(const QWidget* widget, double pointSize, bool bold)
{
    SCOPED_TRACE(widget->objectName().toStdString());
    const QFontInfo info(widget->font());
    EXPECT_EQ(widget->font().pointSizeF(), pointSize);
    EXPECT_EQ(info.bold(), bold);
    EXPECT_FALSE(info.italic());
    EXPECT_FALSE(widget->font().underline());
    EXPECT_FALSE(widget->font().strikeOut());
    // "MS Sans Serif" itself, or the metric substitute: never a random fallback.
    EXPECT_TRUE(info.family() == "MS Sans Serif" || info.family() == "Liberation Sans")
        << info.family().toStdString();
}

TEST(Layout, FontsResolveToTheLegacyFaceOrItsMetricSubstitute)
{
    DravletWindow window;
    expectFont(window.widget(TextBox::txtProb), 13.5, false);
    expectFont(window.widget(TextBox::txtAnswer), 18.0, false);
    expectFont(window.widget(Label::lblRight), 24.0, false);
    expectFont(window.widget(Label::lblWrong), 24.0, false);
    expectFont(window.widget(Label::lblResponse), 9.75, true);
    expectFont(window.widget(Label::Label1), look::defaultPointSize, false);
    expectFont(window.widget(Button::cmdRun), look::defaultPointSize, false);
}

TEST(Layout, ColouredBoxesAlignmentAndBorders)
{
    DravletWindow window;
    const auto background = [&](QWidget* w, QPalette::ColorRole role) { return w->palette().color(role); };
    EXPECT_EQ(background(window.widget(TextBox::txtProb), QPalette::Base), QColor(192, 192, 192));
    EXPECT_EQ(background(window.widget(TextBox::txtAnswer), QPalette::Base), QColor(255, 255, 192));
    EXPECT_EQ(background(window.widget(Label::lblRight), QPalette::Window), QColor(128, 255, 128));
    EXPECT_EQ(background(window.widget(Label::lblWrong), QPalette::Window), QColor(255, 128, 128));

    for (const Label count : {Label::lblRight, Label::lblWrong}) {
        const FitLabel* box = window.widget(count);
        EXPECT_EQ(box->frameShape(), QFrame::Box);
        EXPECT_EQ(box->lineWidth(), 1);
        EXPECT_EQ(box->alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
        EXPECT_TRUE(box->autoFillBackground());
    }
    EXPECT_EQ(window.widget(Label::Label1)->alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
    EXPECT_EQ(window.widget(Label::Label2)->alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
    EXPECT_EQ(window.widget(Label::lblResponse)->alignment() & Qt::AlignHorizontal_Mask, Qt::AlignLeft);
}

TEST(Layout, ProblemBoxIsReadOnlyWrapsAndHasNoScrollBarsOrTabStop)
{
    DravletWindow window;
    const auto* box = window.findChild<QPlainTextEdit*>("txtProb");
    ASSERT_NE(box, nullptr);
    EXPECT_TRUE(box->isReadOnly());
    EXPECT_EQ(box->lineWrapMode(), QPlainTextEdit::WidgetWidth);
    EXPECT_EQ(box->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
    EXPECT_EQ(box->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
    EXPECT_FALSE(box->focusPolicy() & Qt::TabFocus);
    EXPECT_GE(box->frameWidth(), 1) << "the box keeps its border";

    const auto* answer = window.findChild<QLineEdit*>("txtAnswer");
    EXPECT_EQ(answer->maxLength(), 32767);
}

// The window's icon at every size, and the installed icon file, are the red plus on
// white, pixel for pixel.
TEST(Layout, IconIsARedPlusOnWhiteSharpAtEverySizeAndInItsFile)
{
    DravletWindow window;
    const QImage file(QStringLiteral(DRAVLET_SOURCE_DIR "/window/data/icons/org.dravlet.Dravlet.png"));
    for (const int size : {0, 16, 32, 48, 64}) {
        const QImage icon = size == 0 ? file : window.windowIcon().pixmap(QSize(size, size), 1.0).toImage();
        ASSERT_EQ(icon.size().width(), size == 0 ? 16 : size);
        const int unit = icon.width() / 16;
        for (int y = 0; y < icon.height(); ++y) {
            for (int x = 0; x < icon.width(); ++x) {
                const bool onPlus = (x / unit >= 6 && x / unit <= 9) || (y / unit >= 6 && y / unit <= 9);
                const QColor expected = onPlus ? QColor(255, 0, 0) : QColor(255, 255, 255);
                ASSERT_EQ(icon.pixelColor(x, y), expected) << (size == 0 ? "the file" : "the window")
                                                           << ", " << icon.width() << " px at " << x << "," << y;
            }
        }
    }
}

QPalette darkPalette()
{
    QPalette dark;
    dark.setColor(QPalette::Window, QColor(45, 45, 48));
    dark.setColor(QPalette::WindowText, QColor(220, 220, 220));
    dark.setColor(QPalette::Base, QColor(30, 30, 30));
    dark.setColor(QPalette::Text, QColor(230, 230, 230));
    dark.setColor(QPalette::Button, QColor(60, 60, 64));
    dark.setColor(QPalette::ButtonText, QColor(235, 235, 235));
    return dark;
}

TEST(Layout, DarkThemeKeepsFixedBoxesBlackOnTheirColourAndTheRestFollowsTheTheme)
{
    const QPalette original = QApplication::palette();
    const QPalette dark = darkPalette();
    QApplication::setPalette(dark);
    {
        DravletWindow window;
        window.setCaption(Label::lblRight, " 7");
        window.setText(TextBox::txtProb, "Bob  has  10 liters");
        window.show();
        const QImage shot = window.grab().toImage();

        // Captions on the window's own background follow the theme: light on dark.
        EXPECT_EQ(window.widget(Label::Label1)->palette().color(QPalette::WindowText),
                  dark.color(QPalette::WindowText));
        EXPECT_EQ(window.widget(Label::Label1)->palette().color(QPalette::Window), dark.color(QPalette::Window));

        // On screen: the count box is green with dark digits in it (the shot is in
        // device pixels, so scale the logical rectangle).
        const qreal ratio = shot.devicePixelRatio();
        const QRect logical = window.widget(Label::lblRight)->geometry();
        const QRect box(QPoint(qRound(logical.left() * ratio), qRound(logical.top() * ratio)),
                        QSize(qRound(logical.width() * ratio), qRound(logical.height() * ratio)));
        EXPECT_EQ(shot.pixelColor(box.left() + 4, box.top() + 4), QColor(128, 255, 128));
        int darkPixels = 0;
        for (int y = box.top() + 3; y < box.bottom() - 2; ++y) {
            for (int x = box.left() + 3; x < box.right() - 2; ++x) {
                darkPixels += shot.pixelColor(x, y).lightness() < 80 ? 1 : 0;
            }
        }
        EXPECT_GT(darkPixels, 20);
    }
    QApplication::setPalette(original);
}

// WCAG relative luminance and contrast ratio.
double luminance(const QColor& colour)
{
    const auto channel = [](double c) {
        return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * channel(colour.redF()) + 0.7152 * channel(colour.greenF())
           + 0.0722 * channel(colour.blueF());
}

double contrast(const QColor& a, const QColor& b)
{
    const double la = luminance(a);
    const double lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

// Every text against its own background, at least 4.5:1, in the default theme and in a
// dark one.
TEST(Layout, EveryTextContrastsWithItsBackgroundInLightAndDarkThemes)
{
    const QPalette original = QApplication::palette();
    for (const auto& [themeName, palette] : {std::pair{"default", original}, std::pair{"dark", darkPalette()}}) {
        QApplication::setPalette(palette);
        DravletWindow window;
        std::vector<std::tuple<QString, QColor, QColor>> pairs;
        for (const Label l : {Label::lblResponse, Label::lblRight, Label::lblWrong, Label::Label1,
                              Label::Label2, Label::Label3}) {
            const QPalette& p = window.widget(l)->palette();
            pairs.emplace_back(window.widget(l)->objectName(), p.color(QPalette::WindowText),
                               p.color(QPalette::Window));
        }
        for (const Button b : {Button::cmdRun, Button::cmdSubmit, Button::cmdNext, Button::cmdQuit}) {
            const QPalette& p = window.widget(b)->palette();
            pairs.emplace_back(window.widget(b)->objectName(), p.color(QPalette::ButtonText),
                               p.color(QPalette::Button));
        }
        for (const TextBox t : {TextBox::txtProb, TextBox::txtAnswer}) {
            const QPalette& p = window.widget(t)->palette();
            pairs.emplace_back(window.widget(t)->objectName(), p.color(QPalette::Text), p.color(QPalette::Base));
        }
        for (const auto& [name, text, background] : pairs) {
            EXPECT_GE(contrast(text, background), 4.5)
                << themeName << " theme, " << name.toStdString() << ": " << text.name().toStdString()
                << " on " << background.name().toStdString();
        }
    }
    QApplication::setPalette(original);
}

}  // namespace
}  // namespace dravlet
