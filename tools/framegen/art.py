"""Small raster toolkit for the frame generator: signed distances, blurs,
value noise, height-map shading and premultiplied compositing, all on
float32 numpy arrays of the full frame size."""

import math

import numpy as np
from PIL import Image, ImageDraw

from layout import W, H

_yy, _xx = np.mgrid[0:H, 0:W].astype(np.float32)
PX = _xx + 0.5
PY = _yy + 0.5

# Light from the top left, viewer straight above.
_L = np.array([-0.5, -0.65, 0.9], dtype=np.float32)
_L /= np.linalg.norm(_L)
_HV = _L + np.array([0, 0, 1], dtype=np.float32)
_HV /= np.linalg.norm(_HV)


def sdf_box(x0, y0, x1, y1, r=0.0, px=None, py=None):
    """Signed distance to a (rounded) box; negative inside."""
    px = PX if px is None else px
    py = PY if py is None else py
    cx, cy = (x0 + x1) / 2.0, (y0 + y1) / 2.0
    hx, hy = (x1 - x0) / 2.0 - r, (y1 - y0) / 2.0 - r
    qx = np.abs(px - cx) - hx
    qy = np.abs(py - cy) - hy
    out = np.hypot(np.maximum(qx, 0), np.maximum(qy, 0))
    return (out + np.minimum(np.maximum(qx, qy), 0) - r).astype(np.float32)


def cover(d, soft=1.0):
    """Coverage of the inside of a signed distance field, anti-aliased."""
    return np.clip(0.5 - d / soft, 0.0, 1.0).astype(np.float32)


def smoothstep(e0, e1, x):
    t = np.clip((x - e0) / (e1 - e0), 0.0, 1.0)
    return (t * t * (3 - 2 * t)).astype(np.float32)


def _box1(a, r, axis):
    k = 2 * r + 1
    pad = [(0, 0), (0, 0)]
    pad[axis] = (r + 1, r)
    c = np.cumsum(np.pad(a, pad, mode="edge"), axis=axis, dtype=np.float64)
    if axis == 0:
        return (c[k:] - c[:-k]) / k
    return (c[:, k:] - c[:, :-k]) / k


def blur(a, r):
    """About a Gaussian of sigma ~ r*0.8: three box passes."""
    r = int(r)
    if r <= 0:
        return a
    out = a.astype(np.float64)
    for _ in range(3):
        out = _box1(_box1(out, r, 0), r, 1)
    return out.astype(np.float32)


def shift(a, dx, dy):
    """Move an array by whole pixels, filling with zeros."""
    out = np.zeros_like(a)
    h, w = a.shape
    xs, xd = (0, dx) if dx >= 0 else (-dx, 0)
    ys, yd = (0, dy) if dy >= 0 else (-dy, 0)
    out[yd:h - ys, xd:w - xs] = a[ys:h - yd, xs:w - xd]
    return out


class Noise:
    """Deterministic value noise from a seeded legacy RandomState."""

    def __init__(self, seed):
        self.rng = np.random.RandomState(seed)

    def value(self, cells_x, cells_y, w=W, h=H):
        g = self.rng.rand(cells_y + 3, cells_x + 3).astype(np.float32)
        im = Image.fromarray(g, "F").resize(
            (w, h), Image.BICUBIC, box=(1, 1, cells_x + 1, cells_y + 1))
        return np.asarray(im, dtype=np.float32) * 2 - 1

    def fractal(self, cells_x, cells_y, octaves=4, gain=0.5, w=W, h=H):
        total = np.zeros((h, w), np.float32)
        amp = 1.0
        for i in range(octaves):
            total += amp * self.value(cells_x << i, cells_y << i, w, h)
            amp *= gain
        total -= total.mean()
        return total / (total.std() + 1e-6)

    def pixel(self, w=W, h=H):
        return self.rng.standard_normal((h, w)).astype(np.float32)


def shade(h, strength=1.0):
    """Diffuse factor (1 on flat ground) and specular term of a height map."""
    gy, gx = np.gradient(h.astype(np.float32))
    nx, ny = -gx * strength, -gy * strength
    inv = 1.0 / np.sqrt(nx * nx + ny * ny + 1.0)
    ndl = (nx * _L[0] + ny * _L[1] + _L[2]) * inv
    ndh = (nx * _HV[0] + ny * _HV[1] + _HV[2]) * inv
    diffuse = np.clip(ndl, 0, None) / _L[2]
    gloss = np.clip(ndh, 0, 1) ** 70
    return diffuse.astype(np.float32), gloss.astype(np.float32)


def ramp(t, stops):
    """Colour ramp: t -> RGB through (position, colour) stops; arrays 0..255."""
    t = np.asarray(t, np.float32)
    out = np.zeros(t.shape + (3,), np.float32)
    pos = [p for p, _ in stops]
    for c in range(3):
        out[..., c] = np.interp(t, pos, [col[c] for _, col in stops])
    return out


def rgb(c):
    return np.array(c, np.float32)


class Canvas:
    """Premultiplied RGBA accumulation, values 0..1."""

    def __init__(self):
        self.c = np.zeros((H, W, 3), np.float32)
        self.a = np.zeros((H, W), np.float32)

    def over(self, colour, alpha):
        """Lay straight colour (0..255, HxWx3 or 3) with alpha HxW on top."""
        alpha = np.clip(alpha, 0, 1).astype(np.float32)
        col = np.broadcast_to(np.asarray(colour, np.float32) / 255.0, self.c.shape)
        self.c = col * alpha[..., None] + self.c * (1 - alpha[..., None])
        self.a = alpha + self.a * (1 - alpha)

    def over_premul(self, pc, pa):
        self.c = pc + self.c * (1 - pa[..., None])
        self.a = pa + self.a * (1 - pa)

    def image(self):
        a8 = np.round(np.clip(self.a, 0, 1) * 255).astype(np.uint8)
        safe = np.where(self.a > 1e-6, self.a, 1.0)
        col = np.clip(self.c / safe[..., None], 0, 1)
        c8 = np.round(col * 255).astype(np.uint8)
        c8[a8 == 0] = 0
        return Image.fromarray(np.dstack([c8, a8]), "RGBA")


def mask(draw_fn, box=None, ss=4):
    """Anti-aliased coverage of shapes drawn by draw_fn(draw, scale, ox, oy)
    inside box (image coords); returns a full-size float array."""
    x0, y0, x1, y1 = box if box else (0, 0, W, H)
    x0, y0 = max(0, int(x0)), max(0, int(y0))
    x1, y1 = min(W, int(math.ceil(x1))), min(H, int(math.ceil(y1)))
    im = Image.new("L", ((x1 - x0) * ss, (y1 - y0) * ss), 0)
    draw_fn(ImageDraw.Draw(im), ss, x0, y0)
    small = im.reduce(ss)
    out = np.zeros((H, W), np.float32)
    out[y0:y1, x0:x1] = np.asarray(small, np.float32) / 255.0
    return out
