#!/usr/bin/env python3
"""The pitches of a keyrig take as notivo writes them, for the end-to-end checks.

Prints the keys of the take's note-ons in the order played, the drum pads
(channel 10) left out, moved by whole octaves into the staff's range (45 to
95) as notivo's reader moves a take that strays outside it."""
import sys

import mido

LOWEST, HIGHEST = 45, 95


def played(path):
    keys = [m.note for m in mido.merge_tracks(mido.MidiFile(path).tracks)
            if m.type == "note_on" and m.velocity > 0 and m.channel != 9]
    while any(k < LOWEST or k > HIGHEST for k in keys):
        keys = [k + 12 if k < LOWEST else k - 12 if k > HIGHEST else k for k in keys]
    return keys


if __name__ == "__main__":
    print(" ".join(map(str, played(sys.argv[1]))))
