// SPDX-License-Identifier: MIT
#include "window/dravletwindow.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QCoreApplication>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

#include <mutex>

#if __has_include(<xcb/xcb.h>)
#include <xcb/xcb.h>
#define DRAVLET_HAVE_XCB 1
#endif

#include "engine/dravlet.h"
#include "window/appearance.h"
#include "window/fitlabel.h"
#include "window/heldupdates.h"

namespace dravlet {

namespace {

QString toQString(std::string_view text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// Fixes background and text colour together, for the boxes whose colour is part of
// what they mean; the rest of the window follows the desktop theme.
void fixColours(QWidget* widget, QPalette::ColorRole background, const QColor& colour)
{
    QPalette palette = widget->palette();
    for (const auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        palette.setColor(group, background, colour);
        palette.setColor(group, QPalette::Text, appearance::fixedText);
        palette.setColor(group, QPalette::WindowText, appearance::fixedText);
    }
    widget->setPalette(palette);
    widget->setAutoFillBackground(true);
}

QPushButton* makeButton(QWidget* parent, Button name, const char* caption, const QRect& rect)
{
    auto* button = new QPushButton(QString::fromLatin1(caption), parent);
    button->setObjectName(toQString(controlName(name)));
    button->setGeometry(rect);
    // Enter presses a focused button as Space does; no button is the default, so
    // Enter typed in the answer box presses nothing.
    button->setAutoDefault(true);
    button->setDefault(false);
    button->setFocusPolicy(Qt::StrongFocus);
    button->setVisible(startsVisible(name));
    return button;
}

FitLabel* makeLabel(QWidget* parent, Label name, const QFont& font, const QRect& rect,
                    Qt::Alignment alignment)
{
    auto* label = new FitLabel(font, parent);
    label->setObjectName(toQString(controlName(name)));
    label->setGeometry(rect);
    label->setAlignment(alignment);
    label->setIndent(0);
    label->setAutoFillBackground(true);
    label->setFocusPolicy(Qt::NoFocus);
    label->setCaption(toQString(startCaption(name)));
    return label;
}

FitLabel* makeCountBox(QWidget* parent, Label name, const QRect& rect, const QColor& colour)
{
    auto* box = makeLabel(parent, name, appearance::legacyFont(appearance::countPointSize), rect,
                          Qt::AlignCenter);
    box->setFrameStyle(QFrame::Box | QFrame::Plain);
    box->setLineWidth(1);
    fixColours(box, QPalette::Window, colour);
    return box;
}

// Assistive technology must see the program's window as a window (a frame), not as
// an anonymous pane, so a screen reader can find it by its title.
QAccessibleInterface* windowAccessible(const QString&, QObject* object)
{
    auto* widget = qobject_cast<QWidget*>(object);
    if (widget != nullptr && widget->isWindow()
        && widget->objectName() == QLatin1String(appearance::windowName)) {
        return new QAccessibleWidget(widget, QAccessible::Window);
    }
    return nullptr;
}

}  // namespace

DravletWindow::DravletWindow(QWidget* parent) : QWidget(parent)
{
    static std::once_flag accessibleAsWindow;
    std::call_once(accessibleAsWindow, [] { QAccessible::installFactory(windowAccessible); });
    namespace look = appearance;
    setObjectName(QString::fromLatin1(look::windowName));
    setWindowTitle(QString::fromLatin1(look::windowTitle));
    setWindowIcon(look::windowIcon());
    const QFont plain = look::legacyFont(look::defaultPointSize);
    setFont(plain);
    resize(look::clientWidth, look::clientHeight);
    // The frame stays sizable, but never so small that controls are cut off.
    setMinimumSize(look::clientWidth, look::clientHeight);

    // Created in this order, so that the stacking matches the layout.
    m_cmdSubmit = makeButton(this, Button::cmdSubmit, "Submit", look::submitRect);

    m_txtAnswer = new QLineEdit(this);
    m_txtAnswer->setObjectName(toQString(controlName(TextBox::txtAnswer)));
    m_txtAnswer->setGeometry(look::answerRect);
    m_txtAnswer->setFont(look::legacyFont(look::answerPointSize));
    // Long enough for anything a learner types or pastes by mistake; without a bound,
    // a 10 MB paste made every repaint of the box take seconds.
    m_txtAnswer->setMaxLength(look::answerMaxLength);
    fixColours(m_txtAnswer, QPalette::Base, look::answerBackground);
    m_txtAnswer->setAccessibleName(QStringLiteral("Your answer"));

    m_txtProb = new QPlainTextEdit(this);
    m_txtProb->setObjectName(toQString(controlName(TextBox::txtProb)));
    m_txtProb->setGeometry(look::problemRect);
    m_txtProb->setFont(look::legacyFont(look::problemPointSize));
    m_txtProb->setReadOnly(true);
    // Selectable from the keyboard too, so the problem can be copied without a mouse.
    m_txtProb->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    m_txtProb->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    m_txtProb->setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    m_txtProb->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_txtProb->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // Off the tab chain: Tab never lands in a box the learner cannot type in. A click
    // still focuses it, to select and copy the problem.
    m_txtProb->setFocusPolicy(Qt::ClickFocus);
    m_txtProb->setTabChangesFocus(true);
    fixColours(m_txtProb, QPalette::Base, look::problemBackground);
    m_txtProb->setAccessibleName(QStringLiteral("Problem"));

    m_cmdRun = makeButton(this, Button::cmdRun, "Start", look::runRect);
    m_cmdNext = makeButton(this, Button::cmdNext, "Next", look::nextRect);
    m_cmdQuit = makeButton(this, Button::cmdQuit, "Quit", look::quitRect);

    m_Label3 = makeLabel(this, Label::Label3, plain, look::noticeRect, Qt::AlignLeft | Qt::AlignVCenter);
    m_Label2 = makeLabel(this, Label::Label2, plain, look::wrongCaptionRect, Qt::AlignCenter);
    m_lblWrong = makeCountBox(this, Label::lblWrong, look::wrongCountRect, look::wrongBackground);
    m_Label1 = makeLabel(this, Label::Label1, plain, look::rightCaptionRect, Qt::AlignCenter);
    m_lblRight = makeCountBox(this, Label::lblRight, look::rightCountRect, look::rightBackground);
    m_lblResponse = makeLabel(this, Label::lblResponse, look::legacyFont(look::responsePointSize, true),
                              look::responseRect, Qt::AlignLeft | Qt::AlignVCenter);

    // Labels that show a value keep their caption as their accessible name, so a
    // screen reader speaks exactly what is on screen; what it means is the description.
    m_lblRight->setAccessibleDescription(QStringLiteral("Right answers"));
    m_lblWrong->setAccessibleDescription(QStringLiteral("Wrong answers"));
    m_lblResponse->setAccessibleDescription(QStringLiteral("Result of your answer"));
    // Each caption labels its count, so a screen reader names the count by it.
    m_Label1->setBuddy(m_lblRight);
    m_Label2->setBuddy(m_lblWrong);

    // The tab chain; hidden buttons drop out of it by themselves.
    setTabOrder(m_cmdRun, m_txtAnswer);
    setTabOrder(m_txtAnswer, m_cmdSubmit);
    setTabOrder(m_cmdSubmit, m_cmdNext);
    setTabOrder(m_cmdNext, m_cmdQuit);
    setTabOrder(m_cmdQuit, m_cmdRun);
    m_cmdRun->setFocus(Qt::OtherFocusReason);
    QCoreApplication::instance()->installNativeEventFilter(this);
}

DravletWindow::~DravletWindow()
{
    QCoreApplication::instance()->removeNativeEventFilter(this);
}

bool DravletWindow::nativeEventFilter(const QByteArray& eventType, void* message, qintptr*)
{
#if DRAVLET_HAVE_XCB
    if (eventType == "xcb_generic_event_t") {
        const auto* event = static_cast<const xcb_generic_event_t*>(message);
        if ((event->response_type & 0x7f) == XCB_DESTROY_NOTIFY && internalWinId() != 0
            && static_cast<const xcb_destroy_notify_event_t*>(message)->window == internalWinId()) {
            QCoreApplication::exit(0);
        }
    }
#else
    (void)eventType;
    (void)message;
#endif
    return false;
}

void DravletWindow::deliverClicksTo(cmdDravlet& form)
{
    // A screen reader hears what a handler did once it has done it all.
    const auto deliver = [this, &form](QPushButton* button, void (cmdDravlet::*handler)()) {
        connect(button, &QPushButton::clicked, this, [&form, handler] {
            const HeldAccessibilityUpdates held;
            (form.*handler)();
        });
    };
    deliver(m_cmdRun, &cmdDravlet::cmdRun_Click);
    deliver(m_cmdSubmit, &cmdDravlet::cmdSubmit_Click);
    deliver(m_cmdNext, &cmdDravlet::cmdNext_Click);
    deliver(m_cmdQuit, &cmdDravlet::cmdQuit_Click);
}

QWidget* DravletWindow::widget(TextBox box) const
{
    switch (box) {
    case TextBox::txtProb: return m_txtProb;
    case TextBox::txtAnswer: return m_txtAnswer;
    }
    return nullptr;
}

FitLabel* DravletWindow::widget(Label label) const
{
    switch (label) {
    case Label::lblResponse: return m_lblResponse;
    case Label::lblRight: return m_lblRight;
    case Label::lblWrong: return m_lblWrong;
    case Label::Label1: return m_Label1;
    case Label::Label2: return m_Label2;
    case Label::Label3: return m_Label3;
    }
    return nullptr;
}

QPushButton* DravletWindow::widget(Button button) const
{
    switch (button) {
    case Button::cmdRun: return m_cmdRun;
    case Button::cmdSubmit: return m_cmdSubmit;
    case Button::cmdNext: return m_cmdNext;
    case Button::cmdQuit: return m_cmdQuit;
    }
    return nullptr;
}

std::string DravletWindow::text(TextBox box) const
{
    switch (box) {
    case TextBox::txtProb: return m_txtProb->toPlainText().toStdString();
    case TextBox::txtAnswer: return m_txtAnswer->text().toStdString();
    }
    return {};
}

void DravletWindow::setText(TextBox box, std::string_view text)
{
    switch (box) {
    case TextBox::txtProb:
        m_txtProb->setPlainText(toQString(text));
        // The answer box is named by the problem it answers: a screen reader says it and
        // a braille display shows it when the focus comes to the box.
        m_txtAnswer->setAccessibleName(toQString(answerBoxName(text)));
        break;
    case TextBox::txtAnswer: m_txtAnswer->setText(toQString(text)); break;
    }
}

void DravletWindow::focus(TextBox box)
{
    widget(box)->setFocus(Qt::OtherFocusReason);
}

void DravletWindow::setCaption(Label label, std::string_view caption)
{
    widget(label)->setCaption(toQString(caption));
    // Next is named by the verdict and both counts, so they are said and shown in braille
    // when the focus comes to Next after Submit. Renamed only when that changes: every
    // renaming is an event to each assistive client.
    const QString name = toQString(nextButtonName(m_lblResponse->text().toStdString(), m_lblRight->text().toStdString(),
                                                  m_lblWrong->text().toStdString()));
    if (name != m_cmdNext->accessibleName()) {
        m_cmdNext->setAccessibleName(name);
    }
}

void DravletWindow::setVisible(Button button, bool visible)
{
    widget(button)->setVisible(visible);
}

void DravletWindow::focus(Button button)
{
    widget(button)->setFocus(Qt::OtherFocusReason);
}

void DravletWindow::endProgram()
{
    close();
    QCoreApplication::exit(0);
}

}  // namespace dravlet
