#include "platform/chrome/Compositing.h"

#include <QGuiApplication>

#include <cstdlib>

#include <xcb/xcb.h>

namespace platform::chrome {

namespace {

bool x11Composites(xcb_connection_t* connection)
{
    static const char name[] = "_NET_WM_CM_S0";
    xcb_intern_atom_reply_t* atom =
        xcb_intern_atom_reply(connection, xcb_intern_atom(connection, 1, sizeof name - 1, name), nullptr);
    if (!atom)
        return false;
    const xcb_atom_t selection = atom->atom;
    std::free(atom);
    if (selection == XCB_ATOM_NONE)
        return false; // nobody ever asked for it
    xcb_get_selection_owner_reply_t* owner =
        xcb_get_selection_owner_reply(connection, xcb_get_selection_owner(connection, selection), nullptr);
    const bool owned = owner && owner->owner != XCB_WINDOW_NONE;
    std::free(owner);
    return owned;
}

bool askDisplay()
{
    if (!qGuiApp)
        return false;
    if (QGuiApplication::platformName().startsWith(QLatin1String("wayland")))
        return true;
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    return x11 && x11->connection() && x11Composites(x11->connection());
}

} // namespace

bool displayComposites()
{
    static const bool composites = askDisplay();
    return composites;
}

} // namespace platform::chrome
