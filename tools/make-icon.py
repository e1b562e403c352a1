#!/usr/bin/env python3
"""Draws the Warbletone program icon and writes it as a Windows .ico file.

The picture is the program's own view in miniature: a dark panel with the
input trace (blue) above and the processed trace, an octave higher (red),
below it, ending in the green dot that marks the last sample (left out at
16 pixels, where it would hide the trace). Each size
(16, 32 and 48 pixels) is drawn for its own grid with 4x4 supersampling, so
small sizes stay sharp instead of being scaled down from a large picture.

    tools/make-icon.py OUTPUT.ico          write the icon
    tools/make-icon.py --check FILE.ico    exit 1 if FILE differs from what
                                           this generator draws now

Only the standard library is used, and the output is byte for byte the same
on every run, so the committed icon can be checked against its generator.
"""
import math
import struct
import sys

SIZES = (16, 32, 48)
SUPERSAMPLING = 4

PANEL = (18, 22, 30)
PANEL_EDGE = (70, 80, 98)
INPUT_TRACE = (70, 150, 255)
PROCESSED_TRACE = (255, 72, 64)
LAST_SAMPLE = (60, 230, 90)


def rounded_rect_contains(x, y, size, radius):
    """Whether the point lies in the size x size square with rounded corners."""
    cx = min(max(x, radius), size - radius)
    cy = min(max(y, radius), size - radius)
    return (x - cx) ** 2 + (y - cy) ** 2 <= radius * radius


def trace_points(size, centre, amplitude, periods, steps=96):
    """A sampled sine wave across the panel, fading in and out at its ends
    the way a played sound does."""
    left, right = size * 0.14, size * 0.86
    points = []
    for i in range(steps + 1):
        t = i / steps
        envelope = 0.35 + 0.65 * math.sin(math.pi * t)
        x = left + (right - left) * t
        y = centre - amplitude * envelope * math.sin(2 * math.pi * periods * t)
        points.append((x, y))
    return points


def distance_to_polyline(px, py, points):
    best = float("inf")
    for (ax, ay), (bx, by) in zip(points, points[1:]):
        # Segments far to the side of the point cannot be the nearest one.
        if px < min(ax, bx) - 3 or px > max(ax, bx) + 3:
            continue
        dx, dy = bx - ax, by - ay
        length2 = dx * dx + dy * dy
        t = 0.0 if length2 == 0 else max(0.0, min(1.0, ((px - ax) * dx + (py - ay) * dy) / length2))
        qx, qy = ax + t * dx - px, ay + t * dy - py
        best = min(best, qx * qx + qy * qy)
    return math.sqrt(best)


def blend(under, over, coverage):
    return tuple(u + (o - u) * coverage for u, o in zip(under, over))


def draw(size):
    """Returns size*size (r, g, b, a) pixels, top row first."""
    radius = size * 0.18
    edge = max(1.0, size / 24)
    stroke = max(1.3, size / 13) / 2
    # Fewer periods on the smallest grid, where three would blur into one band.
    periods = 1.5 if size >= 32 else 1.0
    input_trace = trace_points(size, size * 0.31, size * 0.14, periods)
    processed_trace = trace_points(size, size * 0.69, size * 0.14, 2 * periods)
    last_x, last_y = processed_trace[-1]
    dot_radius = size / 14 if size >= 32 else 0

    pixels = []
    for row in range(size):
        for column in range(size):
            inside = 0
            colour_sum = [0.0, 0.0, 0.0]
            for sy in range(SUPERSAMPLING):
                for sx in range(SUPERSAMPLING):
                    x = column + (sx + 0.5) / SUPERSAMPLING
                    y = row + (sy + 0.5) / SUPERSAMPLING
                    if not rounded_rect_contains(x, y, size, radius):
                        continue
                    inside += 1
                    if rounded_rect_contains(x - edge, y - edge, size - 2 * edge, radius - edge):
                        colour = PANEL
                    else:
                        colour = PANEL_EDGE
                    if distance_to_polyline(x, y, input_trace) <= stroke:
                        colour = INPUT_TRACE
                    if distance_to_polyline(x, y, processed_trace) <= stroke:
                        colour = PROCESSED_TRACE
                    if (x - last_x) ** 2 + (y - last_y) ** 2 <= dot_radius**2:
                        colour = LAST_SAMPLE
                    for i in range(3):
                        colour_sum[i] += colour[i]
            if inside == 0:
                pixels.append((0, 0, 0, 0))
                continue
            r, g, b = (round(c / inside) for c in colour_sum)
            alpha = round(255 * inside / SUPERSAMPLING**2)
            pixels.append((r, g, b, alpha))
    return pixels


def icon_image(size, pixels):
    """One icon image: a 32-bit BGRA bitmap of double height (colour rows,
    then the 1-bit transparency mask), both stored bottom row first."""
    header = struct.pack("<IiiHHIIiiII", 40, size, 2 * size, 1, 32, 0, 0, 0, 0, 0, 0)
    colour_rows = bytearray()
    mask_rows = bytearray()
    mask_stride = ((size + 31) // 32) * 4
    for row in reversed(range(size)):
        mask = bytearray(mask_stride)
        for column in range(size):
            r, g, b, a = pixels[row * size + column]
            colour_rows += bytes((b, g, r, a))
            if a == 0:
                # Renderers without alpha support treat masked pixels as clear.
                mask[column // 8] |= 0x80 >> (column % 8)
        mask_rows += mask
    return header + bytes(colour_rows) + bytes(mask_rows)


def make_icon():
    images = [icon_image(size, draw(size)) for size in SIZES]
    directory = struct.pack("<HHH", 0, 1, len(images))
    offset = len(directory) + 16 * len(images)
    entries = b""
    for size, image in zip(SIZES, images):
        entries += struct.pack("<BBBBHHII", size, size, 0, 0, 1, 32, len(image), offset)
        offset += len(image)
    return directory + entries + b"".join(images)


def main(argv):
    if len(argv) == 2 and not argv[1].startswith("-"):
        with open(argv[1], "wb") as out:
            out.write(make_icon())
        return 0
    if len(argv) == 3 and argv[1] == "--check":
        try:
            with open(argv[2], "rb") as existing:
                current = existing.read()
        except OSError as error:
            print(f"cannot read {argv[2]}: {error}", file=sys.stderr)
            return 1
        if current != make_icon():
            print(f"{argv[2]} differs from what {argv[0]} draws; "
                  f"rewrite it with: {argv[0]} {argv[2]}", file=sys.stderr)
            return 1
        return 0
    print(__doc__.strip().split("\n\n")[2], file=sys.stderr)
    return 2


if __name__ == "__main__":
    sys.exit(main(sys.argv))
