// SPDX-License-Identifier: MIT
#pragma once

#include <gtest/gtest.h>

#include <QAccessible>
#include <QApplication>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "engine/dravlet.h"
#include "tests/support/fakes.h"
#include "window/dravletwindow.h"
#include "window/fitlabel.h"

namespace dravlet::testing {

// The accessibility updates sent, in order.
extern std::vector<std::pair<QObject*, QAccessible::Event>> sentUpdates;

// Shows the window and makes it the active one, as a desktop does for a new window,
// so the keyboard focus is real.
inline bool showActive(QWidget& window)
{
    window.show();
    QApplication::setActiveWindow(&window);
    return QTest::qWaitForWindowActive(&window);
}

// The real window, shown and active, driven by the real window object. The random
// source is scripted so every problem and verdict is known in advance.
class LiveWindow : public ::testing::Test {
protected:
    LiveWindow() : clock(3600.0)
    {
        form = std::make_unique<cmdDravlet>(window, window, random, clock);
        window.deliverClicksTo(*form);
        EXPECT_TRUE(showActive(window));
    }

    QPushButton* button(Button b) const { return window.widget(b); }
    QLineEdit* answerBox() const { return window.findChild<QLineEdit*>("txtAnswer"); }
    QPlainTextEdit* problemBox() const { return window.findChild<QPlainTextEdit*>("txtProb"); }
    FitLabel* label(Label l) const { return window.widget(l); }
    QString onScreen(Label l) const { return label(l)->text(); }
    QString problemOnScreen() const { return problemBox()->toPlainText(); }

    // The name of the control with the keyboard focus, as the user's keys find it.
    QString focusName() const
    {
        const QWidget* focused = QApplication::focusWidget();
        return focused == nullptr ? QString() : focused->objectName();
    }

    // A key pressed on whatever has the focus, as from the keyboard.
    void press(Qt::Key key)
    {
        QWidget* target = QApplication::focusWidget();
        ASSERT_NE(target, nullptr) << "no control has the focus";
        QTest::keyClick(target, key);
    }

    void typeText(const QString& text)
    {
        QWidget* target = QApplication::focusWidget();
        ASSERT_NE(target, nullptr) << "no control has the focus";
        QTest::keyClicks(target, text);
    }

    void click(Button b) { QTest::mouseClick(button(b), Qt::LeftButton); }

    DravletWindow window;
    ScriptedRandom random;
    FixedClock clock;
    std::unique_ptr<cmdDravlet> form;
};

}  // namespace dravlet::testing
