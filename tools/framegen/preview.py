#!/usr/bin/python3
"""Composes each frame the way the tool shows it: a test portrait stretched
into the portrait box, the frame stretched over the 336 x 487 canvas, and
sample texts at the six label places.  Writes build/art/preview-*.png and a
montage of all six.

    /usr/bin/python3 tools/framegen/preview.py [--assets DIR] [--out DIR]
"""

import argparse
import math
import os
import sys

import numpy as np
from PIL import Image, ImageDraw, ImageFont

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import layout as L  # noqa: E402

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
SONG = ("/usr/share/fonts/truetype/arphic/uming.ttc", 0)
KAI = ("/usr/share/fonts/truetype/arphic/ukai.ttc", 0)
HEI = ("/usr/share/fonts/truetype/wqy/wqy-zenhei.ttc", 0)
BUTTON_FACE = (240, 240, 240)

# label: (x, y, w, h, font, px, bold, colour, wrap, text)
LABELS = [
    (85, 20, 146, 32, SONG, 12, False, (255, 255, 255), False, "蜀国·五虎上将"),
    (45, 309, 192, 32, KAI, 35, True, (255, 255, 255), False, "关云长"),
    (33, 364, 70, 26, HEI, 20, False, (255, 255, 255), False, "武圣"),
    (32, 413, 70, 26, HEI, 20, False, (255, 255, 255), False, "义绝"),
    (75, 364, 244, 61, SONG, 14, True, (0, 0, 0), True,
     "你可以将一张红色牌当【杀】使用或打出；你使用红桃【杀】无距离限制。"),
    (75, 411, 244, 71, SONG, 14, True, (0, 0, 0), True,
     "出牌阶段限一次，你可以弃置一张牌，令一名其他角色本回合非锁定技失效，然后你摸一张牌。"),
]


def test_portrait(w=305, h=400):
    """A colourful synthetic picture: sky gradient, sun, hills, a figure."""
    y, x = np.mgrid[0:h, 0:w].astype(np.float32)
    sky = np.dstack([80 + 140 * (y / h), 120 + 60 * np.sin(x / 40.0), 230 - 120 * (y / h)])
    img = Image.fromarray(np.clip(sky, 0, 255).astype(np.uint8), "RGB")
    d = ImageDraw.Draw(img)
    d.ellipse([200, 30, 270, 100], fill=(255, 210, 60))
    for i, col in enumerate([(40, 140, 70), (30, 100, 60), (20, 70, 40)]):
        base = 230 + i * 50
        poly = [(0, h)] + [(xx, base - 40 * math.sin(xx / (35.0 + 10 * i) + i)) for xx in range(0, w + 1, 5)] + [(w, h)]
        d.polygon(poly, fill=col)
    d.ellipse([110, 120, 170, 180], fill=(240, 200, 170))
    d.polygon([(100, 400), (140, 175), (180, 400)], fill=(170, 30, 40))
    d.rectangle([60, 170, 70, 400], fill=(120, 80, 40))
    d.polygon([(50, 170), (65, 120), (80, 170)], fill=(200, 200, 210))
    return img


def wrap(text, font, width):
    lines, cur = [], ""
    for ch in text:
        if font.getlength(cur + ch) > width and cur:
            lines.append(cur)
            cur = ch
        else:
            cur += ch
    if cur:
        lines.append(cur)
    return lines


def draw_labels(card):
    for x, y, w, h, (path, idx), px, bold, colour, wrapped, text in LABELS:
        layer = Image.new("RGBA", (w, h), (0, 0, 0, 0))
        d = ImageDraw.Draw(layer)
        font = ImageFont.truetype(path, px, index=idx)
        asc, desc = font.getmetrics()
        line_h = asc + desc
        stroke = 1 if bold and px >= 20 else 0
        if wrapped:
            yy = 0
            for line in wrap(text, font, w):
                d.text((0, yy), line, font=font, fill=colour)
                if bold:
                    d.text((1, yy), line, font=font, fill=colour)
                yy += line_h
        else:
            yy = (h - line_h) // 2
            d.text((0, yy), text, font=font, fill=colour, stroke_width=stroke, stroke_fill=colour)
        card.alpha_composite(layer, (x, y))


def compose(frame, portrait):
    card = Image.new("RGBA", (L.CW, L.CH), BUTTON_FACE + (255,))
    card.paste(portrait.resize((305, 400), Image.BILINEAR), (14, 59))
    # Shrunk the way the tool's GDI+ does it under Wine, aliasing and all.
    stretched = np.round(L.stretch_point_bilinear(frame)).astype(np.uint8)
    card.alpha_composite(Image.fromarray(stretched, "RGBA"))
    draw_labels(card)
    return card.convert("RGB")


def main(argv=None):
    ap = argparse.ArgumentParser(description=__doc__)
    ap.add_argument("--assets", default=os.path.join(ROOT, "assets"))
    ap.add_argument("--out", default=os.path.join(ROOT, "build", "art"))
    args = ap.parse_args(argv)
    os.makedirs(args.out, exist_ok=True)
    portrait = test_portrait()
    cards = []
    for camp in L.CAMPS:
        for health in L.HEALTHS:
            name = L.frame_name(camp, health)
            frame = Image.open(os.path.join(args.assets, name)).convert("RGBA")
            card = compose(frame, portrait)
            card.save(os.path.join(args.out, "preview-" + name))
            cards.append(card)
    gap = 8
    mont = Image.new("RGB", (3 * L.CW + 4 * gap, 2 * L.CH + 3 * gap), (60, 60, 64))
    for i, card in enumerate(cards):
        col, row = i // 2, i % 2
        mont.paste(card, (gap + col * (L.CW + gap), gap + row * (L.CH + gap)))
    mont.save(os.path.join(args.out, "preview-montage.png"))
    print(os.path.join(args.out, "preview-montage.png"))


if __name__ == "__main__":
    main()
