#pragma once

// The arithmetic of the two drawn sliders, in twips (15 to the pixel).
namespace SliderMath {

struct Track {
    double start;  // left (volume) or top (rate) of the track
    double length; // width or height of the track
    double knob;   // knob width or height
    double travel() const { return length - knob; }
};

constexpr Track VolumeTrack{1328, 855, 135};
constexpr Track RateTrack{195, 450, 135};

// Offset of the knob along the track for a mouse position on the track:
// centred under the pointer and kept inside the track.
double knobOffset(const Track& track, double mouse);

// Velocity 0..127 for a volume-knob offset (round half to even).
int velocityAt(double offset);

// Step interval for a rate-knob offset: the style's base plus 0..100 ms.
int intervalAt(double offset, int baseInterval);

} // namespace SliderMath
