#!/usr/bin/env python3
"""Checks control positions of the main window on a screenshot of it with its frame, as
scripts/screenshot takes it: the fifteen windows of the house (where each one's silver frame
starts and ends, 73 pixels wide when empty and 72 with a person), the roof's bottom row and
the two side strips. The positions come from the house-layout probe, relative to the client area.

Usage: bench/screenshot-layout.py SCREENSHOT.png HOUSE_LAYOUT_PROBE
  e.g. bench/screenshot-layout.py packaging/screenshots/tonovka.png build/debug/tools/houselayout/house-layout
Needs python3 and ImageMagick's convert.
"""
import re
import subprocess
import sys

if len(sys.argv) != 3:
    sys.exit(__doc__)
path, probe = sys.argv[1], sys.argv[2]
layout = {name: tuple(map(int, rect.split()))
          for name, rect in re.findall(r"^(\w+)=\(([-\d ]+)\)$", subprocess.run(
              [probe], capture_output=True, text=True, check=True).stdout, re.M)}
size = subprocess.run(["identify", "-format", "%w %h", path], capture_output=True, text=True, check=True).stdout
W, H = map(int, size.split())
data = subprocess.run(["convert", path, "-depth", "8", "rgb:-"], capture_output=True, check=True).stdout


def px(x, y):
    i = (y * W + x) * 3
    return tuple(data[i:i + 3])


SILVER, WHITE, BLACK = (192, 192, 192), (255, 255, 255), (0, 0, 0)

# Find window 1's frame below the roof to learn where the client area lies in the screenshot.
x1, y1 = layout["okno1"][:2]
roof_bottom = layout["strecha"][1] + layout["strecha"][3]
first = min(((x, y) for y in range(roof_bottom, H) for x in range(0, x1 + 48) if px(x, y) == SILVER),
            key=lambda p: (p[1], p[0]))
ox, oy = first[0] - x1, first[1] - y1
print(f"client area starts at ({ox}, {oy}) of the screenshot")

checks = []
for n in range(1, 16):
    wx, wy, _, wh = layout[f"okno{n}"]
    x, y = ox + wx, oy + wy
    width = 73 if px(x + 72, y) == SILVER else 72
    starts = px(x, y) == SILVER and px(x - 1, y) != SILVER and px(x, y - 1) != SILVER
    ends = (px(x + width - 1, y + wh - 1) == SILVER and px(x + width, y + wh - 1) != SILVER
            and px(x + width - 1, y + wh) != SILVER)
    checks.append((f"okno{n} at {(wx, wy)}, {width} x {wh}", starts and ends))

rx, ry, rw, rh = layout["strecha"]
bottom = [x - ox for x in range(W) if px(x, oy + ry + rh - 1) == BLACK]
checks.append((f"strecha's bottom row spans x {bottom[0]} to {bottom[-1]} ({rx} to {rx + rw - 1})",
               bottom[0] == rx and bottom[-1] == rx + rw - 1))
for strip in ("Shape1_0", "Shape1_1"):
    sx, sy, sw, sh = layout[strip]
    checks.append((f"{strip} is white in its middle", px(ox + sx + sw // 2, oy + sy + sh // 2) == WHITE))

for text, good in checks:
    print(("ok   " if good else "FAIL ") + text)
failed = sum(1 for _, good in checks if not good)
print(f"{len(checks) - failed} of {len(checks)} hold")
sys.exit(1 if failed else 0)
