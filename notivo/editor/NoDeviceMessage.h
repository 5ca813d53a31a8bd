#pragma once

namespace notivo {

// Shown when no MIDI output device can be opened at start-up; the program ends after it.
inline constexpr char NoDeviceMessage[] =
    "No Sound Recreation Device Availiable\r\n"
    "If you are running this project from\r\n"
    "IDE then you might have stopped this\r\n"
    "project with out letting it to free\r\n"
    "the device to run this project,\r\n"
    "you must restart visual basic.";

} // namespace notivo
