"""Clicking the title's offset arrows from outside moves the title on the card, pixel by pixel.

The title's ink is found as the pixels that differ from the card before any title was
typed; after N clicks on the up arrow the same ink must lie exactly N pixels further
right, with nothing left behind where it was. The arrows stop at 30 and at 0.
"""
import os
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from tarvok_e2e import Tool, check, parse_args  # noqa: E402

CANVAS = (9, 14)                                  # cardCanvas in MainWindow's client area
GROUP = (353, 63)                                 # cardInfoGroup
TITLE_EDIT = (GROUP[0] + 53 + 50, GROUP[1] + 15 + 10)
SPIN = (GROUP[0] + 196, GROUP[1] + 15)            # titleOffsetSpin, 16 x 20
UP = (SPIN[0] + 8, SPIN[1] + 5)                   # upper half: the up arrow
DOWN = (SPIN[0] + 8, SPIN[1] + 15)
BAND = (0, 16, 336, 56)                           # canvas rows around the title (top 20, height 32)
INK = 60                                          # colour distance that counts as drawn text


def band_of(tool, path):
    """The title band of the card, as {(x, y): (r, g, b)} in canvas coordinates."""
    img = tool.client_image(path)
    x0, y0, x1, y1 = BAND
    crop = img.crop((CANVAS[0] + x0, CANVAS[1] + y0, CANVAS[0] + x1, CANVAS[1] + y1))
    return {(x + x0, y + y0): crop.getpixel((x, y)) for y in range(y1 - y0) for x in range(x1 - x0)}


def ink(shot, empty):
    """The pixels that differ from the card without a title."""
    return {p for p, c in shot.items() if sum((a - b) ** 2 for a, b in zip(c, empty[p])) ** 0.5 > INK}


def box(mask):
    xs = [x for x, _ in mask]
    ys = [y for _, y in mask]
    return min(xs), min(ys), max(xs), max(ys)


def shifted(mask, dx):
    return {(x + dx, y) for x, y in mask}


def overlap(a, b):
    return len(a & b) / max(1, len(a | b))


def click_times(tool, where, n):
    for _ in range(n):
        tool.click(*where)
        # Apart by more than the double-click time, so each click is a fresh press.
        time.sleep(0.35)
    time.sleep(0.5)


def check_at(tool, out, name, empty, start, dx):
    shot = band_of(tool, os.path.join(out, name + ".png"))
    now = ink(shot, empty)
    check(bool(now), f"{name}: the title is on the card")
    b0, b1 = box(start), box(now)
    check(b1[0] - b0[0] == dx and b1[2] - b0[2] == dx,
          f"{name}: the title's left and right edges moved by {dx} (by {b1[0] - b0[0]}, {b1[2] - b0[2]})")
    check(b1[1] == b0[1] and b1[3] == b0[3], f"{name}: the title stays on its row")
    expected = shifted(start, dx)
    share = overlap(now, expected)
    check(share >= 0.9, f"{name}: the same ink, shifted by {dx} ({share:.0%} alike)")
    # Where the old text was and the new text is not, the card must show what lies beneath.
    ghost = [p for p in start - expected if p in now]
    check(len(ghost) <= 2, f"{name}: no ghost of the old title remains ({len(ghost)} pixels)")


def main():
    args = parse_args()
    tool = Tool(args.exe)
    try:
        check(tool.wait_window() is not None, "the main window appears")
        tool.focus()
        empty = band_of(tool, os.path.join(args.out, "empty.png"))

        tool.click(*TITLE_EDIT)
        tool.type("HIIH HH")
        time.sleep(0.5)
        start_shot = band_of(tool, os.path.join(args.out, "typed.png"))
        start = ink(start_shot, empty)
        check(len(start) > 40, f"the typed title shows on the card ({len(start)} pixels)")
        left = box(start)[0]
        check(83 <= left <= 90, f"the title starts near the label's base edge 85 (at {left})")
        whites = [p for p in start if min(start_shot[p]) >= 235]
        check(len(whites) > 10, "the title is drawn in white")

        click_times(tool, UP, 7)
        check_at(tool, args.out, "up7", empty, start, 7)

        click_times(tool, DOWN, 3)
        check_at(tool, args.out, "down3", empty, start, 4)

        click_times(tool, UP, 30)
        check_at(tool, args.out, "up-to-30", empty, start, 30)

        click_times(tool, DOWN, 34)
        check_at(tool, args.out, "down-to-0", empty, start, 0)
    finally:
        code = tool.close()
    check(code == 0, f"the tool ends with exit code 0 (got {code})")


if __name__ == "__main__":
    main()
