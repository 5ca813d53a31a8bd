#pragma once
#include <cstdint>
#include <optional>

namespace platform::input {

// Whether the display server has the key with this native scan code down
// right now: one round trip to an X server (X11 or XWayland); nullopt on
// displays that cannot be asked (Wayland, offscreen).
std::optional<bool> isKeyHeld(std::uint32_t nativeScanCode);

} // namespace platform::input
