#include "platform/input/HeldKeys.h"

#include <QGuiApplication>

#include <cstdlib>

#include <xcb/xcb.h>

namespace platform::input {

std::optional<bool> isKeyHeld(std::uint32_t nativeScanCode)
{
    auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    if (!x11 || !x11->connection() || nativeScanCode > 255)
        return std::nullopt;
    xcb_connection_t* connection = x11->connection();
    xcb_query_keymap_reply_t* reply = xcb_query_keymap_reply(connection, xcb_query_keymap(connection), nullptr);
    if (!reply)
        return std::nullopt;
    const bool held = (reply->keys[nativeScanCode / 8] >> (nativeScanCode % 8)) & 1;
    std::free(reply);
    return held;
}

} // namespace platform::input
