#!/usr/bin/env python3
"""Checks control positions of the main window on a screenshot of it with its frame, as
scripts/screenshot takes it: the fifteen windows of the house (where each one's silver frame
starts and ends, 73 pixels wide when empty and 72 with a person), the roof's bottom row and
the two side strips. Positions are printed relative to the client area under the menu bar.

Usage: bench/screenshot-layout.py [packaging/screenshots/tonovka.png]
Needs python3 and ImageMagick's convert.
"""
import subprocess
import sys

path = sys.argv[1] if len(sys.argv) > 1 else "packaging/screenshots/tonovka.png"
size = subprocess.run(["identify", "-format", "%w %h", path], capture_output=True, text=True, check=True).stdout
W, H = map(int, size.split())
data = subprocess.run(["convert", path, "-depth", "8", "rgb:-"], capture_output=True, check=True).stdout


def px(x, y):
    i = (y * W + x) * 3
    return tuple(data[i:i + 3])


SILVER, WHITE, BLACK = (192, 192, 192), (255, 255, 255), (0, 0, 0)

# Window 1's frame starts at (32, 152) of the client area: find it below the roof to learn where
# the client area lies in the screenshot.
first = min(((x, y) for y in range(150, H) for x in range(0, 80) if px(x, y) == SILVER), key=lambda p: (p[1], p[0]))
ox, oy = first[0] - 32, first[1] - 152
print(f"client area starts at ({ox}, {oy}) of the screenshot")

checks = []
for n in range(1, 16):
    row, column = divmod(n - 1, 5)
    x, y = ox + 32 + 88 * column, oy + 152 + 64 * row
    width = 73 if px(x + 72, y) == SILVER else 72
    starts = px(x, y) == SILVER and px(x - 1, y) != SILVER and px(x, y - 1) != SILVER
    ends = px(x + width - 1, y + 56) == SILVER and px(x + width, y + 56) != SILVER and px(x + width - 1, y + 57) != SILVER
    checks.append((f"okno{n} at {(x - ox, y - oy)}, {width} x 57", starts and ends))

bottom = [x - ox for x in range(W) if px(x, oy + 117) == BLACK]
checks.append((f"strecha's bottom row spans x {bottom[0]} to {bottom[-1]} (0 to 492)", bottom[0] == 0 and bottom[-1] == 492))
checks.append(("Shape1 element 0 is white at (8, 300)", px(ox + 8, oy + 300) == WHITE))
checks.append(("Shape1 element 1 is white at (485, 300)", px(ox + 485, oy + 300) == WHITE))

for text, good in checks:
    print(("ok   " if good else "FAIL ") + text)
failed = sum(1 for _, good in checks if not good)
print(f"{len(checks) - failed} of {len(checks)} hold")
sys.exit(1 if failed else 0)
