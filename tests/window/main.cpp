// SPDX-License-Identifier: MIT
// Widget tests run on the offscreen platform unless a platform was chosen, with one
// application for the whole run, created after GoogleTest has taken its flags.
#include <gtest/gtest.h>

#include <QAccessible>
#include <QApplication>

#include "window/appearance.h"
#include "window_harness.h"

std::vector<std::pair<QObject*, QAccessible::Event>> dravlet::testing::sentUpdates;

namespace {

// Every accessibility update passes here on its way (installed before the window first
// holds its updates back, so the ones it sends at the end of a click pass here too).
void recordUpdate(QAccessibleEvent* event)
{
    dravlet::testing::sentUpdates.emplace_back(event->object(), event->type());
    const QAccessible::UpdateHandler current = QAccessible::installUpdateHandler(nullptr);
    QAccessible::updateAccessibility(event);
    QAccessible::installUpdateHandler(current);
}

}  // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    ::testing::InitGoogleTest(&argc, argv);
    QApplication app(argc, argv);
    dravlet::appearance::installFontSubstitutes();
    QAccessible::installUpdateHandler(recordUpdate);
    return RUN_ALL_TESTS();
}
