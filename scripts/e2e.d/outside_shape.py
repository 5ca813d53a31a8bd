#!/usr/bin/env python3
"""Pixels of a window's screenshot that lie outside the window's shape but
are not the desktop behind it, for the end-to-end shape checks.

Usage: outside_shape.py IMAGE.rgb WIDTH HEIGHT SCALE COLOUR PART...
IMAGE.rgb holds 8-bit RGB pixels of the window's contents (WIDTH x HEIGHT
device pixels, SCALE device pixels to a window pixel); COLOUR is the desktop's
#rrggbb.  The shape is the union of its PARTs, in window pixels, with the
rules of the classic region calls (x2 and y2 are outside), and each row of it
is one span:
  rect:X1,Y1,X2,Y2
  round:X1,Y1,X2,Y2,ELLIPSE_WIDTH,ELLIPSE_HEIGHT
Only pixels wholly outside the shape are looked at (whether a pixel on the
curve is drawn is the drawing's choice).  Prints a summary line; exits 1 when
a pixel outside is not the desktop, or when the window itself shows nothing."""
import math
import sys


def rect_span(y, x1, y1, x2, y2):
    return (x1, x2) if y1 < y < y2 else None


def round_span(y, x1, y1, x2, y2, ew, eh):
    if not y1 < y < y2:
        return None
    a, b = min(ew, x2 - x1) / 2, min(eh, y2 - y1) / 2
    cy = min(max(y, y1 + b), y2 - b)  # the corner ellipses' centre line, or y itself
    if b <= 0 or cy == y:
        return (x1, x2)
    dy = (y - cy) / b
    if abs(dy) >= 1:
        return None
    inset = a - a * math.sqrt(1 - dy * dy)
    return (x1 + inset, x2 - inset)


def parse(part):
    kind, _, numbers = part.partition(":")
    values = [float(v) for v in numbers.split(",")]
    span = {"rect": rect_span, "round": round_span}[kind]
    return lambda y: span(y, *values)


def main():
    path, width, height, scale, colour = sys.argv[1:6]
    width, height, scale = int(width), int(height), float(scale)
    parts = [parse(p) for p in sys.argv[6:]]
    desktop = tuple(int(colour[i:i + 2], 16) for i in (1, 3, 5))
    pixels = open(path, "rb").read()
    if len(pixels) != width * height * 3:
        sys.exit("outside_shape: %s holds %d bytes, not %dx%d RGB" % (path, len(pixels), width, height))

    def span(y):  # the open interval of x inside the shape on line y
        spans = [s for s in (part(y) for part in parts) if s]
        return (min(s[0] for s in spans), max(s[1] for s in spans)) if spans else None

    def is_desktop(i, j):
        k = 3 * (j * width + i)
        return all(abs(pixels[k + c] - desktop[c]) <= 2 for c in range(3))

    outside = wrong = sampled = sampled_desktop = 0
    examples = []
    for j in range(height):
        # A pixel is wholly outside when its corners (on its top and bottom
        # lines) and its centre are: left of the span on each line, or right.
        lines = [(span(j / scale), 1, 0), (span((j + 1) / scale), 1, 0), (span((j + 0.5) / scale), 0.5, 0.5)]
        lines = [line for line in lines if line[0]]
        if lines:
            left_end = min(math.floor(s[0] * scale - last) for s, last, first in lines) + 1
            right_start = max(math.ceil(s[1] * scale - first) for s, last, first in lines)
            left_end, right_start = max(0, min(left_end, width)), max(left_end, min(right_start, width))
        else:
            left_end = right_start = width
        for i in list(range(left_end)) + list(range(right_start, width)):
            outside += 1
            if not is_desktop(i, j):
                wrong += 1
                if len(examples) < 5:
                    k = 3 * (j * width + i)
                    examples.append("(%d,%d) #%02x%02x%02x" % (i, j, *pixels[k:k + 3]))
        # Inside, away from the edge, a sample of every fourth pixel.
        for i in range(left_end + 2 * int(scale), right_start - 2 * int(scale), 4):
            sampled += 1
            sampled_desktop += is_desktop(i, j)
    print("%d of %d pixels outside the shape are not the desktop%s; %d of %d sampled inside are the desktop"
          % (wrong, outside, (": " + ", ".join(examples)) if examples else "", sampled_desktop, sampled))
    if sampled == 0 or sampled_desktop * 2 > sampled:
        sys.exit("outside_shape: the window shows nothing of its own")
    sys.exit(1 if wrong or outside == 0 else 0)


main()
