// SPDX-License-Identifier: MIT
// The tests' and the demo's camera on an X server, which xdotool lacks:
//   dravlet_xtool shot OUT.png [WINDOW]  saves a PNG of the window (default: the screen)
#include <QGuiApplication>
#include <QPixmap>
#include <QScreen>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

int shoot(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "xcb");
    int qtArgc = 1;
    QGuiApplication app(qtArgc, argv);
    const WId window = argc > 3 ? static_cast<WId>(std::strtoull(argv[3], nullptr, 0)) : 0;
    const QPixmap shot = QGuiApplication::primaryScreen()->grabWindow(window);
    if (shot.isNull() || !shot.save(QString::fromLocal8Bit(argv[2]), "PNG")) {
        std::fprintf(stderr, "dravlet_xtool: could not grab or save %s\n", argv[2]);
        return 1;
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv)
{
    const std::string verb = argc > 1 ? argv[1] : "";
    if (verb == "shot" && argc >= 3) {
        return shoot(argc, argv);
    }
    std::fprintf(stderr, "usage: dravlet_xtool shot OUT.png [WINDOW]\n");
    return 2;
}
