#!/usr/bin/python3
"""Checks the committed frame images, icon and frame-layout.json.

    /usr/bin/python3 tools/framegen/check_frames.py [--assets DIR] [--no-regen]

Prints one line per failed check and ends with "N passed, M failed";
the exit status is non-zero when anything failed.
"""

import argparse
import colorsys
import io
import json
import os
import struct
import subprocess
import sys
import tempfile
import zlib

import numpy as np
from PIL import Image

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)
import layout as L  # noqa: E402

ROOT = os.path.dirname(os.path.dirname(HERE))
MAX_PNG_BYTES = 700 * 1024
# Fully transparent pixels may lie only here (x0, y0, x1, y1 inclusive).
ALPHA0_BOUND = {"lord": (37, 127, 703, 711), "minister": (37, 127, 703, 711),
                "commoner": (37, 126, 703, 711)}
# Hue ranges (degrees) that read as gold-brown, red and green.
HUE = {"lord": (25, 55), "minister": (-15, 12), "commoner": (95, 160)}
FILES = [L.frame_name(c, h) for c in L.CAMPS for h in L.HEALTHS] + ["tarvokdiy.ico", "frame-layout.json"]


class Report:
    def __init__(self):
        self.passed = 0
        self.failed = 0

    def check(self, ok, what):
        if ok:
            self.passed += 1
        else:
            self.failed += 1
            print("FAIL: " + what)
        return ok


def png_chunks(data):
    if data[:8] != b"\x89PNG\r\n\x1a\n":
        raise ValueError("no PNG signature")
    pos, out = 8, []
    while pos < len(data):
        n, kind = struct.unpack(">I4s", data[pos:pos + 8])
        body = data[pos + 8:pos + 8 + n]
        crc, = struct.unpack(">I", data[pos + 8 + n:pos + 12 + n])
        out.append((kind, body, zlib.crc32(kind + body) == crc))
        pos += 12 + n
    return out


def hue_deg(c):
    h, s, v = colorsys.rgb_to_hsv(*[x / 255.0 for x in c])
    h *= 360
    return h - 360 if h > 180 else h, s, v


def dist(a, b):
    return float(np.linalg.norm(np.asarray(a, float) - np.asarray(b, float)))


# The platform's stretch may interpolate in any of these ways; the facts
# must hold for each.
RESAMPLERS = (("bilinear", Image.BILINEAR), ("nearest", Image.NEAREST), ("bicubic", Image.BICUBIC),
              ("point-bilinear", "point"))


def stretched(img, resample=Image.BILINEAR):
    if resample == "point":
        return L.stretch_point_bilinear(img)
    return np.asarray(img.resize((L.CW, L.CH), resample), np.float32)


def rect_pixels(arr, r):
    x0, y0, x1, y1 = r
    return arr[y0:y1 + 1, x0:x1 + 1]


def lum(c):
    c = np.asarray(c, float)
    return 0.299 * c[..., 0] + 0.587 * c[..., 1] + 0.114 * c[..., 2]


def check_png_format(rep, name, data):
    try:
        chunks = png_chunks(data)
    except (ValueError, struct.error) as e:
        rep.check(False, "%s: not a readable PNG (%s)" % (name, e))
        return
    rep.check(all(ok for _, _, ok in chunks), "%s: a chunk has a bad CRC" % name)
    kind, ihdr, _ = chunks[0]
    rep.check(kind == b"IHDR", "%s: first chunk is %r, not IHDR" % (name, kind))
    w, h, depth, ctype, comp, filt, inter = struct.unpack(">IIBBBBB", ihdr)
    rep.check((w, h) == (L.W, L.H), "%s: size %dx%d, want %dx%d" % (name, w, h, L.W, L.H))
    rep.check((depth, ctype) == (8, 6), "%s: bit depth %d colour type %d, want 8 and 6" % (name, depth, ctype))
    rep.check(inter == 0, "%s: interlaced" % name)
    rep.check(len(data) < MAX_PNG_BYTES, "%s: %d bytes, limit %d" % (name, len(data), MAX_PNG_BYTES))


def check_alpha(rep, name, camp, a):
    x0, y0, x1, y1 = ALPHA0_BOUND[camp]
    zero = a == 0
    inside = np.zeros_like(zero)
    inside[y0:y1 + 1, x0:x1 + 1] = True
    stray = np.argwhere(zero & ~inside)
    # The rounded outer corners may be transparent: allow alpha 0 only
    # within the corner squares outside the card's rounded outline.
    r = L.CARD_RADIUS
    corner = np.zeros_like(zero)
    for (cx, cy) in ((0, 0), (L.W - r, 0), (0, L.H - r), (L.W - r, L.H - r)):
        corner[cy:cy + r, cx:cx + r] = True
    bad = [tuple(p) for p in stray if not corner[p[0], p[1]]]
    rep.check(not bad, "%s: %d fully transparent pixels outside the window, e.g. (x %s, y %s)" % (
        name, len(bad), bad[0][1] if bad else "", bad[0][0] if bad else ""))
    frac = zero[y0:y1 + 1, x0:x1 + 1].mean()
    rep.check(frac >= 0.70, "%s: window only %.0f%% fully transparent" % (name, 100 * frac))
    partial = int(((a > 0) & (a < 255)).sum())
    rep.check(partial >= 20000, "%s: only %d partly transparent pixels" % (name, partial))
    rep.check(a[L.H // 2, 10] == 255 and a[1000, L.W // 2] == 255 and a[60, L.W // 2] == 255,
              "%s: border, parchment or top bar not opaque" % name)


def contains(outer, inner):
    return outer[0] <= inner[0] and outer[1] <= inner[1] and outer[2] >= inner[2] and outer[3] >= inner[3]


# What the rects of frame-layout.json must at least cover: the bodies of
# the texts that sit on them.
MUST_COVER = dict(L.CANVAS_SEEDS, clear_rect=L.CANVAS_SEEDS["window"])


def check_layout_rects(rep, lay):
    rep.check(contains(lay["window"]["clear_rect"], MUST_COVER["clear_rect"]),
              "window clear_rect %s does not cover %s" % (lay["window"]["clear_rect"], MUST_COVER["clear_rect"]))
    rep.check(contains(lay["ink_band"]["rect"], MUST_COVER["ink_band"]),
              "ink band rect %s does not cover the name at %s" % (lay["ink_band"]["rect"], MUST_COVER["ink_band"]))
    for k, b in enumerate(lay["blots"]):
        want = MUST_COVER["blot%d" % k]
        rep.check(contains(b["rect"], want), "blot %d rect %s does not cover the skill name at %s" % (k, b["rect"], want))
    rep.check(len(lay["blots"]) == 2 and len(lay["gems"]["centres"]) == 4, "want 2 blots and 4 gem slots")
    xs = [x for x, _ in lay["gems"]["centres"]]
    rep.check(min(xs) - 5 > 262 and xs == sorted(xs, reverse=True), "gem slots must lie right of x 262, slot 0 rightmost")


def check_layout_facts(rep, name, camp, health, img, lay):
    for how, resample in RESAMPLERS:
        check_layout_facts_with(rep, "%s (%s)" % (name, how), camp, health, stretched(img, resample), lay)


def check_layout_facts_with(rep, name, camp, health, s, lay):
    rgbs, alpha = s[..., :3], s[..., 3]
    tol = lay["tolerance"]
    cj = lay["camps"][camp]
    for x, y in cj["border_samples"]:
        c = rgbs[int(y), int(x)]
        rep.check(dist(c, cj["border_rgb"]) <= tol and alpha[int(y), int(x)] == 255,
                  "%s: border sample (%s, %s) is %s, want about %s" % (name, x, y, c.astype(int).tolist(), cj["border_rgb"]))
    strip_px = rect_pixels(rgbs, cj["left_strip"]).reshape(-1, 3)
    share = float((np.linalg.norm(strip_px - np.asarray(cj["border_rgb"], float), axis=1) <= tol).mean())
    rep.check(share >= 0.85, "%s: only %.0f%% of the left strip matches the camp colour" % (name, 100 * share))
    strip = strip_px.mean(axis=0)
    own = dist(strip, cj["border_rgb"])
    others = [dist(strip, lay["camps"][o]["border_rgb"]) for o in L.CAMPS if o != camp]
    rep.check(own <= tol and own < min(others),
              "%s: left strip mean %s is not nearest its own camp colour" % (name, strip.astype(int).tolist()))
    g = lay["gems"]
    rad = g["sample_radius"]
    for i, (gx, gy) in enumerate(g["centres"]):
        x, y = int(round(gx)), int(round(gy))
        c = rgbs[y - rad:y + rad + 1, x - rad:x + rad + 1].reshape(-1, 3).mean(axis=0)
        to_gem, to_empty = dist(c, g["gem_rgb"]), dist(c, cj["top_bar_rgb"])
        if i < health:
            ok = to_gem <= tol and to_gem < to_empty
        else:
            ok = to_empty <= tol and to_empty < to_gem
        rep.check(ok, "%s: gem slot %d shows %s (gem %s, empty %s), health %d" % (
            name, i, c.astype(int).tolist(), g["gem_rgb"], cj["top_bar_rgb"], health))
    win = rect_pixels(alpha, lay["window"]["clear_rect"])
    rep.check(win.size > 0 and win.max() == 0, "%s: window clear_rect is not fully transparent" % name)
    band = lay["ink_band"]
    rep.check(rect_pixels(alpha, band["rect"]).min() >= band["min_alpha"]
              and lum(rect_pixels(rgbs, band["rect"])).mean() < 50
              and lum(rect_pixels(rgbs, band["rect"])).max() < 70,
              "%s: ink band rect is not dark and nearly opaque" % name)
    par = rect_pixels(rgbs, lay["parchment"]["rect"])
    rep.check(lum(par).min() > 170 and rect_pixels(alpha, lay["parchment"]["rect"]).min() == 255,
              "%s: parchment rect is not light and opaque" % name)
    for k, b in enumerate(lay["blots"]):
        p = rect_pixels(rgbs, b["rect"]).reshape(-1, 3)
        m = p.mean(axis=0)
        rep.check(m[0] > m[1] + 90 and m[0] > m[2] + 90 and lum(m) < 120,
                  "%s: blot %d mean %s is not a red that white text reads on" % (name, k, m.astype(int).tolist()))
    bar = rect_pixels(rgbs, lay["title_bar"]["rect"])
    rep.check(lum(bar).max() < 90 and rect_pixels(alpha, lay["title_bar"]["rect"]).min() == 255,
              "%s: title bar is not dark and opaque under the title" % name)


def glyph_mask(img):
    """Bright glyph pixels inside the badge disc (image coordinates)."""
    a = np.asarray(img, np.float32)
    cx, cy = L.BADGE_CENTRE
    r = L.BADGE_DISC_R - 3
    crop = a[cy - r:cy + r, cx - r:cx + r]
    yy, xx = np.mgrid[-r:r, -r:r]
    inside = xx * xx + yy * yy < r * r
    return (lum(crop[..., :3]) > 170) & inside, inside


def check_icon(rep, data):
    try:
        _, kind, count = struct.unpack("<HHH", data[:6])
    except struct.error:
        rep.check(False, "tarvokdiy.ico: truncated")
        return
    rep.check(kind == 1 and count == 3, "tarvokdiy.ico: type %d with %d images, want an icon of 3" % (kind, count))
    sizes = []
    for i in range(count):
        w, h, _, _, planes, bpp, n, off = struct.unpack("<BBBBHHII", data[6 + 16 * i:22 + 16 * i])
        w, h = w or 256, h or 256
        sizes.append(w)
        body = data[off:off + n]
        rep.check(bpp == 32 and w == h, "tarvokdiy.ico: entry %d is %dx%d at %d bpp" % (i, w, h, bpp))
        if body[:8] == b"\x89PNG\r\n\x1a\n":
            im = Image.open(io.BytesIO(body)).convert("RGBA")
            rep.check(im.size == (w, w), "tarvokdiy.ico: PNG entry %d has size %s" % (i, im.size))
            alpha = np.asarray(im)[..., 3]
        else:
            hs, bw, bh, _, bbits = struct.unpack("<IiiHH", body[:16])
            rep.check(hs == 40 and bw == w and bh == 2 * w and bbits == 32,
                      "tarvokdiy.ico: entry %d bitmap header %dx%d %d bpp" % (i, bw, bh, bbits))
            px = np.frombuffer(body[40:40 + w * w * 4], np.uint8)
            rep.check(px.size == w * w * 4, "tarvokdiy.ico: entry %d pixel data short" % i)
            alpha = px.reshape(-1, 4)[:, 3] if px.size == w * w * 4 else np.zeros(1)
        opaque = float((alpha == 255).mean())
        rep.check(0.3 < opaque < 0.98 and (alpha == 0).any(),
                  "tarvokdiy.ico: entry %d has %.0f%% opaque pixels, want a shape on transparency" % (i, 100 * opaque))
    rep.check(sorted(sizes) == [16, 32, 64], "tarvokdiy.ico: sizes %s, want 16, 32, 64" % sizes)


def main(argv=None):
    ap = argparse.ArgumentParser(description=__doc__)
    ap.add_argument("--assets", default=os.path.join(ROOT, "assets"))
    ap.add_argument("--no-regen", action="store_true", help="skip the byte-for-byte regeneration check")
    args = ap.parse_args(argv)
    rep = Report()

    try:
        with open(os.path.join(args.assets, "frame-layout.json"), encoding="utf-8") as f:
            lay = json.load(f)
    except (OSError, ValueError) as e:
        rep.check(False, "frame-layout.json: %s" % e)
        lay = None

    if lay:
        check_layout_rects(rep, lay)
    images = {}
    for camp in L.CAMPS:
        for health in L.HEALTHS:
            name = L.frame_name(camp, health)
            try:
                with open(os.path.join(args.assets, name), "rb") as f:
                    data = f.read()
            except OSError as e:
                rep.check(False, "%s: %s" % (name, e))
                continue
            check_png_format(rep, name, data)
            img = Image.open(os.path.join(args.assets, name))
            img.load()
            if not rep.check(img.mode == "RGBA" and img.size == (L.W, L.H), "%s: mode %s size %s" % (name, img.mode, img.size)):
                continue
            images[(camp, health)] = img
            check_alpha(rep, name, camp, np.asarray(img)[..., 3])
            if lay:
                check_layout_facts(rep, name, camp, health, img, lay)

    if lay and len(images) == 6:
        # Camps told apart by the left edge alone, each with its own hue.
        strips = {}
        for camp in L.CAMPS:
            s = stretched(images[(camp, 3)])[..., :3]
            strips[camp] = rect_pixels(s, lay["camps"][camp]["left_strip"]).reshape(-1, 3).mean(axis=0)
            h, sat, v = hue_deg(strips[camp])
            lo, hi = HUE[camp]
            rep.check(lo <= h <= hi and sat > 0.35, "%s: left strip hue %.0f sat %.2f, want hue %d..%d" % (camp, h, sat, lo, hi))
        for i, a in enumerate(L.CAMPS):
            for b in L.CAMPS[i + 1:]:
                rep.check(dist(strips[a], strips[b]) > 80, "left strips of %s and %s too alike" % (a, b))
        # Health only changes the gems.
        gx0 = int(min(L.GEM_XS) - L.GEM_HALF_W - 12)
        gy0, gy1 = L.GEM_Y - L.GEM_HALF_H - 12, L.GEM_Y + L.GEM_HALF_H + 14
        for camp in L.CAMPS:
            d = np.any(np.asarray(images[(camp, 3)]) != np.asarray(images[(camp, 4)]), axis=2)
            ys, xs = np.nonzero(d)
            rep.check(len(ys) > 0 and xs.min() >= gx0 and ys.min() >= gy0 and ys.max() <= gy1,
                      "%s: the 3- and 4-gem frames differ outside the gem row" % camp)
        # Each badge carries its own character.
        masks = {}
        for camp in L.CAMPS:
            m, inside = glyph_mask(images[(camp, 3)])
            masks[camp] = m
            frac = m.sum() / inside.sum()
            rep.check(0.08 < frac < 0.6, "%s: badge glyph covers %.0f%% of the disc" % (camp, 100 * frac))
        for i, a in enumerate(L.CAMPS):
            for b in L.CAMPS[i + 1:]:
                rep.check((masks[a] != masks[b]).mean() > 0.05, "badge glyphs of %s and %s look the same" % (a, b))

    try:
        with open(os.path.join(args.assets, "tarvokdiy.ico"), "rb") as f:
            check_icon(rep, f.read())
    except OSError as e:
        rep.check(False, "tarvokdiy.ico: %s" % e)

    if not args.no_regen:
        with tempfile.TemporaryDirectory() as tmp:
            run = subprocess.run([sys.executable, os.path.join(HERE, "generate.py"), "--out", tmp],
                                 capture_output=True, text=True)
            if rep.check(run.returncode == 0, "generate.py failed: %s" % run.stderr.strip()[-500:]):
                for name in FILES:
                    try:
                        with open(os.path.join(tmp, name), "rb") as f1, open(os.path.join(args.assets, name), "rb") as f2:
                            same = f1.read() == f2.read()
                    except OSError:
                        same = False
                    rep.check(same, "%s: regenerating does not reproduce the committed file" % name)

    print("%d passed, %d failed" % (rep.passed, rep.failed))
    return 1 if rep.failed else 0


if __name__ == "__main__":
    sys.exit(main())
