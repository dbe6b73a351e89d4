#include "core/platform/linux/XcbTaskList.h"

#include <QGuiApplication>
#include <QList>
#include <QWindow>

#include <xcb/xcb.h>

#include <cstdlib>
#include <cstring>
#include <memory>

namespace {
template <typename T> using Reply = std::unique_ptr<T, decltype(&std::free)>;

xcb_atom_t InternAtom(xcb_connection_t* connection, const char* name)
{
    const Reply<xcb_intern_atom_reply_t> reply(
        xcb_intern_atom_reply(connection, xcb_intern_atom(connection, 0, uint16_t(std::strlen(name)), name), nullptr),
        &std::free);
    return reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
}

// _NET_WM_STATE's action codes of a client message.
constexpr uint32_t NET_WM_STATE_REMOVE = 0;
constexpr uint32_t NET_WM_STATE_ADD = 1;
constexpr uint32_t SOURCE_APPLICATION = 1;
} // namespace

void XcbTaskList::setHidden(QWindow* window, bool hidden)
{
    if (!window || !window->handle() || QGuiApplication::platformName() != QLatin1String("xcb")) return;
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    xcb_connection_t* connection = x11 ? x11->connection() : nullptr;
    if (!connection) return;
    const xcb_window_t id = xcb_window_t(window->winId());
    const xcb_atom_t state = InternAtom(connection, "_NET_WM_STATE");
    const xcb_atom_t skipTaskbar = InternAtom(connection, "_NET_WM_STATE_SKIP_TASKBAR");
    if (state == XCB_ATOM_NONE || skipTaskbar == XCB_ATOM_NONE) return;

    if (window->isVisible()) {
        // A mapped window's state is the window manager's: the client asks for the change at the root.
        const Reply<xcb_get_geometry_reply_t> geometry(
            xcb_get_geometry_reply(connection, xcb_get_geometry(connection, id), nullptr), &std::free);
        if (!geometry) return;
        xcb_client_message_event_t event;
        std::memset(&event, 0, sizeof event);
        event.response_type = XCB_CLIENT_MESSAGE;
        event.format = 32;
        event.window = id;
        event.type = state;
        event.data.data32[0] = hidden ? NET_WM_STATE_ADD : NET_WM_STATE_REMOVE;
        event.data.data32[1] = skipTaskbar;
        event.data.data32[3] = SOURCE_APPLICATION;
        xcb_send_event(connection, 0, geometry->root,
                       XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                       reinterpret_cast<const char*>(&event));
    } else {
        // Before the map the client writes the property itself, keeping the states Qt put there; the
        // window manager reads it when the window is mapped.
        const Reply<xcb_get_property_reply_t> reply(
            xcb_get_property_reply(connection, xcb_get_property(connection, 0, id, state, XCB_ATOM_ATOM, 0, 1024),
                                   nullptr),
            &std::free);
        QList<xcb_atom_t> atoms;
        if (reply && reply->format == 32 && reply->type == XCB_ATOM_ATOM) {
            const auto* values = static_cast<const xcb_atom_t*>(xcb_get_property_value(reply.get()));
            const int count = xcb_get_property_value_length(reply.get()) / int(sizeof(xcb_atom_t));
            for (int i = 0; i < count; ++i)
                if (values[i] != skipTaskbar) atoms.append(values[i]);
        }
        if (hidden) atoms.append(skipTaskbar);
        if (atoms.isEmpty())
            xcb_delete_property(connection, id, state);
        else
            xcb_change_property(connection, XCB_PROP_MODE_REPLACE, id, state, XCB_ATOM_ATOM, 32, uint32_t(atoms.size()),
                                atoms.constData());
    }
    xcb_flush(connection);
}
