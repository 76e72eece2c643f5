#!/usr/bin/python3
"""Draws the programs' pictures, icons and hand pointer.

Run with Debian's python3 and python3-pil (fonts-dejavu-core for the few
words of text):

    /usr/bin/python3 resources/generate.py [output-directory]

Without an argument the files are written beside this script. The output is
the same on every run for a given Pillow / libjpeg / FreeType build: nothing
is random except dither noise from a fixed seed.
"""

import io
import os
import random
import struct
import sys

from PIL import Image, ImageChops, ImageDraw, ImageFont

SS = 8  # supersampling factor for anti-aliased shapes

FONT_DIR = "/usr/share/fonts/truetype/dejavu"

# Where the agent puts its two buttons on the bar after start-up (pixels).
MENU_BUTTON_X = 112
PLAY_BUTTON_X = 144
BUTTON_Y = 4
BUTTON_W, BUTTON_H = 27, 13
BAR_W, BAR_H = 177, 25  # the picture; the window shows 176 x 24 of it

# The 8-bit images come first, then the 32-bit ones with alpha: the sizes XP
# shows (list, small and tile views), none larger, to keep the programs small.
ICON_IMAGES = [(48, 8), (32, 8), (16, 8), (48, 32), (32, 32), (16, 32)]


def font(name, size):
    return ImageFont.truetype(os.path.join(FONT_DIR, name), size)


def rgba(code, alpha=255):
    """'#rrggbb' -> (r, g, b, alpha)."""
    code = code.lstrip("#")
    return (int(code[0:2], 16), int(code[2:4], 16), int(code[4:6], 16), alpha)


def lerp_colour(c0, c1, t):
    return tuple(round(a + (b - a) * t) for a, b in zip(c0, c1))


def at_stops(stops, t):
    """Colour of a piecewise linear ramp; stops are (position, rgba) sorted by position."""
    if t <= stops[0][0]:
        return stops[0][1]
    for (t0, c0), (t1, c1) in zip(stops, stops[1:]):
        if t <= t1:
            return lerp_colour(c0, c1, 0.0 if t1 == t0 else (t - t0) / (t1 - t0))
    return stops[-1][1]


class Art:
    """An RGBA surface drawn at SS times its final size.

    Coordinates are in final pixels; a rectangle (x0, y0, x1, y1) covers the
    pixels x0 <= x < x1, so integer edges give crisp lines after reduction.
    """

    def __init__(self, w, h, ss=SS, background=(0, 0, 0, 0)):
        self.w, self.h, self.ss = w, h, ss
        self.size = (w * ss, h * ss)
        self.im = Image.new("RGBA", self.size, background)

    # Masks ("L" images at the supersampled size)
    def blank(self, value=0):
        return Image.new("L", self.size, value)

    def rect(self, x0, y0, x1, y1, r=0.0):
        m = self.blank()
        s = self.ss
        box = [round(x0 * s), round(y0 * s), round(x1 * s) - 1, round(y1 * s) - 1]
        d = ImageDraw.Draw(m)
        if r > 0:
            d.rounded_rectangle(box, radius=round(r * s), fill=255)
        else:
            d.rectangle(box, fill=255)
        return m

    def ellipse(self, x0, y0, x1, y1):
        m = self.blank()
        s = self.ss
        ImageDraw.Draw(m).ellipse([round(x0 * s), round(y0 * s), round(x1 * s) - 1, round(y1 * s) - 1], fill=255)
        return m

    def polygon(self, points):
        m = self.blank()
        ImageDraw.Draw(m).polygon([(x * self.ss, y * self.ss) for x, y in points], fill=255)
        return m

    @staticmethod
    def both(a, b):
        return ImageChops.multiply(a, b)

    @staticmethod
    def minus(a, b):
        return ImageChops.subtract(a, b)

    # Fills
    def vgradient(self, y0, y1, stops):
        """A full-size image whose colour runs along y from y0 to y1."""
        h = self.size[1]
        column = Image.new("RGBA", (1, h))
        column.putdata([at_stops(stops, ((y + 0.5) / self.ss - y0) / (y1 - y0)) for y in range(h)])
        return column.resize(self.size, Image.NEAREST)

    def radial(self, cx, cy, rx, ry, stops):
        """A full-size image whose colour runs outward from (cx, cy) over the ellipse radii."""
        w, h = self.w * 2, self.h * 2
        small = Image.new("RGBA", (w, h))
        data = []
        for y in range(h):
            dy = ((y + 0.5) / 2 - cy) / ry
            for x in range(w):
                dx = ((x + 0.5) / 2 - cx) / rx
                data.append(at_stops(stops, (dx * dx + dy * dy) ** 0.5))
        small.putdata(data)
        return small.resize(self.size, Image.BILINEAR)

    def paint(self, mask, fill, opacity=1.0):
        layer = Image.new("RGBA", self.size, fill) if isinstance(fill, tuple) else fill.copy()
        alpha = ImageChops.multiply(layer.getchannel("A"), mask)
        if opacity != 1.0:
            alpha = alpha.point(lambda v: round(v * opacity))
        layer.putalpha(alpha)
        self.im.alpha_composite(layer)

    def result(self):
        return self.im.resize((self.w, self.h), Image.BOX)


def add_text(img, xy, text, fnt, colour, shadow=None, shadow_offset=(0, 1)):
    """Draws text at the final size (hinted, so it stays crisp)."""
    layer = Image.new("RGBA", img.size, (0, 0, 0, 0))
    d = ImageDraw.Draw(layer)
    if shadow:
        d.text((xy[0] + shadow_offset[0], xy[1] + shadow_offset[1]), text, font=fnt, fill=shadow)
    d.text(xy, text, font=fnt, fill=colour)
    out = img.convert("RGBA")
    out.alpha_composite(layer)
    return out


def dither(img, amount, seed):
    """Adds faint fixed-seed noise so that the long gradients do not band."""
    rng = random.Random(seed)
    px = img.load()
    w, h = img.size
    for y in range(h):
        for x in range(w):
            n = rng.uniform(-amount, amount)
            r, g, b = px[x, y][:3]
            px[x, y] = (
                min(255, max(0, round(r + n))),
                min(255, max(0, round(g + n))),
                min(255, max(0, round(b + n * 1.2))),
            ) + tuple(px[x, y][3:])
    return img


KEY = (255, 0, 255)  # see-through in a GIF kept as a bitmap


def keyed(gif):
    """The GIF's pixels with its see-through ones in the key colour, for a
    program that draws it without a GIF decoder."""
    rgba = Image.open(io.BytesIO(gif)).convert("RGBA")
    px = list(rgba.getdata())
    assert all(p[:3] != KEY for p in px if p[3]), "the picture uses the key colour"
    flat = Image.new("RGB", rgba.size)
    flat.putdata([p[:3] if p[3] else KEY for p in px])
    return flat


# ---------------------------------------------------------------------------
# The agent bar


def bar_background():
    """The bar without its wordmark, 176 x 24 visible pixels, as RGBA."""
    w, h = BAR_W - 1, BAR_H - 1
    a = Art(w, h)
    full = a.blank(255)
    a.paint(
        full,
        a.vgradient(0, h, [
            (0.00, rgba("#2c4f8f")),
            (0.47, rgba("#16315f")),
            (0.50, rgba("#0a1a3b")),
            (0.80, rgba("#0b1d42")),
            (1.00, rgba("#133066")),
        ]),
    )
    # Light coming back up from the bottom edge.
    a.paint(full, a.radial(w * 0.5, h + 4, w * 0.7, 14, [(0.0, rgba("#4a90f0", 170)), (1.0, rgba("#3f86e6", 0))]))
    # The gloss over the upper half.
    gloss = a.rect(2, 1, w - 2, 11.5, 4)
    a.paint(gloss, a.vgradient(1, 11.5, [(0.0, rgba("#ffffff", 78)), (1.0, rgba("#ffffff", 14))]))
    # A groove between the wordmark and the buttons.
    groove_y = a.vgradient(4, 20, [(0.0, rgba("#000000", 0)), (0.5, rgba("#000000", 255)), (1.0, rgba("#000000", 0))])
    fade = groove_y.getchannel("A")
    a.paint(a.both(a.rect(105, 4, 106, 20), fade), rgba("#040c20", 210))
    a.paint(a.both(a.rect(106, 4, 107, 20), fade), rgba("#5a82c4", 120))
    # A thin light edge, bright at the top and dark at the bottom.
    edge = a.minus(a.rect(0, 0, w, h, 2), a.rect(1, 1, w - 1, h - 1, 1.5))
    a.paint(edge, a.vgradient(0, h, [(0.0, rgba("#a9c6f2", 230)), (0.5, rgba("#41659f", 200)), (1.0, rgba("#02081a", 240))]))
    # Corners outside the rounded edge: the window border is black.
    corner = ImageChops.invert(a.rect(0, 0, w, h, 2))
    a.paint(corner, rgba("#050b18"))
    return a.result()


def extend_one(img):
    """Adds the 177th column and 25th row that the window cuts off."""
    w, h = img.size
    out = Image.new(img.mode, (w + 1, h + 1))
    out.paste(img, (0, 0))
    out.paste(img.crop((w - 1, 0, w, h)), (w, 0))
    out.paste(out.crop((0, h - 1, w + 1, h)), (0, h))
    return out


def agent_bar(background):
    img = background.copy()
    bold = font("DejaVuSans-Bold.ttf", 10)
    light = font("DejaVuSans.ttf", 10)
    x, y = 9, 5
    img = add_text(img, (x, y), "brenlo", bold, rgba("#d3e0f4"), shadow=rgba("#020816", 190))
    x += round(bold.getlength("brenlo")) + 4
    img = add_text(img, (x, y), "vistrel", light, rgba("#93a9cb"), shadow=rgba("#020816", 170))
    img = dither(img.convert("RGB"), 1.6, seed=1013)
    return extend_one(img)


def tiff_ifd(entries, start, next_ifd):
    """One little-endian TIFF directory at offset start, followed by its out-of-line values.

    entries: (tag, type, count, value bytes) sorted by tag.
    """
    data_at = start + 2 + 12 * len(entries) + 4
    table, data = b"", b""
    for tag, kind, count, value in entries:
        if len(value) <= 4:
            table += struct.pack("<HHI", tag, kind, count) + value.ljust(4, b"\0")
        else:
            table += struct.pack("<HHII", tag, kind, count, data_at + len(data))
            data += value + (b"\0" if len(value) % 2 else b"")
    return struct.pack("<H", len(entries)) + table + struct.pack("<I", next_ifd) + data


def exif_block(width, height, thumbnail):
    """APP1 payload: Exif header, TIFF header, IFD0, Exif sub-IFD, and IFD1 holding a JPEG thumbnail."""
    ASCII, SHORT, LONG, RATIONAL, UNDEFINED = 2, 3, 4, 5, 7

    def text(tag, s):
        raw = s.encode("ascii") + b"\0"
        return (tag, ASCII, len(raw), raw)

    dpi = struct.pack("<II", 96, 1)
    resolution = [(0x011A, RATIONAL, 1, dpi), (0x011B, RATIONAL, 1, dpi), (0x0128, SHORT, 1, struct.pack("<H", 2))]

    def ifd0(exif_at):
        return [text(0x010E, "Brenlo Vistrel agent bar")] + resolution + [
            text(0x0131, "Brenlo Vistrel"),
            text(0x013B, "Brenlo Corporation"),
            text(0x8298, "Copyright (C) 2010-2011 Brenlo Corporation"),
            (0x8769, LONG, 1, struct.pack("<I", exif_at)),
        ]

    sub = [
        (0x9000, UNDEFINED, 4, b"0221"),
        (0xA001, SHORT, 1, struct.pack("<H", 1)),  # sRGB
        (0xA002, LONG, 1, struct.pack("<I", width)),
        (0xA003, LONG, 1, struct.pack("<I", height)),
    ]

    def ifd1(thumb_at):
        return [(0x0103, SHORT, 1, struct.pack("<H", 6))] + resolution + [
            (0x0201, LONG, 1, struct.pack("<I", thumb_at)),
            (0x0202, LONG, 1, struct.pack("<I", len(thumbnail))),
        ]

    # Sizes do not depend on the offsets, so lay out once with zeros, then for real.
    exif_at = 8 + len(tiff_ifd(ifd0(0), 8, 0))
    ifd1_at = exif_at + len(tiff_ifd(sub, exif_at, 0))
    thumb_at = ifd1_at + len(tiff_ifd(ifd1(0), ifd1_at, 0))
    tiff = (b"II*\0" + struct.pack("<I", 8) + tiff_ifd(ifd0(exif_at), 8, ifd1_at) + tiff_ifd(sub, exif_at, 0)
            + tiff_ifd(ifd1(thumb_at), ifd1_at, 0) + thumbnail)
    return b"Exif\0\0" + tiff


def jpeg_bytes(img, quality, exif=None, subsampling=0):
    buf = io.BytesIO()
    extra = {"exif": exif} if exif else {}
    img.save(buf, "JPEG", quality=quality, subsampling=subsampling, optimize=False, progressive=False, dpi=(96, 96), **extra)
    return buf.getvalue()


def bar_jpeg(img, target=10900):
    """Quality 100 for the picture; the Exif thumbnail's quality is picked so that the file lands near target."""
    thumb = img.resize((160, round(160 * img.height / img.width)), Image.LANCZOS)
    best = None
    for q in range(40, 101):
        data = jpeg_bytes(img, 100, exif_block(img.width, img.height, jpeg_bytes(thumb, q, subsampling=2)))
        if best is None or abs(len(data) - target) < abs(len(best[1]) - target):
            best = (q, data)
    return best


# ---------------------------------------------------------------------------
# The button bitmaps

BUTTON_LOOKS = {
    # body ramp (top, above the gloss line, below it, bottom), gloss strength
    "normal": ([rgba("#4a7cc6"), rgba("#1f4a92"), rgba("#112f6c"), rgba("#2257a8")], 150),
    "dim": ([rgba("#4a6690"), rgba("#26426e"), rgba("#182f58"), rgba("#27487c")], 100),
    "lit": ([rgba("#7fbaff"), rgba("#3f8ae6"), rgba("#2468cc"), rgba("#4f9cf4")], 150),
}


def button(look, glyph, background):
    """A 27 x 13 button drawn over the bar's background under it."""
    a = Art(BUTTON_W, BUTTON_H)
    a.im.paste(background.resize(a.size, Image.NEAREST))
    ramp, gloss_alpha = BUTTON_LOOKS[look]
    r = 4.5
    # Soft drop shadow onto the bar.
    a.paint(a.rect(0.5, 1, BUTTON_W - 0.5, BUTTON_H, r), rgba("#000000", 90))
    # Dark rim, then the body.
    a.paint(a.rect(0, 0, BUTTON_W, BUTTON_H - 0.5, r), rgba("#030a1c", 235))
    body = a.rect(1, 1, BUTTON_W - 1, BUTTON_H - 1.5, r - 1)
    a.paint(body, a.vgradient(1, BUTTON_H - 1.5, [(0.0, ramp[0]), (0.48, ramp[1]), (0.52, ramp[2]), (1.0, ramp[3])]))
    # Inner light rim at the top of the body.
    rim = a.minus(body, a.rect(1, 2, BUTTON_W - 1, BUTTON_H - 1.5, r - 1))
    a.paint(rim, rgba("#ffffff", gloss_alpha // 2))
    # Gloss on the upper half.
    gloss = a.rect(2.5, 1.5, BUTTON_W - 2.5, 6.5, r - 2)
    a.paint(gloss, a.vgradient(1.5, 6.5, [(0.0, rgba("#ffffff", gloss_alpha)), (1.0, rgba("#ffffff", gloss_alpha // 6))]))
    ink = rgba("#f2f7ff")
    shade = rgba("#020a22", 170)
    if glyph == "play":
        tri = [(11, 3), (11, 10), (17.5, 6.5)]
        a.paint(a.polygon([(x + 0.0, y + 1.0) for x, y in tri]), shade)
        a.paint(a.polygon(tri), ink)
    elif glyph == "pause":
        for x0 in (10, 15):
            a.paint(a.rect(x0, 4, x0 + 2, 11), shade)
            a.paint(a.rect(x0, 3, x0 + 2, 10), ink)
    return a.result().convert("RGB")


# ---------------------------------------------------------------------------
# Icons


def monitor_icon(size, badge=False):
    a = Art(size, size)
    S = size

    def U(v):  # unit -> pixels, snapped to whole pixels
        return round(v * S)

    small = S <= 24
    # Stand: a neck and a foot.
    neck = a.polygon([(U(0.43), U(0.72)), (U(0.57), U(0.72)), (U(0.60) + 0.3, U(0.87)), (U(0.40) - 0.3, U(0.87))])
    a.paint(neck, a.vgradient(U(0.72), U(0.87), [(0.0, rgba("#2a3242")), (1.0, rgba("#8793a6"))]))
    foot_y0, foot_y1 = U(0.85), U(0.95) if S > 16 else 15
    if not small:
        a.paint(a.ellipse(U(0.18), foot_y1 - S * 0.03, U(0.82), foot_y1 + S * 0.04), rgba("#000000", 60))
    foot = a.rect(U(0.24), foot_y0, U(0.76), foot_y1, max(0.6, S * 0.035))
    a.paint(foot, rgba("#1c2230", 240))
    a.paint(a.rect(U(0.24) + 1, foot_y0 + (0 if small else 1), U(0.76) - 1, foot_y1 - 1, max(0.5, S * 0.025)),
            a.vgradient(foot_y0, foot_y1, [(0.0, rgba("#dfe5ee")), (1.0, rgba("#7d889b"))]))
    # Body with a dark rim.
    bx0, by0, bx1, by1 = U(0.03), U(0.07), U(0.97), U(0.76)
    radius = max(1.0, S * 0.07)
    a.paint(a.rect(bx0, by0, bx1, by1, radius), rgba("#0b0f18"))
    a.paint(a.rect(bx0 + 1, by0 + 1, bx1 - 1, by1 - 1, radius - 1),
            a.vgradient(by0, by1, [(0.0, rgba("#5a6a84")), (0.5, rgba("#2a3448")), (1.0, rgba("#1a2130"))]))
    if not small:  # light top rim
        rim = a.minus(a.rect(bx0 + 1, by0 + 1, bx1 - 1, by1 - 1, radius - 1), a.rect(bx0 + 1, by0 + 2, bx1 - 1, by1 - 1, radius - 1))
        a.paint(rim, rgba("#ffffff", 70))
    # Screen: a blue picture with hills, and a play glyph.
    inset = max(1, round(S * 0.06))
    sx0, sy0, sx1, sy1 = bx0 + inset, by0 + inset, bx1 - inset, by1 - inset - (1 if S >= 32 else 0)
    screen = a.rect(sx0, sy0, sx1, sy1, 0 if small else S * 0.015)
    sw, sh = sx1 - sx0, sy1 - sy0
    a.paint(screen, a.vgradient(sy0, sy1, [(0.0, rgba("#9ad6ff")), (0.55, rgba("#3a8ae6")), (1.0, rgba("#0f3f9e"))]))
    far = a.polygon([(sx0, sy0 + sh * 0.70), (sx0 + sw * 0.30, sy0 + sh * 0.52), (sx0 + sw * 0.62, sy0 + sh * 0.74),
                     (sx1, sy0 + sh * 0.58), (sx1, sy1), (sx0, sy1)])
    a.paint(a.both(far, screen), rgba("#2265c7", 200))
    near = a.polygon([(sx0, sy0 + sh * 0.86), (sx0 + sw * 0.45, sy0 + sh * 0.70), (sx1, sy0 + sh * 0.90), (sx1, sy1), (sx0, sy1)])
    a.paint(a.both(near, screen), rgba("#0b2f7c", 230))
    # Glare across the upper left of the screen.
    glare = a.polygon([(sx0, sy0), (sx0 + sw * 0.75, sy0), (sx0, sy0 + sh * 0.62)])
    a.paint(a.both(glare, screen), rgba("#ffffff", 55))
    # Play triangle, centred a little above the middle of the screen.
    cx, cy = sx0 + sw * 0.5, sy0 + sh * 0.45
    th = max(5.0, sh * 0.52)
    if S == 16:
        tri = [(6, 4), (6, 9), (10.5, 6.5)]
    else:  # vertical edge on a pixel boundary, tip on the middle of the edge
        left, top = round(cx - th * 0.36), round(cy - th / 2)
        bottom = top + round(th)
        tri = [(left, top), (left, bottom), (left + round(th * 0.86), (top + bottom) / 2)]
    if not small:
        a.paint(a.polygon([(x + S * 0.012, y + S * 0.02) for x, y in tri]), rgba("#06204f", 130))
    a.paint(a.polygon(tri), rgba("#ffffff", 245))
    if badge:
        minus_badge(a, S)
    return a.result()


def minus_badge(a, S):
    """A red disc with a white bar: remove."""
    r = max(4, round(S * 0.22))
    cx, cy = S - r - (0 if S <= 16 else round(S * 0.01)), S - r - (0 if S <= 16 else round(S * 0.02))
    ring = max(1.0, S * 0.025)
    a.paint(a.ellipse(cx - r, cy - r, cx + r, cy + r), rgba("#ffffff", 250))
    disc = a.ellipse(cx - r + ring, cy - r + ring, cx + r - ring, cy + r - ring)
    a.paint(disc, a.vgradient(cy - r, cy + r, [(0.0, rgba("#ff8a7a")), (0.5, rgba("#e0301e")), (1.0, rgba("#a3120a"))]))
    if S > 24:
        gl = a.ellipse(cx - r * 0.62, cy - r * 0.85, cx + r * 0.62, cy - r * 0.05)
        a.paint(a.both(gl, disc), rgba("#ffffff", 70))
    bar_h = 2 if S <= 32 else max(2, round(S * 0.06))
    half = round(r * 0.55)
    y0 = round(cy - bar_h / 2)
    a.paint(a.rect(round(cx) - half, y0, round(cx) + half, y0 + bar_h), rgba("#ffffff"))


# ---------------------------------------------------------------------------
# File writers


def bmp24(img):
    """A bottom-up BITMAPINFOHEADER bitmap, 24 bits per pixel."""
    img = img.convert("RGB")
    w, h = img.size
    stride = (w * 3 + 3) & ~3
    px = img.load()
    rows = []
    for y in range(h - 1, -1, -1):
        row = bytearray()
        for x in range(w):
            r, g, b = px[x, y]
            row += bytes((b, g, r))
        row += bytes(stride - len(row))
        rows.append(bytes(row))
    pixels = b"".join(rows)
    info = struct.pack("<IiiHHIIiiII", 40, w, h, 1, 24, 0, len(pixels), 3780, 3780, 0, 0)
    head = struct.pack("<2sIHHI", b"BM", 14 + len(info) + len(pixels), 0, 0, 14 + len(info))
    return head + info + pixels


def bmp4(img):
    """A bottom-up bitmap of 16 colours at most, two pixels a byte."""
    q = img.convert("RGB").quantize(colors=16, method=Image.Quantize.MEDIANCUT, dither=Image.Dither.NONE)
    w, h = q.size
    pal = q.getpalette()[: 16 * 3]
    pal += [0] * (16 * 3 - len(pal))
    palette = b"".join(bytes((pal[i * 3 + 2], pal[i * 3 + 1], pal[i * 3], 0)) for i in range(16))
    stride = ((w * 4 + 31) // 32) * 4
    idx = q.tobytes()
    rows = []
    for y in range(h - 1, -1, -1):
        line = idx[y * w: (y + 1) * w] + b"\0"
        row = bytes((line[x] << 4) | line[x + 1] for x in range(0, w, 2))
        rows.append(row + bytes(stride - len(row)))
    pixels = b"".join(rows)
    info = struct.pack("<IiiHHIIiiII", 40, w, h, 1, 4, 0, len(pixels), 3780, 3780, 16, 0)
    at = 14 + len(info) + len(palette)
    head = struct.pack("<2sIHHI", b"BM", at + len(pixels), 0, 0, at)
    return head + info + palette + pixels


def and_mask(opaque, w, h):
    """1 where the screen shows through; bottom-up, rows padded to 32 bits."""
    stride = ((w + 31) // 32) * 4
    out = bytearray()
    for y in range(h - 1, -1, -1):
        row = bytearray(stride)
        for x in range(w):
            if not opaque[y * w + x]:
                row[x >> 3] |= 0x80 >> (x & 7)
        out += row
    return bytes(out)


def icon_image_32(img):
    w, h = img.size
    px = list(img.getdata())
    xor = bytearray()
    for y in range(h - 1, -1, -1):
        for x in range(w):
            r, g, b, al = px[y * w + x]
            xor += bytes((b, g, r, al))
    mask = and_mask([p[3] > 0 for p in px], w, h)
    info = struct.pack("<IiiHHIIiiII", 40, w, h * 2, 1, 32, 0, len(xor) + len(mask), 0, 0, 0, 0)
    return info + bytes(xor) + mask


def icon_image_8(img):
    """256-colour image with a hard mask; index 0 is black for the see-through pixels."""
    w, h = img.size
    px = list(img.getdata())
    opaque = [p[3] >= 128 for p in px]
    fallback = next((p[:3] for p, o in zip(px, opaque) if o), (0, 0, 0))
    rgb = Image.new("RGB", (w, h))
    rgb.putdata([p[:3] if o else fallback for p, o in zip(px, opaque)])
    q = rgb.quantize(colors=255, method=Image.Quantize.MEDIANCUT)
    pal = q.getpalette()[: 255 * 3]
    pal += [0] * (255 * 3 - len(pal))
    palette = bytearray(4)  # entry 0: black
    for i in range(255):
        palette += bytes((pal[i * 3 + 2], pal[i * 3 + 1], pal[i * 3], 0))
    idx = list(q.getdata())
    stride = (w + 3) & ~3
    xor = bytearray()
    for y in range(h - 1, -1, -1):
        row = bytearray(stride)
        for x in range(w):
            i = y * w + x
            row[x] = idx[i] + 1 if opaque[i] else 0
        xor += row
    mask = and_mask(opaque, w, h)
    info = struct.pack("<IiiHHIIiiII", 40, w, h * 2, 1, 8, 0, len(xor) + len(mask), 0, 0, 0, 0)
    return info + bytes(palette) + bytes(xor) + mask


def ico_file(images):
    """images: list of (RGBA image, bits per pixel)."""
    blobs = [icon_image_8(im) if bpp == 8 else icon_image_32(im) for im, bpp in images]
    offset = 6 + 16 * len(images)
    head = struct.pack("<HHH", 0, 1, len(images))
    entries = b""
    for (im, bpp), blob in zip(images, blobs):
        w, h = im.size
        entries += struct.pack("<BBBBHHII", w % 256, h % 256, 0, 0, 1, bpp, len(blob), offset)
        offset += len(blob)
    return head + entries + b"".join(blobs)


# The hand pointer: '#' black, '.' white, ' ' see-through. The fingertip is
# at the top of the index finger, which is the hot spot.
HAND_32 = """
    ##
   #..#
   #..#
   #..#
   #..#
   #..###
   #..#..###
   #..#..#..###
   #..#..#..#..#
 ###..#..#..#..#
#..#..#..#..#..#
#..#...........#
#..............#
#..............#
 #.............#
 #.............#
  #............#
  #...........#
   #..........#
    #.........#
    #........#
    #........#
    ##########
"""

HAND_16 = """
  #
 #.#
 #.#
 #.##
 #.#.##
 #.#.#.##
##.#.#.#.#
#........#
#........#
 #.......#
 #.......#
  #.....#
  #######
"""

HAND_HOTSPOTS = {32: (4, 0), 16: (2, 0)}


def parse_pointer(art, size):
    lines = art.strip("\n").split("\n")
    grid = [[" "] * size for _ in range(size)]
    for y, line in enumerate(lines):
        for x, ch in enumerate(line):
            grid[y][x] = ch
    return grid


def cursor_image(grid):
    size = len(grid)
    stride = ((size + 31) // 32) * 4
    xor = bytearray()
    andm = bytearray()
    for y in range(size - 1, -1, -1):
        xrow, arow = bytearray(stride), bytearray(stride)
        for x in range(size):
            ch = grid[y][x]
            bit = 0x80 >> (x & 7)
            if ch == ".":
                xrow[x >> 3] |= bit
            elif ch == " ":
                arow[x >> 3] |= bit
        xor += xrow
        andm += arow
    info = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 1, 0, len(xor) + len(andm), 0, 0, 2, 0)
    palette = bytes((0, 0, 0, 0, 255, 255, 255, 0))
    return info + palette + bytes(xor) + bytes(andm)


def cur_file():
    sizes = (32, 16)
    blobs = [cursor_image(parse_pointer(HAND_32 if s == 32 else HAND_16, s)) for s in sizes]
    offset = 6 + 16 * len(sizes)
    out = struct.pack("<HHH", 0, 2, len(sizes))
    for s, blob in zip(sizes, blobs):
        hx, hy = HAND_HOTSPOTS[s]
        out += struct.pack("<BBBBHHII", s, s, 2, 0, hx, hy, len(blob), offset)
        offset += len(blob)
    return out + b"".join(blobs)


def pointer_picture(size, scale):
    """The pointer as an RGBA picture for the contact sheet."""
    grid = parse_pointer(HAND_32 if size == 32 else HAND_16, size)
    img = Image.new("RGBA", (size, size), (0, 0, 0, 0))
    for y in range(size):
        for x in range(size):
            ch = grid[y][x]
            if ch != " ":
                img.putpixel((x, y), (0, 0, 0, 255) if ch == "#" else (255, 255, 255, 255))
    hx, hy = HAND_HOTSPOTS[size]
    img.putpixel((hx, hy), (230, 40, 40, 255))  # marks the hot spot on the sheet only
    return img.resize((size * scale, size * scale), Image.NEAREST)


# ---------------------------------------------------------------------------
# The configuration tool's pictures


def add_centred_text(img, y, text, fnt, colour, shadow=None):
    """Text centred across the picture's width, at height y."""
    x = round((img.size[0] - fnt.getlength(text)) / 2)
    return add_text(img, (x, y), text, fnt, colour, shadow=shadow)


def placeholder():
    w, h = 210, 123
    a = Art(w, h, ss=4)
    full = a.blank(255)
    a.paint(full, a.vgradient(0, h, [(0.0, rgba("#e9eef5")), (1.0, rgba("#c9d3e1"))]))
    a.paint(full, a.radial(w / 2, h * 0.42, w * 0.6, h * 0.7, [(0.0, rgba("#ffffff", 120)), (1.0, rgba("#ffffff", 0))]))
    # A dashed inner frame.
    for x in range(8, w - 8, 6):
        a.paint(a.rect(x, 6, min(x + 3, w - 8), 7), rgba("#9fb0c8"))
        a.paint(a.rect(x, h - 7, min(x + 3, w - 8), h - 6), rgba("#9fb0c8"))
    for y in range(8, h - 8, 6):
        a.paint(a.rect(6, y, 7, min(y + 3, h - 8)), rgba("#9fb0c8"))
        a.paint(a.rect(w - 7, y, w - 6, min(y + 3, h - 8)), rgba("#9fb0c8"))
    # A picture glyph: a framed landscape.
    gx0, gy0, gx1, gy1 = 80, 22, 130, 62
    a.paint(a.rect(gx0 + 1, gy0 + 2, gx1 + 1, gy1 + 2, 4), rgba("#506684", 50))
    a.paint(a.rect(gx0, gy0, gx1, gy1, 4), rgba("#7d91ae"))
    inner = a.rect(gx0 + 3, gy0 + 3, gx1 - 3, gy1 - 3, 2)
    a.paint(inner, a.vgradient(gy0, gy1, [(0.0, rgba("#f4f7fb")), (1.0, rgba("#dfe6ef"))]))
    a.paint(a.both(a.ellipse(gx1 - 17, gy0 + 7, gx1 - 9, gy0 + 15), inner), rgba("#9fb0c8"))
    hills = a.polygon([(gx0 + 3, gy1 - 10), (gx0 + 16, gy0 + 16), (gx0 + 27, gy1 - 12), (gx0 + 34, gy1 - 17), (gx1 - 3, gy1 - 7),
                       (gx1 - 3, gy1 - 3), (gx0 + 3, gy1 - 3)])
    a.paint(a.both(hills, inner), rgba("#8ea2bf"))
    img = a.result().convert("RGB")
    img = add_centred_text(img, 71, "no preview", font("DejaVuSans-Bold.ttf", 13), rgba("#667a98"),
                           shadow=rgba("#ffffff", 200))
    img = add_centred_text(img, 90, "choose a bitmap for this slot", font("DejaVuSans.ttf", 9), rgba("#7f90aa"))
    return img.convert("RGB")


def unreadable():
    """Shown in the preview for a slot whose file is no picture the tool can show."""
    w, h = 210, 123
    a = Art(w, h, ss=4)
    full = a.blank(255)
    a.paint(full, a.vgradient(0, h, [(0.0, rgba("#f7ecec")), (1.0, rgba("#e6cfcf"))]))
    frame = a.minus(a.rect(4, 4, w - 4, h - 4, 3), a.rect(6, 6, w - 6, h - 6, 2))
    a.paint(frame, rgba("#b03030"))
    # A broken-picture glyph: a struck-through frame.
    gx0, gy0, gx1, gy1 = 82, 18, 128, 56
    a.paint(a.rect(gx0, gy0, gx1, gy1, 4), rgba("#b03030"))
    a.paint(a.rect(gx0 + 3, gy0 + 3, gx1 - 3, gy1 - 3, 2), rgba("#fbf3f3"))
    a.paint(a.polygon([(gx0 - 2, gy1 - 1), (gx1 - 1, gy0 - 2), (gx1 + 2, gy0 + 1), (gx0 + 1, gy1 + 2)]), rgba("#b03030"))
    img = a.result().convert("RGB")
    img = add_centred_text(img, 66, "cannot show this picture", font("DejaVuSans-Bold.ttf", 13), rgba("#8a1f1f"),
                           shadow=rgba("#ffffff", 200))
    img = add_centred_text(img, 88, "the file is not a bitmap this tool can read", font("DejaVuSans.ttf", 9),
                           rgba("#9a4a4a"))
    return img.convert("RGB")


GIF_MATTE = rgba("#e0ddd3")  # between the classic and the Luna window colours


def badge_picture():
    S = 32
    a = Art(S, S)
    # Soft shadow, blue glossy disc, white play triangle.
    a.paint(a.ellipse(2.5, 3.5, 30.5, 31.5), rgba("#0a1a3a", 70))
    a.paint(a.ellipse(1.5, 1.5, 30.5, 30.5), rgba("#0a1736"))
    disc = a.ellipse(2.5, 2.5, 29.5, 29.5)
    a.paint(disc, a.vgradient(2.5, 29.5, [(0.0, rgba("#5da3f5")), (0.5, rgba("#1d4f9e")), (1.0, rgba("#0e2a63"))]))
    a.paint(disc, a.radial(16, 31, 14, 9, [(0.0, rgba("#56a6ff", 160)), (1.0, rgba("#56a6ff", 0))]))
    gloss = a.ellipse(6, 3.5, 26, 16)
    a.paint(a.both(gloss, disc), a.vgradient(3.5, 16, [(0.0, rgba("#ffffff", 150)), (1.0, rgba("#ffffff", 15))]))
    ring = a.minus(a.ellipse(2.5, 2.5, 29.5, 29.5), a.ellipse(3.5, 3.5, 28.5, 28.5))
    a.paint(ring, rgba("#9cc8ff", 90))
    tri = [(12.5, 9.5), (12.5, 22.5), (23, 16)]
    a.paint(a.polygon([(x + 0.3, y + 1.0) for x, y in tri]), rgba("#031030", 150))
    a.paint(a.polygon(tri), rgba("#f4f8ff"))
    return a.result()


def gif_bytes(img):
    """A GIF89a with one see-through colour; soft edges are blended onto the matte."""
    w, h = img.size
    px = list(img.getdata())
    opaque = [p[3] >= 40 for p in px]
    flat = Image.new("RGB", (w, h))
    out = []
    for p in px:
        al = p[3] / 255
        out.append(tuple(round(c * al + m * (1 - al)) for c, m in zip(p[:3], GIF_MATTE[:3])))
    flat.putdata(out)
    q = flat.quantize(colors=255, method=Image.Quantize.MEDIANCUT)
    pal = q.getpalette()[: 255 * 3]
    pal += [0] * (255 * 3 - len(pal))
    idx = [i if o else 255 for i, o in zip(q.getdata(), opaque)]
    final = Image.new("P", (w, h))
    final.putpalette(pal + list(GIF_MATTE[:3]))
    final.putdata(idx)
    buf = io.BytesIO()
    final.save(buf, "GIF", transparency=255, optimize=False)
    return buf.getvalue()


# ---------------------------------------------------------------------------
# The contact sheet for review


def checker(size, cell=8):
    img = Image.new("RGB", size, (236, 236, 236))
    d = ImageDraw.Draw(img)
    for y in range(0, size[1], cell):
        for x in range(0, size[0], cell):
            if (x // cell + y // cell) % 2:
                d.rectangle([x, y, x + cell - 1, y + cell - 1], fill=(208, 208, 208))
    return img


def on_checker(img, scale=1):
    img = img.resize((img.width * scale, img.height * scale), Image.NEAREST)
    base = checker(img.size).convert("RGBA")
    base.alpha_composite(img.convert("RGBA"))
    return base


def contact_sheet(out):
    bar = Image.open(os.path.join(out, "agent_bar.jpg")).convert("RGB")
    buttons = {n: Image.open(os.path.join(out, n + ".bmp")).convert("RGB") for n in ("play", "pause", "dim", "lit")}
    # The bar as the window shows it: buttons placed, last column and row cut.
    shown = bar.copy()
    shown.paste(buttons["dim"], (MENU_BUTTON_X, BUTTON_Y))
    shown.paste(buttons["pause"], (PLAY_BUTTON_X, BUTTON_Y))
    shown = shown.crop((0, 0, BAR_W - 1, BAR_H - 1))
    framed = Image.new("RGB", (shown.width + 2, shown.height + 2), (0, 0, 0))
    framed.paste(shown, (1, 1))
    lit_shown = framed.copy()
    lit_shown.paste(buttons["lit"], (MENU_BUTTON_X + 1, BUTTON_Y + 1))
    lit_shown.paste(buttons["play"], (PLAY_BUTTON_X + 1, BUTTON_Y + 1))

    sheet = Image.new("RGB", (1120, 1130), (246, 247, 250))
    d = ImageDraw.Draw(sheet)
    title = font("DejaVuSans-Bold.ttf", 15)
    label = font("DejaVuSans.ttf", 11)
    d.text((16, 10), "Brenlo Vistrel artwork (generated by resources/generate.py)", font=title, fill=(40, 50, 70))

    y = 40
    d.text((16, y), "agent_bar.jpg on the window at 1:1 (running: pause, menu dim; stopped: play, menu lit; on a desktop), and 4x", font=label, fill=(60, 60, 60))
    y += 18
    sheet.paste(framed, (16, y))
    sheet.paste(lit_shown, (16 + framed.width + 20, y))
    desk = Image.new("RGB", (framed.width + 40, framed.height + 30), (58, 110, 165))  # on a desktop colour
    desk.paste(framed, (20, 15))
    sheet.paste(desk, (16 + 2 * (framed.width + 20), y - 2))
    y += 40
    sheet.paste(framed.resize((framed.width * 4, framed.height * 4), Image.NEAREST), (16, y))
    y += framed.height * 4 + 10
    d.text((16, y), "agent_bar.jpg alone at 4x", font=label, fill=(60, 60, 60))
    y += 16
    sheet.paste(bar.resize((bar.width * 4, bar.height * 4), Image.NEAREST), (16, y))
    y += bar.height * 4 + 12

    d.text((16, y), "101 play   102 pause   103 dim   104 lit   (1:1 and 8x)", font=label, fill=(60, 60, 60))
    y += 18
    x = 16
    for n in ("play", "pause", "dim", "lit"):
        b = buttons[n]
        sheet.paste(b, (x, y))
        sheet.paste(b.resize((b.width * 8, b.height * 8), Image.NEAREST), (x + 34, y))
        x += 34 + b.width * 8 + 22
    y += BUTTON_H * 8 + 16

    zoom = {48: 3, 32: 4, 24: 4, 16: 6}
    for name in ("program.ico", "uninstall.ico"):
        d.text((16, y), name + ": 8-bit 48/32/16, then 32-bit 48/32/16; enlarged copies below", font=label,
               fill=(60, 60, 60))
        y += 18
        frames = [read_ico_frame(os.path.join(out, name), size, bpp) for size, bpp in ICON_IMAGES]
        x = 16
        for (size, bpp), im in zip(ICON_IMAGES, frames):
            if bpp == 32 and size == 48:
                x += 14
            sheet.paste(on_checker(im), (x, y + 48 - im.height))
            x += im.width + 12
        y += 48 + 8
        x = 16
        for (size, bpp), im in zip(ICON_IMAGES, frames):
            if bpp == 32 and size == 48:
                x += 14
            big = on_checker(im, zoom[size])
            sheet.paste(big, (x, y + 144 - big.height))
            x += big.width + 8
        y += 144 + 14

    d.text((16, y), "hand.cur 32 (4x) and 16 (8x), hot spot red   placeholder.bmp (1:1 and stretched 217x129)   badge.gif (1:1, 4x)",
           font=label, fill=(60, 60, 60))
    y += 18
    x = 16
    for s in (32, 16):
        p = pointer_picture(s, 8 if s == 16 else 4)
        sheet.paste(on_checker(p), (x, y))
        x += p.width + 12
    ph = Image.open(os.path.join(out, "placeholder.bmp")).convert("RGB")
    sheet.paste(ph, (x, y))
    x += ph.width + 10
    sheet.paste(ph.resize((217, 129), Image.BILINEAR), (x, y))
    x += 217 + 12
    gif = Image.open(os.path.join(out, "badge.gif")).convert("RGBA")
    face = Image.new("RGBA", (48, 48), rgba("#ece9d8"))
    face.alpha_composite(gif, (8, 8))
    sheet.paste(face, (x, y))
    face2 = Image.new("RGBA", (48, 48), rgba("#d4d0c8"))
    face2.alpha_composite(gif, (8, 8))
    sheet.paste(face2, (x, y + 52))
    sheet.paste(on_checker(gif, 4), (x + 56, y))
    return sheet


def read_ico_frame(path, size, bpp):
    """Decodes one image of our own ICO files for the sheet (as Windows would show it)."""
    with open(path, "rb") as fh:
        data = fh.read()
    _, _, count = struct.unpack_from("<HHH", data, 0)
    for i in range(count):
        w, h, _, _, _, bits, length, offset = struct.unpack_from("<BBBBHHII", data, 6 + 16 * i)
        if (w or 256) == size and bits == bpp:
            break
    else:
        raise ValueError("no %d px %d-bit image in %s" % (size, bpp, path))
    blob = data[offset:offset + length]
    pos = 40
    palette = []
    if bpp == 8:
        palette = [tuple(blob[pos + 4 * k: pos + 4 * k + 3][::-1]) for k in range(256)]
        pos += 1024
    stride = ((size * bpp + 31) // 32) * 4
    mstride = ((size + 31) // 32) * 4
    mask_at = pos + stride * size
    img = Image.new("RGBA", (size, size))
    for row in range(size):
        y = size - 1 - row
        for x in range(size):
            masked = blob[mask_at + row * mstride + (x >> 3)] & (0x80 >> (x & 7))
            if bpp == 8:
                c = palette[blob[pos + row * stride + x]]
                img.putpixel((x, y), (0, 0, 0, 0) if masked else c + (255,))
            else:
                b, g, r, al = blob[pos + row * stride + 4 * x: pos + row * stride + 4 * x + 4]
                img.putpixel((x, y), (r, g, b, al))
    return img


# ---------------------------------------------------------------------------


def write(out, name, data):
    path = os.path.join(out, name)
    tmp = path + ".tmp"
    with open(tmp, "wb") as fh:
        fh.write(data)
    os.replace(tmp, path)


def main(argv):
    out = argv[1] if len(argv) > 1 else os.path.dirname(os.path.abspath(__file__))
    os.makedirs(out, exist_ok=True)

    background = bar_background()
    quality, jpeg = bar_jpeg(agent_bar(background))
    write(out, "agent_bar.jpg", jpeg)
    # The agent shows the bar as this bitmap: the JPEG decoded once here
    # (libjpeg, as the platform's decoder under Wine) spares it OLE at start.
    write(out, "agent_bar.bmp", bmp24(Image.open(io.BytesIO(jpeg))))

    under_button = background.crop((MENU_BUTTON_X, BUTTON_Y, MENU_BUTTON_X + BUTTON_W, BUTTON_Y + BUTTON_H))
    write(out, "play.bmp", bmp24(button("normal", "play", under_button)))
    write(out, "pause.bmp", bmp24(button("normal", "pause", under_button)))
    write(out, "dim.bmp", bmp24(button("dim", None, under_button)))
    write(out, "lit.bmp", bmp24(button("lit", None, under_button)))

    write(out, "program.ico", ico_file([(monitor_icon(s), bpp) for s, bpp in ICON_IMAGES]))
    write(out, "uninstall.ico", ico_file([(monitor_icon(s, badge=True), bpp) for s, bpp in ICON_IMAGES]))
    write(out, "hand.cur", cur_file())
    write(out, "placeholder.bmp", bmp24(placeholder()))
    # Few colours (text and a gradient on a flat frame): 256 show it unchanged.
    write(out, "unreadable.bmp", bmp4(unreadable()))
    badge = gif_bytes(badge_picture())
    write(out, "badge.gif", badge)
    write(out, "badge.bmp", bmp24(keyed(badge)))

    sheet = contact_sheet(out)
    buf = io.BytesIO()
    sheet.save(buf, "PNG", optimize=True)
    write(out, "preview.png", buf.getvalue())
    print("agent_bar.jpg: %d bytes (thumbnail quality %d)" % (len(jpeg), quality))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
