// The tests' and the demo's hands and camera on an X server, beyond what xdotool does:
//   dravlet_xtool shot OUT.png [WINDOW]  saves a PNG of the window (default: the screen)
//   dravlet_xtool close WINDOW           asks the window to close, as a window manager's
//                                        close button does (WM_DELETE_WINDOW)
#include <QGuiApplication>
#include <QPixmap>
#include <QScreen>

#include <xcb/xcb.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

xcb_atom_t atom(xcb_connection_t* connection, const char* name)
{
    const auto cookie = xcb_intern_atom(connection, 0, static_cast<uint16_t>(std::strlen(name)), name);
    xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(connection, cookie, nullptr);
    xcb_atom_t result = XCB_ATOM_NONE;
    if (reply != nullptr) {
        result = reply->atom;
    }
    std::free(reply);
    return result;
}

int closeWindow(xcb_window_t window)
{
    xcb_connection_t* connection = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(connection) != 0) {
        std::fprintf(stderr, "dravlet_xtool: cannot reach the X server\n");
        return 1;
    }
    xcb_client_message_event_t event{};
    event.response_type = XCB_CLIENT_MESSAGE;
    event.format = 32;
    event.window = window;
    event.type = atom(connection, "WM_PROTOCOLS");
    event.data.data32[0] = atom(connection, "WM_DELETE_WINDOW");
    event.data.data32[1] = XCB_CURRENT_TIME;
    xcb_send_event(connection, 0, window, XCB_EVENT_MASK_NO_EVENT, reinterpret_cast<const char*>(&event));
    xcb_flush(connection);
    xcb_disconnect(connection);
    return 0;
}

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
    if (verb == "close" && argc == 3) {
        return closeWindow(static_cast<xcb_window_t>(std::strtoul(argv[2], nullptr, 0)));
    }
    std::fprintf(stderr, "usage: dravlet_xtool shot OUT.png [WINDOW] | close WINDOW\n");
    return 2;
}
