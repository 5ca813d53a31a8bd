#pragma once
#include <QString>
#include <cstdint>

// The pitch and name of a staff position: what playback sounds, what the
// tips and the label show and what the exporters write.
namespace notivo {

// Inverted pitch value (127 - MIDI key) of staff position `Lines` with
// accidental `SharpFlap` (1 sharp, 2 flat, anything else none).  Any position
// is accepted, also those above or below the grid.
std::int16_t FixNotes(int Lines, std::uint8_t SharpFlap);

// Name of the note at `Lines` with `SharpFlap`: letter ("C#") or solfege
// ("Do#") name, a blank and the octave label ("C# 3", "Mi -1").
QString NoteTip(int Lines, std::uint8_t SharpFlap, bool CDEStyle = false);

// The same note as notation writes it: letter, octave with middle C in
// octave 4 (NoteTip's label + 2) and the alteration of its accidental
// (+1 sharp, -1 flat), with no enharmonic rewriting.
struct WrittenPitch {
    char step;  // 'A'..'G'
    int octave;
    int alter;
};
WrittenPitch writtenPitch(int Lines, std::uint8_t SharpFlap);

// The other way: the staff position of a written step ('A'..'G') and octave
// (middle C, C4, is position 21).  Any octave gives a position, also one far
// outside the grid.
int staffPosition(char step, int octave);

// The MIDI key that staff position `Lines` sounds with accidental `SharpFlap`.
inline int soundingKey(int Lines, std::uint8_t SharpFlap) { return 127 - FixNotes(Lines, SharpFlap); }

} // namespace notivo
