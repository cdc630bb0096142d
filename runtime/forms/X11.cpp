#include "runtime/forms/X11.h"

#include <QGuiApplication>
#include <QWidget>
#include <QWindow>
#include <QtGui/qguiapplication_platform.h>

#include <xcb/xcb.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <thread>
#include <vector>

namespace forms::x11 {
namespace {

// None off X11: the offscreen platform answers for an X connection it does not have.
xcb_connection_t *Connection() {
    if (QGuiApplication::platformName() != QLatin1String("xcb")) {
        return nullptr;
    }
    const auto *x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    return x11 != nullptr ? x11->connection() : nullptr;
}

xcb_atom_t Atom(xcb_connection_t *connection, const char *name) {
    xcb_intern_atom_reply_t *reply = xcb_intern_atom_reply(
        connection,
        xcb_intern_atom(connection, 1, static_cast<std::uint16_t>(std::strlen(name)), name),
        nullptr);
    const xcb_atom_t atom = reply != nullptr ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
    std::free(reply);
    return atom;
}

// The window property as 32-bit values; empty where it is not set.
std::vector<std::uint32_t> Property(xcb_connection_t *connection, xcb_window_t window,
                                    xcb_atom_t property, xcb_atom_t type, std::uint32_t length) {
    xcb_get_property_reply_t *reply = xcb_get_property_reply(
        connection, xcb_get_property(connection, 0, window, property, type, 0, length), nullptr);
    std::vector<std::uint32_t> values;
    if (reply != nullptr && reply->format == 32) {
        const auto *data = static_cast<const std::uint32_t *>(xcb_get_property_value(reply));
        values.assign(data, data + xcb_get_property_value_length(reply) / 4);
    }
    std::free(reply);
    return values;
}

} // namespace

bool Connected() {
    return Connection() != nullptr;
}

// An X11 window manager tells the frame it will give a window not yet mapped when asked
// with _NET_REQUEST_FRAME_EXTENTS; it answers by setting the window's _NET_FRAME_EXTENTS.
std::optional<QMargins> FrameFromWindowManager(const QWindow &window) {
    xcb_connection_t *connection = Connection();
    if (connection == nullptr) {
        return std::nullopt;
    }
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(connection)).data->root;
    const xcb_atom_t request = Atom(connection, "_NET_REQUEST_FRAME_EXTENTS");
    const xcb_atom_t extents = Atom(connection, "_NET_FRAME_EXTENTS");
    const std::vector<std::uint32_t> supported =
        Property(connection, root, Atom(connection, "_NET_SUPPORTED"), XCB_ATOM_ATOM, 1024);
    if (std::find(supported.begin(), supported.end(), request) == supported.end()) {
        return std::nullopt;
    }
    xcb_client_message_event_t message{};
    message.response_type = XCB_CLIENT_MESSAGE;
    message.format = 32;
    message.window = static_cast<xcb_window_t>(window.winId());
    message.type = request;
    xcb_send_event(connection, 0, root,
                   XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                   reinterpret_cast<const char *>(&message));
    xcb_flush(connection);
    // The window manager answers within milliseconds; one that does not is not waited for.
    for (int attempt = 0; attempt < 50; ++attempt) {
        const std::vector<std::uint32_t> e =
            Property(connection, message.window, extents, XCB_ATOM_CARDINAL, 4);
        if (e.size() == 4) {
            // Left, right, top, bottom, in device pixels; rounded up, since a frame that takes
            // part of a pixel still takes it on the screen.
            const qreal ratio = window.devicePixelRatio();
            const auto logical = [ratio](std::uint32_t v) {
                return static_cast<int>(std::ceil(v / ratio));
            };
            return QMargins(logical(e[0]), logical(e[2]), logical(e[1]), logical(e[3]));
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return std::nullopt;
}

bool HasKeyboard(const QWidget &window) {
    xcb_connection_t *connection = Connection();
    if (connection == nullptr) {
        return false;
    }
    xcb_get_input_focus_reply_t *reply =
        xcb_get_input_focus_reply(connection, xcb_get_input_focus(connection), nullptr);
    const bool there =
        reply != nullptr && reply->focus == static_cast<xcb_window_t>(window.winId());
    std::free(reply);
    return there;
}

} // namespace forms::x11
