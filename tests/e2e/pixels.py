#!/usr/bin/env python3
"""Pixel checks on a window picture taken with `import -depth 8 ppm:FILE`.

  pixels.py count KIND FILE X0 Y0 X1 Y1   pixels of KIND in [X0,X1) x [Y0,Y1)
  pixels.py hash FILE X0 Y0 X1 Y1         a digest of that region's pixels
  pixels.py size FILE                     "WIDTH HEIGHT"

KIND: darkblue (the header's band), green (the progress bar's fill), link
(the status bar's blue update link), ink (pixels far from the commonest
colour of their row in the region: whatever is drawn on its background).
The region is clipped to the picture.
"""
import hashlib
import sys


def load(path):
    with open(path, "rb") as f:
        data = f.read()
    fields, i = [], 0
    while len(fields) < 4:
        while i < len(data) and data[i:i + 1].isspace():
            i += 1
        if data[i:i + 1] == b"#":
            while i < len(data) and data[i:i + 1] != b"\n":
                i += 1
            continue
        j = i
        while j < len(data) and not data[j:j + 1].isspace():
            j += 1
        fields.append(data[i:j])
        i = j
    if fields[0] != b"P6" or int(fields[3]) != 255:
        raise SystemExit("not an 8-bit binary PPM: " + path)
    width, height = int(fields[1]), int(fields[2])
    pixels = data[i + 1:i + 1 + width * height * 3]
    if len(pixels) != width * height * 3:
        raise SystemExit("short PPM: " + path)
    return width, height, pixels


def region(image, x0, y0, x1, y1):
    width, height, pixels = image
    x0, x1 = max(0, x0), min(width, x1)
    y0, y1 = max(0, y0), min(height, y1)
    for y in range(y0, y1):
        row = pixels[(y * width + x0) * 3:(y * width + x1) * 3]
        for k in range(0, len(row), 3):
            yield row[k], row[k + 1], row[k + 2]


def is_darkblue(r, g, b):
    return r < 80 and g < 110 and 90 <= b <= 180 and b >= r + 50


def is_green(r, g, b):
    return g >= 200 and g >= b + 40 and g >= r + 20


def is_link(r, g, b):
    return b >= 200 and r < 110 and g < 150 and b >= g + 80


def count_ink(image, x0, y0, x1, y1):
    # Row by row: a panel's background may run through a vertical gradient.
    total = 0
    for y in range(y0, y1):
        row = list(region(image, x0, y, x1, y + 1))
        if not row:
            continue
        counts = {}
        for p in row:
            counts[p] = counts.get(p, 0) + 1
        ground = max(counts, key=counts.get)
        total += sum(1 for p in row if sum(abs(a - b) for a, b in zip(p, ground)) > 150)
    return total


def main(args):
    if args[0] == "size":
        width, height, _ = load(args[1])
        print(width, height)
    elif args[0] == "hash":
        image = load(args[1])
        x0, y0, x1, y1 = map(int, args[2:6])
        digest = hashlib.sha1()
        for p in region(image, x0, y0, x1, y1):
            digest.update(bytes(p))
        print(digest.hexdigest())
    elif args[0] == "count":
        image = load(args[2])
        x0, y0, x1, y1 = map(int, args[3:7])
        if args[1] == "ink":
            print(count_ink(image, x0, y0, x1, y1))
            return
        test = {"darkblue": is_darkblue, "green": is_green, "link": is_link}[args[1]]
        print(sum(1 for p in region(image, x0, y0, x1, y1) if test(*p)))
    else:
        raise SystemExit(__doc__)


if __name__ == "__main__":
    main(sys.argv[1:])
