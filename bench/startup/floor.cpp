// SPDX-License-Identifier: MIT
// The floor: the least a Qt Widgets program pays to show one empty window of
// Dravlet's size. Start-up is measured against it.
#include <QApplication>
#include <QWidget>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("Qt floor"));
    window.resize(438, 408);
    window.show();
    return QApplication::exec();
}
