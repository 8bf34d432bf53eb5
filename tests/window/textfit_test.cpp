// SPDX-License-Identifier: MIT
// Every text the program can show fits its control at the font that actually resolves
// here: measured on the real widgets, not assumed from a font's nominal size.
#include "window_harness.h"

#include <QFontMetricsF>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextLayout>

#include <algorithm>
#include <iostream>

namespace dravlet::testing {
namespace {

class TextFit : public LiveWindow {
protected:
    // Free pixels below the last line of the problem box, negative when clipped.
    int problemRoomLeft()
    {
        QPlainTextEdit* box = problemBox();
        QApplication::processEvents();
        QTextCursor end(box->document());
        end.movePosition(QTextCursor::End);
        EXPECT_EQ(box->verticalScrollBar()->value(), 0);
        return box->viewport()->height() - 1 - box->cursorRect(end).bottom();
    }

    // The first word the problem box splits across two lines, or nothing.
    QString splitWord()
    {
        const QTextBlock block = problemBox()->document()->firstBlock();
        const QString text = block.text();
        if (block.layout()->lineCount() < 2) {
            return "<not laid out on several lines>";
        }
        for (int i = 1; i < block.layout()->lineCount(); ++i) {
            const int start = block.layout()->lineAt(i).textStart();
            if (text.at(start - 1) != ' ' && text.at(start) != ' ') {
                return text.mid(text.lastIndexOf(' ', start) + 1).section(' ', 0, 0);
            }
        }
        return {};
    }

    // Free pixels beside the caption at the label's base font, negative when clipped.
    double captionRoomLeft(Label which, const QString& caption)
    {
        FitLabel* l = label(which);
        l->setCaption(caption);
        return l->contentsRect().width() - QFontMetricsF(l->baseFont()).horizontalAdvance(caption);
    }

    void start()
    {
        random.pushDraw(1, 33).pushAttempt(10, 30, 20, 60);
        form->cmdRun_Click();
    }

    // Submit, then Next to a problem of the kind with the widest numbers possible:
    // 99 + 99 liters (198 in all) of 97 % and 99 %.
    void drawWidest(int kind, int subject, int otherDraw)
    {
        random.pushDraw(kind, 3);
        form->cmdSubmit_Click();
        random.pushDraw(subject, 33);
        if (kind == 3) {
            random.pushDraw(otherDraw, 32);
        }
        random.pushAttempt(99, 99, 97, 99);
        form->cmdNext_Click();
        ASSERT_EQ(form->variables().ProbKind, kind);
    }
};

TEST_F(TextFit, EveryProblemWithTheWidestNumbersFitsWithoutScrolling)
{
    start();
    int tightest = 1 << 20;
    QString tightestText;
    for (int kind = 1; kind <= 3; ++kind) {
        for (int subject = 1; subject <= 33; ++subject) {
            const int others = kind == 3 ? 32 : 1;
            for (int other = 1; other <= others; ++other) {
                drawWidest(kind, subject, other);
                const int room = problemRoomLeft();
                if (room < tightest) {
                    tightest = room;
                    tightestText = problemOnScreen();
                }
                ASSERT_GE(room, 0) << problemOnScreen().toStdString();
                ASSERT_EQ(splitWord().toStdString(), "") << "a word is split across lines in: "
                                           << problemOnScreen().toStdString();
            }
        }
    }
    std::cout << "[ measured ] tightest problem leaves " << tightest << " px of "
              << problemBox()->viewport()->height() << ": " << tightestText.toStdString() << '\n';
}

TEST_F(TextFit, EveryVerdictFitsAtItsOwnFont)
{
    double tightest = 1e9;
    QString tightestText;
    for (int n = 1; n <= 99; ++n) {
        const QString number = QString::number(n);
        for (const QString& verdict :
             {"Wrong! " + number + " Liters are needed", "Wrong! " + number + " Liters  are needed",
              "Wrong! The solution is  " + number + "%", QString("CORRECT")}) {
            const double room = captionRoomLeft(Label::lblResponse, verdict);
            ASSERT_GE(room, 0.0) << verdict.toStdString();
            EXPECT_EQ(label(Label::lblResponse)->font().pointSizeF(), 9.75) << verdict.toStdString();
            if (room < tightest) {
                tightest = room;
                tightestText = verdict;
            }
        }
    }
    std::cout << "[ measured ] tightest verdict leaves " << tightest << " px of "
              << label(Label::lblResponse)->contentsRect().width() << ": "
              << tightestText.toStdString() << '\n';
}

TEST_F(TextFit, CountsUpTo999FitAtTwentyFourPoints)
{
    for (const Label count : {Label::lblRight, Label::lblWrong}) {
        for (const char* caption : {"0", " 0", " 1", " 99", " 888", " 999"}) {
            const double room = captionRoomLeft(count, caption);
            EXPECT_GE(room, 0.0) << caption;
            EXPECT_EQ(label(count)->font().pointSizeF(), 24.0) << caption;
        }
    }
    std::cout << "[ measured ] \" 999\" leaves " << captionRoomLeft(Label::lblRight, " 999")
              << " px in the count box\n";
}

TEST_F(TextFit, LargerCountsShrinkToFitInsteadOfClipping)
{
    for (const char* caption : {" 1000", " 32768", " 2147483647"}) {
        FitLabel* box = label(Label::lblWrong);
        box->setCaption(caption);
        const QFontMetricsF shown(box->font());
        EXPECT_LE(shown.horizontalAdvance(caption), box->contentsRect().width()) << caption;
        EXPECT_LT(box->font().pointSizeF(), 24.0) << caption;
        EXPECT_GE(box->font().pointSizeF(), 5.0) << caption;
    }
    // Back to a small count, back to the full size.
    label(Label::lblWrong)->setCaption(" 5");
    EXPECT_EQ(label(Label::lblWrong)->font().pointSizeF(), 24.0);
}

TEST_F(TextFit, FixedCaptionsAndButtonsFit)
{
    for (const Label fixed : {Label::Label1, Label::Label2, Label::Label3}) {
        FitLabel* l = label(fixed);
        EXPECT_EQ(l->font(), l->baseFont()) << l->objectName().toStdString();
        EXPECT_LE(QFontMetricsF(l->font()).horizontalAdvance(l->text()), l->contentsRect().width());
    }
    for (const Button b : {Button::cmdRun, Button::cmdSubmit, Button::cmdNext, Button::cmdQuit}) {
        QPushButton* pushButton = button(b);
        EXPECT_LE(QFontMetricsF(pushButton->font()).horizontalAdvance(pushButton->text()) + 12,
                  pushButton->width());
        EXPECT_LE(QFontMetricsF(pushButton->font()).height() + 6, pushButton->height());
    }
    EXPECT_LE(QFontMetricsF(answerBox()->font()).height() + 4, answerBox()->height());
}

}  // namespace
}  // namespace dravlet::testing
