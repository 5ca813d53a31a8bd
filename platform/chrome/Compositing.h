#pragma once

namespace platform::chrome {

// Whether the display blends windows by their alpha: always on Wayland, and
// on X11 (XWayland included) while a compositing manager holds the screen's
// _NET_WM_CM_S0 selection.  Asked once; false where there is no display.
bool displayComposites();

} // namespace platform::chrome
