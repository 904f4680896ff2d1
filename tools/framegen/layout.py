"""Geometry and colours of the card frames, shared by the generator, the
preview and the checks.  Image coordinates unless a name says canvas."""

W, H = 741, 1039            # frame image
CW, CH = 336, 487           # card canvas the frame is stretched onto
SX, SY = CW / W, CH / H

CAMPS = ("lord", "minister", "commoner")
HEALTHS = (3, 4)
CHARACTER = {"lord": "君", "minister": "臣", "commoner": "民"}

# The window through which the portrait shows.  Fully transparent pixels
# must stay inside cols 37..703, rows 127..711; the hole is a little smaller
# so the stretched edge never lets the main window background through.
HOLE = (40, 129, 699, 709)          # x0, y0, x1, y1 (exclusive ends)
CARD_RADIUS = 26                    # rounded outer corners
TOP_BAR = (30, 22, 712, 123)        # dark bar behind title, badge and gems
PARCHMENT = (36, 749, 705, 1022)    # light panel behind the skill notes

BADGE_CENTRE = (101, 99)
BADGE_R = 69                        # outer edge of the metal ring
BADGE_DISC_R = 51                   # inner disc carrying the character

# Gem slots, index 0 is the rightmost: a card with health n lights 0..n-1.
GEM_Y = 76
GEM_XS = (686, 656, 626, 596)
GEM_HALF_W, GEM_HALF_H = 11, 24

# Ink band under the hero's name: core (where it is nearly opaque) and the
# ragged margin around it.
BAND_CORE = (44, 650, 590, 740)
# Red blots under the two skill names (cores).
BLOTS = ((70, 777, 166, 832), (68, 882, 164, 937))

# Canvas rects the texts' bodies occupy; the frame-layout.json rects grow
# from these and must contain them.
CANVAS_SEEDS = {
    "window": [40, 100, 300, 280],
    "ink_band": [50, 314, 230, 336],
    "blot0": [36, 370, 70, 384],
    "blot1": [35, 419, 69, 433],
}


def frame_name(camp, health):
    return "frame-%s-%d.png" % (camp, health)


def to_canvas(x, y):
    return x * SX, y * SY


def rect_to_canvas_inner(r, margin=0):
    """Image rect -> canvas rect shrunk inward to whole pixels (plus margin)."""
    import math
    x0, y0, x1, y1 = r
    return [math.ceil(x0 * SX) + margin, math.ceil(y0 * SY) + margin,
            math.floor(x1 * SX) - margin, math.floor(y1 * SY) - margin]


def stretch_point_bilinear(img, size=(CW, CH)):
    """Stretch an RGBA image by bilinear interpolation between the four
    nearest source pixels of each target pixel, with no averaging over the
    area it covers: how GDI+ under Wine shrinks the frame (fine detail
    aliases).  Returns a float32 array, straight alpha, 0..255."""
    import numpy as np
    a = np.asarray(img.convert("RGBA"), np.float32)
    a[..., :3] *= a[..., 3:4] / 255.0
    h, w = a.shape[:2]
    tw, th = size
    # Target pixel x samples source x * w / tw: matches a Wine screenshot
    # of the tool to within rounding.
    sx = np.arange(tw) * w / tw
    sy = np.arange(th) * h / th
    x0 = np.clip(np.floor(sx).astype(int), 0, w - 1)
    y0 = np.clip(np.floor(sy).astype(int), 0, h - 1)
    x1, y1 = np.minimum(x0 + 1, w - 1), np.minimum(y0 + 1, h - 1)
    fx = np.clip(sx - x0, 0, 1)[None, :, None]
    fy = np.clip(sy - y0, 0, 1)[:, None, None]
    top = a[y0][:, x0] * (1 - fx) + a[y0][:, x1] * fx
    bot = a[y1][:, x0] * (1 - fx) + a[y1][:, x1] * fx
    out = top * (1 - fy) + bot * fy
    al = out[..., 3:4]
    out[..., :3] = np.where(al > 0, out[..., :3] * 255.0 / np.maximum(al, 1e-6), 0)
    return out
