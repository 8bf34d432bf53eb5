// SPDX-License-Identifier: MIT
#include "window/heldupdates.h"

#include <QAccessible>
#include <QApplication>
#include <QPointer>
#include <QWidget>

#include <memory>
#include <vector>

namespace dravlet {

namespace {

struct Held {
    QPointer<QObject> object;
    std::unique_ptr<QAccessibleEvent> event;
};

bool installed = false;
bool holding = false;
bool focusMoved = false;
std::vector<Held> held;
QAccessible::UpdateHandler previousHandler = nullptr;
void holdOrSend(QAccessibleEvent* event);

// Hands an event on to whoever would have had it without us: the handler installed
// before ours, or the platform's accessibility bridge.
void send(QAccessibleEvent* event)
{
    if (previousHandler != nullptr) {
        previousHandler(event);
        return;
    }
    QAccessible::installUpdateHandler(nullptr);
    QAccessible::updateAccessibility(event);
    QAccessible::installUpdateHandler(holdOrSend);
}

// A copy to send later; the toolkit's event lives on its caller's stack.
std::unique_ptr<QAccessibleEvent> copyOf(const QAccessibleEvent& e)
{
    QObject* object = e.object();
    switch (e.type()) {
    case QAccessible::StateChanged:
        return std::make_unique<QAccessibleStateChangeEvent>(
            object, static_cast<const QAccessibleStateChangeEvent&>(e).changedStates());
    case QAccessible::TextInserted: {
        const auto& t = static_cast<const QAccessibleTextInsertEvent&>(e);
        return std::make_unique<QAccessibleTextInsertEvent>(object, t.changePosition(), t.textInserted());
    }
    case QAccessible::TextRemoved: {
        const auto& t = static_cast<const QAccessibleTextRemoveEvent&>(e);
        return std::make_unique<QAccessibleTextRemoveEvent>(object, t.changePosition(), t.textRemoved());
    }
    case QAccessible::TextUpdated: {
        const auto& t = static_cast<const QAccessibleTextUpdateEvent&>(e);
        return std::make_unique<QAccessibleTextUpdateEvent>(object, t.changePosition(), t.textRemoved(),
                                                            t.textInserted());
    }
    case QAccessible::TextCaretMoved:
        return std::make_unique<QAccessibleTextCursorEvent>(
            object, static_cast<const QAccessibleTextCursorEvent&>(e).cursorPosition());
    case QAccessible::TextSelectionChanged: {
        const auto& t = static_cast<const QAccessibleTextSelectionEvent&>(e);
        return std::make_unique<QAccessibleTextSelectionEvent>(object, t.selectionStart(), t.selectionEnd());
    }
    case QAccessible::ValueChanged:
        return std::make_unique<QAccessibleValueChangeEvent>(
            object, static_cast<const QAccessibleValueChangeEvent&>(e).value());
    default: {
        auto copy = std::make_unique<QAccessibleEvent>(object, e.type());
        copy->setChild(e.child());
        return copy;
    }
    }
}

void holdOrSend(QAccessibleEvent* event)
{
    if (!holding || event->object() == nullptr || event->type() == QAccessible::ObjectDestroyed) {
        send(event);
    } else if (event->type() == QAccessible::Focus) {
        focusMoved = true;
    } else {
        held.push_back({event->object(), copyOf(*event)});
    }
}

// What the reader reads afresh when the control takes the focus.
bool readWithFocus(QAccessible::Event type)
{
    switch (type) {
    case QAccessible::TextInserted:
    case QAccessible::TextRemoved:
    case QAccessible::TextUpdated:
    case QAccessible::TextCaretMoved:
    case QAccessible::TextSelectionChanged:
        return true;
    default:
        return false;
    }
}

bool renames(QAccessible::Event type)
{
    return type == QAccessible::NameChanged || type == QAccessible::DescriptionChanged;
}

}  // namespace

HeldAccessibilityUpdates::HeldAccessibilityUpdates()
{
    if (!installed) {
        previousHandler = QAccessible::installUpdateHandler(holdOrSend);
        installed = true;
    }
    holding = true;
    focusMoved = false;
}

HeldAccessibilityUpdates::~HeldAccessibilityUpdates()
{
    holding = false;
    QObject* focused = focusMoved ? QApplication::focusWidget() : nullptr;
    std::vector<Held> toSend;
    toSend.swap(held);
    std::vector<QAccessibleEvent*> afterFocus;
    for (const Held& h : toSend) {
        if (h.object == nullptr || (h.object == focused && readWithFocus(h.event->type()))) {
            continue;
        }
        if (focused != nullptr && h.object != focused && renames(h.event->type())) {
            afterFocus.push_back(h.event.get());
        } else {
            send(h.event.get());
        }
    }
    if (focused != nullptr) {
        QAccessibleEvent focus(focused, QAccessible::Focus);
        send(&focus);
    }
    for (QAccessibleEvent* event : afterFocus) {
        send(event);
    }
}

}  // namespace dravlet
