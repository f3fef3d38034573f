#!/usr/bin/python3
"""Draws the program's pictures: writes the SVG sources and renders the PNGs.

Run from anywhere:  python3 res/art/draw.py
Every file is written next to this script.

Debian packages it needs (only to regenerate; the committed PNGs are what the
build uses):
    python3-fonttools     glyph outlines -> SVG path data
    librsvg2-bin          rsvg-convert, SVG -> PNG at exact sizes
    fonts-ipafont-gothic  IPA Gothic / IPA P Gothic (Japanese lettering)
    fonts-dejavu-core     DejaVu Sans Bold (the Latin letters of the icon)

All shapes are our own drawing. Every letter is turned into path data here, so
the SVGs contain no <text> and need no font where they are shown.
Glyph outlines come from:
  - IPA P Gothic and IPA Gothic (ipagp.ttf, ipag.ttf), IPA Font License
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
    "ipag": "/usr/share/fonts/opentype/ipafont-gothic/ipag.ttf",
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
def icon_master():
    """256 x 256: <A> upper left, <a> lower right, a red arrow each way."""
    up, _ = centred("dejavu-bold", "<A>", 84, 96, 84, spacing=-4)
    low, _ = centred("dejavu-bold", "<a>", 84, 160, 176, spacing=-4)
    # Arrow <A> -> <a> round the upper right corner, and back round the lower left.
    w = 16
    shaft1 = "M 168 56 C 206 56 222 80 222 116"
    head1 = arrow_head((222, 150), 90, 36, 40, RED)
    shaft2 = "M 88 200 C 50 200 34 176 34 140"
    head2 = arrow_head((34, 106), -90, 36, 40, RED)
    return f'''<svg xmlns="http://www.w3.org/2000/svg" width="256" height="256" viewBox="0 0 256 256">
  <defs>
    <linearGradient id="ground" x1="0" y1="0" x2="0" y2="1">
      <stop offset="0" stop-color="{YELLOW_HI}"/>
      <stop offset="1" stop-color="{YELLOW_LO}"/>
    </linearGradient>
  </defs>
  <rect x="6" y="6" width="244" height="244" rx="44" fill="url(#ground)" stroke="{YELLOW_EDGE}" stroke-width="6"/>
  <path d="{shaft1}" fill="none" stroke="{RED}" stroke-width="{w}" stroke-linecap="round"/>
  {head1}
  <path d="{shaft2}" fill="none" stroke="{RED}" stroke-width="{w}" stroke-linecap="round"/>
  {head2}
  <path d="{up}" fill="{INK}"/>
  <path d="{low}" fill="{INK}"/>
</svg>
'''


def icon_small():
    """16 x 16, drawn on the pixel grid: A and a with a red arrow each way."""
    up, _ = centred("dejavu-bold", "A", 9.5, 5, 7.5)
    low, _ = centred("dejavu-bold", "a", 9.5, 11.5, 8.5)
    return f'''<svg xmlns="http://www.w3.org/2000/svg" width="16" height="16" viewBox="0 0 16 16">
  <rect x="0.5" y="0.5" width="15" height="15" rx="2.5" fill="{YELLOW_LO}" stroke="{YELLOW_EDGE}" stroke-width="1"/>
  <path d="{up}" fill="{INK}"/>
  <path d="{low}" fill="{INK}"/>
  <path d="M 4 2 H 11" stroke="{RED}" stroke-width="1" fill="none"/>
  {arrow_head((13.5, 2.5), 0, 3, 3, RED)}
  <path d="M 5 13.5 H 12" stroke="{RED}" stroke-width="1" fill="none"/>
  {arrow_head((2.5, 13.5), 180, 3, 3, RED)}
</svg>
'''


# ---------------------------------------------------------------- banner
def banner():
    """170 x 55: the product name, yellow letters with a red outline, on blue."""
    d, b = centred("ipagp", "ソルナ", 44, 85, 28, spacing=2)
    shadow = f'<path d="{d}" transform="translate(2.5 2.5)" fill="#0A1F4A" stroke="#0A1F4A" stroke-width="5" stroke-linejoin="round" opacity="0.6"/>'
    return f'''<svg xmlns="http://www.w3.org/2000/svg" width="170" height="55" viewBox="0 0 170 55">
  <defs>
    <linearGradient id="sky" x1="0" y1="0" x2="0" y2="1">
      <stop offset="0" stop-color="{BLUE_HI}"/>
      <stop offset="1" stop-color="{BLUE_LO}"/>
    </linearGradient>
  </defs>
  <rect width="170" height="55" fill="url(#sky)"/>
  {shadow}
  <path d="{d}" fill="{RED}" stroke="{RED}" stroke-width="5" stroke-linejoin="round"/>
  <path d="{d}" fill="#FFD60A"/>
</svg>
'''


# ---------------------------------------------------------------- illustration
def illustration():
    """83 x 84: a presenter with a pointer beside the words ここで整形."""
    l1, _ = centred("ipagp", "ここで", 15, 57, 17, spacing=0)
    l2, _ = centred("ipagp", "整形", 17, 58, 36, spacing=1)
    return f'''<svg xmlns="http://www.w3.org/2000/svg" width="83" height="84" viewBox="0 0 83 84">
  <rect width="83" height="84" fill="#F3F7FC"/>
  <!-- board -->
  <rect x="33.5" y="4.5" width="46" height="43" rx="3" fill="#FFFFFF" stroke="#9AA9BF" stroke-width="1"/>
  <g transform="rotate(-3 57 26)">
    <path d="{l1}" fill="{INK}" stroke="{INK}" stroke-width="0.6" stroke-linejoin="round"/>
    <path d="{l2}" fill="{RED}" stroke="{RED}" stroke-width="0.6" stroke-linejoin="round"/>
  </g>
  <!-- presenter -->
  <path d="M 12 80 L 12 66 L 16 66 L 16 80 Z M 19 80 L 19 66 L 23 66 L 23 80 Z" fill="#3B4254"/>
  <path d="M 9 68 C 9 52 11 45 17.5 45 C 24 45 26 52 26 68 Z" fill="#3C74C9"/>
  <line x1="23" y1="50" x2="33" y2="40" stroke="#3C74C9" stroke-width="4.5" stroke-linecap="round"/>
  <line x1="33" y1="40" x2="46" y2="24" stroke="#8A5A2B" stroke-width="1.5" stroke-linecap="round"/>
  <circle cx="33.5" cy="39.5" r="2.4" fill="#F2C29A"/>
  <circle cx="17.5" cy="36" r="6.5" fill="#F2C29A"/>
  <path d="M 11 35 C 11 27 24 27 24 35 C 21 32 14 32 11 35 Z" fill="#4A2F1E"/>
</svg>
'''


def main():
    write("icon.svg", icon_master())
    write("icon-small.svg", icon_small())
    write("banner.svg", banner())
    write("illustration.svg", illustration())
    render("icon-small.svg", "icon-16.png", 16, 16)
    for s in (32, 48, 128):
        render("icon.svg", f"icon-{s}.png", s, s)
    render("banner.svg", "banner.png", 170, 55)
    render("illustration.svg", "illustration.png", 83, 84)


if __name__ == "__main__":
    main()
