#!/usr/bin/python3
"""Checks the format facts of the committed pictures that the programs rely on.

    /usr/bin/python3 resources/check_assets.py [resource-directory]

Reads the files byte by byte (no imaging library), prints one line per file
and a closing count; exits 1 if any fact does not hold.
"""

import os
import re
import struct
import sys

ICON_IMAGES = sorted([(48, 8), (32, 8), (16, 8), (48, 32), (32, 32), (16, 32)])
BUTTONS = ("play.bmp", "pause.bmp", "dim.bmp", "lit.bmp")
RC_FILES = ("agent.rc", "config.rc", "setup.rc", "uninstall.rc")


class Fault(Exception):
    pass


def need(cond, message):
    if not cond:
        raise Fault(message)


def u16(data, at):
    return struct.unpack_from("<H", data, at)[0]


def info_header(blob, at=0):
    """BITMAPINFOHEADER fields: size, width, height, planes, bits, compression, image size, colours used."""
    need(len(blob) >= at + 40, "bitmap header cut short")
    size, w, h, planes, bits, comp, image_size, _, _, used, _ = struct.unpack_from("<IiiHHIIiiII", blob, at)
    need(size == 40, "header size %d, not a BITMAPINFOHEADER" % size)
    need(planes == 1, "%d planes" % planes)
    need(comp == 0, "compressed (%d)" % comp)
    return w, h, bits, image_size, used


def stride(width, bits):
    return ((width * bits + 31) // 32) * 4


def check_bmp(data, width, height, want_bits=24):
    need(data[:2] == b"BM", "no BM signature")
    file_size, _, _, pixels_at = struct.unpack_from("<IHHI", data, 2)
    need(file_size == len(data), "header says %d bytes, file has %d" % (file_size, len(data)))
    w, h, bits, _, used = info_header(data, 14)
    need((w, h) == (width, height), "%dx%d, want %dx%d (bottom-up)" % (w, h, width, height))
    need(bits == want_bits, "%d bits per pixel, want %d" % (bits, want_bits))
    palette = (used or 1 << bits) if bits <= 8 else 0
    need(pixels_at == 54 + 4 * palette, "pixels at %d, want %d" % (pixels_at, 54 + 4 * palette))
    need(len(data) - pixels_at == stride(w, bits) * h, "pixel data is %d bytes, want %d" % (len(data) - pixels_at, stride(w, bits) * h))


def jpeg_segments(data):
    """(marker, payload) from SOI up to and including SOS; the entropy-coded rest is not parsed."""
    need(data[:2] == b"\xff\xd8", "no SOI")
    at = 2
    while True:
        need(at + 4 <= len(data) and data[at] == 0xFF, "broken marker at %d" % at)
        marker = data[at + 1]
        length = struct.unpack_from(">H", data, at + 2)[0]
        need(length >= 2 and at + 2 + length <= len(data), "segment %02X runs past the end" % marker)
        yield marker, data[at + 4: at + 2 + length]
        if marker == 0xDA:
            return
        at += 2 + length


def check_exif(payload):
    tiff = payload[6:]
    need(tiff[:4] in (b"II*\0", b"MM\0*"), "Exif without a TIFF header")
    endian = "<" if tiff[:2] == b"II" else ">"
    ifd = struct.unpack_from(endian + "I", tiff, 4)[0]
    need(0 < ifd < len(tiff), "IFD0 offset outside the Exif block")
    count = struct.unpack_from(endian + "H", tiff, ifd)[0]
    tags = {}
    for k in range(count):
        tag, kind, n, value = struct.unpack_from(endian + "HHII", tiff, ifd + 2 + 12 * k)
        tags[tag] = (kind, n, value, ifd + 2 + 12 * k + 8)
    need(0x0131 in tags, "Exif has no Software tag")
    kind, n, value, inline = tags[0x0131]
    raw = tiff[inline: inline + n] if n <= 4 else tiff[value: value + n]
    need(kind == 2 and raw.rstrip(b"\0") == b"Brenlo Vistrel", "Exif Software is %r" % raw)
    next_ifd = struct.unpack_from(endian + "I", tiff, ifd + 2 + 12 * count)[0]
    if next_ifd:  # IFD1: a thumbnail must lie inside the block and be a JPEG
        need(next_ifd < len(tiff), "IFD1 offset outside the Exif block")
        count1 = struct.unpack_from(endian + "H", tiff, next_ifd)[0]
        t1 = {}
        for k in range(count1):
            tag, kind, n, value = struct.unpack_from(endian + "HHII", tiff, next_ifd + 2 + 12 * k)
            t1[tag] = value
        if 0x0201 in t1:
            start, length = t1[0x0201], t1.get(0x0202, 0)
            need(start + length <= len(tiff), "Exif thumbnail runs past the block")
            need(tiff[start: start + 2] == b"\xff\xd8" and tiff[start + length - 2: start + length] == b"\xff\xd9",
                 "Exif thumbnail is not a whole JPEG")


def check_jpeg(data, width, height):
    segments = list(jpeg_segments(data))
    markers = [m for m, _ in segments]
    need(markers[0] == 0xE0 and segments[0][1][:5] == b"JFIF\0", "first segment is not the JFIF APP0")
    exif = [p for m, p in segments if m == 0xE1 and p[:6] == b"Exif\0\0"]
    need(len(exif) == 1, "%d Exif APP1 segments, want 1" % len(exif))
    check_exif(exif[0])
    frames = [(m, p) for m, p in segments if 0xC0 <= m <= 0xCF and m not in (0xC4, 0xC8, 0xCC)]
    need(len(frames) == 1, "%d frame headers" % len(frames))
    marker, sof = frames[0]
    need(marker == 0xC0, "frame SOF%d, want baseline SOF0" % (marker - 0xC0))
    precision, h, w, ncomp = struct.unpack_from(">BHHB", sof, 0)
    need(precision == 8, "%d-bit samples" % precision)
    need((w, h) == (width, height), "%dx%d, want %dx%d" % (w, h, width, height))
    need(ncomp == 3, "%d components, want 3" % ncomp)
    need(data[-2:] == b"\xff\xd9", "no EOI at the end")
    need(10000 <= len(data) <= 11500, "%d bytes, want about 10.9 kB" % len(data))


def icon_dir(data, kind, count):
    need(len(data) >= 6, "too short")
    reserved, typ, n = struct.unpack_from("<HHH", data, 0)
    need(reserved == 0 and typ == kind, "directory type %d, want %d" % (typ, kind))
    need(n == count, "%d images, want %d" % (n, count))
    entries = []
    spans = []
    for i in range(n):
        w, h, colours, _, a, b, length, offset = struct.unpack_from("<BBBBHHII", data, 6 + 16 * i)
        need(offset >= 6 + 16 * n and offset + length <= len(data), "image %d lies outside the file" % i)
        spans.append((offset, offset + length))
        entries.append((w or 256, h or 256, colours, a, b, data[offset: offset + length]))
    spans.sort()
    for (_, end), (start, _) in zip(spans, spans[1:]):
        need(end <= start, "images overlap")
    return entries


def mask_bit(blob, at, row_stride, size, x, y):
    row = size - 1 - y  # bottom-up
    return blob[at + row * row_stride + (x >> 3)] & (0x80 >> (x & 7))


def check_icon_image(w, bpp, blob):
    need(blob[:8] != b"\x89PNG\r\n\x1a\n", "%d px image is PNG; XP reads only BMP icons" % w)
    bw, bh, bits, _, used = info_header(blob)
    need((bw, bh, bits) == (w, 2 * w, bpp), "%d px %d-bit entry holds %dx%d at %d bits" % (w, bpp, bw, bh // 2, bits))
    palette = (used or 256) if bpp == 8 else 0
    xor_at = 40 + 4 * palette
    and_at = xor_at + stride(w, bpp) * w
    need(len(blob) == and_at + stride(w, 1) * w, "%d px %d-bit image is %d bytes, want %d" % (w, bpp, len(blob), and_at + stride(w, 1) * w))
    clear = [(x, y) for y in range(w) for x in range(w) if mask_bit(blob, and_at, stride(w, 1), w, x, y)]
    need(0 < len(clear) < w * w, "%d px %d-bit mask is all one way" % (w, bpp))
    if bpp == 8:
        # See-through pixels must be black, or the screen behind them gets tinted.
        for x, y in clear:
            index = blob[xor_at + (w - 1 - y) * stride(w, 8) + x]
            need(blob[40 + 4 * index: 43 + 4 * index] == b"\0\0\0", "8-bit %d px: see-through pixel (%d,%d) is not black" % (w, x, y))
    else:
        alphas = {blob[xor_at + (w - 1 - y) * stride(w, 32) + 4 * x + 3] for y in range(w) for x in range(w)}
        need(len(alphas) > 2, "32-bit %d px image has no soft alpha" % w)
        for x, y in clear:
            need(blob[xor_at + (w - 1 - y) * stride(w, 32) + 4 * x + 3] == 0, "32-bit %d px: masked pixel (%d,%d) not clear" % (w, x, y))


def check_ico(data):
    entries = icon_dir(data, 1, len(ICON_IMAGES))
    found = []
    for w, h, _, planes, bpp, blob in entries:
        need(w == h, "%dx%d image is not square" % (w, h))
        need(planes == 1, "%d planes in the directory" % planes)
        found.append((w, bpp))
        check_icon_image(w, bpp, blob)
    need(sorted(found) == ICON_IMAGES, "images %s, want %s" % (sorted(found), ICON_IMAGES))


def check_cur(data):
    entries = icon_dir(data, 2, 2)
    want = {32: (4, 0), 16: (2, 0)}
    seen = set()
    for w, h, _, hx, hy, blob in entries:
        need(w == h and w in want, "unexpected %dx%d pointer" % (w, h))
        need((hx, hy) == want[w], "%d px hot spot (%d,%d), want %s" % (w, hx, hy, want[w]))
        bw, bh, bits, _, _ = info_header(blob)
        need((bw, bh, bits) == (w, 2 * w, 1), "%d px pointer image is %dx%d at %d bits" % (w, bw, bh // 2, bits))
        xor_at = 40 + 8
        and_at = xor_at + stride(w, 1) * w
        need(len(blob) == and_at + stride(w, 1) * w, "%d px pointer image has the wrong length" % w)
        need(not mask_bit(blob, and_at, stride(w, 1), w, hx, hy), "%d px hot spot lies on a see-through pixel" % w)
        seen.add(w)
    need(seen == set(want), "pointer sizes %s" % sorted(seen))


def check_gif(data):
    need(data[:6] == b"GIF89a", "signature %r, want GIF89a" % data[:6])
    w, h, flags = struct.unpack_from("<HHB", data, 6)
    need((w, h) == (32, 32), "screen %dx%d, want 32x32" % (w, h))
    at = 13 + (3 << ((flags & 7) + 1) if flags & 0x80 else 0)
    while data[at] == 0x21:  # extensions
        at += 2
        while data[at]:
            at += data[at] + 1
        at += 1
    need(data[at] == 0x2C, "no image descriptor")
    left, top, iw, ih = struct.unpack_from("<HHHH", data, at + 1)
    need((left, top, iw, ih) == (0, 0, 32, 32), "image %dx%d at (%d,%d)" % (iw, ih, left, top))
    need(data[-1] == 0x3B, "no trailer")
    need(1200 <= len(data) <= 1800, "%d bytes, want about 1.5 kB" % len(data))


def check_rc(text, folder):
    names = re.findall(r'^\s*\w+\s+(?:ICON|BITMAP|RCDATA|CURSOR)\s+"([^"]+)"', text, re.M)
    need(names, "names no files")
    for name in names:
        need(os.path.isfile(os.path.join(folder, name)), "refers to missing %s" % name)


def main(argv):
    folder = argv[1] if len(argv) > 1 else os.path.dirname(os.path.abspath(__file__))
    checks = [("agent_bar.jpg", lambda d: check_jpeg(d, 177, 25))]
    checks += [("agent_bar.bmp", lambda d: check_bmp(d, 177, 25))]
    checks += [(name, lambda d: check_bmp(d, 27, 13)) for name in BUTTONS]
    checks += [
        ("placeholder.bmp", lambda d: check_bmp(d, 210, 123)),
        ("unreadable.bmp", lambda d: check_bmp(d, 210, 123, 4)),
        ("badge.bmp", lambda d: check_bmp(d, 32, 32)),
        ("program.ico", check_ico),
        ("uninstall.ico", check_ico),
        ("hand.cur", check_cur),
        ("badge.gif", check_gif),
    ]
    checks += [(name, lambda d: check_rc(d.decode("ascii"), folder)) for name in RC_FILES]
    passed = failed = 0
    for name, check in checks:
        path = os.path.join(folder, name)
        try:
            with open(path, "rb") as fh:
                check(fh.read())
        except OSError as e:
            print("FAIL %s: %s" % (name, e.strerror))
            failed += 1
        except (Fault, struct.error, IndexError, UnicodeDecodeError) as e:
            print("FAIL %s: %s" % (name, e or "cut short"))
            failed += 1
        else:
            print("ok   %s" % name)
            passed += 1
    print("%d passed, %d failed" % (passed, failed))
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
