#!/usr/bin/python3
"""Draws every picture of the game into Data/ (blocks, ball, stones, paddle,
title, logo, explosion, icons, result lettering and the three backgrounds).

The pictures are committed; run this only to change them:
    /usr/bin/python3 tools/pictures/make_pictures.py [--icons] [repo-root]
It also composes the menu icon (packaging/icons/<n>x<n>/teramon2.png) from the
pictures; --icons redraws only the icons, from the pictures already in Data/.
Needs python3-pil, python3-numpy, fonts-motoya-l-maruberi (rounded lettering)
and fonts-ipafont-gothic (block-character stand-in for the mock-ups only).
Everything is seeded, so a run gives the same pictures every time.
"""

import math
import os
import sys

import numpy as np
from PIL import Image, ImageChops, ImageDraw, ImageFilter, ImageFont

ICONS_ONLY = "--icons" in sys.argv[1:]
_ARGS = [a for a in sys.argv[1:] if a != "--icons"]
ROOT = os.path.abspath(_ARGS[0] if _ARGS else
                       os.path.join(os.path.dirname(__file__), "..", ".."))
PNG_DIR = os.path.join(ROOT, "Data", "Png")
DATA_DIR = os.path.join(ROOT, "Data")

ROUND_FONT = "/usr/share/fonts/truetype/motoya-l-maruberi/MTLmr3m.ttf"

# Every file we write, with the pixel size it must have.
EXPECTED = {}


# ----------------------------------------------------------------- helpers

def rgb(hexstr):
    hexstr = hexstr.lstrip("#")
    return tuple(int(hexstr[i:i + 2], 16) for i in (0, 2, 4))


def mix(a, b, t):
    return tuple(int(round(a[i] + (b[i] - a[i]) * t)) for i in range(3))


def lighter(c, t):
    return mix(c, (255, 255, 255), t)


def darker(c, t):
    return mix(c, (0, 0, 0), t)


def font(size, path=ROUND_FONT):
    return ImageFont.truetype(path, size)


def value_noise(h, w, cell, rng):
    """Smooth noise in 0..1: a random grid blown up bicubically."""
    gh, gw = max(2, h // cell + 3), max(2, w // cell + 3)
    grid = (rng.random((gh, gw)) * 255).astype(np.uint8)
    img = Image.fromarray(grid, "L").resize((gw * cell, gh * cell), Image.BICUBIC)
    ox, oy = cell, cell
    return np.asarray(img, dtype=np.float32)[oy:oy + h, ox:ox + w] / 255.0


def aniso_noise(h, w, cell_y, cell_x, rng):
    """Smooth noise in 0..1 with cells stretched along x (for water)."""
    gh, gw = h // cell_y + 3, w // cell_x + 3
    grid = (rng.random((gh, gw)) * 255).astype(np.uint8)
    img = Image.fromarray(grid, "L").resize((gw * cell_x, gh * cell_y), Image.BICUBIC)
    return np.asarray(img, np.float32)[cell_y:cell_y + h, cell_x:cell_x + w] / 255.0


def fractal_noise(h, w, rng, cells=(64, 32, 16, 8, 4)):
    acc = np.zeros((h, w), np.float32)
    amp, total = 1.0, 0.0
    for c in cells:
        acc += value_noise(h, w, c, rng) * amp
        total += amp
        amp *= 0.55
    return acc / total


def vertical_gradient(h, w, stops):
    """stops: list of (position 0..1, (r, g, b)). Returns float32 HxWx3."""
    ys = np.linspace(0.0, 1.0, h)
    out = np.zeros((h, 3), np.float32)
    pos = [p for p, _ in stops]
    for ch in range(3):
        out[:, ch] = np.interp(ys, pos, [c[ch] for _, c in stops])
    return np.repeat(out[:, None, :], w, axis=1)


def to_rgba(arr_rgb, alpha):
    a = np.clip(alpha, 0, 255).astype(np.uint8)
    rgbimg = np.clip(arr_rgb, 0, 255).astype(np.uint8)
    return Image.fromarray(np.dstack([rgbimg, a]), "RGBA")


def solid(size, colour, mask):
    """An RGBA layer of one colour whose alpha is the given L mask."""
    layer = Image.new("RGBA", size, colour + (255,))
    layer.putalpha(mask)
    return layer


def scale_alpha(mask, k):
    return mask.point(lambda v: int(v * k))


def shift(mask, dx, dy):
    return ImageChops.offset(mask, dx, dy)


def save_png(img, name, size):
    path = os.path.join(PNG_DIR, name)
    if img.size != size:
        img = img.resize(size, Image.LANCZOS)
    img.save(path, optimize=True)
    EXPECTED[path] = size


def save_jpg(img, name, size):
    path = os.path.join(DATA_DIR, name)
    img.convert("RGB").save(path, quality=88, optimize=True, progressive=True)
    EXPECTED[path] = size


# ------------------------------------------------------------------ blocks

BW, BH = 160, 96           # block picture size (5:3, the 40 x 24 block sample)
SS = 4                     # supersampling for shapes


def block_shape(w, h, radius):
    m = Image.new("L", (w, h), 0)
    ImageDraw.Draw(m).rounded_rectangle((0, 0, w - 1, h - 1), radius, fill=255)
    return m


def bevelled_block(body_rgb, base, rim_dark=0.55, gloss=0.42):
    """A rounded, bevelled, glossy tile. body_rgb: float HxWx3 at SS scale."""
    w, h = BW * SS, BH * SS
    r = 15 * SS
    outer = block_shape(w, h, r)
    inset = 4 * SS
    inner = Image.new("L", (w, h), 0)
    ImageDraw.Draw(inner).rounded_rectangle(
        (inset, inset, w - 1 - inset, h - 1 - inset), r - inset, fill=255)

    img = solid((w, h), darker(base, rim_dark), outer)
    body = to_rgba(body_rgb, np.asarray(inner, np.float32))
    img.alpha_composite(body)

    # Bevel: light on the upper-left inner edge, shade on the lower-right.
    d = 5 * SS
    inner_np = np.asarray(inner, np.float32)
    hi = np.clip(inner_np - np.asarray(shift(inner, d, d), np.float32), 0, 255)
    lo = np.clip(inner_np - np.asarray(shift(inner, -d, -d), np.float32), 0, 255)
    hi_img = Image.fromarray(hi.astype(np.uint8)).filter(ImageFilter.GaussianBlur(2 * SS))
    lo_img = Image.fromarray(lo.astype(np.uint8)).filter(ImageFilter.GaussianBlur(2 * SS))
    hi_img = ImageChops.multiply(hi_img, inner)
    lo_img = ImageChops.multiply(lo_img, inner)
    img.alpha_composite(solid((w, h), (255, 255, 255), scale_alpha(hi_img, 0.75)))
    img.alpha_composite(solid((w, h), darker(base, 0.6), scale_alpha(lo_img, 0.6)))

    # Gloss: a soft white band over the upper part of the face.
    gl = Image.new("L", (w, h), 0)
    g_in = 9 * SS
    ImageDraw.Draw(gl).rounded_rectangle(
        (g_in, g_in - 2 * SS, w - 1 - g_in, int(h * 0.48)), r - g_in // 2, fill=255)
    fade = np.linspace(1.0, 0.15, h)[:, None] * np.ones((1, w))
    gl_np = np.asarray(gl, np.float32) * fade * gloss
    img.alpha_composite(solid((w, h), (255, 255, 255),
                              Image.fromarray(gl_np.astype(np.uint8)).filter(
                                  ImageFilter.GaussianBlur(SS))))

    # A little sparkle at the upper-left corner.
    sp = Image.new("L", (w, h), 0)
    sd = ImageDraw.Draw(sp)
    sd.ellipse((12 * SS, 9 * SS, 24 * SS, 15 * SS), fill=230)
    sp = sp.filter(ImageFilter.GaussianBlur(1.5 * SS))
    img.alpha_composite(solid((w, h), (255, 255, 255), sp))
    return img.resize((BW, BH), Image.LANCZOS)


def plain_block(base):
    h, w = BH * SS, BW * SS
    body = vertical_gradient(h, w, [(0.0, lighter(base, 0.30)),
                                    (0.55, base),
                                    (1.0, darker(base, 0.18))])
    return bevelled_block(body, base)


# Four groups of four columns. Groups 0 and 2 carry a cornsilk character
# (needs a deep colour), groups 1 and 3 a black one (needs a light colour).
BLOCK_COLOURS = [rgb("#2f6fd8"),   # 0 blue
                 rgb("#ffc93c"),   # 1 sunflower
                 rgb("#d8394f"),   # 2 raspberry red
                 rgb("#8fe07a")]   # 3 spring green


def stone_block():
    rng = np.random.default_rng(11)
    h, w = BH * SS, BW * SS
    n = fractal_noise(h, w, rng, cells=(96, 48, 24, 12, 6, 3))
    base = np.array(rgb("#70757d"), np.float32)
    body = base[None, None, :] * (0.72 + 0.55 * n[..., None])
    shade = np.linspace(1.10, 0.85, h)[:, None, None]
    body = body * shade
    # speckles
    spk = rng.random((h, w)) > 0.9965
    body[spk] = body[spk] * 0.55
    img = Image.fromarray(np.clip(body, 0, 255).astype(np.uint8), "RGB")
    d = ImageDraw.Draw(img)
    # a few hairline cracks, kept off the middle where the character sits
    for (x0, y0) in ((18, 20), (128, 60), (30, 70), (140, 18)):
        pts = [(x0 * SS, y0 * SS)]
        ang = rng.uniform(0, 2 * math.pi)
        for _ in range(4):
            ang += rng.uniform(-0.8, 0.8)
            x, y = pts[-1]
            pts.append((x + math.cos(ang) * 6 * SS, y + math.sin(ang) * 6 * SS))
        d.line(pts, fill=(62, 64, 70), width=SS)
    body = np.asarray(img, np.float32)
    return bevelled_block(body, rgb("#6c7179"), rim_dark=0.5, gloss=0.22)


def wood_block():
    rng = np.random.default_rng(23)
    h, w = BH * SS, BW * SS
    yy, xx = np.mgrid[0:h, 0:w].astype(np.float32)
    warp = fractal_noise(h, w, rng, cells=(128, 64, 32)) * 9.0
    fine = fractal_noise(h, w, rng, cells=(8, 4, 2))
    rings = 0.5 + 0.5 * np.sin((yy / SS) * 0.55 + warp + 0.4 * np.sin(xx / (38 * SS)))
    rings = rings ** 2.2
    light = np.array(rgb("#b47a45"), np.float32)
    dark = np.array(rgb("#7a4a22"), np.float32)
    body = light[None, None] * (1 - rings[..., None] * 0.55) + dark[None, None] * rings[..., None] * 0.55
    body *= (0.9 + 0.2 * fine)[..., None]
    # a knot near the right edge
    kx, ky = 134 * SS, 66 * SS
    dist = np.sqrt(((xx - kx) / 1.6) ** 2 + (yy - ky) ** 2) / SS
    knot = np.clip(1 - dist / 7.0, 0, 1) * (0.6 + 0.4 * np.sin(dist * 1.6))
    body *= (1 - 0.35 * knot)[..., None]
    body *= np.linspace(1.08, 0.88, h)[:, None, None]
    return bevelled_block(body, rgb("#8a5a2e"), rim_dark=0.5, gloss=0.30)


def gold_block():
    h, w = BH * SS, BW * SS
    body = vertical_gradient(h, w, [(0.0, rgb("#fff6b8")),
                                    (0.18, rgb("#ffd84a")),
                                    (0.5, rgb("#e8a90c")),
                                    (0.72, rgb("#ffd23a")),
                                    (1.0, rgb("#b07a05"))])
    # diagonal shine streaks
    yy, xx = np.mgrid[0:h, 0:w].astype(np.float32)
    diag = (xx + yy * 1.3) / SS
    streak = np.exp(-((diag - 52) / 7) ** 2) * 0.55 + np.exp(-((diag - 70) / 3) ** 2) * 0.35
    body = body + (255 - body) * streak[..., None]
    img = bevelled_block(body, rgb("#d9a011"), rim_dark=0.45, gloss=0.5)
    # twinkles on the corners
    tw = Image.new("RGBA", img.size, (0, 0, 0, 0))
    td = ImageDraw.Draw(tw)
    for cx, cy, s in ((140, 18, 7), (22, 78, 5)):
        td.polygon([(cx, cy - s), (cx + s * 0.25, cy - s * 0.25), (cx + s, cy),
                    (cx + s * 0.25, cy + s * 0.25), (cx, cy + s),
                    (cx - s * 0.25, cy + s * 0.25), (cx - s, cy),
                    (cx - s * 0.25, cy - s * 0.25)], fill=(255, 255, 240, 235))
    img.alpha_composite(tw)
    return img


# -------------------------------------------------------------------- ball

def sphere(size, base, rim, highlight=True, outline=None):
    s = size * SS
    yy, xx = np.mgrid[0:s, 0:s].astype(np.float32)
    c = (s - 1) / 2.0
    rad = s / 2.0 - 1.5 * SS
    nx, ny = (xx - c) / rad, (yy - c) / rad
    r2 = nx * nx + ny * ny
    inside = r2 <= 1.0
    nz = np.sqrt(np.clip(1 - r2, 0, 1))
    lx, ly, lz = -0.45, -0.55, 0.70
    lam = np.clip(nx * lx + ny * ly + nz * lz, 0, 1)
    shade = 0.55 + 0.45 * lam
    col = np.array(base, np.float32)[None, None] * shade[..., None]
    edge = np.clip((np.sqrt(r2) - 0.75) / 0.25, 0, 1) ** 1.5
    col = col * (1 - edge[..., None] * 0.6) + np.array(rim, np.float32)[None, None] * edge[..., None] * 0.6
    if highlight:
        specular = np.clip(lam, 0, 1) ** 28
        col = col + (255 - col) * specular[..., None] * 0.9
    alpha = np.clip((1.0 - np.sqrt(r2)) * rad, 0, 1) * 255
    img = to_rgba(col, alpha * inside + alpha * (~inside))
    if outline:
        ol = Image.new("L", (s, s), 0)
        ImageDraw.Draw(ol).ellipse((c - rad, c - rad, c + rad, c + rad),
                                   outline=255, width=int(2.2 * SS))
        img.alpha_composite(solid((s, s), outline, scale_alpha(ol, 0.85)))
    return img.resize((size, size), Image.LANCZOS)


def ball():
    # A pearly, warm-white ball: the dark violet character sits in its middle.
    img = sphere(128, rgb("#fffaf0"), rgb("#d6b98a"), outline=rgb("#8a6a3a"))
    # a soft gloss crescent at the top left
    s = 128 * SS
    gl = Image.new("L", (s, s), 0)
    ImageDraw.Draw(gl).ellipse((22 * SS, 10 * SS, 70 * SS, 38 * SS), fill=200)
    gl = gl.filter(ImageFilter.GaussianBlur(5 * SS)).resize((128, 128), Image.LANCZOS)
    img.alpha_composite(solid((128, 128), (255, 255, 255), ImageChops.multiply(gl, img.getchannel("A"))))
    return img


# ------------------------------------------------------------------ stones

def rock(w, h, base, seed, cross=False):
    rng = np.random.default_rng(seed)
    sw, sh = w * SS, h * SS
    cx, cy = sw / 2, sh / 2 + 2 * SS
    n = 13
    radii = 0.80 + 0.20 * rng.random(n)
    pts = []
    for i in range(n):
        a = 2 * math.pi * i / n + rng.uniform(-0.12, 0.12)
        pts.append((cx + math.cos(a) * radii[i] * (sw / 2 - 3 * SS),
                    cy + math.sin(a) * radii[i] * (sh / 2 - 5 * SS)))
    mask = Image.new("L", (sw, sh), 0)
    ImageDraw.Draw(mask).polygon(pts, fill=255)
    mask = mask.filter(ImageFilter.GaussianBlur(3 * SS)).point(lambda v: 255 if v > 128 else 0)
    mask = mask.filter(ImageFilter.GaussianBlur(0.6 * SS))
    # fake relief from a blurred mask: light from the upper left
    height = np.asarray(mask.filter(ImageFilter.GaussianBlur(7 * SS)), np.float32) / 255.0
    gy, gx = np.gradient(height)
    relief = np.clip(0.8 + (-gx - gy) * 9 * SS, 0.35, 1.5)
    tex = fractal_noise(sh, sw, rng, cells=(40, 20, 10, 5, 2))
    col = np.array(base, np.float32)[None, None] * (relief * (0.75 + 0.5 * tex))[..., None]
    img = to_rgba(col, np.asarray(mask, np.float32))
    # dark outline for contrast over any background
    edge = ImageChops.subtract(mask, mask.filter(ImageFilter.MinFilter(2 * SS + 1)))
    img.alpha_composite(solid((sw, sh), darker(base, 0.65), edge))
    # facets: a few darker chips
    fd = Image.new("RGBA", (sw, sh), (0, 0, 0, 0))
    d = ImageDraw.Draw(fd)
    for _ in range(3):
        px, py = cx + rng.uniform(-0.3, 0.3) * sw, cy + rng.uniform(-0.25, 0.3) * sh
        rr = rng.uniform(4, 8) * SS
        d.ellipse((px - rr, py - rr * 0.7, px + rr, py + rr * 0.7), fill=darker(base, 0.45) + (70,))
    fd.putalpha(ImageChops.multiply(fd.getchannel("A"), mask))
    img.alpha_composite(fd)
    if cross:
        cl = Image.new("L", (sw, sh), 0)
        cd = ImageDraw.Draw(cl)
        k = 0.25
        a0, b0 = (cx - sw * k, cy - sh * k * 1.05), (cx + sw * k, cy + sh * k * 1.05)
        a1, b1 = (cx + sw * k, cy - sh * k * 1.05), (cx - sw * k, cy + sh * k * 1.05)
        cd.line([a0, b0], fill=255, width=int(13 * SS))
        cd.line([a1, b1], fill=255, width=int(13 * SS))
        outer = cl.filter(ImageFilter.MaxFilter(4 * SS + 1))
        img.alpha_composite(solid((sw, sh), rgb("#4a0a0a"), outer))
        img.alpha_composite(solid((sw, sh), rgb("#fff1a8"), cl))
    return img.resize((w, h), Image.LANCZOS)


# ------------------------------------------------------------------ paddle

def paddle():
    w, h = 256, 104
    sw, sh = w * SS, h * SS
    m = Image.new("L", (sw, sh), 0)
    pad_in = 4 * SS
    ImageDraw.Draw(m).rounded_rectangle((pad_in, pad_in, sw - pad_in, sh - pad_in),
                                        (sh - 2 * pad_in) // 2, fill=255)
    img = solid((sw, sh), rgb("#153a6b"), m)
    inner = m.filter(ImageFilter.MinFilter(5 * SS + 1))
    body = vertical_gradient(sh, sw, [(0.0, rgb("#c8f0ff")), (0.35, rgb("#56b8f0")),
                                      (0.7, rgb("#1f6fc0")), (1.0, rgb("#174f96"))])
    img.alpha_composite(to_rgba(body, np.asarray(inner, np.float32)))
    # orange end caps
    caps = Image.new("L", (sw, sh), 0)
    cd = ImageDraw.Draw(caps)
    cap_w = 44 * SS
    cd.rectangle((0, 0, cap_w, sh), fill=255)
    cd.rectangle((sw - cap_w, 0, sw, sh), fill=255)
    caps = ImageChops.multiply(caps, inner)
    capbody = vertical_gradient(sh, sw, [(0.0, rgb("#ffe0a0")), (0.4, rgb("#ffa12e")),
                                         (1.0, rgb("#c85a00"))])
    img.alpha_composite(to_rgba(capbody, np.asarray(caps, np.float32)))
    # seams between the caps and the middle
    seam = Image.new("L", (sw, sh), 0)
    sd = ImageDraw.Draw(seam)
    sd.line((cap_w, 0, cap_w, sh), fill=255, width=2 * SS)
    sd.line((sw - cap_w, 0, sw - cap_w, sh), fill=255, width=2 * SS)
    img.alpha_composite(solid((sw, sh), rgb("#153a6b"), ImageChops.multiply(seam, inner)))
    # gloss stripe
    gl = Image.new("L", (sw, sh), 0)
    ImageDraw.Draw(gl).rounded_rectangle((18 * SS, 12 * SS, sw - 18 * SS, 36 * SS), 12 * SS, fill=170)
    gl = gl.filter(ImageFilter.GaussianBlur(3 * SS))
    img.alpha_composite(solid((sw, sh), (255, 255, 255), ImageChops.multiply(gl, inner)))
    return img.resize((w, h), Image.LANCZOS)


# --------------------------------------------------------------- lettering

def text_mask(size, text, fnt, xy, stroke=0, anchor="la"):
    m = Image.new("L", size, 0)
    ImageDraw.Draw(m).text(xy, text, font=fnt, fill=255, stroke_width=stroke,
                           stroke_fill=255, anchor=anchor)
    return m


def lettering(text, px, fill_top, fill_bottom, line, outer, shadow=True,
              weight=None, white=None, pad=None):
    """Big outlined lettering on a transparent layer sized to fit.

    Layers (back to front): soft drop shadow, dark outer outline, white
    outline, gradient face (emboldened), gloss on the upper half of the face.
    """
    fnt = font(px)
    weight = weight if weight is not None else max(1, px // 40)
    white = white if white is not None else max(2, px // 15)
    o_outer = white + max(2, px // 26)
    pad = pad if pad is not None else o_outer + px // 8
    l, t, r, b = ImageDraw.Draw(Image.new("L", (1, 1))).textbbox(
        (0, 0), text, font=fnt, stroke_width=o_outer)
    size = (r - l + 2 * pad, b - t + 2 * pad)
    xy = (pad - l, pad - t)
    face = text_mask(size, text, fnt, xy, weight)
    mid = text_mask(size, text, fnt, xy, white)
    out = text_mask(size, text, fnt, xy, o_outer)
    img = Image.new("RGBA", size, (0, 0, 0, 0))
    if shadow:
        sh = ImageChops.offset(out, max(2, px // 30), max(3, px // 20)).filter(
            ImageFilter.GaussianBlur(max(2, px // 30)))
        img.alpha_composite(solid(size, (20, 10, 40), scale_alpha(sh, 0.55)))
    img.alpha_composite(solid(size, outer, out))
    img.alpha_composite(solid(size, line, mid))
    # face gradient over the text's own height
    top, bot = pad, size[1] - pad
    grad = vertical_gradient(size[1], size[0], [(0.0, fill_top), (max(0.01, top / size[1]), fill_top),
                                                (min(0.99, bot / size[1]), fill_bottom),
                                                (1.0, fill_bottom)])
    img.alpha_composite(to_rgba(grad, np.asarray(face, np.float32)))
    # gloss: the upper ~45% of the face, white, fading down
    cut = top + (bot - top) * 0.48
    glo = np.clip((cut - np.arange(size[1])) / max(1.0, (bot - top) * 0.25), 0, 1) * 0.32
    glo = np.repeat(glo[:, None], size[0], axis=1)
    eroded = face.filter(ImageFilter.MinFilter(max(3, (weight // 2) * 2 + 3)))
    gmask = (np.asarray(eroded, np.float32) * glo).astype(np.uint8)
    img.alpha_composite(solid(size, (255, 255, 255), Image.fromarray(gmask)))
    return img


def fit_into(layer, box_w, box_h):
    k = min(box_w / layer.width, box_h / layer.height, 1.0)
    if k < 1.0:
        layer = layer.resize((int(layer.width * k), int(layer.height * k)), Image.LANCZOS)
    return layer


def sparkle(draw, cx, cy, s, colour):
    q = s * 0.22
    draw.polygon([(cx, cy - s), (cx + q, cy - q), (cx + s, cy), (cx + q, cy + q),
                  (cx, cy + s), (cx - q, cy + q), (cx - s, cy), (cx - q, cy - q)], fill=colour)


def result_picture(text, top, bottom, line, outer, sparkles=False, seed=0):
    W, H = 1010, 298
    img = Image.new("RGBA", (W, H), (0, 0, 0, 0))
    layer = lettering(text, 280, top, bottom, line, outer)
    layer = fit_into(layer, W - 20, H - 10)
    img.alpha_composite(layer, ((W - layer.width) // 2, (H - layer.height) // 2))
    if sparkles:
        rng = np.random.default_rng(seed)
        sp = Image.new("RGBA", (W, H), (0, 0, 0, 0))
        d = ImageDraw.Draw(sp)
        spots = [(40, 60), (970, 50), (70, 250), (950, 240), (500, 20), (300, 280), (720, 275)]
        for (x, y) in spots:
            s = rng.uniform(12, 22)
            sparkle(d, x, y, s + 4, (120, 70, 0, 200))
            sparkle(d, x, y, s, (255, 250, 200, 255))
        img = Image.alpha_composite(sp, img)
    return img


def title_picture():
    W, H = 1010, 298
    img = Image.new("RGBA", (W, H), (0, 0, 0, 0))
    chars = ["て", "ら", "も", "ん", "2"]
    faces = [(rgb("#ff8a8a"), rgb("#e0263e")),
             (rgb("#ffd27a"), rgb("#f07c00")),
             (rgb("#b6f27a"), rgb("#2fa52f")),
             (rgb("#8fd8ff"), rgb("#1f6fd8")),
             (rgb("#f0a8ff"), rgb("#9b32cc"))]
    tilts = [-7, 5, -4, 6, -8]
    lifts = [6, -8, 4, -10, -2]
    layers = []
    for ch, (t, b), tilt in zip(chars, faces, tilts):
        px = 230 if ch != "2" else 245
        lay = lettering(ch, px, t, b, (255, 255, 255), rgb("#1b2a5a"))
        lay = lay.rotate(tilt, resample=Image.BICUBIC, expand=True)
        layers.append(lay.crop(lay.getchannel("A").getbbox()))
    overlap = 8
    total = sum(l.width for l in layers) - overlap * (len(layers) - 1)
    scale = min(1.0, (W - 20) / total)
    if scale < 1.0:
        layers = [l.resize((int(l.width * scale), int(l.height * scale)), Image.LANCZOS)
                  for l in layers]
        overlap = int(overlap * scale)
        total = sum(l.width for l in layers) - overlap * (len(layers) - 1)
    x = (W - total) // 2
    base_y = 112
    for lay, lift in zip(layers, lifts):
        img.alpha_composite(lay, (x, base_y - lay.height // 2 + lift))
        x += lay.width - overlap
    # subtitle on a ribbon
    sub = lettering("四字熟語ブロックくずし", 50, (255, 255, 255), rgb("#fff2b0"),
                    rgb("#1b2a5a"), rgb("#1b2a5a"), shadow=False, weight=1, white=4, pad=8)
    rib_w, rib_h = sub.width + 70, sub.height + 6
    rx, ry = (W - rib_w) // 2, H - rib_h - 4
    rib = Image.new("L", (W * 2, H * 2), 0)
    ImageDraw.Draw(rib).rounded_rectangle((rx * 2, ry * 2, (rx + rib_w) * 2, (ry + rib_h) * 2),
                                          rib_h, fill=255)
    rib = rib.resize((W, H), Image.LANCZOS)
    img.alpha_composite(solid((W, H), rgb("#1b2a5a"), rib.filter(ImageFilter.MaxFilter(5))))
    body = vertical_gradient(H, W, [(0, rgb("#ff9a3c")), (ry / H, rgb("#ff9a3c")),
                                    (min(1.0, (ry + rib_h) / H), rgb("#e2503a")), (1, rgb("#e2503a"))])
    img.alpha_composite(to_rgba(body, np.asarray(rib, np.float32)))
    img.alpha_composite(sub, ((W - sub.width) // 2, ry + (rib_h - sub.height) // 2))
    return img


def logo_picture():
    W, H = 529, 55
    S = 4
    img = Image.new("RGBA", (W * S, H * S), (0, 0, 0, 0))
    # emblem: a round lake with two waves
    m = Image.new("L", img.size, 0)
    d = ImageDraw.Draw(m)
    r = 24 * S
    cx, cy = 30 * S, H * S // 2
    d.ellipse((cx - r, cy - r, cx + r, cy + r), fill=255)
    img.alpha_composite(solid(img.size, (255, 255, 255), m.filter(ImageFilter.MaxFilter(2 * S + 1))))
    grad = vertical_gradient(img.size[1], img.size[0], [(0, rgb("#9fe6ff")), (1, rgb("#1b66c9"))])
    img.alpha_composite(to_rgba(grad, np.asarray(m, np.float32)))
    wv = Image.new("L", img.size, 0)
    wd = ImageDraw.Draw(wv)
    for k, yoff in enumerate((-2 * S, 9 * S)):
        pts = [(cx - r * 0.75 + i * S, cy + yoff + math.sin(i / 6.0 + k) * 3.5 * S)
               for i in range(int(r * 1.5 / S))]
        wd.line(pts, fill=255, width=3 * S)
    img.alpha_composite(solid(img.size, (255, 255, 255), ImageChops.multiply(wv, m)))
    # name
    lay = lettering("みずうみ舎", 44 * S, (255, 255, 255), rgb("#d8f4ff"), rgb("#1b4f9a"),
                    rgb("#0c2550"), shadow=True, weight=S, white=4 * S, pad=6 * S)
    lay = fit_into(lay, 260 * S, H * S)
    img.alpha_composite(lay, (62 * S, (H * S - lay.height) // 2))
    # small tag line
    tag = lettering("まなびのゲーム", 22 * S, rgb("#fff6c8"), rgb("#ffd25a"), rgb("#5a3a00"),
                    rgb("#2a1a00"), shadow=False, weight=S // 2, white=3 * S, pad=4 * S)
    img.alpha_composite(tag, (62 * S + lay.width + 10 * S, (H * S - tag.height) // 2 + 4 * S))
    return img.resize((W, H), Image.LANCZOS)


# ------------------------------------------------------------ explosion

def explosion():
    W, H = 150, 138
    S = 4
    sw, sh = W * S, H * S
    rng = np.random.default_rng(5)
    img = Image.new("RGBA", (sw, sh), (0, 0, 0, 0))
    cx, cy = sw / 2, sh / 2

    def burst(rmin, rmax, spikes, jitter):
        pts = []
        for i in range(spikes * 2):
            a = math.pi * i / spikes + rng.uniform(-jitter, jitter)
            rr = (rmax if i % 2 == 0 else rmin) * rng.uniform(0.85, 1.0)
            pts.append((cx + math.cos(a) * rr * (sw / 2), cy + math.sin(a) * rr * (sh / 2)))
        m = Image.new("L", (sw, sh), 0)
        ImageDraw.Draw(m).polygon(pts, fill=255)
        return m

    glow = burst(0.6, 0.98, 14, 0.08).filter(ImageFilter.GaussianBlur(8 * S))
    img.alpha_composite(solid((sw, sh), rgb("#ff5a1a"), scale_alpha(glow, 0.8)))
    for (rmin, rmax, n, col) in ((0.55, 0.96, 13, "#e8301c"), (0.45, 0.78, 11, "#ff8c1a"),
                                 (0.32, 0.58, 9, "#ffd23a"), (0.18, 0.34, 7, "#fff8d0")):
        m = burst(rmin, rmax, n, 0.1)
        img.alpha_composite(solid((sw, sh), rgb(col), m.filter(ImageFilter.GaussianBlur(S))))
    # flying sparks
    d = ImageDraw.Draw(img)
    for _ in range(10):
        a = rng.uniform(0, 2 * math.pi)
        rr = rng.uniform(0.7, 0.92)
        x, y = cx + math.cos(a) * rr * sw / 2, cy + math.sin(a) * rr * sh / 2
        s = rng.uniform(2.5, 5) * S
        d.ellipse((x - s, y - s, x + s, y + s), fill=(255, 220, 80, 255))
    return img.resize((W, H), Image.LANCZOS)


# ---------------------------------------------------------------- icons

def outlined_icon(mask, size, top, bottom, S):
    """Gradient-filled shape with white and dark outlines, for icons that sit
    straight on the background."""
    img = Image.new("RGBA", size, (0, 0, 0, 0))
    white = mask.filter(ImageFilter.MaxFilter(6 * S + 1))
    dark = white.filter(ImageFilter.MaxFilter(4 * S + 1))
    img.alpha_composite(solid(size, rgb("#1b2a5a"), dark))
    img.alpha_composite(solid(size, (255, 255, 255), white))
    grad = vertical_gradient(size[1], size[0], [(0, top), (1, bottom)])
    img.alpha_composite(to_rgba(grad, np.asarray(mask, np.float32)))
    return img


def music_icon():
    W, H = 169, 236
    S = 4
    sw, sh = W * S, H * S
    m = Image.new("L", (sw, sh), 0)
    d = ImageDraw.Draw(m)
    u = S
    # two note heads (tilted ellipses), two stems and a double beam
    for hx, hy in ((48, 182), (128, 160)):
        head = Image.new("L", (sw, sh), 0)
        ImageDraw.Draw(head).ellipse(((hx - 30) * u, (hy - 20) * u, (hx + 30) * u, (hy + 20) * u), fill=255)
        head = head.rotate(22, center=(hx * u, hy * u), resample=Image.BICUBIC)
        m = ImageChops.lighter(m, head)
    d = ImageDraw.Draw(m)
    d.rectangle((66 * u, 52 * u, 78 * u, 180 * u), fill=255)
    d.rectangle((146 * u, 30 * u, 158 * u, 158 * u), fill=255)
    d.polygon([(66 * u, 52 * u), (158 * u, 30 * u), (158 * u, 58 * u), (66 * u, 80 * u)], fill=255)
    d.polygon([(66 * u, 92 * u), (158 * u, 70 * u), (158 * u, 88 * u), (66 * u, 110 * u)], fill=255)
    img = outlined_icon(m, (sw, sh), rgb("#ffb0e0"), rgb("#d0238a"), S)
    return img.resize((W, H), Image.LANCZOS)


def sound_icon():
    W, H = 108, 101
    S = 6
    sw, sh = W * S, H * S
    m = Image.new("L", (sw, sh), 0)
    d = ImageDraw.Draw(m)
    u = S
    cy = 50.5
    d.rounded_rectangle((10 * u, (cy - 15) * u, 30 * u, (cy + 15) * u), 3 * u, fill=255)
    d.polygon([(26 * u, (cy - 15) * u), (54 * u, (cy - 36) * u), (54 * u, (cy + 36) * u),
               (26 * u, (cy + 15) * u)], fill=255)
    for rr, wdt in ((20, 7), (34, 7)):
        d.arc(((50 - rr) * u, (cy - rr) * u, (50 + rr) * u, (cy + rr) * u), -52, 52,
              fill=255, width=wdt * u)
    img = outlined_icon(m, (sw, sh), rgb("#b0f4ff"), rgb("#1a8fd0"), S)
    return img.resize((W, H), Image.LANCZOS)


def off_mark():
    W = 200
    S = 4
    s = W * S
    m = Image.new("L", (s, s), 0)
    d = ImageDraw.Draw(m)
    r_out, wdt = 88 * S, 20 * S
    c = s / 2
    d.ellipse((c - r_out, c - r_out, c + r_out, c + r_out), outline=255, width=wdt)
    a = math.radians(45)
    rr = r_out - wdt / 2
    d.line([(c - math.cos(a) * rr, c - math.sin(a) * rr), (c + math.cos(a) * rr, c + math.sin(a) * rr)],
           fill=255, width=wdt)
    img = Image.new("RGBA", (s, s), (0, 0, 0, 0))
    img.alpha_composite(solid((s, s), (255, 255, 255), m.filter(ImageFilter.MaxFilter(4 * S + 1))))
    grad = vertical_gradient(s, s, [(0, rgb("#ff5a5a")), (1, rgb("#c0101a"))])
    img.alpha_composite(to_rgba(grad, np.asarray(m, np.float32)))
    return img.resize((W, W), Image.LANCZOS)


# ---------------------------------------------------------- backgrounds

BG_W, BG_H = 1920, 1080


def ridge(w, rng, base, amp, cells):
    """1-D mountain profile: y (pixels) per column."""
    acc = np.zeros(w, np.float32)
    a = 1.0
    for c in cells:
        g = rng.random(w // c + 3)
        xs = np.arange(w) / c
        acc += np.interp(xs, np.arange(len(g)), g) * a
        a *= 0.5
    acc = (acc - acc.min()) / (acc.max() - acc.min() + 1e-6)
    # soften the linear interpolation kinks
    k = np.ones(15) / 15
    acc = np.convolve(np.pad(acc, 7, mode="edge"), k, mode="valid")
    return base - acc * amp


def clouds(h, w, rng, n, colour, alpha, ymin, ymax, blur):
    layer = Image.new("L", (w, h), 0)
    d = ImageDraw.Draw(layer)
    for _ in range(n):
        cx, cy = rng.uniform(0, w), rng.uniform(ymin, ymax)
        cw = rng.uniform(0.10, 0.22) * w
        for _ in range(6):
            ox, oy = rng.uniform(-0.5, 0.5) * cw, rng.uniform(-0.12, 0.06) * cw
            rx, ry = rng.uniform(0.18, 0.35) * cw, rng.uniform(0.07, 0.13) * cw
            d.ellipse((cx + ox - rx, cy + oy - ry, cx + ox + rx, cy + oy + ry), fill=255)
    layer = layer.filter(ImageFilter.GaussianBlur(blur))
    a = np.asarray(layer, np.float32) / 255.0 * alpha
    return a[..., None], np.array(colour, np.float32)[None, None]


def landscape(sky_stops, far_col, near_col, water_tint, horizon, seed,
              sun=None, cloud_col=None, cloud_alpha=0.0, haze_col=None):
    """Sky, two mountain ranges and a lake that mirrors them, at half size."""
    w, h = BG_W // 2, BG_H // 2
    rng = np.random.default_rng(seed)
    hy = int(h * horizon)
    sky = vertical_gradient(hy, w, sky_stops)
    if sun is not None:
        sx, sy, sr, scol, sglow = sun
        yy, xx = np.mgrid[0:hy, 0:w].astype(np.float32)
        dist = np.sqrt((xx - sx * w) ** 2 + (yy - sy * hy) ** 2)
        g = np.exp(-dist / (sglow * w))[..., None] * 0.55
        sky = sky + (np.array(scol, np.float32)[None, None] - sky) * g
        disc = np.clip((sr * w - dist) / 1.5, 0, 1)[..., None]
        sky = sky * (1 - disc) + np.array(lighter(scol, 0.6), np.float32)[None, None] * disc
    if cloud_col is not None:
        a, c = clouds(hy, w, rng, 9, cloud_col, cloud_alpha, hy * 0.12, hy * 0.75, 10)
        sky = sky * (1 - a) + c * a
    scene = sky.copy()
    xs = np.arange(w)
    far = ridge(w, rng, hy + 2, hy * 0.30, (160, 60, 25))
    near = ridge(w, rng, hy + 2, hy * 0.17, (110, 45, 18))
    yy = np.arange(hy)[:, None]
    haze = haze_col if haze_col is not None else sky_stops[-1][1]
    far_grad = np.linspace(0, 1, hy)[:, None, None]
    far_rgb = np.array(far_col, np.float32)[None, None] * (1 - 0.35 * far_grad) + \
        np.array(haze, np.float32)[None, None] * 0.35 * far_grad
    mfar = np.clip(yy - far[None, :] + 0.5, 0, 1)[..., None]
    scene = scene * (1 - mfar) + far_rgb * mfar
    mnear = np.clip(yy - near[None, :] + 0.5, 0, 1)[..., None]
    scene = scene * (1 - mnear) + np.array(near_col, np.float32)[None, None] * mnear
    # lake: mirror the scene, darken and tint, add ripples
    lake_h = h - hy
    refl = scene[::-1][:lake_h]
    if refl.shape[0] < lake_h:
        refl = np.concatenate([refl, np.repeat(refl[-1:], lake_h - refl.shape[0], 0)], 0)
    # soften the mirror image a little, as calm water does
    refl = np.asarray(Image.fromarray(np.clip(refl, 0, 255).astype(np.uint8)).filter(
        ImageFilter.GaussianBlur(1.5)), np.float32)
    depth = np.linspace(0, 1, lake_h)[:, None]
    # long, thin horizontal ripples: they grow toward the viewer
    wobble = aniso_noise(lake_h, w, 3, 70, rng) - 0.5
    shift_px = (wobble * (4 + 14 * depth)).astype(int)
    idx = np.clip(xs[None, :] + shift_px, 0, w - 1)
    refl = np.take_along_axis(refl, np.repeat(idx[..., None], 3, 2), axis=1)
    tint = np.array(water_tint, np.float32)[None, None]
    d3 = depth[..., None]
    water = refl * (0.62 - 0.14 * d3) + tint * (0.38 + 0.14 * d3)
    glint = np.clip((aniso_noise(lake_h, w, 2, 90, rng) - 0.62) * 5, 0, 1)
    water = water + (255 - water) * (glint * 0.10)[..., None]
    water *= 1.0 - 0.22 * d3      # deeper and darker toward the viewer
    full = np.concatenate([scene, water], 0)
    # a thin bright shore line at the horizon
    full[hy:hy + 1] = full[hy:hy + 1] * 0.7 + 255 * 0.12
    img = Image.fromarray(np.clip(full, 0, 255).astype(np.uint8), "RGB")
    return img.resize((BG_W, BG_H), Image.BICUBIC), hy * 2


def dither(img, amount, seed):
    rng = np.random.default_rng(seed)
    a = np.asarray(img, np.float32)
    a += rng.normal(0, amount, a.shape[:2])[..., None]
    return Image.fromarray(np.clip(a, 0, 255).astype(np.uint8), "RGB")


def vignette(img, strength):
    h, w = img.height, img.width
    yy, xx = np.mgrid[0:h, 0:w].astype(np.float32)
    r = np.sqrt(((xx - w / 2) / (w / 2)) ** 2 + ((yy - h / 2) / (h / 2)) ** 2)
    k = 1 - strength * np.clip(r - 0.55, 0, 1) ** 1.5
    a = np.asarray(img, np.float32) * k[..., None]
    return Image.fromarray(np.clip(a, 0, 255).astype(np.uint8), "RGB")


def background_morning():
    img, _ = landscape(
        sky_stops=[(0.0, rgb("#2b5f9e")), (0.55, rgb("#5d93c8")), (0.85, rgb("#a9c6dc")),
                   (1.0, rgb("#f2d7b6"))],
        far_col=rgb("#5f7fa4"), near_col=rgb("#2f5e5a"), water_tint=rgb("#1f4a74"),
        horizon=0.58, seed=101,
        sun=(0.22, 0.86, 0.018, rgb("#fff0c8"), 0.16),
        cloud_col=rgb("#f4f7fb"), cloud_alpha=0.55)
    return vignette(dither(img, 1.2, 1), 0.35)


def background_evening():
    img, _ = landscape(
        sky_stops=[(0.0, rgb("#2c2f6e")), (0.45, rgb("#7b4f86")), (0.78, rgb("#e07a5f")),
                   (1.0, rgb("#ffc46b"))],
        far_col=rgb("#6a4a7a"), near_col=rgb("#2e2440"), water_tint=rgb("#2a2350"),
        horizon=0.60, seed=202,
        sun=(0.70, 0.92, 0.035, rgb("#ffd080"), 0.22),
        cloud_col=rgb("#f7a98a"), cloud_alpha=0.45)
    return vignette(dither(img, 1.2, 2), 0.45)


def background_night():
    img, hy = landscape(
        sky_stops=[(0.0, rgb("#070a24")), (0.55, rgb("#1d1a4e")), (0.88, rgb("#4a2f6e")),
                   (1.0, rgb("#7a4a7e"))],
        far_col=rgb("#2a2450"), near_col=rgb("#0e0c22"), water_tint=rgb("#0c0f2e"),
        horizon=0.60, seed=303,
        cloud_col=rgb("#3a3570"), cloud_alpha=0.35)
    rng = np.random.default_rng(9)
    d = ImageDraw.Draw(img)
    for _ in range(420):
        x, y = rng.uniform(0, BG_W), rng.uniform(0, hy * 0.8) ** 1.0
        b = rng.uniform(0.3, 1.0)
        s = 0.6 + 1.4 * (rng.random() ** 4)
        c = tuple(int(v * b + 60 * (1 - b)) for v in (235, 238, 255))
        d.ellipse((x - s, y - s, x + s, y + s), fill=c)
    # crescent moon with a soft halo and its path on the water
    mx, my, mr = 1720, 430, 46
    halo = Image.new("L", img.size, 0)
    ImageDraw.Draw(halo).ellipse((mx - mr * 3, my - mr * 3, mx + mr * 3, my + mr * 3), fill=70)
    halo = halo.filter(ImageFilter.GaussianBlur(60))
    img = Image.composite(Image.new("RGB", img.size, (210, 215, 255)), img, halo)
    moon = Image.new("L", img.size, 0)
    md = ImageDraw.Draw(moon)
    md.ellipse((mx - mr, my - mr, mx + mr, my + mr), fill=255)
    md.ellipse((mx - mr + 22, my - mr - 10, mx + mr + 22, my + mr - 10), fill=0)
    moon = moon.filter(ImageFilter.GaussianBlur(1))
    img = Image.composite(Image.new("RGB", img.size, (255, 246, 210)), img, moon)
    path = np.zeros((BG_H, BG_W), np.float32)
    ys = np.arange(hy + 4, BG_H)
    path_rng = np.random.default_rng(10)
    for y in ys[::3]:
        half = 14 + (y - hy) * 0.12
        jitter = path_rng.uniform(-half * 0.6, half * 0.6)
        x0, x1 = int(mx - half + jitter), int(mx + half * path_rng.uniform(0.2, 1.0) + jitter)
        path[y:y + 2, max(0, x0):min(BG_W, x1)] = path_rng.uniform(0.25, 0.6)
    pimg = Image.fromarray((path * 255).astype(np.uint8)).filter(ImageFilter.GaussianBlur(1.5))
    img = Image.composite(Image.new("RGB", img.size, (230, 225, 190)), img, scale_alpha(pimg, 0.8))
    return vignette(dither(img, 1.0, 3), 0.5)


# ------------------------------------------------------- application icon

ICON_DIR = os.path.join(ROOT, "packaging", "icons")
ICON_SIZES = (48, 128, 256)
ICON_FONT = "/usr/share/fonts/opentype/ipafont-gothic/ipagp.ttf"  # the game's block font


def game_picture(name):
    return Image.open(os.path.join(DATA_DIR, name)).convert("RGBA")


def app_icon(px):
    """The menu icon, composed from the game's own pictures: a tile of the
    morning lake with four top-row blocks (one of them the empty gap), the ball
    carrying the missing character of 四字熟語, and the paddle. Drawn at 4x and
    reduced; below 64 pixels the block characters are left out (they would only
    be noise) and the ball and paddle are drawn larger."""
    U = 4
    S = 256 * U
    small = px < 64
    img = Image.new("RGBA", (S, S), (0, 0, 0, 0))

    # The tile: a square cut of the morning lake behind a rounded frame.
    m0, radius = 10 * U, 46 * U
    tile = Image.new("L", (S, S), 0)
    ImageDraw.Draw(tile).rounded_rectangle((m0, m0, S - 1 - m0, S - 1 - m0), radius, fill=255)
    lake = Image.open(os.path.join(DATA_DIR, "haikei1.jpg")).convert("RGB")
    lake = lake.crop((480, 60, 1500, 1080)).resize((S, S), Image.LANCZOS)
    frame = tile.filter(ImageFilter.MaxFilter(2 * U + 1))
    img.alpha_composite(solid((S, S), rgb("#1b2a5a"), frame))
    inner = tile.filter(ImageFilter.MinFilter(3 * U + 1))
    lake.putalpha(inner)
    img.alpha_composite(lake)

    # The top row: 四, the gap, 熟, 語 on the blocks of three colour groups.
    bw, bh, gap = 52 * U, 31 * U, 4 * U
    x0 = (S - (4 * bw + 3 * gap)) // 2
    by = 30 * U
    chars = ["四", None, "熟", "語"]
    char_colours = [rgb("#fff8dc"), None, rgb("#fff8dc"), (0, 0, 0)]
    blocks = [0, None, 2, 3]
    for i in range(4):
        x = x0 + i * (bw + gap)
        if blocks[i] is None:
            hole = Image.new("L", (S, S), 0)
            ImageDraw.Draw(hole).rounded_rectangle((x, by, x + bw, by + bh), 6 * U, fill=255)
            img.alpha_composite(solid((S, S), rgb("#1b2a5a"), scale_alpha(hole, 0.55)))
            rim = Image.new("L", (S, S), 0)
            ImageDraw.Draw(rim).rounded_rectangle((x, by, x + bw, by + bh), 6 * U,
                                                  outline=255, width=2 * U)
            img.alpha_composite(solid((S, S), (255, 255, 255), scale_alpha(rim, 0.9)))
            continue
        block = game_picture("Png/Block_%d.png" % blocks[i]).resize((bw, bh), Image.LANCZOS)
        img.alpha_composite(block, (x, by))
        if not small:
            ch = text_mask((S, S), chars[i], font(22 * U, ICON_FONT),
                           (x + bw // 2, by + bh // 2), anchor="mm")
            img.alpha_composite(solid((S, S), char_colours[i], ch))

    # The ball with the missing character.
    d = (100 if small else 84) * U
    cx, cy = (S // 2 - 8 * U, 132 * U) if small else (S // 2 - 4 * U, 128 * U)
    ball_img = game_picture("Png/ball.png").resize((d, d), Image.LANCZOS)
    img.alpha_composite(ball_img, (cx - d // 2, cy - d // 2))
    ch = text_mask((S, S), "字", font(int(d * 0.58), ICON_FONT), (cx, cy + d // 40), anchor="mm")
    img.alpha_composite(solid((S, S), rgb("#3a1a5a"), ch))

    # The paddle near the bottom edge.
    pw = (150 if small else 128) * U
    pad = game_picture("Png/pad.png")
    pad = pad.resize((pw, pw * pad.height // pad.width), Image.LANCZOS)
    img.alpha_composite(pad, ((S - pw) // 2, 236 * U - pad.height))
    return img.resize((px, px), Image.LANCZOS)


def write_icons():
    for px in ICON_SIZES:
        folder = os.path.join(ICON_DIR, "%dx%d" % (px, px))
        os.makedirs(folder, exist_ok=True)
        path = os.path.join(folder, "teramon2.png")
        app_icon(px).save(path, optimize=True)
        EXPECTED[path] = (px, px)


# ------------------------------------------------------------------ main

def write_pictures():
    os.makedirs(PNG_DIR, exist_ok=True)
    for g, c in enumerate(BLOCK_COLOURS):
        save_png(plain_block(c), "Block_%d.png" % g, (BW, BH))
    save_png(stone_block(), "StoneBlock.png", (BW, BH))
    save_png(wood_block(), "WoodBlock.png", (BW, BH))
    save_png(gold_block(), "GoldBlock.png", (BW, BH))
    save_png(ball(), "ball.png", (128, 128))
    save_png(rock(112, 96, rgb("#8a8d93"), 41), "stone.png", (112, 96))
    save_png(rock(112, 96, rgb("#c0453a"), 42, cross=True), "stone2.png", (112, 96))
    save_png(paddle(), "pad.png", (256, 104))
    save_png(title_picture(), "title.png", (1010, 298))
    save_png(logo_picture(), "logo.png", (529, 55))
    save_png(explosion(), "Bakuhatu.png", (150, 138))
    save_png(music_icon(), "music.png", (169, 236))
    save_png(off_mark(), "music_stop.png", (200, 200))
    save_png(sound_icon(), "sound.png", (108, 101))
    save_png(off_mark(), "sound_stop.png", (200, 200))
    save_png(result_picture("正解！", rgb("#ffb02a"), rgb("#ee2a12"), (255, 255, 255),
                            rgb("#7a1010")), "seikai.png", (1010, 298))
    save_png(result_picture("ゲームオーバー", rgb("#8aa4ff"), rgb("#3a26b8"), (255, 255, 255),
                            rgb("#14103a")), "GameOver.png", (1010, 298))
    save_png(result_picture("ゲームクリア！", rgb("#ffd21f"), rgb("#ff7000"), (255, 255, 255),
                            rgb("#6a2a00"), sparkles=True, seed=1), "GameClear.png", (1010, 298))
    save_png(result_picture("新記録！", rgb("#ff86c8"), rgb("#e0106a"), (255, 255, 255),
                            rgb("#5a0a3a"), sparkles=True, seed=2), "newrecord.png", (1010, 298))
    save_jpg(background_morning(), "haikei1.jpg", (BG_W, BG_H))
    save_jpg(background_evening(), "haikei2.jpg", (BG_W, BG_H))
    save_jpg(background_night(), "haikei3.jpg", (BG_W, BG_H))


def main():
    if not ICONS_ONLY:
        write_pictures()
    write_icons()        # composed from the pictures just written (or the committed ones)

    # Check that every file is there at its size, and keep the set small.
    total, bad = 0, []   # total: bytes of the game's pictures (the icons are not shipped in Data/)
    for path, size in EXPECTED.items():
        with Image.open(path) as im:
            if im.size != size:
                bad.append("%s is %s, wanted %s" % (path, im.size, size))
            if path.endswith(".png") and im.mode != "RGBA":
                bad.append("%s has no alpha" % path)
        n = os.path.getsize(path)
        if path.startswith(DATA_DIR + os.sep):
            total += n
        print("%-28s %5dx%-5d %8d bytes" % (os.path.relpath(path, ROOT), size[0], size[1], n))
    if not ICONS_ONLY:
        print("pictures in Data/: %d bytes" % total)
    if not ICONS_ONLY and total > 5 * 1024 * 1024:
        bad.append("pictures take %d bytes, over 5 MiB" % total)
    if bad:
        print("\n".join(bad), file=sys.stderr)
        sys.exit(1)


if __name__ == "__main__":
    main()
