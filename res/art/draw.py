#!/usr/bin/python3
"""Draws the program's pictures: writes the SVG sources and renders the PNGs.

Run from anywhere:  /usr/bin/python3 res/art/draw.py  (Debian's Python, which has
the fonttools package below).
Every file is written next to this script.

Debian packages it needs (only to regenerate; the committed PNGs are what the
build uses):
    python3-fonttools     glyph outlines -> SVG path data
    librsvg2-bin          rsvg-convert, SVG -> PNG at exact sizes
    fonts-ipafont-gothic  IPA P Gothic (Japanese lettering)
    fonts-dejavu-core     DejaVu Sans Bold (the Latin letters of the icon)

All shapes are our own drawing. Every letter is turned into path data here, so
the SVGs contain no <text> and need no font where they are shown.
Glyph outlines come from:
  - IPA P Gothic (ipagp.ttf), IPA Font License
    Agreement v1.0, which allows using the outlines in pictures like these;
  - DejaVu Sans Bold (DejaVuSans-Bold.ttf), Bitstream Vera / DejaVu licence,
    which allows the same.
"""

import math
import os
import subprocess
import sys

from fontTools.pens.boundsPen import BoundsPen
from fontTools.pens.svgPathPen import SVGPathPen
from fontTools.pens.transformPen import TransformPen
from fontTools.ttLib import TTFont

HERE = os.path.dirname(os.path.abspath(__file__))

FONT_FILES = {
    "ipagp": "/usr/share/fonts/opentype/ipafont-gothic/ipagp.ttf",
    "dejavu-bold": "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf",
}

_fonts = {}


def font(name):
    if name not in _fonts:
        path = FONT_FILES[name]
        if not os.path.exists(path):
            sys.exit(f"missing font {path}: install the package named at the top of this script")
        _fonts[name] = TTFont(path)
    return _fonts[name]


def num(v):
    s = f"{v:.2f}".rstrip("0").rstrip(".")
    return "0" if s in ("-0", "") else s


def lettering(font_name, text, size, x=0.0, y=0.0, spacing=0.0):
    """Path data of TEXT set in FONT_NAME at SIZE px, baseline starting at (x, y).

    Returns (d, (xmin, ymin, xmax, ymax)) in the same coordinates."""
    f = font(font_name)
    gs = f.getGlyphSet()
    cmap = f.getBestCmap()
    scale = size / f["head"].unitsPerEm
    parts = []
    bounds = None
    pen_x = x
    for ch in text:
        g = cmap[ord(ch)]
        t = (scale, 0, 0, -scale, pen_x, y)
        sp = SVGPathPen(gs, ntos=num)
        gs[g].draw(TransformPen(sp, t))
        parts.append(sp.getCommands())
        bp = BoundsPen(gs)
        gs[g].draw(TransformPen(bp, t))
        if bp.bounds:
            b = bp.bounds
            bounds = b if bounds is None else (min(bounds[0], b[0]), min(bounds[1], b[1]),
                                               max(bounds[2], b[2]), max(bounds[3], b[3]))
        pen_x += gs[g].width * scale + spacing
    return "".join(parts), bounds


def centred(font_name, text, size, cx, cy, spacing=0.0):
    """Lettering whose ink box is centred on (cx, cy)."""
    _, b = lettering(font_name, text, size, 0, 0, spacing)
    x = cx - (b[0] + b[2]) / 2
    y = cy - (b[1] + b[3]) / 2
    return lettering(font_name, text, size, x, y, spacing)


def arrow_head(tip, angle_deg, length, width, fill):
    """A filled triangle pointing along ANGLE_DEG with its point at TIP."""
    a = math.radians(angle_deg)
    dx, dy = math.cos(a), math.sin(a)
    bx, by = tip[0] - dx * length, tip[1] - dy * length
    px, py = -dy * width / 2, dx * width / 2
    pts = [tip, (bx + px, by + py), (bx - px, by - py)]
    d = "M" + " L".join(f"{num(p[0])} {num(p[1])}" for p in pts) + " Z"
    return f'<path d="{d}" fill="{fill}" stroke="{fill}" stroke-width="{num(width * 0.12)}" stroke-linejoin="round"/>'


def write(name, svg):
    with open(os.path.join(HERE, name), "w", encoding="utf-8") as fh:
        fh.write(svg)


def render(svg_name, png_name, w, h):
    subprocess.run(["rsvg-convert", "-w", str(w), "-h", str(h), "-o",
                    os.path.join(HERE, png_name), os.path.join(HERE, svg_name)], check=True)


# ---------------------------------------------------------------- colours
YELLOW_HI = "#FFE572"
YELLOW_LO = "#FFC21A"
YELLOW_EDGE = "#B98A00"
INK = "#1D2740"
RED = "#D8261C"
RED_DARK = "#9E140E"
BLUE_HI = "#2F6BD0"
BLUE_LO = "#12397F"


# ---------------------------------------------------------------- icon
def tag(letter, size, cx, baseline, chevron_h, stroke, gap, fill):
    """A letter between two drawn angle brackets, the group centred on CX.

    The brackets are drawn strokes rather than font glyphs: narrower, and
    their weight can match the letter at every size."""
    _, b = lettering("dejavu-bold", letter, size, 0, 0)
    lw = b[2] - b[0]
    cw = chevron_h * 0.5            # width of one bracket
    total = cw * 2 + gap * 2 + lw
    left = cx - total / 2
    # Brackets centred on the letter's body: cap height or x-height.
    if letter.islower():
        mid = baseline - size * 0.547 / 2
    else:
        mid = baseline - size * 0.729 / 2
    d, _ = lettering("dejavu-bold", letter, size, left + cw + gap - b[0], baseline)
    top, bot = mid - chevron_h / 2, mid + chevron_h / 2
    lt = f"M {num(left + cw)} {num(top)} L {num(left)} {num(mid)} L {num(left + cw)} {num(bot)}"
    r0 = left + total - cw
    rt = f"M {num(r0)} {num(top)} L {num(r0 + cw)} {num(mid)} L {num(r0)} {num(bot)}"
    return (f'<path d="{d}" fill="{fill}"/>\n'
            f'  <path d="{lt} {rt}" fill="none" stroke="{fill}" stroke-width="{num(stroke)}" '
            f'stroke-linecap="round" stroke-linejoin="round"/>')


def vertical_ground(name, top, bottom):
    """A gradient from `top` down to `bottom`, to fill a ground with as url(#name)."""
    return f'''<defs>
    <linearGradient id="{name}" x1="0" y1="0" x2="0" y2="1">
      <stop offset="0" stop-color="{top}"/>
      <stop offset="1" stop-color="{bottom}"/>
    </linearGradient>
  </defs>'''


def icon_svg(size, frame, edge, arrow1, arrow2, stroke, up, low):
    """The icon's picture at `size`: the yellow ground in `frame`, a red arrow
    each way (a shaft's path and its head), and the two tags."""
    arrows = "\n".join(
        f'''  <path d="{shaft}" fill="none" stroke="{RED}" stroke-width="{stroke}" stroke-linecap="round"/>
  {head}''' for shaft, head in (arrow1, arrow2))
    return f'''<svg xmlns="http://www.w3.org/2000/svg" width="{size}" height="{size}" viewBox="0 0 {size} {size}">
  {vertical_ground("ground", YELLOW_HI, YELLOW_LO)}
  <rect {frame} fill="url(#ground)" stroke="{YELLOW_EDGE}" stroke-width="{edge}"/>
{arrows}
  {up}
  {low}
</svg>
'''


def icon_master():
    """256 x 256: <A> upper left, <a> lower right, a red arrow each way."""
    up = tag("A", 88, 102, 116, 46, 13, 10, INK)
    low = tag("a", 88, 154, 204, 40, 13, 10, INK)
    # Arrow <A> -> <a> round the upper right corner, and back round the lower left.
    w = 15
    shaft1 = "M 176 50 C 208 50 222 72 222 112"
    head1 = arrow_head((222, 146), 90, 36, 40, RED)
    shaft2 = "M 80 212 C 48 212 34 190 34 150"
    head2 = arrow_head((34, 116), -90, 36, 40, RED)
    return icon_svg(256, 'x="6" y="6" width="244" height="244" rx="44"', 6, (shaft1, head1), (shaft2, head2), w, up, low)


def icon_mid():
    """32 x 32: the master's picture with larger tags and heavier strokes."""
    up = tag("A", 12.5, 12, 13.5, 6.5, 2.1, 1.3, INK)
    low = tag("a", 12.5, 19.5, 27, 6, 2.1, 1.3, INK)
    head1 = arrow_head((27.5, 18.5), 90, 4.4, 5.4, RED)
    head2 = arrow_head((4.5, 15.5), -90, 4.4, 5.4, RED)
    return icon_svg(32, 'x="0.5" y="0.5" width="31" height="31" rx="5"', 1,
                    ("M 23 4 C 26 4 27.5 6 27.5 10 V 15", head1), ("M 9 28 C 6 28 4.5 26 4.5 22 V 19", head2), 2.2, up, low)


# 16 x 16 drawn pixel by pixel: at this size outline letters blur, so the
# letters and arrows are set on the pixel grid. K ink, R red, r half red.
SMALL_PIXELS = [
    "................",
    ".........rRR....",
    "..RRRRRRRRRRR...",
    ".........rRR....",
    "...KKK..........",
    "..KK.KK.........",
    "..KK.KK..KKKK...",
    ".KK...KK.....KK.",
    ".KKKKKKK..KKKKK.",
    ".KK...KK.KK..KK.",
    ".KK...KK.KK..KK.",
    ".KK...KK..KKKKK.",
    "....RRr.........",
    "...RRRRRRRRRRR..",
    "....RRr.........",
    "................",
]


def pixel_runs(rows, key):
    """Rectangles (x, y, w) covering each horizontal run of KEY in ROWS."""
    for y, row in enumerate(rows):
        x = 0
        while x < len(row):
            if row[x] == key:
                start = x
                while x < len(row) and row[x] == key:
                    x += 1
                yield start, y, x - start
            else:
                x += 1


def icon_small():
    """16 x 16: A and a with a red arrow each way, on the pixel grid."""
    shapes = []
    for key, fill, extra in (("K", INK, ""), ("R", RED, ""), ("r", RED, ' fill-opacity="0.45"')):
        d = " ".join(f"M {x} {y} h {w} v 1 h {-w} Z" for x, y, w in pixel_runs(SMALL_PIXELS, key))
        shapes.append(f'<path d="{d}" fill="{fill}"{extra}/>')
    body = "\n  ".join(shapes)
    return f'''<svg xmlns="http://www.w3.org/2000/svg" width="16" height="16" viewBox="0 0 16 16">
  <rect x="0.5" y="0.5" width="15" height="15" rx="2.5" fill="{YELLOW_LO}" stroke="{YELLOW_EDGE}" stroke-width="1"/>
  {body}
</svg>
'''


# ---------------------------------------------------------------- banner
def banner():
    """170 x 55: the product name, yellow letters with a red outline, on blue."""
    d, b = centred("ipagp", "ソルナ", 44, 85, 28, spacing=2)
    shadow = f'<path d="{d}" transform="translate(2.5 2.5)" fill="#0A1F4A" stroke="#0A1F4A" stroke-width="5" stroke-linejoin="round" opacity="0.6"/>'
    return f'''<svg xmlns="http://www.w3.org/2000/svg" width="170" height="55" viewBox="0 0 170 55">
  {vertical_ground("sky", BLUE_HI, BLUE_LO)}
  <rect width="170" height="55" fill="url(#sky)"/>
  <rect width="170" height="1" fill="#6C9BE8"/>
  <rect y="54" width="170" height="1" fill="#0B2760"/>
  {shadow}
  <path d="{d}" fill="{RED}" stroke="{RED}" stroke-width="5" stroke-linejoin="round"/>
  <path d="{d}" fill="#FFD60A" stroke="#FFD60A" stroke-width="1" stroke-linejoin="round"/>
</svg>
'''


# ---------------------------------------------------------------- illustration
def illustration():
    """83 x 84: a presenter with a pointer beside the words ここで整形 on an easel board."""
    l1, _ = centred("ipagp", "ここで", 16, 56.5, 17.5, spacing=0.5)
    l2, _ = centred("ipagp", "整形", 19, 57, 38.5, spacing=1)
    skin = "#F2C29A"
    shirt = "#3C74C9"
    shirt_dark = "#2D5DA6"
    return f'''<svg xmlns="http://www.w3.org/2000/svg" width="83" height="84" viewBox="0 0 83 84">
  {vertical_ground("wall", "#F7FAFE", "#E3ECF7")}
  <rect width="83" height="84" fill="url(#wall)"/>
  <!-- floor shadows -->
  <ellipse cx="17.5" cy="80.5" rx="11" ry="2" fill="#C9D5E6"/>
  <ellipse cx="56" cy="80.5" rx="18" ry="1.8" fill="#C9D5E6"/>
  <!-- easel legs -->
  <path d="M 44 50 L 38 80 M 68 50 L 74 80 M 56 50 L 56 78" stroke="#9C6B3C" stroke-width="2.2" stroke-linecap="round" fill="none"/>
  <!-- board -->
  <rect x="30.5" y="3.5" width="50" height="48" rx="2.5" fill="#FFFFFF" stroke="#8595AD" stroke-width="1"/>
  <rect x="40" y="51" width="32" height="2.2" rx="1" fill="#9C6B3C"/>
  <g transform="rotate(-3 56 27)">
    <path d="{l1}" fill="{INK}" stroke="{INK}" stroke-width="0.7" stroke-linejoin="round"/>
    <path d="{l2}" fill="{RED}" stroke="{RED}" stroke-width="0.7" stroke-linejoin="round"/>
  </g>
  <!-- presenter -->
  <path d="M 12.5 79.5 L 12.5 65 L 16.5 65 L 16.5 79.5 Z M 18.5 79.5 L 18.5 65 L 22.5 65 L 22.5 79.5 Z" fill="#3B4254"/>
  <path d="M 10.5 80.5 h 6.5 v -1.8 h -5 Z M 18 80.5 h 6.5 l -1.5 -1.8 h -5 Z" fill="#2A2F3C"/>
  <path d="M 8.5 67 C 8.5 52 10.5 45 17.5 45 C 24.5 45 26.5 52 26.5 67 Z" fill="{shirt}"/>
  <path d="M 10.5 50 L 9 64" stroke="{shirt_dark}" stroke-width="3.6" stroke-linecap="round"/>
  <circle cx="9" cy="65.2" r="1.9" fill="{skin}"/>
  <path d="M 15.5 45.3 L 17.5 49 L 19.5 45.3 Z" fill="#FFFFFF"/>
  <line x1="23.5" y1="50" x2="31.5" y2="40.5" stroke="{shirt}" stroke-width="4.2" stroke-linecap="round"/>
  <line x1="32" y1="40" x2="39.5" y2="29.5" stroke="#7A4A22" stroke-width="1.4" stroke-linecap="round"/>
  <circle cx="39.7" cy="29.2" r="1" fill="{RED}"/>
  <circle cx="32.3" cy="39.6" r="2.3" fill="{skin}"/>
  <rect x="15.8" y="40.5" width="3.4" height="4.5" fill="{skin}"/>
  <circle cx="17.5" cy="35.5" r="6.5" fill="{skin}"/>
  <path d="M 10.8 35 C 10.2 27 24.8 27 24.2 35 C 22 31.5 16 30.8 10.8 35 Z" fill="#4A2F1E"/>
  <circle cx="15.2" cy="36" r="0.8" fill="#3A2A20"/>
  <circle cx="20" cy="36" r="0.8" fill="#3A2A20"/>
  <path d="M 15.6 38.6 Q 17.6 40 19.6 38.6" stroke="#B5654A" stroke-width="0.7" fill="none" stroke-linecap="round"/>
</svg>
'''


def main():
    write("icon.svg", icon_master())
    write("icon-16.svg", icon_small())
    write("banner.svg", banner())
    write("illustration.svg", illustration())
    render("icon-16.svg", "icon-16.png", 16, 16)
    write("icon-32.svg", icon_mid())
    render("icon-32.svg", "icon-32.png", 32, 32)
    for s in (48, 128):
        render("icon.svg", f"icon-{s}.png", s, s)
    render("banner.svg", "banner.png", 170, 55)
    render("illustration.svg", "illustration.png", 83, 84)


if __name__ == "__main__":
    main()
