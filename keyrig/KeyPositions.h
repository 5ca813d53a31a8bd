#pragma once
#include <cstdint>

// Turns a key event into the virtual-key code of the key at that place on a
// US keyboard, so any layout (AZERTY, QWERTZ ...) plays the same places.
namespace KeyPositions {

// The X11/xkb key code (evdev code + 8) of Linux, as Qt's native scan code.
int virtualKeyFromScanCode(std::uint32_t nativeScanCode);

// For platforms without native scan codes: the Qt key and whether it came
// from the keypad.  Layout-dependent, but better than nothing.
int virtualKeyFromQtKey(int qtKey, bool keypad);

// Scan code first, Qt key as the fallback; 0 for a key keyrig does not know.
int virtualKey(std::uint32_t nativeScanCode, int qtKey, bool keypad);

} // namespace KeyPositions
