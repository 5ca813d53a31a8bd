#!/usr/bin/env python3
"""Onsets and note lengths in a recording, for the end-to-end checks.

Reads raw signed 16-bit mono samples at 48 kHz on standard input (sox turns a
recording into that, with a filter that keeps the band of interest) and
prints one line per onset: its time in milliseconds from the start, how long
the sound then stays above a tenth of its peak, and that peak (mean square).  An onset is a 1 ms frame
whose energy is more than eight times that of the 15 ms before it (a struck
note, also over a note still ringing), above a floor that rules out noise."""
import array
import sys

RATE = 48000
HOP = RATE // 1000  # one frame per millisecond


def frames(samples):
    energy = []
    for i in range(0, len(samples) - HOP + 1, HOP):
        chunk = samples[i:i + HOP]
        energy.append(sum(s * s for s in chunk) / HOP)
    return energy


def main():
    samples = array.array("h")
    samples.frombytes(sys.stdin.buffer.read())
    if sys.byteorder != "little":
        samples.byteswap()
    energy = frames(samples)
    if not energy:
        return
    floor = max(energy) * 1e-3
    onsets = []
    i = 16
    while i < len(energy):
        before = sum(energy[i - 16:i - 1]) / 15
        if energy[i] > floor and energy[i] > 8 * max(before, floor / 8):
            onsets.append(i)
            i += 10  # one attack is one onset
        else:
            i += 1
    for k, start in enumerate(onsets):
        end = onsets[k + 1] if k + 1 < len(onsets) else len(energy)
        peak = max(energy[start:end])
        last = start
        for j in range(start, end):
            if energy[j] > peak / 100:  # a tenth of the peak amplitude
                last = j
        print(start, last - start, int(peak))


main()
