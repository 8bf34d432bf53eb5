// SPDX-License-Identifier: MIT
#pragma once

#include <QAbstractNativeEventFilter>
#include <QWidget>

#include "runtime/controls.h"

class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace dravlet {

class cmdDravlet;
class FitLabel;

// The one window: twelve controls at fixed places, reached by the window object only
// through the control operations. Each widget's objectName is its control name.
class DravletWindow final : public QWidget, public Controls, public ProgramEnd, public QAbstractNativeEventFilter {
public:
    explicit DravletWindow(QWidget* parent = nullptr);
    ~DravletWindow() override;

    // Presses of the four buttons run the window object's click handlers.
    void deliverClicksTo(cmdDravlet& form);

    std::string text(TextBox box) const override;
    void setText(TextBox box, std::string_view text) override;
    void focus(TextBox box) override;
    void setCaption(Label label, std::string_view caption) override;
    void setVisible(Button button, bool visible) override;
    void focus(Button button) override;
    void endProgram() override;

    using QWidget::setVisible;

    // The program's only window destroyed by another X client (a kiosk tool, xdotool)
    // ends the program, as closing it does.
    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override;

    QWidget* widget(TextBox box) const;
    FitLabel* widget(Label label) const;
    QPushButton* widget(Button button) const;

private:
    QPushButton* m_cmdSubmit;
    QLineEdit* m_txtAnswer;
    QPlainTextEdit* m_txtProb;
    QPushButton* m_cmdRun;
    QPushButton* m_cmdNext;
    QPushButton* m_cmdQuit;
    FitLabel* m_Label3;
    FitLabel* m_Label2;
    FitLabel* m_lblWrong;
    FitLabel* m_Label1;
    FitLabel* m_lblRight;
    FitLabel* m_lblResponse;
};

}  // namespace dravlet
