"""The card shows the frame of every (camp, health) pair chosen from outside, under the texts.

Border colour, emblem and gem count are read from a screenshot of the running tool, at
the canvas places that assets/frame-layout.json gives for the frame art.
"""
import json
import os
import sys
import time

from PIL import Image

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from tarvok_e2e import ROOT, Tool, check, parse_args  # noqa: E402

CANVAS = (9, 14, 336, 487)            # client x, y, width, height
GROUP = (353, 63)                     # cardInfoGroup's corner
CAMP_COMBO = (GROUP[0] + 53 + 31, GROUP[1] + 126 + 10)
HEALTH_COMBO = (GROUP[0] + 152 + 31, GROUP[1] + 126 + 10)
NAME_EDIT = (GROUP[0] + 53 + 50, GROUP[1] + 73 + 10)
CAMPS = ["lord", "minister", "commoner"]

with open(os.path.join(ROOT, "assets", "frame-layout.json"), encoding="utf-8") as f:
    LAYOUT = json.load(f)
TOLERANCE = LAYOUT["tolerance"]


def distance(a, b):
    return sum((x - y) ** 2 for x, y in zip(a, b)) ** 0.5


def matches(colour, expected):
    return distance(colour, expected) <= TOLERANCE


def glyph_mask(img, camp):
    """Points of the badge's disc that show the glyph rather than the disc colour."""
    spec = LAYOUT["camps"][camp]
    cx, cy = LAYOUT["badge"]["centre"]
    r = LAYOUT["badge"]["disc_radius"] - 1
    mask = set()
    for y in range(int(cy - r), int(cy + r) + 1):
        for x in range(int(cx - r), int(cx + r) + 1):
            if (x - cx) ** 2 + (y - cy) ** 2 > r * r:
                continue
            p = img.getpixel((x, y))[:3]
            if distance(p, spec["badge_glyph_rgb"]) < distance(p, spec["badge_disc_rgb"]):
                mask.add((x, y))
    return mask


def expected_glyphs():
    """Each camp's glyph as its frame image shows it, stretched to the canvas."""
    out = {}
    for camp in CAMPS:
        out[camp] = glyph_mask(stretched_frame(camp, 3), camp)
    return out


def overlap(a, b):
    """How well two glyph masks agree, the best over shifts of up to two pixels: the
    stretch on screen and the one here may sample the image half a pixel apart."""
    best = 0.0
    for dx in range(-2, 3):
        for dy in range(-2, 3):
            moved = {(x + dx, y + dy) for x, y in a}
            best = max(best, len(moved & b) / max(1, len(moved | b)))
    return best


def stretched_frame(camp, health):
    png = Image.open(os.path.join(ROOT, "assets", LAYOUT["camps"][camp]["files"][str(health)])).convert("RGBA")
    return png.resize(tuple(LAYOUT["canvas_size"]), Image.BILINEAR)


def find_canvas(tool, path, timeout=10):
    """The canvas's corner on the screen. The client area's place inside Wine's frame
    depends on the window's border style, so it is found from the start frame itself:
    the offset, within a few pixels of the nominal one, where the opaque border best
    matches the (Lord, Three) image. Retried until the window has been painted."""
    deadline = time.time() + timeout
    while True:
        best = best_canvas_offset(tool, path)
        if best[0] < 24 or time.time() > deadline:
            return best
        time.sleep(0.5)


def best_canvas_offset(tool, path):
    shot = tool.screenshot(path)
    ox, oy = tool.origin()
    frame = stretched_frame("lord", 3)
    points = [(x, y) for x in range(0, 336, 7) for y in (3, 6, 480, 483)] + \
             [(x, y) for x in (3, 6, 329, 332) for y in range(0, 487, 11)]
    points = [p for p in points if frame.getpixel(p)[3] == 255]
    best = None
    for dx in range(-4, 5):
        for dy in range(-4, 5):
            x0, y0 = ox + CANVAS[0] + dx, oy + CANVAS[1] + dy
            cost = sum(distance(shot.getpixel((x0 + x, y0 + y)), frame.getpixel((x, y))[:3])
                       for x, y in points) / len(points)
            if best is None or cost < best[0]:
                best = (cost, x0, y0)
    return best


def canvas_of(tool, corner, path):
    shot = tool.screenshot(path)
    x0, y0 = corner
    return shot.crop((x0, y0, x0 + CANVAS[2], y0 + CANVAS[3]))


def check_frame(canvas, camp, health, glyphs, label):
    spec = LAYOUT["camps"][camp]
    bad = [p for p in spec["border_samples"] if not matches(canvas.getpixel(tuple(p)), spec["border_rgb"])]
    check(not bad, f"{label}: border reads {camp} at every sample (off: {[(p, canvas.getpixel(tuple(p))) for p in bad][:3]})")
    x0, y0, x1, y1 = spec["left_strip"]
    strip = [canvas.getpixel((x, y)) for x in range(x0, x1 + 1, 3) for y in range(y0, y1 + 1, 20)]
    share = sum(matches(p, spec["border_rgb"]) for p in strip) / len(strip)
    check(share >= 0.8, f"{label}: the left strip reads {camp} ({share:.0%})")

    cx, cy = LAYOUT["badge"]["centre"]
    disc = canvas.getpixel((int(cx), int(cy - LAYOUT["badge"]["disc_radius"] + 4)))
    shown = glyph_mask(canvas, camp)
    scores = {other: overlap(shown, glyphs[other]) for other in CAMPS}
    best = max(scores, key=scores.get)
    check(best == camp and scores[camp] >= 0.5,
          f"{label}: the emblem is {spec['character']} (glyph overlap {scores}, disc pixel {disc})")

    gem_rgb = LAYOUT["gems"]["gem_rgb"]
    gems = 0
    for i, (gx, gy) in enumerate(LAYOUT["gems"]["centres"]):
        p = canvas.getpixel((round(gx), round(gy)))
        if matches(p, gem_rgb):
            gems += 1
            check(i < health, f"{label}: gem slot {i} is lit only for health {health}")
        else:
            check(matches(p, spec["top_bar_rgb"]), f"{label}: empty gem slot {i} shows the top bar ({p})")
    check(gems == health, f"{label}: {gems} gems for health {health}")


def choose(tool, combo, index):
    """Opens the drop-down list with the mouse and picks an item with the keyboard."""
    tool.click(*combo)
    tool.key("Home")
    for _ in range(index):
        tool.key("Down")
    tool.key("Return")


def main():
    args = parse_args()
    glyphs = expected_glyphs()
    tool = Tool(args.exe)
    try:
        check(tool.wait_window() is not None, "the main window appears")
        tool.focus()
        cost, x0, y0 = find_canvas(tool, os.path.join(args.out, "start.png"))
        check(cost < 24, f"the start frame is on the canvas at {x0},{y0} (mean colour distance {cost:.1f})")
        corner = (x0, y0)
        canvas = canvas_of(tool, corner, os.path.join(args.out, "start.png"))
        check_frame(canvas, "lord", 3, glyphs, "at start")

        # Every pair, each reached by changing one combo box from the pair before.
        steps = [("health", 1), ("camp", 1), ("health", 0), ("camp", 2), ("health", 1), ("camp", 0),
                 ("health", 0)]
        camp, health = 0, 0
        for which, index in steps:
            if which == "camp":
                choose(tool, CAMP_COMBO, index)
                camp = index
            else:
                choose(tool, HEALTH_COMBO, index)
                health = index
            label = f"{CAMPS[camp]}/{3 + health}"
            canvas = canvas_of(tool, corner, os.path.join(args.out, f"frame-{CAMPS[camp]}-{3 + health}.png"))
            check_frame(canvas, CAMPS[camp], 3 + health, glyphs, label)

        # Typing shows the name over the ink band, with the frame still around it: pixels
        # of the band turn white where the letters are.
        choose(tool, CAMP_COMBO, 1)
        before = canvas_of(tool, corner, os.path.join(args.out, "before-typing.png"))
        tool.click(*NAME_EDIT)
        tool.type("Tarvok")
        canvas = canvas_of(tool, corner, os.path.join(args.out, "typed.png"))
        band = LAYOUT["ink_band"]["rgb"]
        x0, y0, x1, y1 = 45, 309, 45 + 192, 309 + 32
        lettered = sum(1 for x in range(x0, x1) for y in range(y0, y1)
                       if distance(before.getpixel((x, y)), band) <= TOLERANCE
                       and min(canvas.getpixel((x, y))) >= 200)
        check(lettered >= 80, f"the typed name shows in white over the ink band ({lettered} pixels)")
        outside = sum(1 for x in range(0, 336, 2) for y in range(0, 487, 2)
                      if not (x0 - 4 <= x < x1 + 4 and y0 - 4 <= y < y1 + 4)
                      and distance(before.getpixel((x, y)), canvas.getpixel((x, y))) > TOLERANCE)
        check(outside == 0, f"nothing else on the card changes while typing ({outside} samples differ)")
        check_frame(canvas, "minister", 3, glyphs, "after typing")
    finally:
        code = tool.close()
    check(code == 0, f"the tool ends with exit code 0 (got {code})")


if __name__ == "__main__":
    main()
