"""A new user's walk-through: the whole card made through the real program, step by step.

Texts in all six boxes (pasted, as xdotool cannot type Chinese), a font for each of the four
font buttons through the real font chooser, both offsets moved with the spin arrows, every
camp and health in turn, a portrait through the real open dialog and a save through the real
save dialog. After each step the main window's client area goes to build/walkthrough/NN-step.png
(and the --out folder), and the step's visible effect is checked by pixels.

--update-docs also writes the saved card as docs/card.png.
"""
import argparse
import math
import os
import subprocess
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from PIL import Image, ImageDraw, ImageFilter  # noqa: E402

import tarvok_e2e as e2e  # noqa: E402
from test_frames import LAYOUT, check_frame, choose, expected_glyphs, find_canvas  # noqa: E402
from test_save_card import (check_bmp_header, locate, wait_for_file, wait_for_window,  # noqa: E402
                            wait_gone, windows_path)

STEPS_DIR = os.path.join(e2e.ROOT, "build", "walkthrough")
CANVAS = (9, 14, 336, 487)          # cardCanvas in the client area
CLIENT = (590, 538)                 # the main window's client size
INFO, SKILL, PICS = (353, 63), (353, 227), (352, 7)


def at(group, x, y, w, h):
    return group[0] + x + w // 2, group[1] + y + h // 2


TITLE_EDIT = at(INFO, 53, 15, 100, 20)
NAME_EDIT = at(INFO, 53, 73, 100, 20)
TITLE_FONT = at(INFO, 54, 43, 158, 20)
NAME_FONT = at(INFO, 54, 100, 158, 20)
CAMP_COMBO = at(INFO, 53, 126, 62, 20)
HEALTH_COMBO = at(INFO, 152, 126, 62, 20)
TITLE_SPIN = (INFO[0] + 196, INFO[1] + 15)
NAME_SPIN = (INFO[0] + 196, INFO[1] + 73)
SKILL1_NAME = at(SKILL, 82, 17, 125, 20)
SKILL1_NOTE = at(SKILL, 82, 46, 126, 47)
SKILL2_NAME = at(SKILL, 82, 104, 125, 20)
SKILL2_NOTE = at(SKILL, 82, 131, 126, 50)
SKILL_FONT = at(SKILL, 82, 187, 125, 20)
NOTE_FONT = at(SKILL, 82, 212, 125, 20)
CHOOSE_PICTURE = at(PICS, 158, 18, 64, 20)
SAVE_BUTTON = at((354, 477), 0, 0, 226, 26)

# The card labels' places on the canvas: x, y, width, height.
TITLE_LABEL = (85, 20, 146, 32)
NAME_LABEL = (45, 309, 192, 32)
SKILL1_NAME_LABEL = (33, 364, 70, 26)
SKILL2_NAME_LABEL = (32, 413, 70, 26)
SKILL1_NOTE_LABEL = (75, 364, 244, 61)
SKILL2_NOTE_LABEL = (75, 411, 244, 71)
PORTRAIT_AT = (23 - CANVAS[0], 73 - CANVAS[1])   # portraitBox's corner in canvas pixels

TEXTS = [
    ("title", TITLE_EDIT, "蜀汉五虎", [TITLE_LABEL]),
    ("name", NAME_EDIT, "关羽", [NAME_LABEL]),
    ("skill1-name", SKILL1_NAME, "武圣", [SKILL1_NAME_LABEL]),
    ("skill1-note", SKILL1_NOTE, "你可以将一张红色牌当【杀】使用或打出。", [SKILL1_NOTE_LABEL]),
    ("skill2-name", SKILL2_NAME, "义绝", [SKILL2_NAME_LABEL]),
    ("skill2-note", SKILL2_NOTE, "出牌阶段限一次，你可以弃一张牌，令一名角色本回合不能打出【闪】。",
     [SKILL2_NOTE_LABEL]),
]
# Button, face typed into the chooser, style index (常规, 斜体, 粗体, 粗斜体), size, labels it restyles.
FONTS = [
    ("title-font", TITLE_FONT, "楷体_GB2312", 2, 18, [TITLE_LABEL]),
    ("name-font", NAME_FONT, "黑体", 0, 22, [NAME_LABEL]),
    ("skill-font", SKILL_FONT, "楷体_GB2312", 2, 16, [SKILL1_NAME_LABEL, SKILL2_NAME_LABEL]),
    ("note-font", NOTE_FONT, "楷体_GB2312", 0, 12, [SKILL1_NOTE_LABEL, SKILL2_NOTE_LABEL]),
]
TITLE_SHIFT, NAME_SHIFT = 24, 12
CAMPS = ["lord", "minister", "commoner"]
# Every camp and every health, one combo box at a time; ends on 臣 with four health.
FRAME_STEPS = [("camp", 2), ("health", 1), ("camp", 0), ("health", 0), ("camp", 1), ("health", 1)]
INK = 60


def parse_args():
    p = argparse.ArgumentParser()
    p.add_argument("--exe", required=True)
    p.add_argument("--out", required=True)
    p.add_argument("--update-docs", action="store_true")
    a = p.parse_args()
    os.makedirs(a.out, exist_ok=True)
    return a


# ---- The portrait: a dusk landscape with a general on a ridge, drawn here

def lerp(a, b, t):
    return tuple(int(round(x + (y - x) * t)) for x, y in zip(a, b))


def portrait():
    w, h = 305, 400
    img = Image.new("RGB", (w, h))
    d = ImageDraw.Draw(img)
    sky = [(0.0, (24, 28, 72)), (0.45, (132, 62, 98)), (0.7, (238, 132, 70)), (1.0, (252, 206, 120))]
    for y in range(h):
        t = min(1.0, y / 270)
        for (t0, c0), (t1, c1) in zip(sky, sky[1:]):
            if t0 <= t <= t1:
                d.line([(0, y), (w, y)], fill=lerp(c0, c1, (t - t0) / (t1 - t0)))
                break
    # The sun with its glow, low over the hills.
    glow = Image.new("L", (w, h), 0)
    ImageDraw.Draw(glow).ellipse((148, 78, 288, 218), fill=200)
    glow = glow.filter(ImageFilter.GaussianBlur(28))
    img = Image.composite(Image.new("RGB", (w, h), (255, 222, 150)), img, glow)
    d = ImageDraw.Draw(img)
    d.ellipse((190, 120, 246, 176), fill=(255, 240, 200))
    # Three ranges of hills, darker as they come near.
    for k, (base, amp, colour) in enumerate([(200, 30, (126, 70, 104)), (236, 26, (80, 42, 76)),
                                             (268, 20, (44, 26, 48))]):
        pts = [(0, h)]
        for x in range(0, w + 1, 3):
            y = base - amp * (0.6 + 0.4 * math.sin(x / (29 + 11 * k) + k * 1.7)) \
                - 0.25 * amp * math.sin(x / (11.0 + 3 * k) + 2 * k)
            pts.append((x, y))
        pts.append((w, h))
        d.polygon(pts, fill=colour)
    # Mist along the valley.
    mist = Image.new("L", (w, h), 0)
    ImageDraw.Draw(mist).rectangle((0, 228, w, 246), fill=90)
    mist = mist.filter(ImageFilter.GaussianBlur(8))
    img = Image.composite(Image.new("RGB", (w, h), (236, 170, 150)), img, mist)
    d = ImageDraw.Draw(img)
    # The ridge the general stands on.
    d.polygon([(0, 400), (0, 300), (60, 284), (130, 272), (190, 284), (240, 300), (305, 318), (305, 400)],
              fill=(22, 14, 24))
    ink, red, rim = (14, 10, 18), (158, 24, 32), (250, 170, 110)
    cx, foot = 128, 274
    # Cape blowing to the left, with a lit edge.
    cape = [(cx - 6, foot - 130), (cx - 64, foot - 100), (cx - 98, foot - 50), (cx - 66, foot - 58),
            (cx - 84, foot - 14), (cx - 22, foot - 34), (cx + 4, foot - 122)]
    d.polygon(cape, fill=red)
    d.line(cape[:5], fill=(214, 74, 58), width=2)
    # Legs, body with shoulder guards, head, helmet and its red tassel.
    d.polygon([(cx - 22, foot - 64), (cx - 4, foot - 64), (cx - 12, foot), (cx - 28, foot)], fill=ink)
    d.polygon([(cx + 4, foot - 64), (cx + 22, foot - 64), (cx + 30, foot), (cx + 16, foot)], fill=ink)
    d.polygon([(cx - 18, foot - 128), (cx + 18, foot - 128), (cx + 26, foot - 60), (cx - 26, foot - 60)], fill=ink)
    d.polygon([(cx - 30, foot - 62), (cx + 30, foot - 62), (cx + 24, foot - 50), (cx - 24, foot - 50)], fill=ink)
    d.ellipse((cx - 30, foot - 134, cx - 6, foot - 114), fill=ink)
    d.ellipse((cx + 6, foot - 134, cx + 30, foot - 114), fill=ink)
    d.ellipse((cx - 12, foot - 158, cx + 12, foot - 132), fill=ink)
    d.polygon([(cx - 15, foot - 148), (cx, foot - 170), (cx + 15, foot - 148)], fill=ink)
    d.line([(cx + 1, foot - 168), (cx - 14, foot - 182), (cx - 30, foot - 180), (cx - 40, foot - 170)],
           fill=red, width=4)
    d.polygon([(cx - 7, foot - 136), (cx + 7, foot - 136), (cx + 2, foot - 100), (cx - 3, foot - 104)], fill=ink)
    # Rim light from the sun on his right side.
    d.line([(cx + 12, foot - 152), (cx + 17, foot - 136)], fill=rim, width=2)
    d.line([(cx + 30, foot - 124), (cx + 26, foot - 62)], fill=rim, width=2)
    d.line([(cx + 23, foot - 60), (cx + 30, foot - 2)], fill=rim, width=2)
    # The arm and the crescent blade held upright, with its green tassel.
    d.line([(cx + 18, foot - 122), (cx + 46, foot - 98)], fill=ink, width=9)
    d.line([(cx + 48, foot + 6), (cx + 48, foot - 212)], fill=ink, width=4)
    d.pieslice((cx + 22, foot - 236, cx + 80, foot - 178), 200, 360, fill=(214, 222, 232))
    d.polygon([(cx + 48, foot - 208), (cx + 80, foot - 206), (cx + 48, foot - 180)], fill=(214, 222, 232))
    d.arc((cx + 22, foot - 236, cx + 80, foot - 178), 200, 360, fill=(255, 255, 255), width=2)
    d.polygon([(cx + 44, foot - 182), (cx + 52, foot - 182), (cx + 58, foot - 150), (cx + 40, foot - 152)],
              fill=(48, 140, 100))
    # A few early stars high in the sky.
    for i in range(18):
        x = (i * 97 + 13) % w
        y = 6 + (i * 53) % 110
        d.point([(x, y), (x + 1, y)], fill=(255, 236, 220))
    return img


# ---- Seeing the card

class Walk:
    def __init__(self, tool, out, corner):
        self.tool, self.out, self.corner = tool, out, corner
        self.n = 0
        self.screen = None

    def shot(self, name, settle=0.6):
        """Saves the client area as the next numbered step; returns the canvas as shown."""
        time.sleep(settle)
        self.n += 1
        file = f"{self.n:02d}-{name}.png"
        self.screen = self.tool.screenshot(os.path.join(self.out, "screen.png"))
        cx, cy = self.corner[0] - CANVAS[0], self.corner[1] - CANVAS[1]
        client = self.screen.crop((cx, cy, cx + CLIENT[0], cy + CLIENT[1]))
        client.save(os.path.join(STEPS_DIR, file))
        client.save(os.path.join(self.out, file))
        return self.canvas()

    def canvas(self):
        x, y = self.corner
        return self.screen.crop((x, y, x + CANVAS[2], y + CANVAS[3]))

    def client(self):
        cx, cy = self.corner[0] - CANVAS[0], self.corner[1] - CANVAS[1]
        return self.screen.crop((cx, cy, cx + CLIENT[0], cy + CLIENT[1]))


def distance(a, b):
    return sum((x - y) ** 2 for x, y in zip(a, b)) ** 0.5


def ink(before, after, box):
    """Pixels of box (x, y, w, h) that differ clearly between two images."""
    x0, y0, w, h = box
    a, b = before.load(), after.load()
    return {(x, y) for y in range(y0, y0 + h) for x in range(x0, x0 + w) if distance(a[x, y], b[x, y]) > INK}


def white(img, box, least):
    x0, y0, w, h = box
    p = img.load()
    return {(x, y) for y in range(y0, y0 + h) for x in range(x0, x0 + w) if min(p[x, y]) >= least}


def changed_outside(before, after, boxes, margin=2):
    a, b = before.load(), after.load()
    n = 0
    for y in range(0, before.height):
        for x in range(0, before.width):
            if any(bx - margin <= x < bx + bw + margin and by - margin <= y < by + bh + margin
                   for bx, by, bw, bh in boxes):
                continue
            n += distance(a[x, y], b[x, y]) > INK
    return n


def bbox(mask):
    xs = [x for x, _ in mask]
    ys = [y for _, y in mask]
    return min(xs), min(ys), max(xs), max(ys)


def paste(text):
    e2e.set_clipboard(text)


# ---- Steps

def type_text(walk, name, edit, text, labels):
    before = walk.canvas()
    paste(text)
    walk.tool.click(*edit)
    walk.tool.key("ctrl+v")
    after = walk.shot(name)
    for box in labels:
        drawn = ink(before, after, box)
        e2e.check(len(drawn) >= 30, f"{name}: '{text}' shows in its label at {box[:2]} ({len(drawn)} pixels)")
    stray = changed_outside(before, after, labels)
    e2e.check(stray == 0, f"{name}: nothing else on the card changed ({stray} pixels)")


def choose_font(walk, name, button, face, style, size, labels):
    before, before_client = walk.canvas(), walk.client()
    walk.tool.click(*button)
    dialog = wait_for_window("字体")
    e2e.check(dialog is not None, f"{name}: the font chooser opened")
    e2e.xdo("windowfocus", "--sync", dialog)
    time.sleep(0.2)
    # The face box has the focus; the faces mapped to CJK fonts are not listed, so typed.
    paste(face)
    e2e.xdo("key", "--delay", "30", "End", "shift+Home", "BackSpace", "ctrl+v")
    time.sleep(0.2)
    e2e.xdo("key", "--delay", "30", "Tab", *(["Up"] * 4), *(["Down"] * style))
    e2e.xdo("key", "--delay", "30", "Tab", "End", "shift+Home", "BackSpace")
    e2e.xdo("type", "--delay", "30", str(size))
    time.sleep(0.2)
    e2e.xdo("key", "Return")
    deadline = time.time() + 10
    while time.time() < deadline and wait_for_window("字体", 0.2):
        time.sleep(0.2)
    e2e.check(wait_for_window("字体", 0.2) is None, f"{name}: the font chooser closed with OK")
    after = walk.shot(name)
    for box in labels:
        was = ink(walk.plain, before, box)
        now = ink(walk.plain, after, box)
        moved = len(was ^ now)
        e2e.check(moved >= max(30, len(was) // 3),
                  f"{name}: the text at {box[:2]} is drawn anew in {face} {size} ({len(was)} -> {len(now)} "
                  f"ink pixels, {moved} differ)")
    stray = changed_outside(before, after, labels)
    e2e.check(stray == 0, f"{name}: nothing else on the card changed ({stray} pixels)")
    bx, by = button[0] - 60, button[1] - 8
    caption = ink(before_client, walk.client(), (bx, by, 120, 16))
    e2e.check(len(caption) >= 20, f"{name}: the button's caption changed ({len(caption)} pixels)")


def click_spin(tool, spin, n):
    # Alternate between two points of the up arrow, far enough apart for no double click.
    for i in range(n):
        tool.click(spin[0] + (4 if i % 2 else 12), spin[1] + 5)
        time.sleep(0.1)


def move_offset(walk, name, spin, band, shift):
    before = walk.canvas()
    start = ink(walk.plain, before, band)
    click_spin(walk.tool, spin, shift)
    after = walk.shot(name)
    now = ink(walk.plain, after, band)
    b0, b1 = bbox(start), bbox(now)
    e2e.check(b1[0] - b0[0] == shift and b1[2] - b0[2] == shift and b1[1] == b0[1] and b1[3] == b0[3],
              f"{name}: the text moved {shift} pixels right on its row (box {b0} -> {b1})")
    moved = {(x + shift, y) for x, y in start}
    share = len(moved & now) / max(1, len(moved | now))
    e2e.check(share >= 0.9, f"{name}: the same text, shifted ({share:.0%} alike)")
    stray = changed_outside(before, after, [band])
    e2e.check(stray == 0, f"{name}: nothing else on the card changed ({stray} pixels)")


def check_portrait(walk, name, before, canvas, picture):
    cp, pp = canvas.load(), picture.load()
    x0, y0, x1, y1 = LAYOUT["window"]["clear_rect"]
    ox, oy = PORTRAIT_AT
    total = close = 0
    for y in range(y0, y1 + 1, 2):
        for x in range(x0, x1 + 1, 2):
            total += 1
            close += distance(cp[x, y], pp[x - ox, y - oy]) <= 24
    e2e.check(close / total >= 0.97,
              f"{name}: the portrait shows pixel for pixel through the frame's window ({close / total:.1%})")
    wx0, wy0, wx1, wy1 = LAYOUT["window"]["rect"]
    stray = changed_outside(before, canvas, [(wx0, wy0, wx1 - wx0 + 1, wy1 - wy0 + 1)])
    e2e.check(stray == 0, f"{name}: outside the frame's window the card is unchanged ({stray} pixels)")


def save_card(walk, card):
    walk.tool.click(*SAVE_BUTTON)
    dialog = wait_for_window("另存为")
    e2e.check(dialog is not None, "save: the save dialog opened")
    e2e.xdo("windowfocus", "--sync", dialog)
    time.sleep(0.2)
    e2e.xdo("key", "End", "shift+Home", "BackSpace")
    e2e.xdo("type", "--delay", "20", windows_path(os.path.splitext(card)[0]))
    time.sleep(0.2)
    e2e.xdo("key", "Return")
    e2e.check(wait_for_file(card, 490950), "save: the card was written with .jpg added")
    e2e.check(wait_for_window("保存失败", 1) is None, "save: no error message")


def main():
    args = parse_args()
    out = os.path.abspath(args.out)
    os.makedirs(STEPS_DIR, exist_ok=True)
    for folder in (STEPS_DIR, out):
        for f in os.listdir(folder):
            if f.endswith((".png", ".jpg")):
                os.remove(os.path.join(folder, f))
    picture = portrait()
    picture_path = os.path.join(out, "关羽.jpg")
    picture.save(picture_path, quality=95)
    picture = Image.open(picture_path).convert("RGB")   # as decoded, not as drawn
    card = os.path.join(out, "guanyu-card.jpg")
    glyphs = expected_glyphs()

    tool = e2e.Tool(args.exe)
    try:
        e2e.check(tool.wait_window() is not None, "the main window appeared")
        tool.focus()
        cost, x0, y0 = find_canvas(tool, os.path.join(out, "screen.png"))
        e2e.check(cost < 24, f"the start frame is on the canvas at {x0},{y0}")
        walk = Walk(tool, out, (x0, y0))
        walk.plain = walk.shot("start")
        check_frame(walk.plain, "lord", 3, glyphs, "start")

        for name, edit, text, labels in TEXTS:
            type_text(walk, name, edit, text, labels)
        for name, button, face, style, size, labels in FONTS:
            choose_font(walk, name, button, face, style, size, labels)

        title_band = (0, TITLE_LABEL[1], 336, TITLE_LABEL[3])
        name_band = (0, NAME_LABEL[1], 336, NAME_LABEL[3])
        move_offset(walk, "title-offset", TITLE_SPIN, title_band, TITLE_SHIFT)
        move_offset(walk, "name-offset", NAME_SPIN, name_band, NAME_SHIFT)

        camp, health = 0, 0
        title = walk.canvas()
        for which, index in FRAME_STEPS:
            if which == "camp":
                choose(tool, CAMP_COMBO, index)
                camp = index
            else:
                choose(tool, HEALTH_COMBO, index)
                health = index
            label = f"{CAMPS[camp]}-{3 + health}"
            canvas = walk.shot(f"frame-{label}")
            check_frame(canvas, CAMPS[camp], 3 + health, glyphs, label)
            # Edges blend with the bar, whose colour is the camp's: compare cores with wide masks.
            core = white(title, title_band, 245)
            kept = len(core & white(canvas, title_band, 200)) / len(core)
            new = len(white(canvas, title_band, 245) - white(title, title_band, 200))
            e2e.check(kept >= 0.95 and new <= 10,
                      f"{label}: the white title is still on the card, in place ({kept:.0%} kept, {new} new)")

        before = walk.canvas()
        tool.click(*CHOOSE_PICTURE)
        dialog = wait_for_window("打开")
        e2e.check(dialog is not None, "portrait: the open dialog opened")
        paste(windows_path(picture_path))
        e2e.xdo("windowfocus", "--sync", dialog)
        time.sleep(0.2)
        e2e.xdo("key", "End", "shift+Home", "BackSpace", "ctrl+v")
        time.sleep(0.3)
        e2e.xdo("key", "Return")
        e2e.check(wait_gone("打开", 10), "portrait: the open dialog closed")
        canvas = walk.shot("portrait", settle=1.0)
        check_portrait(walk, "portrait", before, canvas, picture)

        save_card(walk, card)
        walk.shot("saved")
        data = open(card, "rb").read()
        check_bmp_header(data)
        saved = Image.open(card).convert("RGB")
        differ, ox, oy = locate(walk.screen, saved, walk.corner, radius=2)
        e2e.check((ox, oy) == walk.corner and differ == 0,
                  f"save: the saved pixels are the canvas on screen ({differ} differ, at {ox},{oy})")
        saved.save(os.path.join(out, "card.png"))
        saved.save(os.path.join(STEPS_DIR, "card.png"))
        if args.update_docs:
            os.makedirs(os.path.join(e2e.ROOT, "docs"), exist_ok=True)
            saved.save(os.path.join(e2e.ROOT, "docs", "card.png"))
            print("docs/card.png updated")
    finally:
        code = tool.close()
    e2e.check(code == 0, f"the tool ends with exit code 0 (got {code})")


if __name__ == "__main__":
    main()
