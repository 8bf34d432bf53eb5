#include <gtest/gtest.h>

#include <QApplication>
#include <QFontInfo>
#include <QImage>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

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

TEST(Layout, IconIsARedPlusOnWhite)
{
    DravletWindow window;
    const QImage icon = window.windowIcon().pixmap(16, 16).toImage();
    ASSERT_EQ(icon.size(), QSize(16, 16));
    for (int y = 0; y < 16; ++y) {
        for (int x = 0; x < 16; ++x) {
            const bool onPlus = (x >= 6 && x <= 9) || (y >= 6 && y <= 9);
            const QColor expected = onPlus ? QColor(255, 0, 0) : QColor(255, 255, 255);
            ASSERT_EQ(icon.pixelColor(x, y), expected) << x << "," << y;
        }
    }
}

TEST(Layout, DarkThemeKeepsFixedBoxesBlackOnTheirColourAndTheRestFollowsTheTheme)
{
    const QPalette original = QApplication::palette();
    QPalette dark;
    dark.setColor(QPalette::Window, QColor(32, 32, 32));
    dark.setColor(QPalette::WindowText, QColor(230, 230, 230));
    dark.setColor(QPalette::Base, QColor(20, 20, 20));
    dark.setColor(QPalette::Text, QColor(240, 240, 240));
    dark.setColor(QPalette::Button, QColor(50, 50, 50));
    dark.setColor(QPalette::ButtonText, QColor(240, 240, 240));
    QApplication::setPalette(dark);
    {
        DravletWindow window;
        window.setCaption(Label::lblRight, " 7");
        window.setText(TextBox::txtProb, "Bob  has  10 liters");
        window.show();
        const QImage shot = window.grab().toImage();

        EXPECT_EQ(window.widget(TextBox::txtProb)->palette().color(QPalette::Text), Qt::black);
        EXPECT_EQ(window.widget(TextBox::txtAnswer)->palette().color(QPalette::Text), Qt::black);
        EXPECT_EQ(window.widget(Label::lblRight)->palette().color(QPalette::WindowText), Qt::black);
        EXPECT_EQ(window.widget(Label::lblWrong)->palette().color(QPalette::WindowText), Qt::black);
        // Captions on the window's own background follow the theme: light on dark.
        EXPECT_EQ(window.widget(Label::Label1)->palette().color(QPalette::WindowText), QColor(230, 230, 230));
        EXPECT_EQ(window.widget(Label::Label1)->palette().color(QPalette::Window), QColor(32, 32, 32));

        // On screen: the count box is green with dark digits in it.
        const QRect box = window.widget(Label::lblRight)->geometry();
        EXPECT_EQ(shot.pixelColor(box.left() + 4, box.top() + 4), QColor(128, 255, 128));
        int darkPixels = 0;
        for (int y = box.top() + 2; y < box.bottom() - 1; ++y) {
            for (int x = box.left() + 2; x < box.right() - 1; ++x) {
                darkPixels += shot.pixelColor(x, y).lightness() < 80 ? 1 : 0;
            }
        }
        EXPECT_GT(darkPixels, 20);
    }
    QApplication::setPalette(original);
}

}  // namespace
}  // namespace dravlet
