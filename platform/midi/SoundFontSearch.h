#pragma once
#include <string>
#include <vector>

namespace platform::midi {

// Where the built-in synthesiser looks for its General MIDI SoundFont, in
// order: any .sf2 beside the program (by name), then any in its installed
// data folder, then the system's default GM font, then the other GM fonts
// Debian ships.
std::vector<std::string> soundFontCandidates();

// The first candidate that exists and really is a SoundFont; empty if none.
std::string findGmSoundFont();

} // namespace platform::midi
