#pragma once
#include <array>

// What keyrig keeps between runs: the output device, the four bank
// instruments and the percussion key of each drum pad.
struct KeyrigSettings {
    static constexpr std::array<int, 12> DefaultDrumNotes{49, 57, 51, 45, 47, 48, 46, 42, 44, 37, 36, 40};

    int PortDevice = 0;
    std::array<int, 4> Banks{0, 0, 0, 0};
    std::array<int, 12> DrumNotes = DefaultDrumNotes;

    bool operator==(const KeyrigSettings&) const = default;
};
