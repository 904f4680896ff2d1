#!/usr/bin/python3
"""Draws the six card frames, the application icon and frame-layout.json.

    /usr/bin/python3 tools/framegen/generate.py [--out DIR]

Everything is seeded; the same Pillow/numpy/zlib give the same bytes.
"""

import argparse
import io
import json
import math
import os
import re
import struct
import sys

import numpy as np
from PIL import Image, ImageDraw, ImageFont

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

from art import PX, PY, Canvas, Noise, blur, cover, mask, ramp, rgb, sdf_box, shade, shift, smoothstep  # noqa: E402
import layout as L  # noqa: E402

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
FONT_KAI = "/usr/share/fonts/truetype/arphic/ukai.ttc"

# Per camp: frame metal ramp, ornament metal, the dark top bar, badge disc.
PALETTE = {
    "lord": dict(
        dark=(58, 34, 12), base=(176, 124, 54), light=(255, 232, 168),
        orn_dark=(84, 52, 16), orn=(214, 164, 72), orn_light=(255, 244, 196),
        bar=(38, 25, 14), disc=(112, 66, 22), disc_edge=(44, 24, 8),
        glyph=(255, 236, 170)),
    "minister": dict(
        dark=(54, 8, 8), base=(166, 36, 30), light=(255, 168, 140),
        orn_dark=(80, 14, 10), orn=(208, 70, 52), orn_light=(255, 210, 182),
        bar=(44, 13, 12), disc=(126, 22, 18), disc_edge=(46, 6, 6),
        glyph=(255, 232, 196)),
    "commoner": dict(
        dark=(10, 44, 22), base=(50, 124, 66), light=(176, 236, 172),
        orn_dark=(16, 64, 30), orn=(86, 166, 96), orn_light=(214, 255, 206),
        bar=(12, 34, 21), disc=(28, 94, 48), disc_edge=(8, 34, 16),
        glyph=(238, 255, 214)),
}
GEM = dict(table=(226, 34, 50), dark=(92, 6, 20), light=(255, 120, 130))
PARCH = dict(base=(240, 228, 198), burn=(196, 158, 104), fibre=(214, 196, 160))
INK = dict(core=(16, 15, 19), wash=(64, 62, 70))
BLOT = dict(core=(182, 28, 24), pool=(112, 10, 10), wash=(206, 70, 56))


# ---------------------------------------------------------------------------
# Shared, camp-independent pieces (computed once).

class Common:
    def __init__(self):
        n = Noise(1234)
        self.card_sdf = sdf_box(0, 0, L.W, L.H, L.CARD_RADIUS)
        self.card = cover(self.card_sdf)
        self.hole_sdf = sdf_box(*L.HOLE)
        self.hole = cover(self.hole_sdf)
        self.bar_sdf = sdf_box(*L.TOP_BAR, r=10)
        self.parch_sdf = sdf_box(*L.PARCHMENT, r=8)
        self.open_sdf = np.minimum(np.minimum(self.hole_sdf, self.bar_sdf), self.parch_sdf)
        self.mottle = n.fractal(5, 7, 4)
        self.fine = n.fractal(60, 84, 2)
        self.grain = n.pixel()
        self.brush = n.fractal(3, 160, 3)           # long horizontal streaks
        self.fibre = n.fractal(14, 300, 2)
        self.height = self._frame_height(n)
        self.parchment = self._parchment(n)
        self.band_a, self.band_rgb = self._band(n)
        self.blot_a, self.blot_rgb = self._blots(n)
        self.ornaments = self._ornament_mask()
        self.clouds = self._clouds()
        self.parchment *= (1 - 0.07 * self._watermark())[..., None]

    @staticmethod
    def _profile(d):
        """Bead along an edge, a fillet groove inside it, a drop at the edge."""
        return (2.8 * np.exp(-((d - 4.2) / 1.9) ** 2)
                - 1.3 * np.exp(-((d - 10.5) / 1.4) ** 2)
                - 4.0 * (1 - smoothstep(0, 3.2, d)))

    def _frame_height(self, n):
        d_card = -self.card_sdf
        d_open = self.open_sdf
        h = self._profile(d_card) + self._profile(d_open)
        # Studs on the side borders and on the divider.
        for (sx, sy) in self._studs():
            r = np.hypot(PX - sx, PY - sy)
            h += 3.2 * np.sqrt(np.clip(1 - (r / 6.5) ** 2, 0, 1))
            h -= 0.9 * np.exp(-((r - 8.5) / 1.0) ** 2)
        h += 0.12 * self.fine + 0.10 * blur(self.brush, 1)
        return h.astype(np.float32)

    @staticmethod
    def _studs():
        out = []
        for y in (300, 560):
            out.append((18.5, y))
            out.append((L.W - 18.5, y))
        return out

    def _parchment(self, n):
        d_in = -self.parch_sdf
        burn_edge = smoothstep(26, 0, d_in + 5 * blur(self.mottle, 2))
        colour = ramp(np.zeros_like(d_in), [(0, PARCH["base"])])
        colour *= (1 + 0.03 * self.mottle)[..., None]
        colour = colour * (1 - 0.55 * burn_edge[..., None]) + rgb(PARCH["burn"]) * (0.55 * burn_edge[..., None])
        fib = np.clip(self.fibre, 0, None) * 0.5
        colour = colour * (1 - 0.10 * fib[..., None]) + rgb(PARCH["fibre"]) * (0.10 * fib[..., None])
        colour += (1.6 * self.grain)[..., None]
        # Faint stains.
        stain = smoothstep(0.8, 1.6, n.fractal(4, 3, 3))
        colour *= (1 - 0.05 * stain)[..., None]
        # The lip above casts a soft shadow onto the top and left of the panel.
        x0, y0, x1, y1 = L.PARCHMENT
        lip = sdf_box(x0 + 3, y0 + 4, x1 + 3, y1 + 4, 8)
        shadow = np.clip((lip + 9) / 9, 0, 1) ** 2 * 0.35
        colour *= (1 - shadow)[..., None]
        return colour

    def _band(self, n):
        x0, y0, x1, y1 = L.BAND_CORE
        top_n = n.value(14, 1, L.W, 1)[0]
        bot_n = n.value(14, 1, L.W, 1)[0]
        bristle = np.clip(n.fractal(3, 150, 3), -2.2, 2.2)
        # Run-out of the brush towards the right border.
        p = np.clip((PX - x1) / 115.0, 0, 1)
        mid = (y0 + y1) / 2 + 8 * p ** 2
        half = (y1 - y0) / 2 * (1 - 0.35 * p ** 1.5)
        top = np.maximum(y0 + 5 * top_n[None, :], mid - half)
        bot = np.minimum(y1 + 5 * bot_n[None, :], mid + half)
        d = np.maximum(top - PY, PY - bot)
        # Frayed along the brush direction more than across it.
        d += 1.4 * n.fractal(30, 40, 3) + 3.5 * n.fractal(6, 90, 3) + 1.0 * self.fine
        a = smoothstep(3.5, -3.5, d)
        # Hairline gaps left by single bristles near the stroke's edges.
        hair = np.clip(n.fractal(5, 260, 2), -2.5, 2.5)
        a *= smoothstep(-0.25, 0.25, hair + 1.1 - 0.22 * d)
        # Ink bleeding into the paper: a pale, soft halo outside the edge.
        a = np.maximum(a, 0.28 * smoothstep(16, -1, d + 3 * n.fractal(12, 20, 2)))
        # Left end soft and ragged.
        a *= smoothstep(30, 52, PX + 6 * n.fractal(2, 40, 2))
        # Bristle gaps open one by one as the ink runs out.
        a *= smoothstep(-0.3, 0.3, bristle + 2.5 - 4.6 * p)
        a *= 1 - 0.04 * np.clip(-bristle - 0.8, 0, 2)
        a *= 0.965 + 0.02 * blur(self.mottle, 3)
        a = np.clip(a, 0, 0.985)
        t = np.clip(a / 0.9, 0, 1) ** 0.6
        colour = rgb(INK["wash"]) * (1 - t[..., None]) + rgb(INK["core"]) * t[..., None]
        colour += (4 * bristle + 3 * self.mottle)[..., None]
        return a.astype(np.float32), colour

    def _blots(self, n):
        alpha = np.zeros((L.H, L.W), np.float32)
        pool = np.zeros((L.H, L.W), np.float32)
        bristle = np.clip(n.fractal(3, 220, 3), -2.2, 2.2)
        for k, (x0, y0, x1, y1) in enumerate(L.BLOTS):
            cx, cy = (x0 + x1) / 2, (y0 + y1) / 2
            rx, ry = (x1 - x0) / 2 + 4, (y1 - y0) / 2 + 5
            wx, wy = 3 * n.fractal(5, 7, 3), 4 * n.fractal(5, 7, 3)
            # Pressed down blunt on the right, dragged out dry to the left.
            rxs = np.where(PX < cx, rx * 1.3, rx)
            ex = np.abs((PX + wx - cx) / rxs)
            ey = np.abs((PY + wy - cy) / ry)
            e = (ex ** 2.4 + ey ** 2.4) ** (1 / 2.4)
            d = (e - 1) * ry
            d += 2.2 * n.fractal(24, 30, 3) + 1.2 * n.fractal(70, 90, 2)
            a = smoothstep(1.6, -1.6, d)
            p = np.clip(((cx - 0.72 * rx) - PX) / (0.62 * rx), 0, 1)
            a *= smoothstep(-0.25, 0.25, bristle + 2.5 - 4.4 * p)
            # A few drops flicked off to the left, above and below.
            rng = np.random.RandomState(77 + k)
            for _ in range(4):
                ang = rng.uniform(-0.4 * math.pi, 0.4 * math.pi) + rng.choice([0.0, -0.55 * math.pi, 0.55 * math.pi])
                dist = rng.uniform(1.12, 1.32)
                sx = cx + math.cos(ang) * rx * dist * 0.9
                sy = cy + math.sin(ang) * ry * dist
                sr = rng.uniform(1.2, 3.2)
                a = np.maximum(a, smoothstep(sr + 1, sr - 1, np.hypot(PX - sx, PY - sy)))
            alpha = np.maximum(alpha, a)
            pool = np.maximum(pool, np.exp(-((d + 2.5) / 2.2) ** 2) * (d < 2) * (1 - p))
        gran = blur(self.grain, 1)
        colour = rgb(BLOT["core"]) * np.ones((L.H, L.W, 1), np.float32)
        colour *= (1 + 0.07 * self.mottle + 0.06 * gran + 0.04 * bristle)[..., None]
        colour = colour * (1 - 0.55 * pool[..., None]) + rgb(BLOT["pool"]) * (0.55 * pool[..., None])
        alpha = np.clip(alpha * (0.95 + 0.04 * gran), 0, 1)
        return alpha, colour

    @staticmethod
    def _cloud(d, ss, ox, oy, cx, cy, k, w):
        """One cloud scroll: curling arcs over a level stroke, scale k."""
        w = max(1, int(w * ss))
        for (dx, dy, r, a0, a1) in ((0, 0, 15, 180, 450), (0, 0, 8, 180, 400),
                                    (27, 4, 11, 200, 520), (-25, 5, 10, 20, 340)):
            qx, qy = (cx + k * dx - ox) * ss, (cy + k * dy - oy) * ss
            rr = k * r * ss
            d.arc([qx - rr, qy - rr, qx + rr, qy + rr], a0, a1, fill=255, width=w)
        qx, qy = (cx - k * 40 - ox) * ss, (cy + k * 12 - oy) * ss
        d.line([qx, qy, qx + k * 80 * ss, qy], fill=255, width=w)

    def _clouds(self):
        """Faint cloud scrolls woven into the top bar."""
        x0, y0, x1, y1 = L.TOP_BAR

        def draw(d, ss, ox, oy):
            for i, cx in enumerate(range(x0 + 120, x1 - 20, 74)):
                self._cloud(d, ss, ox, oy, cx, (y0 + y1) / 2 + (12 if i % 2 else -12), 1.0, 1.6)
        return mask(draw, L.TOP_BAR) * cover(self.bar_sdf + 9)

    def _watermark(self):
        """A large, faint cloud pressed into the parchment's lower right."""
        def draw(d, ss, ox, oy):
            self._cloud(d, ss, ox, oy, 560, 930, 2.6, 3.2)
            self._cloud(d, ss, ox, oy, 420, 985, 1.7, 2.4)
        return blur(mask(draw, L.PARCHMENT), 1) * cover(self.parch_sdf + 20)

    def _ornament_mask(self):
        """Corner fittings: at the card's lower corners, the window's right
        corners and the parchment's corners."""
        def bracket(draw, ss, ox, oy, cx, cy, sx, sy, arm, t):
            def P(x, y):
                return ((cx + sx * x - ox) * ss, (cy + sy * y - oy) * ss)
            poly = [P(0, 0), P(arm, 0), P(arm - t, t), P(t, t), P(t, arm - t), P(0, arm)]
            draw.polygon(poly, fill=255)
            # Square spiral at the corner.
            s = t * 2.6
            for (a, b, c2, d2) in ((t * 1.6, t * 1.6, t * 1.6 + s, t * 1.6 + s * 0.35),
                                   (t * 1.6, t * 1.6, t * 1.6 + s * 0.35, t * 1.6 + s)):
                xa, xb = sorted((P(a, b)[0], P(c2, d2)[0]))
                ya, yb = sorted((P(a, b)[1], P(c2, d2)[1]))
                draw.rectangle([xa, ya, xb, yb], fill=255)
            # Diamond and ball finials.
            dcx, dcy = t * 1.6 + s * 0.75, t * 1.6 + s * 0.75
            r = t * 0.9
            draw.polygon([P(dcx, dcy - r), P(dcx + r, dcy), P(dcx, dcy + r), P(dcx - r, dcy)], fill=255)
            for (x, y) in ((arm + t * 0.2, t * 0.5), (t * 0.5, arm + t * 0.2)):
                qx, qy = P(x, y)
                rr = t * 0.75 * ss
                draw.ellipse([qx - rr, qy - rr, qx + rr, qy + rr], fill=255)

        specs = []
        px0, py0, px1, py1 = L.PARCHMENT
        hx0, hy0, hx1, hy1 = L.HOLE
        specs += [(px0 + 1, py0 + 1, 1, 1, 40, 5), (px1 - 1, py0 + 1, -1, 1, 40, 5),
                  (px0 + 1, py1 - 1, 1, -1, 40, 5), (px1 - 1, py1 - 1, -1, -1, 40, 5)]
        specs += [(hx1, hy0, -1, 1, 46, 6), (hx1, hy1, -1, -1, 40, 6)]

        def crest(draw, ss, ox, oy, cx, cy, sy):
            """A lozenge medallion with a bead, flanked by bars and finials."""
            def P(x, y):
                return ((cx + x - ox) * ss, (cy + sy * y - oy) * ss)

            def disc(x, y, r):
                qx, qy = P(x, y)
                draw.ellipse([qx - r * ss, qy - r * ss, qx + r * ss, qy + r * ss], fill=255)
            for x in (-44, 44):
                draw.polygon([P(x * 0.4, 2), P(x, 0.5), P(x * 1.1, 3), P(x, 5.5), P(x * 0.4, 4)], fill=255)
                disc(x * 1.18, 3, 2.6)
            draw.polygon([P(-21, 4), P(0, -8), P(21, 4), P(0, 16)], fill=255)
            draw.polygon([P(-14, 4), P(0, -3.5), P(14, 4), P(0, 11.5)], fill=0)
            disc(0, 4, 4.2)

        def draw_all(draw, ss, ox, oy):
            for cx, cy, sx, sy, arm, t in specs:
                bracket(draw, ss, ox, oy, cx, cy, sx, sy, arm, t)
            crest(draw, ss, ox, oy, L.W / 2, 9, 1)
            crest(draw, ss, ox, oy, L.W / 2, L.H - 9, -1)
        m = mask(draw_all)
        # Keep the outer fittings inside the card's rounded outline.
        return m * cover(self.card_sdf + 2.0)


# ---------------------------------------------------------------------------
# Camp-dependent drawing.

def metal(diffuse, gloss, pal, kind="frame", noise=None):
    if kind == "orn":
        stops = [(0.0, pal["orn_dark"]), (1.0, pal["orn"]), (1.75, pal["orn_light"])]
    else:
        stops = [(0.0, pal["dark"]), (1.0, pal["base"]), (1.75, pal["light"])]
    col = ramp(diffuse, stops)
    if noise is not None:
        col *= (1 + noise)[..., None]
    col += (gloss * 230)[..., None]
    return col


def draw_frame(cm, pal, camp):
    cv = Canvas()
    diffuse, gloss = shade(cm.height, 0.9)
    body = metal(diffuse, gloss, pal, noise=0.06 * cm.mottle + 0.012 * cm.brush)
    # A bright inlaid fillet around every opening, a dark line round the card.
    fillet = cover(np.abs(cm.open_sdf - 7.6) - 0.7) * (cm.open_sdf > 0) * 0.45
    body = body * (1 - fillet[..., None]) + rgb(pal["orn_light"]) * fillet[..., None]
    edge = smoothstep(2.2, 0.4, -cm.card_sdf) * 0.6
    body *= (1 - edge)[..., None]
    # Panels: dark top bar, parchment.
    inside_bar = cover(cm.bar_sdf)
    bar = rgb(pal["bar"]) * np.ones((L.H, L.W, 1), np.float32)
    x0, y0, x1, y1 = L.TOP_BAR
    grad = 1.25 - 0.45 * np.clip((PY - y0) / (y1 - y0), 0, 1)
    bar *= (grad + 0.05 * cm.mottle + 0.04 * cm.brush)[..., None]
    lip = sdf_box(x0 + 3, y0 + 4, x1 + 3, y1 + 4, 10)
    bar *= (1 - np.clip((lip + 8) / 8, 0, 1) ** 2 * 0.45)[..., None]
    bar = bar * (1 - cm.clouds[..., None] * 0.08) + rgb(pal["orn"]) * (cm.clouds[..., None] * 0.08)
    # A thin inlaid line just inside the bar.
    inlay = cover(np.abs(cm.bar_sdf + 6.0) - 0.8) * 0.75
    bar = bar * (1 - inlay[..., None]) + rgb(pal["orn"]) * inlay[..., None]
    body = body * (1 - inside_bar[..., None]) + bar * inside_bar[..., None]
    inside_parch = cover(cm.parch_sdf)
    body = body * (1 - inside_parch[..., None]) + cm.parchment * inside_parch[..., None]
    # Printed double rule just inside the parchment.
    rule = cover(np.abs(cm.parch_sdf + 11) - 0.9) * 0.55 + cover(np.abs(cm.parch_sdf + 15) - 0.45) * 0.35
    rule *= inside_parch
    body = body * (1 - rule[..., None]) + rgb((142, 104, 58)) * rule[..., None]
    cv.over(np.clip(body, 0, 255), cm.card * (1 - cm.hole))

    # Soft shade inside the window edges, deeper at the top and left.
    hx0, hy0, hx1, hy1 = L.HOLE
    inner = sdf_box(hx0 + 3, hy0 + 4, hx1 + 2, hy1 + 3)
    ish = np.clip((inner + 12) / 12, 0, 1) ** 2.2 * 0.55 * cm.hole
    cv.over((0, 0, 0), ish)

    cv.over(cm.band_rgb, cm.band_a)
    cv.over(cm.blot_rgb, cm.blot_a)
    lay_metal_piece(cv, cm.ornaments, pal, cm)
    return cv


def lay_metal_piece(cv, m, pal, cm, height=4.0, shadow=(3, 4, 3, 0.55)):
    dx, dy, r, op = shadow
    cv.over((0, 0, 0), blur(shift(m, dx, dy), r) * op)
    h = blur(m, 1) * height * 0.6 + blur(m, 2) * height * 0.6 + 0.15 * cm.fine
    d, s = shade(h, 1.0)
    col = metal(d, s, pal, kind="orn", noise=0.04 * cm.mottle)
    cv.over(np.clip(col, 0, 255), m)


def draw_gems(cv, health, cm):
    for i in range(health):
        gx, gy = L.GEM_XS[i], L.GEM_Y
        hw, hh = L.GEM_HALF_W, L.GEM_HALF_H
        ss = 8
        bx0, by0 = gx - hw - 6, gy - hh - 6
        bw, bh = 2 * hw + 12, 2 * hh + 12
        col_im = Image.new("RGB", (bw * ss, bh * ss), 0)
        m_im = Image.new("L", (bw * ss, bh * ss), 0)
        dc, dm = ImageDraw.Draw(col_im), ImageDraw.Draw(m_im)

        def P(x, y):
            return ((gx + x - bx0) * ss, (gy + y - by0) * ss)
        outer = [(0, -hh), (hw, -hh * 0.42), (hw, hh * 0.42), (0, hh), (-hw, hh * 0.42), (-hw, -hh * 0.42)]
        rim = [(x * 1.2, y * 1.09) for x, y in outer]
        # Gold setting.
        dm.polygon([P(*p) for p in rim], fill=255)
        dc.polygon([P(*p) for p in rim], fill=(150, 104, 36))
        rim2 = [(x * 1.12, y * 1.05) for x, y in outer]
        dc.polygon([P(*p) for p in rim2], fill=(246, 206, 112))
        table = [(x * 0.46, y * 0.46 - 1.5) for x, y in outer]
        g = GEM
        lx, ly = -0.55, -0.8
        for k in range(6):
            a, b = outer[k], outer[(k + 1) % 6]
            ta, tb = table[k], table[(k + 1) % 6]
            mx, my = (a[0] + b[0]) / 2, (a[1] + b[1]) / 2
            ln = math.hypot(mx, my) or 1
            lit = (mx * lx + my * ly) / ln
            t = 0.5 + 0.5 * lit
            colour = tuple(int(g["dark"][c] + (g["light"][c] - g["dark"][c]) * t) for c in range(3))
            dc.polygon([P(*a), P(*b), P(*tb), P(*ta)], fill=colour)
        dc.polygon([P(*p) for p in table], fill=g["table"])
        # Facet edges catch light.
        for k in range(6):
            dc.line([P(*outer[k]), P(*table[k])], fill=(255, 150, 160), width=ss // 2)
        # Sparkle.
        sx, sy = P(-hw * 0.42, -hh * 0.45)
        for (ax, ay, ln) in ((1, 0, 5.5), (0, 1, 7.5)):
            dc.polygon([(sx - ax * ln * ss, sy - ay * ln * ss), (sx + ay * ss * 0.9, sy + ax * ss * 0.9),
                        (sx + ax * ln * ss, sy + ay * ln * ss), (sx - ay * ss * 0.9, sy - ax * ss * 0.9)],
                       fill=(255, 244, 240))
        pc = np.zeros((L.H, L.W, 3), np.float32)
        pa = np.zeros((L.H, L.W), np.float32)
        pc[by0:by0 + bh, bx0:bx0 + bw] = np.asarray(col_im.reduce(ss), np.float32) / 255
        pa[by0:by0 + bh, bx0:bx0 + bw] = np.asarray(m_im.reduce(ss), np.float32) / 255
        cv.over((0, 0, 0), blur(shift(pa, 2, 3), 2) * 0.6)
        cv.over_premul(pc * pa[..., None] / np.maximum(pa, 1e-6)[..., None] * 1.0, pa)


def draw_badge(cv, camp, pal, cm):
    cx, cy = L.BADGE_CENTRE
    R, Rd = L.BADGE_R, L.BADGE_DISC_R
    dx, dy = PX - cx, PY - cy
    r = np.hypot(dx, dy)
    th = np.arctan2(dy, dx)
    outer = cover(r - R)
    cv.over((0, 0, 0), blur(shift(outer, 4, 6), 4) * 0.6)

    # Ring: a rounded torus with studs, plus a sharp inner step.
    t = np.clip((r - Rd) / (R - Rd), 0, 1)
    h = 6.0 * np.clip(np.sin(np.pi * t), 0, 1) ** 0.7 * (r <= R) * (r >= Rd)
    n_studs = 16
    for k in range(n_studs):
        a = 2 * math.pi * k / n_studs + math.pi / n_studs
        sx, sy = cx + math.cos(a) * (Rd + R) / 2, cy + math.sin(a) * (Rd + R) / 2
        q = np.hypot(PX - sx, PY - sy)
        h += 2.6 * np.sqrt(np.clip(1 - (q / 3.6) ** 2, 0, 1))
    # Disc: recessed, with the embossed character.
    font = ImageFont.truetype(FONT_KAI, 82 * 4, index=0)
    ch = L.CHARACTER[camp]

    def glyph(draw, ss, ox, oy):
        bx = font.getbbox(ch)
        gw, gh = bx[2] - bx[0], bx[3] - bx[1]
        draw.text(((cx - ox) * ss - gw / 2 - bx[0], (cy - oy + 1) * ss - gh / 2 - bx[1]), ch, font=font, fill=255,
                  stroke_width=ss, stroke_fill=255)
    gm = mask(glyph, (cx - Rd, cy - Rd, cx + Rd, cy + Rd))
    gm *= cover(r - Rd + 2)
    hd = -2.5 + 2.8 * blur(gm, 1)
    disc_in = cover(r - Rd)
    h = h * (1 - disc_in) + hd * disc_in
    diffuse, gloss = shade(h, 1.1)
    # Brushed, turned metal: the reflections swing round the ring.
    swing = 0.42 * np.cos(2 * (th + 0.9)) + 0.16 * np.cos(6 * th + 0.4)
    ring = metal(diffuse + swing, gloss, pal, kind="orn", noise=0.03 * cm.fine)
    # Disc colour: radial glow, darker to the rim, with its own shadow line.
    g = np.clip(r / Rd, 0, 1)
    disc = rgb(pal["disc"]) * (1 - g[..., None] ** 1.6) + rgb(pal["disc_edge"]) * (g[..., None] ** 1.6)
    disc *= (1 + 0.06 * cm.mottle)[..., None]
    disc_shadow = np.clip((np.hypot(dx - 3, dy - 4) - Rd + 10) / 10, 0, 1) ** 2 * 0.5
    disc *= (1 - disc_shadow)[..., None]
    # The character: drop shadow, then the embossed face.
    gshadow = blur(shift(gm, 2, 3), 1) * 0.7
    disc *= (1 - gshadow)[..., None]
    face = ramp(diffuse, [(0, tuple(c * 0.55 for c in pal["glyph"])), (1, pal["glyph"]), (1.6, (255, 255, 250))])
    face *= (1.06 - 0.2 * np.clip((PY - (cy - Rd)) / (2 * Rd), 0, 1))[..., None]
    disc = disc * (1 - gm[..., None]) + face * gm[..., None]
    colour = ring * (1 - disc_in[..., None]) + disc * disc_in[..., None]
    colour *= (1 - smoothstep(R - 2.5, R - 0.3, r) * 0.55)[..., None]
    cv.over(np.clip(colour, 0, 255), outer)


def frame_image(cm, camp, health):
    pal = PALETTE[camp]
    cv = draw_frame(cm, pal, camp)
    draw_gems(cv, health, cm)
    draw_badge(cv, camp, pal, cm)
    return cv.image()


# ---------------------------------------------------------------------------
# Icon: a gold-rimmed card with a red gem, three sizes, 32-bit BMP entries.

def icon_image(size):
    ss = 8
    S = size * ss
    col = Image.new("RGB", (S, S), 0)
    m = Image.new("L", (S, S), 0)
    dc, dm = ImageDraw.Draw(col), ImageDraw.Draw(m)
    u = S / 64.0

    def box(x0, y0, x1, y1):
        return [x0 * u, y0 * u, x1 * u, y1 * u]
    if size > 16:
        # A second card behind, fanned out to the right.
        dm.rounded_rectangle(box(20, 2, 60, 56), radius=6 * u, fill=255)
        dc.rounded_rectangle(box(20, 2, 60, 56), radius=6 * u, fill=(120, 24, 20))
        dc.rounded_rectangle(box(23, 5, 57, 53), radius=4 * u, fill=(176, 40, 32))
        fx0, fy0, fx1, fy1, gx, gy, gw, gh = 4, 8, 46, 62, 25, 35, 11, 17
        b1, b2 = 2, 5
    else:
        # Too small for two cards: one card on whole pixels, a bigger gem.
        fx0, fy0, fx1, fy1, gx, gy, gw, gh = 8, 0, 56, 64, 32, 32, 12, 20
        b1, b2 = 4, 8
    dm.rounded_rectangle(box(fx0, fy0, fx1, fy1), radius=6 * u, fill=255)
    dc.rounded_rectangle(box(fx0, fy0, fx1, fy1), radius=6 * u, fill=(120, 80, 26))
    dc.rounded_rectangle(box(fx0 + b1, fy0 + b1, fx1 - b1, fy1 - b1), radius=5 * u, fill=(222, 176, 84))
    dc.rounded_rectangle(box(fx0 + b2, fy0 + b2, fx1 - b2, fy1 - b2), radius=3 * u, fill=(40, 26, 14))
    dc.polygon([(gx * u, (gy - gh) * u), ((gx + gw) * u, gy * u), (gx * u, (gy + gh) * u), ((gx - gw) * u, gy * u)],
               fill=(214, 30, 46))
    dc.polygon([(gx * u, (gy - gh) * u), ((gx + gw) * u, gy * u), (gx * u, gy * u)], fill=(150, 12, 28))
    dc.polygon([(gx * u, (gy - gh) * u), ((gx - gw) * u, gy * u), (gx * u, gy * u)], fill=(255, 110, 120))
    dc.polygon([(gx * u, (gy + gh) * u), ((gx + gw) * u, gy * u), (gx * u, gy * u)], fill=(110, 8, 20))
    if size >= 32:
        r = 3 * u
        sx, sy = (gx - 4) * u, (gy - 6) * u
        dc.ellipse([sx - r, sy - r, sx + r, sy + r], fill=(255, 236, 236))
    c = np.asarray(col.reduce(ss), np.float32)
    a = np.asarray(m.reduce(ss), np.float32)
    safe = np.where(a > 0, a, 255)
    c = np.clip(np.round(c * 255 / safe[..., None]), 0, 255).astype(np.uint8)
    c[a == 0] = 0
    return np.dstack([c, a.astype(np.uint8)])


def ico_bytes(sizes=(64, 32, 16)):
    blobs = []
    for s in sizes:
        px = icon_image(s)
        bgra = px[::-1, :, [2, 1, 0, 3]].tobytes()
        row = ((s + 31) // 32) * 4
        andmask = bytearray()
        for y in range(s - 1, -1, -1):
            line = bytearray(row)
            for x in range(s):
                if px[y, x, 3] == 0:
                    line[x // 8] |= 0x80 >> (x % 8)
            andmask += line
        hdr = struct.pack("<IiiHHIIiiII", 40, s, 2 * s, 1, 32, 0, len(bgra) + len(andmask), 0, 0, 0, 0)
        blobs.append(hdr + bgra + bytes(andmask))
    out = struct.pack("<HHH", 0, 1, len(sizes))
    offset = 6 + 16 * len(sizes)
    for s, b in zip(sizes, blobs):
        out += struct.pack("<BBBBHHII", s % 256, s % 256, 0, 0, 1, 32, len(b), offset)
        offset += len(b)
    return out + b"".join(blobs)


# ---------------------------------------------------------------------------
# Layout facts for pixel tests, in canvas coordinates.

def c_pt(x, y):
    return [round(x * L.SX, 1), round(y * L.SY, 1)]


def stretched(img):
    """The frame on the canvas after an averaging stretch."""
    return np.asarray(img.resize((L.CW, L.CH), Image.BILINEAR), np.float32)


def lum(v):
    return 0.299 * v[..., 0] + 0.587 * v[..., 1] + 0.114 * v[..., 2]


def grow_rect(seed, bad, limit):
    """Grow a canvas rect from seed, one side at a time, for as long as the
    new edge line holds no bad pixel and stays within limit."""
    x0, y0, x1, y1 = seed
    if bad[y0:y1 + 1, x0:x1 + 1].any():
        return list(seed)
    lx0, ly0, lx1, ly1 = limit
    moved = True
    while moved:
        moved = False
        if y0 > ly0 and not bad[y0 - 1, x0:x1 + 1].any():
            y0, moved = y0 - 1, True
        if x1 < lx1 and not bad[y0:y1 + 1, x1 + 1].any():
            x1, moved = x1 + 1, True
        if y1 < ly1 and not bad[y1 + 1, x0:x1 + 1].any():
            y1, moved = y1 + 1, True
        if x0 > lx0 and not bad[y0:y1 + 1, x0 - 1].any():
            x0, moved = x0 - 1, True
    return [int(v) for v in (x0, y0, x1, y1)]


def region(arr, r):
    x0, y0, x1, y1 = r
    return arr[y0:y1 + 1, x0:x1 + 1]


def layout_json(images):
    views = {k: stretched(v) for k, v in images.items()}
    # Rects must hold however the platform stretches: grow them against the
    # averaging and the point-sampling views alike.
    views_all = dict(views)
    views_all.update({(k, "point"): L.stretch_point_bilinear(v) for k, v in images.items()})
    camps = {}
    left = [[8, y] for y in (70, 110, 150, 200, 250, 290, 360, 400, 440, 470)]
    right = [[L.CW - 9, y] for y in (80, 200, 290, 380, 440)]
    for ci, camp in enumerate(L.CAMPS):
        pal = PALETTE[camp]
        v3 = views_all[((camp, 3), "point")]
        vals = np.array([v3[int(y), int(x), :3] for x, y in left + right])
        gx, gy = c_pt(L.GEM_XS[3], L.GEM_Y)
        camps[camp] = {
            "index": ci,
            "character": L.CHARACTER[camp],
            "files": {"3": L.frame_name(camp, 3), "4": L.frame_name(camp, 4)},
            "border_rgb": [int(round(v)) for v in vals.mean(axis=0)],
            "border_samples": left + right,
            "left_strip": [5, 64, 12, 482],
            "top_bar_rgb": [int(round(v)) for v in v3[int(round(gy)), int(round(gx)), :3]],
            "badge_disc_rgb": list(pal["disc"]),
            "badge_glyph_rgb": list(pal["glyph"]),
        }
    alpha_all = np.max([v[..., 3] for v in views_all.values()], axis=0)
    alpha_min = np.min([v[..., 3] for v in views_all.values()], axis=0)
    cx, cy = L.BADGE_CENTRE
    gc = [c_pt(x, L.GEM_Y) for x in L.GEM_XS]
    v4 = views_all[(("lord", 4), "point")]
    gvals = np.array([v4[int(round(y)) - 1:int(round(y)) + 2, int(round(x)) - 1:int(round(x)) + 2, :3].reshape(-1, 3).mean(axis=0)
                      for x, y in gc])
    hole = L.rect_to_canvas_inner(L.HOLE)
    seeds = L.CANVAS_SEEDS
    clear = grow_rect(seeds["window"], alpha_all > 0, hole)
    # The band lies partly over the window, partly over the metal below it:
    # where white text reads it is both nearly opaque and dark.
    band_bad = (alpha_min < 215) | np.any([lum(v) > 60 for v in views_all.values()], axis=0)
    band = grow_rect(seeds["ink_band"], band_bad, L.rect_to_canvas_inner(L.BAND_CORE))
    not_red = np.any([(v[..., 0] < v[..., 1] + 80) | (v[..., 3] < 255) for v in views_all.values()], axis=0)
    blots = [{"rect": grow_rect(seeds["blot%d" % k], not_red, L.rect_to_canvas_inner(b, -4)), "rgb": list(BLOT["core"])}
             for k, b in enumerate(L.BLOTS)]
    data = {
        "about": "Card frame facts in canvas pixels (336 x 487; the 741 x 1039 frame image stretched). "
                 "Points are [x, y], rects [x0, y0, x1, y1] with inclusive ends, colours RGB. "
                 "Gem slot i shows a gem iff i < health; slot 0 is the rightmost. "
                 "A colour matches when its distance to the listed one is at most tolerance.",
        "canvas_size": [L.CW, L.CH],
        "image_size": [L.W, L.H],
        "tolerance": 48,
        "camps": camps,
        "badge": {
            "centre": c_pt(cx, cy),
            "radius": round(L.BADGE_R * min(L.SX, L.SY), 1),
            "radius_xy": [round(L.BADGE_R * L.SX, 1), round(L.BADGE_R * L.SY, 1)],
            "disc_radius": round(L.BADGE_DISC_R * min(L.SX, L.SY), 1),
        },
        "gems": {
            "centres": gc,
            "sample_radius": 1,
            "gem_rgb": [int(round(v)) for v in gvals.mean(axis=0)],
            "empty": "no gem: an empty slot shows the camp's top_bar_rgb",
        },
        "window": {"rect": hole, "clear_rect": clear},
        "ink_band": {"rect": band, "rgb": list(INK["core"]), "min_alpha": 215},
        "parchment": {"rect": L.rect_to_canvas_inner((190, 960, 650, 1004)), "rgb": list(PARCH["base"])},
        "blots": blots,
        "title_bar": {"rect": L.rect_to_canvas_inner((190, 46, 574, 108))},
    }
    return data


def dump_json(data):
    """Indented JSON with short lists of numbers kept on one line."""
    text = json.dumps(data, ensure_ascii=False, indent=1)
    return re.sub(r"\[\s*(-?[\d.]+(?:,\s*-?[\d.]+)*)\s*\]",
                  lambda m: "[" + ", ".join(x.strip() for x in m.group(1).split(",")) + "]", text) + "\n"


def png_bytes(img):
    buf = io.BytesIO()
    img.save(buf, "PNG", compress_level=9)
    return buf.getvalue()


def main(argv=None):
    ap = argparse.ArgumentParser(description=__doc__)
    ap.add_argument("--out", default=os.path.join(ROOT, "assets"))
    args = ap.parse_args(argv)
    os.makedirs(args.out, exist_ok=True)
    cm = Common()
    images = {}
    for camp in L.CAMPS:
        for health in L.HEALTHS:
            img = frame_image(cm, camp, health)
            images[(camp, health)] = img
            with open(os.path.join(args.out, L.frame_name(camp, health)), "wb") as f:
                f.write(png_bytes(img))
    with open(os.path.join(args.out, "tarvokdiy.ico"), "wb") as f:
        f.write(ico_bytes())
    with open(os.path.join(args.out, "frame-layout.json"), "w", encoding="utf-8") as f:
        f.write(dump_json(layout_json(images)))


if __name__ == "__main__":
    main()
