#!/usr/bin/env python3
"""Draw the images of the bundled Pagewell workspace.

Writes every picture below share/pagewell/ that the property dialogs offer
and that the template sets refer to:

  images/       the two fixed images (pagewell.jpg, bluerib.gif), the home,
                back and up buttons, the New/Updated/Construction banners and
                a few object icons
  lineimages/   horizontal rules
  bullets/      link bullets
  background/   subtle tiles for page backgrounds

Everything is drawn from code (shapes and a small built-in pixel font), so the
result is the same on every machine that has Pillow:

    python3 scripts/make-workspace-images.py

GIF has one-bit transparency only, so shapes are drawn four times larger,
scaled down, blended onto a light matte at their soft edges, and pixels under
half coverage become transparent.
"""

import math
import random
import sys
from pathlib import Path

try:
    from PIL import Image, ImageDraw
except ImportError:  # pragma: no cover - tells the user what is missing
    sys.exit("make-workspace-images: Pillow is needed (Debian: python3-pil)")

ROOT = Path(__file__).resolve().parent.parent / "share" / "pagewell"
SS = 4  # supersampling factor for anti-aliased shapes

# --------------------------------------------------------------------------
# A 5x7 pixel font for the lettering of banners and the badge.

GLYPHS = {
    "A": [".###.", "#...#", "#...#", "#####", "#...#", "#...#", "#...#"],
    "B": ["####.", "#...#", "#...#", "####.", "#...#", "#...#", "####."],
    "C": [".###.", "#...#", "#....", "#....", "#....", "#...#", ".###."],
    "D": ["####.", "#...#", "#...#", "#...#", "#...#", "#...#", "####."],
    "E": ["#####", "#....", "#....", "####.", "#....", "#....", "#####"],
    "F": ["#####", "#....", "#....", "####.", "#....", "#....", "#...."],
    "G": [".###.", "#...#", "#....", "#.###", "#...#", "#...#", ".####"],
    "H": ["#...#", "#...#", "#...#", "#####", "#...#", "#...#", "#...#"],
    "I": [".###.", "..#..", "..#..", "..#..", "..#..", "..#..", ".###."],
    "J": ["..###", "...#.", "...#.", "...#.", "#..#.", "#..#.", ".##.."],
    "K": ["#...#", "#..#.", "#.#..", "##...", "#.#..", "#..#.", "#...#"],
    "L": ["#....", "#....", "#....", "#....", "#....", "#....", "#####"],
    "M": ["#...#", "##.##", "#.#.#", "#.#.#", "#...#", "#...#", "#...#"],
    "N": ["#...#", "#...#", "##..#", "#.#.#", "#..##", "#...#", "#...#"],
    "O": [".###.", "#...#", "#...#", "#...#", "#...#", "#...#", ".###."],
    "P": ["####.", "#...#", "#...#", "####.", "#....", "#....", "#...."],
    "Q": [".###.", "#...#", "#...#", "#...#", "#.#.#", "#..#.", ".##.#"],
    "R": ["####.", "#...#", "#...#", "####.", "#.#..", "#..#.", "#...#"],
    "S": [".####", "#....", "#....", ".###.", "....#", "....#", "####."],
    "T": ["#####", "..#..", "..#..", "..#..", "..#..", "..#..", "..#.."],
    "U": ["#...#", "#...#", "#...#", "#...#", "#...#", "#...#", ".###."],
    "V": ["#...#", "#...#", "#...#", "#...#", "#...#", ".#.#.", "..#.."],
    "W": ["#...#", "#...#", "#...#", "#.#.#", "#.#.#", "#.#.#", ".#.#."],
    "X": ["#...#", "#...#", ".#.#.", "..#..", ".#.#.", "#...#", "#...#"],
    "Y": ["#...#", "#...#", ".#.#.", "..#..", "..#..", "..#..", "..#.."],
    "Z": ["#####", "....#", "...#.", "..#..", ".#...", "#....", "#####"],
    "!": ["..#..", "..#..", "..#..", "..#..", "..#..", ".....", "..#.."],
    "-": [".....", ".....", ".....", ".###.", ".....", ".....", "....."],
    ".": [".....", ".....", ".....", ".....", ".....", ".....", "..#.."],
    " ": [".....", ".....", ".....", ".....", ".....", ".....", "....."],
}


def text_size(text, scale=1, bold=False, gap=1):
    """Width and height in pixels of text in the pixel font."""
    cell = 5 * scale + (scale if bold else 0)
    width = len(text) * cell + max(0, len(text) - 1) * gap * scale
    return width, 7 * scale


def draw_text(img, x, y, text, colour, scale=1, bold=False, gap=1):
    """Draw text with the pixel font, top left corner at (x, y)."""
    draw = ImageDraw.Draw(img)
    cell = 5 * scale + (scale if bold else 0)
    for ch in text.upper():
        rows = GLYPHS[ch]
        for r, row in enumerate(rows):
            for c, bit in enumerate(row):
                if bit != "#":
                    continue
                px, py = x + c * scale, y + r * scale
                w = scale * (2 if bold else 1)
                draw.rectangle([px, py, px + w - 1, py + scale - 1], fill=colour)
        x += cell + gap * scale


# --------------------------------------------------------------------------
# Helpers for drawing and saving.


def canvas(w, h, colour=(0, 0, 0, 0)):
    """A supersampled RGBA canvas for an image of w x h pixels."""
    return Image.new("RGBA", (w * SS, h * SS), colour)


def shrink(big):
    """Scale a supersampled canvas down to its final size."""
    return big.resize((big.width // SS, big.height // SS), Image.LANCZOS)


def lerp(a, b, t):
    return tuple(int(round(a[i] + (b[i] - a[i]) * t)) for i in range(len(a)))


def vertical_gradient(w, h, top, bottom):
    img = Image.new("RGBA", (w, h))
    draw = ImageDraw.Draw(img)
    for y in range(h):
        draw.line([(0, y), (w, y)], fill=lerp(top, bottom, y / max(1, h - 1)) + (255,))
    return img


def masked(fill, mask):
    """fill (an RGBA image) cut to the shape of an L mask."""
    out = Image.new("RGBA", fill.size, (0, 0, 0, 0))
    out.paste(fill, (0, 0), mask)
    return out


def save_gif(img, path, matte=(246, 246, 246)):
    """Save an RGBA image as a GIF with one transparent palette entry."""
    img = img.convert("RGBA")
    alpha = img.getchannel("A")
    rgb = Image.new("RGB", img.size, matte)
    rgb.paste(img.convert("RGB"), (0, 0), alpha)
    transparent = alpha.point(lambda a: 255 if a < 128 else 0)
    has_transparency = transparent.getbbox() is not None
    colours = 255 if has_transparency else 256
    pal = rgb.quantize(colors=colours, method=Image.MEDIANCUT, dither=Image.NONE)
    palette = pal.getpalette()[: 3 * colours]
    palette += [0] * (768 - len(palette))
    pal.putpalette(palette)
    if has_transparency:
        pal.paste(255, (0, 0), transparent)
        pal.save(path, transparency=255)
    else:
        pal.save(path)
    report(path)


def save_jpg(img, path, quality=88):
    img.convert("RGB").save(path, quality=quality, optimize=True)
    report(path)


def report(path):
    print(f"{path.relative_to(ROOT.parent.parent)}  {path.stat().st_size} bytes")


def catmull_rom(points, steps=24):
    """A smooth curve through the given points."""
    pts = [points[0]] + list(points) + [points[-1]]
    out = []
    for i in range(1, len(pts) - 2):
        p0, p1, p2, p3 = pts[i - 1], pts[i], pts[i + 1], pts[i + 2]
        for s in range(steps):
            t = s / steps
            t2, t3 = t * t, t * t * t
            out.append(tuple(
                0.5 * (2 * p1[k] + (-p0[k] + p2[k]) * t
                       + (2 * p0[k] - 5 * p1[k] + 4 * p2[k] - p3[k]) * t2
                       + (-p0[k] + 3 * p1[k] - 3 * p2[k] + p3[k]) * t3)
                for k in range(2)))
    out.append(points[-1])
    return out


def thick_path(draw, pts, width, fill):
    """A polyline with round joins."""
    draw.line(pts, fill=fill, width=int(width))
    r = width / 2
    for x, y in pts:
        draw.ellipse([x - r, y - r, x + r, y + r], fill=fill)


def disc(w, h, inner, outer, box=None):
    """A shaded round button face."""
    big = canvas(w, h)
    mask = Image.new("L", big.size, 0)
    bx = box or (1, 1, w - 1, h - 1)
    ImageDraw.Draw(mask).ellipse([c * SS for c in bx], fill=255)
    grad = vertical_gradient(big.width, big.height, inner, outer)
    face = masked(grad, mask)
    # a soft highlight in the upper half
    hl = Image.new("L", big.size, 0)
    ImageDraw.Draw(hl).ellipse([bx[0] * SS + 5 * SS, bx[1] * SS + 2 * SS,
                                bx[2] * SS - 5 * SS, (bx[1] + bx[3]) * SS // 2], fill=70)
    white = Image.new("RGBA", big.size, (255, 255, 255, 255))
    face.paste(white, (0, 0), Image.composite(hl, Image.new("L", big.size, 0), mask))
    # a darker rim
    ImageDraw.Draw(face).ellipse([c * SS for c in bx], outline=lerp(outer, (0, 0, 0), 0.35) + (255,),
                                 width=SS)
    return face


# --------------------------------------------------------------------------
# images/: buttons


def button(glyph):
    """A 28 x 28 round blue button with a white symbol."""
    face = disc(28, 28, (92, 156, 236), (22, 78, 160))
    d = ImageDraw.Draw(face)
    white = (255, 255, 255, 255)
    s = SS
    if glyph == "home":
        d.polygon([(14 * s, 6 * s), (22.5 * s, 14 * s), (5.5 * s, 14 * s)], fill=white)
        d.rectangle([8 * s, 13 * s, 20 * s, 21 * s], fill=white)
        d.rectangle([12.5 * s, 16 * s, 15.5 * s, 21 * s], fill=(40, 100, 186, 255))
    elif glyph == "back":
        d.polygon([(6 * s, 14 * s), (14 * s, 6.5 * s), (14 * s, 11 * s), (21.5 * s, 11 * s),
                   (21.5 * s, 17 * s), (14 * s, 17 * s), (14 * s, 21.5 * s)], fill=white)
    elif glyph == "up":
        d.polygon([(14 * s, 6 * s), (21.5 * s, 14 * s), (17 * s, 14 * s), (17 * s, 21.5 * s),
                   (11 * s, 21.5 * s), (11 * s, 14 * s), (6.5 * s, 14 * s)], fill=white)
    return shrink(face)


# --------------------------------------------------------------------------
# images/: banners


def pill_banner(text, top, bottom, scale=2):
    tw, th = text_size(text, scale, bold=False)
    w, h = tw + 18, th + 8
    big = canvas(w, h)
    mask = Image.new("L", big.size, 0)
    ImageDraw.Draw(mask).rounded_rectangle([0, 0, big.width - 1, big.height - 1],
                                           radius=h * SS // 2, fill=255)
    img = shrink(masked(vertical_gradient(big.width, big.height, top, bottom), mask))
    draw_text(img, (w - tw) // 2 + 1, (h - th) // 2 + 1, text, lerp(bottom, (0, 0, 0), 0.45) + (255,), scale)
    draw_text(img, (w - tw) // 2, (h - th) // 2, text, (255, 255, 255, 255), scale)
    return img


def construction_banner():
    text = "UNDER CONSTRUCTION"
    tw, th = text_size(text, 1, bold=True)
    stripe = 20
    w, h = tw + 2 * stripe + 14, 22
    img = Image.new("RGBA", (w, h), (255, 204, 0, 255))
    d = ImageDraw.Draw(img)
    for x0 in (0, w - stripe):
        for k in range(-h, stripe + h, 8):
            d.polygon([(x0 + k, h), (x0 + k + 4, h), (x0 + k + 4 + h, 0), (x0 + k + h, 0)],
                      fill=(34, 34, 34, 255))
    # the stripes only at the two ends
    d.rectangle([stripe, 0, w - stripe - 1, h - 1], fill=(255, 204, 0, 255))
    d.rectangle([0, 0, w - 1, h - 1], outline=(34, 34, 34, 255))
    d.line([(stripe, 0), (stripe, h)], fill=(34, 34, 34, 255))
    d.line([(w - stripe - 1, 0), (w - stripe - 1, h)], fill=(34, 34, 34, 255))
    draw_text(img, (w - tw) // 2, (h - th) // 2, text, (34, 34, 34, 255), 1, bold=True)
    return img


# --------------------------------------------------------------------------
# images/: the two fixed images


def badge():
    """The "made with Pagewell" badge, 150 x 44 (a JPEG, so square corners)."""
    w, h = 150, 44
    big = vertical_gradient(w * SS, h * SS, (34, 105, 190), (12, 52, 112))
    d = ImageDraw.Draw(big)
    s = SS
    # a sheet of paper with a folded corner and lines of text
    d.polygon([(10 * s, 8 * s), (25 * s, 8 * s), (32 * s, 15 * s), (32 * s, 36 * s), (10 * s, 36 * s)],
              fill=(255, 255, 255, 255))
    d.polygon([(25 * s, 8 * s), (25 * s, 15 * s), (32 * s, 15 * s)], fill=(170, 200, 240, 255))
    for i, y in enumerate((19, 23, 27, 31)):
        d.rounded_rectangle([13 * s, y * s, (29 - 5 * (i == 3)) * s, (y + 1.6) * s], radius=s,
                            fill=(60, 120, 200, 255))
    img = shrink(big)
    ImageDraw.Draw(img).rectangle([0, 0, w - 1, h - 1], outline=(8, 36, 84, 255))
    draw_text(img, 40, 8, "MADE WITH", (190, 215, 250, 255), 1)
    draw_text(img, 41, 21, "PAGEWELL", (6, 30, 70, 255), 2, gap=1)
    draw_text(img, 40, 20, "PAGEWELL", (255, 255, 255, 255), 2, gap=1)
    return img


def blue_ribbon():
    """A small blue looped ribbon, 26 x 44."""
    w, h = 26, 44
    big = canvas(w, h)
    d = ImageDraw.Draw(big)
    s = SS
    dark, light = (16, 52, 140, 255), (58, 120, 222, 255)
    # the tail that runs from the loop down to the right lies underneath
    under = catmull_rom([(9.5 * s, 17 * s), (14.5 * s, 27 * s), (21 * s, 41 * s)])
    thick_path(d, under, 6 * s, dark)
    thick_path(d, under, 3.6 * s, lerp(light, dark, 0.35))
    # the loop and the other tail on top
    over = catmull_rom([(16.5 * s, 17 * s), (17.5 * s, 10 * s), (13 * s, 3.5 * s), (8.5 * s, 10 * s),
                        (9.5 * s, 17 * s)])
    thick_path(d, over, 6 * s, dark)
    thick_path(d, over, 3.6 * s, light)
    front = catmull_rom([(16.5 * s, 17 * s), (11.5 * s, 27 * s), (5 * s, 41 * s)])
    thick_path(d, front, 6 * s, dark)
    thick_path(d, front, 3.6 * s, light)
    return shrink(big)


# --------------------------------------------------------------------------
# images/: object icons, 32 x 32


def icon(kind):
    big = canvas(32, 32)
    d = ImageDraw.Draw(big)
    s = SS
    if kind == "info":
        return shrink_with(disc(32, 32, (88, 170, 245), (20, 90, 180)), lambda d2: (
            d2.ellipse([14 * s, 7 * s, 18 * s, 11 * s], fill=(255, 255, 255, 255)),
            d2.rounded_rectangle([14 * s, 13.5 * s, 18 * s, 25 * s], radius=s, fill=(255, 255, 255, 255))))
    if kind == "star":
        pts = []
        for i in range(10):
            r = 14.5 if i % 2 == 0 else 6.2
            a = -math.pi / 2 + i * math.pi / 5
            pts.append(((16 + r * math.cos(a)) * s, (17 + r * math.sin(a)) * s))
        d.polygon(pts, fill=(196, 128, 0, 255))
        inner = [((16 + (x / s - 16) * 0.8) * s, (17 + (y / s - 17) * 0.8) * s) for x, y in pts]
        d.polygon(inner, fill=(255, 196, 40, 255))
        return shrink(big)
    if kind == "globe":
        face = disc(32, 32, (96, 190, 230), (24, 104, 170))
        d2 = ImageDraw.Draw(face)
        line = (255, 255, 255, 210)
        d2.ellipse([10 * s, 1 * s, 22 * s, 31 * s], outline=line, width=int(1.3 * s))
        d2.line([(16 * s, 1 * s), (16 * s, 31 * s)], fill=line, width=int(1.3 * s))
        for y, half in ((9, 11.5), (16, 15), (23, 11.5)):
            d2.line([((16 - half) * s, y * s), ((16 + half) * s, y * s)], fill=line, width=int(1.3 * s))
        return shrink(face)
    if kind == "mail":
        d.rounded_rectangle([3 * s, 8 * s, 29 * s, 25 * s], radius=2 * s, fill=(250, 250, 245, 255),
                            outline=(120, 120, 130, 255), width=int(1.2 * s))
        d.line([(4 * s, 9 * s), (16 * s, 18 * s), (28 * s, 9 * s)], fill=(200, 60, 60, 255), width=int(1.8 * s))
        return shrink(big)
    if kind == "book":
        d.rounded_rectangle([6 * s, 4 * s, 27 * s, 28 * s], radius=2 * s, fill=(150, 40, 50, 255))
        d.rectangle([9 * s, 24 * s, 27 * s, 27 * s], fill=(245, 240, 225, 255))
        d.rectangle([6 * s, 4 * s, 9 * s, 28 * s], fill=(110, 25, 35, 255))
        d.rectangle([13 * s, 9 * s, 24 * s, 13 * s], fill=(230, 190, 90, 255))
        return shrink(big)
    if kind == "folder":
        d.rounded_rectangle([3 * s, 7 * s, 15 * s, 13 * s], radius=2 * s, fill=(214, 160, 40, 255))
        d.rounded_rectangle([3 * s, 10 * s, 29 * s, 27 * s], radius=2 * s, fill=(240, 190, 70, 255))
        d.line([(4 * s, 13 * s), (28 * s, 13 * s)], fill=(255, 220, 130, 255), width=s)
        return shrink(big)
    raise ValueError(kind)


def shrink_with(face, paint):
    paint(ImageDraw.Draw(face))
    return shrink(face)


# --------------------------------------------------------------------------
# lineimages/


def rule_gradient():
    w, h = 480, 6
    big = canvas(w, h)
    mask = Image.new("L", big.size, 0)
    ImageDraw.Draw(mask).rounded_rectangle([0, SS, big.width - 1, big.height - SS - 1], radius=2 * SS, fill=255)
    grad = Image.new("RGBA", big.size)
    gd = ImageDraw.Draw(grad)
    edge, mid = (150, 190, 240), (26, 84, 170)
    for x in range(big.width):
        t = 1 - abs(x / (big.width - 1) * 2 - 1)
        gd.line([(x, 0), (x, big.height)], fill=lerp(edge, mid, t ** 0.6) + (255,))
    return shrink(masked(grad, mask))


def rule_dots():
    w, h = 480, 8
    big = canvas(w, h)
    d = ImageDraw.Draw(big)
    for i, x in enumerate(range(6, w, 12)):
        colour = (26, 84, 170, 255) if i % 2 == 0 else (120, 170, 230, 255)
        d.ellipse([(x - 2.5) * SS, (4 - 2.5) * SS, (x + 2.5) * SS, (4 + 2.5) * SS], fill=colour)
    return shrink(big)


def rule_wave():
    w, h = 480, 12
    big = canvas(w, h)
    d = ImageDraw.Draw(big)
    pts = [(x * SS, (6 + 3.2 * math.sin(x / 480 * 2 * math.pi * 12)) * SS) for x in range(0, w + 1)]
    thick_path(d, pts, 1.8 * SS, (40, 140, 120, 255))
    return shrink(big)


def rule_double():
    w, h = 480, 7
    img = Image.new("RGBA", (w, h), (0, 0, 0, 0))
    d = ImageDraw.Draw(img)
    d.line([(0, 1), (w, 1)], fill=(110, 110, 120, 255))
    d.line([(0, 5), (w, 5)], fill=(170, 170, 180, 255))
    return img


# --------------------------------------------------------------------------
# bullets/, 14 x 14


def ball(top, bottom):
    face = Image.new("RGBA", (14 * SS, 14 * SS), (0, 0, 0, 0))
    mask = Image.new("L", face.size, 0)
    ImageDraw.Draw(mask).ellipse([SS, SS, 13 * SS, 13 * SS], fill=255)
    face = masked(vertical_gradient(face.width, face.height, top, bottom), mask)
    ImageDraw.Draw(face).ellipse([3.5 * SS, 3 * SS, 7 * SS, 6 * SS], fill=(255, 255, 255, 200))
    return shrink(face)


def bullet_arrow():
    big = canvas(14, 14)
    ImageDraw.Draw(big).polygon([(3 * SS, 2 * SS), (12 * SS, 7 * SS), (3 * SS, 12 * SS)], fill=(214, 90, 20, 255))
    return shrink(big)


def bullet_square():
    big = canvas(14, 14)
    ImageDraw.Draw(big).rounded_rectangle([3 * SS, 3 * SS, 11 * SS, 11 * SS], radius=1.5 * SS,
                                          fill=(46, 140, 70, 255))
    return shrink(big)


# --------------------------------------------------------------------------
# background/, tiles


def bg_paper():
    rnd = random.Random(1996)
    img = Image.new("RGB", (96, 96))
    px = img.load()
    for y in range(96):
        for x in range(96):
            n = rnd.randint(-5, 5)
            px[x, y] = (250 + min(n, 5), 246 + n, 236 + n)
    return img


def bg_dots():
    img = Image.new("RGBA", (24, 24), (255, 255, 255, 255))
    d = ImageDraw.Draw(img)
    d.rectangle([4, 4, 5, 5], fill=(218, 228, 242, 255))
    d.rectangle([16, 16, 17, 17], fill=(218, 228, 242, 255))
    return img


def bg_grid():
    img = Image.new("RGBA", (32, 32), (252, 253, 255, 255))
    d = ImageDraw.Draw(img)
    d.line([(0, 31), (31, 31)], fill=(228, 236, 246, 255))
    d.line([(31, 0), (31, 31)], fill=(228, 236, 246, 255))
    return img


def bg_stripes():
    img = Image.new("RGBA", (16, 16), (250, 250, 247, 255))
    d = ImageDraw.Draw(img)
    for k in range(-16, 32, 8):
        d.line([(k, 16), (k + 16, 0)], fill=(241, 241, 234, 255), width=2)
    return img


# --------------------------------------------------------------------------


def main():
    for sub in ("images", "lineimages", "bullets", "background"):
        (ROOT / sub).mkdir(parents=True, exist_ok=True)
    images = ROOT / "images"
    save_jpg(badge(), images / "pagewell.jpg")
    save_gif(blue_ribbon(), images / "bluerib.gif")
    save_gif(button("home"), images / "home.gif")
    save_gif(button("back"), images / "Back.gif")
    save_gif(button("up"), images / "up.gif")
    save_gif(pill_banner("NEW!", (255, 98, 80), (200, 30, 40)), images / "new.gif")
    save_gif(pill_banner("UPDATED", (70, 180, 90), (30, 120, 60)), images / "updated.gif")
    save_gif(construction_banner(), images / "construction.gif")
    for kind in ("info", "star", "globe", "mail", "book", "folder"):
        save_gif(icon(kind), images / f"{kind}.gif")

    lines = ROOT / "lineimages"
    save_gif(rule_gradient(), lines / "blueline.gif")
    save_gif(rule_dots(), lines / "dots.gif")
    save_gif(rule_wave(), lines / "wave.gif")
    save_gif(rule_double(), lines / "double.gif")

    bullets = ROOT / "bullets"
    save_gif(ball((120, 180, 255), (20, 70, 170)), bullets / "blueball.gif")
    save_gif(ball((255, 130, 120), (170, 20, 30)), bullets / "redball.gif")
    save_gif(ball((130, 220, 140), (20, 120, 50)), bullets / "greenball.gif")
    save_gif(bullet_arrow(), bullets / "arrow.gif")
    save_gif(bullet_square(), bullets / "square.gif")

    bg = ROOT / "background"
    save_jpg(bg_paper(), bg / "paper.jpg", quality=80)
    save_gif(bg_dots(), bg / "dots.gif")
    save_gif(bg_grid(), bg / "grid.gif")
    save_gif(bg_stripes(), bg / "stripes.gif")


if __name__ == "__main__":
    main()
