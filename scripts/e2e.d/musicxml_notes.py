#!/usr/bin/env python3
"""The notes of a MusicXML score's first part, for the end-to-end checks.

Prints one line per note or rest in the order written: "rest TYPE", or
"STEP ALTER OCTAVE TYPE" with "chord " in front of a note that sounds with
the one before it.  Two programs that agree on the notation print the same
lines, whatever else (layout, beaming, part names) they write."""
import sys
import xml.etree.ElementTree as ET


def notes(path):
    part = ET.parse(path).getroot().find("part")
    for note in part.iter("note"):
        kind = note.findtext("type", "")
        if note.find("rest") is not None:
            yield "rest " + kind
            continue
        pitch = note.find("pitch")
        chord = "chord " if note.find("chord") is not None else ""
        yield "%s%s %d %s %s" % (chord, pitch.findtext("step"), int(pitch.findtext("alter", "0")),
                                 pitch.findtext("octave"), kind)


if __name__ == "__main__":
    for line in notes(sys.argv[1]):
        print(line)
