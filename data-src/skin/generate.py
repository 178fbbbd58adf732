#!/usr/bin/env python3
"""Draws the Korvane skin and writes its two layout files.

Every picture is written as an SVG under data-src/skin/svg/ (the editable
source), then rendered with rsvg-convert and converted with ImageMagick:
PNG state images with alpha, JPEG backgrounds, BMP masks into data/skins/, and
the resource bitmaps and the icon into quencfg/ui/skin/res/. Each of them is also
rendered at 1.5x and 2x into the folders 150/ and 200/ beside it, for displays of
144 and 192 DPI (the icon holds its sizes itself). The layout files
data/Languages/KeyboardButtons.xml and Buttons.xml come from geometry.py too; their
coordinates stay those of 96 DPI.

Run from anywhere:  python3 data-src/skin/generate.py
Needs: python3, rsvg-convert (librsvg2-bin), convert (imagemagick).
The generated files are committed, so the build never runs this.
"""
import math
import os
import re
import shutil
import subprocess
import sys
from xml.sax.saxutils import escape

from geometry import *  # noqa: F401,F403

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.normpath(os.path.join(HERE, "..", ".."))
SVG_DIR = os.path.join(HERE, "svg")
SKINS = os.path.join(ROOT, "data", "skins")
LANG = os.path.join(ROOT, "data", "Languages")
RES = os.path.join(ROOT, "quencfg", "ui", "skin", "res")

# Palette: near-black surfaces, one red accent in three strengths.
BG = "#0e0f13"
BAR = "#090a0d"
SIDE = "#121318"
LINE = "#24262e"
SURFACE = "#1b1d23"
SURFACE_HI = "#252830"
STROKE = "#2e313a"
ACCENT = "#e8173a"
ACCENT_DARK = "#a8102a"
ACCENT_LIGHT = "#f0435a"
TEXT = "#e6e8ee"
MUTED = "#8d92a0"
FONT = "DejaVu Sans"

STATES = ("normal", "over", "down", "disable")


def svg(w, h, body, defs=""):
    return ('<svg xmlns="http://www.w3.org/2000/svg" width="%d" height="%d" '
            'viewBox="0 0 %d %d">\n<defs>%s</defs>\n%s\n</svg>\n' % (w, h, w, h, defs, body))


def rrect(x, y, w, h, r, fill="none", stroke="none", sw=1, extra=""):
    return ('<rect x="%g" y="%g" width="%g" height="%g" rx="%g" fill="%s" stroke="%s" '
            'stroke-width="%g" %s/>' % (x, y, w, h, r, fill, stroke, sw, extra))


def text(x, y, s, size, fill=TEXT, weight=600, anchor="middle", family=FONT, extra=""):
    return ('<text x="%g" y="%g" font-family="%s" font-size="%g" font-weight="%d" fill="%s" '
            'text-anchor="%s" %s>%s</text>' % (x, y, family, size, weight, fill, anchor, extra,
                                                escape(s)))


def vgrad(gid, top, bottom):
    return ('<linearGradient id="%s" x1="0" y1="0" x2="0" y2="1">'
            '<stop offset="0" stop-color="%s"/><stop offset="1" stop-color="%s"/>'
            '</linearGradient>' % (gid, top, bottom))


def hgrad(gid, left, right):
    return ('<linearGradient id="%s" x1="0" y1="0" x2="1" y2="0">'
            '<stop offset="0" stop-color="%s"/><stop offset="1" stop-color="%s"/>'
            '</linearGradient>' % (gid, left, right))


def run(*args):
    subprocess.run(args, check=True)


# Every picture at 96 DPI and, in a folder of its own, at 144 and 192 DPI.
SCALES = ((1, ""), (1.5, "150"), (2, "200"))


def scaled(n, scale):
    # halves round up (Python's round() would round 112.5 down to 112)
    return int(math.floor(n * scale + 0.5))


def svg_size(src):
    with open(src, encoding="utf-8") as f:
        found = re.search(r'<svg [^>]*width="(\d+)" height="(\d+)"', f.read())
    return int(found.group(1)), int(found.group(2))


def pixel_size(src, scale, cells):
    """Width and height of the picture at a scale. A picture made of cells (columns, rows)
    scales its cell and keeps whole cells: a cell of c pixels becomes round(c * scale)."""
    w, h = svg_size(src)
    cols, rows = cells
    return cols * scaled(w // cols, scale), rows * scaled(h // rows, scale)


def write_svg(name, content):
    path = os.path.join(SVG_DIR, name + ".svg")
    with open(path, "w", encoding="utf-8") as f:
        f.write(content)
    return path


def write_png(src, out, scale=1, cells=(1, 1)):
    size = []
    if scale != 1:
        # width and height rather than a zoom: a zoom leaves the half pixel of an odd size
        # as a half-covered edge; this stretches the picture over the whole pixel
        w, h = pixel_size(src, scale, cells)
        size = ["-w", str(w), "-h", str(h)]
    run("rsvg-convert", "-f", "png", *size, "-o", out, src)
    # 32-bit RGBA always, so the loader premultiplies every state image alike.
    run("convert", out, "-define", "png:color-type=6", "-define", "png:exclude-chunk=date,time",
        "PNG32:" + out)


def write_jpg(src, out, scale=1):
    tmp = os.path.join(SVG_DIR, "_tmp.png")
    write_png(src, tmp, scale)
    run("convert", tmp, "-background", "black", "-flatten", "-quality", "93",
        "-sampling-factor", "1x1", out)
    os.remove(tmp)


def write_bmp(src, out, scale=1, two_tone=False, cells=(1, 1)):
    tmp = os.path.join(SVG_DIR, "_tmp.png")
    write_png(src, tmp, scale, cells)
    # a two-tone mask needs only 1 bit per pixel; other bitmaps stay 24-bit
    kind = ["-monochrome"] if two_tone else ["-type", "TrueColor"]
    run("convert", tmp, "-background", "black", "-flatten", *kind, "BMP3:" + out)
    os.remove(tmp)


def at_every_scale(write, name, content, out_path, **options):
    src = write_svg(name, content)
    folder, file_name = os.path.split(out_path)
    for scale, sub in SCALES:
        write(src, os.path.join(folder, sub, file_name), scale, **options)


def render_png(name, content):
    at_every_scale(write_png, name, content, os.path.join(SKINS, name + ".png"))


def render_jpg(name, content, out_name):
    at_every_scale(write_jpg, name, content, os.path.join(SKINS, out_name))


def render_bmp(name, content, out_path, two_tone=False, cells=(1, 1)):
    at_every_scale(write_bmp, name, content, out_path, two_tone=two_tone, cells=cells)


# ---------------------------------------------------------------- keyboard picture

def legend_svg(x, y, w, h, legend, colour, accent=ACCENT):
    cx = x + w / 2.0
    cy = y + h / 2.0 - 2
    if isinstance(legend, tuple):
        return (text(cx, cy - 4, legend[0], 12, MUTED if colour == TEXT else colour, 500) +
                text(cx, cy + 14, legend[1], 15, colour, 600))
    if legend == "":
        return ""
    if legend == "@win":
        s, g = 6, 1.5
        return "".join(rrect(cx - s - g / 2 + i * (s + g), cy - s - g / 2 + j * (s + g) + 2, s, s, 1,
                             fill=colour) for i in range(2) for j in range(2))
    if legend == "@menu":
        return "".join(rrect(cx - 8, cy - 4 + i * 5, 16, 2, 1, fill=colour) for i in range(3))
    if legend == "Fn":
        return text(cx, cy + 6, legend, 15, accent, 700)
    if len(legend) == 1:
        return text(cx, cy + 7, legend, 19, colour, 600)
    return text(cx, cy + 5, legend, 12.5, colour, 500)


def keycap_svg(x, y, w, h):
    return (rrect(x + 3, y + 3, w - 6, h - 6, 8, fill="url(#capside)", stroke="#07080a", sw=1) +
            rrect(x + 8, y + 5, w - 16, h - 17, 6, fill="url(#captop)") +
            rrect(x + 8.5, y + 5.5, w - 17, h - 18, 6, stroke="#ffffff", sw=1,
                  extra='stroke-opacity="0.05"'))


def keyboard_svg():
    cx, cy, cw, ch = CASE
    parts = [
        # soft red underglow around the case
        rrect(cx - 6, cy - 6, cw + 12, ch + 12, 22, fill=ACCENT, extra='opacity="0.22" filter="url(#glow)"'),
        rrect(cx, cy, cw, ch, 16, fill="url(#case)", stroke="#30333c", sw=1.5),
        rrect(cx + 10, cy + 10, cw - 20, ch - 20, 8, fill="#07080a"),
    ]
    for slot, row, ux, uw, label, legend in KEYS:
        x, y, w, h = key_rect(row, ux, uw)
        parts.append(keycap_svg(x, y, w, h))
        parts.append(legend_svg(x, y, w, h - 4, legend, TEXT))
    # brand plate on the case edge
    parts.append(text(cx + cw - 22, cy + ch - 2.5, "KORVANE", 8, "#5b606c", 700, "end",
                      extra='letter-spacing="3"'))
    return "".join(parts)


KEYBOARD_DEFS = (vgrad("case", "#1c1e24", "#121317") + vgrad("capside", "#1d1f25", "#141519") +
                 vgrad("captop", "#2b2e36", "#212329") +
                 '<filter id="glow" x="-10%" y="-10%" width="120%" height="120%">'
                 '<feGaussianBlur stdDeviation="9"/></filter>')


def colour_field_svg(x, y, w, h):
    hues = ["#ff0000", "#ffff00", "#00ff00", "#00ffff", "#0000ff", "#ff00ff", "#ff0000"]
    stops = "".join('<stop offset="%g" stop-color="%s"/>' % (i / 6.0, c) for i, c in enumerate(hues))
    defs = ('<linearGradient id="hue" x1="0" y1="0" x2="1" y2="0">%s</linearGradient>' % stops +
            '<linearGradient id="shade" x1="0" y1="0" x2="0" y2="1">'
            '<stop offset="0" stop-color="#ffffff" stop-opacity="1"/>'
            '<stop offset="0.45" stop-color="#ffffff" stop-opacity="0"/>'
            '<stop offset="0.55" stop-color="#000000" stop-opacity="0"/>'
            '<stop offset="1" stop-color="#000000" stop-opacity="0.85"/></linearGradient>'
            '<clipPath id="fieldclip">%s</clipPath>' % rrect(x, y, w, h, 6))
    body = ('<g clip-path="url(#fieldclip)">' + rrect(x, y, w, h, 0, fill="url(#hue)") +
            rrect(x, y, w, h, 0, fill="url(#shade)") + "</g>" +
            rrect(x + 0.5, y + 0.5, w - 1, h - 1, 6, stroke="#000000", sw=1))
    return defs, body


def main_background():
    W, H = MAIN_W, MAIN_H
    defs = (KEYBOARD_DEFS + vgrad("bg", "#111217", "#0b0c0f") +
            '<radialGradient id="halo" cx="0.5" cy="0.38" r="0.6">'
            '<stop offset="0" stop-color="%s" stop-opacity="0.10"/>'
            '<stop offset="1" stop-color="%s" stop-opacity="0"/></radialGradient>' % (ACCENT, ACCENT) +
            vgrad("logo", ACCENT_LIGHT, ACCENT_DARK))
    body = [
        rrect(0, 0, W, H, 0, fill="url(#bg)"),
        rrect(SIDE_W, TOP_H, W - SIDE_W, BOTTOM_Y - TOP_H, 0, fill="url(#halo)"),
        # top drag strip
        rrect(0, 0, W, TOP_H, 0, fill=BAR),
        rrect(0, TOP_H - 1, W, 1, 0, fill=LINE),
        rrect(0, TOP_H - 1, SIDE_W, 1, 0, fill=ACCENT),
        '<path d="M20 14 L34 14 L27 24 L34 34 L20 34 Z" fill="url(#logo)"/>',
        '<path d="M37 14 L44 14 L37 24 L44 34 L37 34 L30 24 Z" fill="%s" opacity="0.55"/>' % ACCENT,
        text(54, 31, "KORVANE", 19, TEXT, 700, "start", extra='letter-spacing="4"'),
        # side bar
        rrect(0, TOP_H, SIDE_W, H - TOP_H, 0, fill=SIDE),
        rrect(SIDE_W - 1, TOP_H, 1, H - TOP_H, 0, fill=LINE),
        rrect(20, 238, SIDE_W - 40, 1, 0, fill=LINE),
        rrect(20, 362, SIDE_W - 40, 1, 0, fill=LINE),
        # bottom command bar
        rrect(SIDE_W, BOTTOM_Y, W - SIDE_W, H - BOTTOM_Y, 0, fill=BAR),
        rrect(SIDE_W, BOTTOM_Y, W - SIDE_W, 1, 0, fill=LINE),
        keyboard_svg(),
        # no colour field here: the lighting panel draws it where a pick acts
    ]
    return svg(W, H, "".join(body), defs)


def lighting_mask():
    x0, y0, x1, y1 = CONTENT
    return svg(MAIN_W, MAIN_H, rrect(0, 0, MAIN_W, MAIN_H, 0, fill="#ffffff") +
               rrect(x0, y0, x1 - x0, y1 - y0, 0, fill="#000000"),
               "") .replace("<svg ", '<svg shape-rendering="crispEdges" ', 1)


def colour_mask_window():
    """btnColor2_normal2: the keys as a grey mask in window coordinates.

    The lighting panel recolours it: each pixel becomes the key's colour times the grey
    level. Bright legends and a glowing rim, dim caps: a lit key shows its colour in the
    legend the way shine-through keycaps do.
    """
    parts = [rrect(0, 0, MAIN_W, MAIN_H, 0, fill="#000000")]
    for slot, row, ux, uw, label, legend in KEYS:
        x, y, w, h = key_rect(row, ux, uw)
        parts.append(rrect(x + 2, y + 2, w - 4, h - 4, 9, fill="#9a9a9a"))
        parts.append(rrect(x + 4, y + 4, w - 8, h - 8, 8, fill="#4a4a4a"))
        parts.append(rrect(x + 8, y + 5, w - 16, h - 17, 6, fill="#3a3a3a"))
        parts.append(legend_svg(x, y, w, h - 4, legend, "#ffffff", accent="#ffffff")
                     .replace(MUTED, "#c8c8c8"))
    return svg(MAIN_W, MAIN_H, "".join(parts))


def swatch_mask(w, h, ox=0, oy=0, full=None):
    W, H = full or (w, h)
    return svg(W, H, rrect(0, 0, W, H, 0, fill="#000000") +
               rrect(ox + 1, oy + 1, w - 2, h - 2, 6, fill="#ffffff"))


# ---------------------------------------------------------------- state images

def key_state(w, h, state):
    cap = (3, 3, w - 6, h - 6)
    if state == "normal":
        return ""
    if state == "over":
        return (rrect(cap[0], cap[1], cap[2], cap[3], 8, fill=ACCENT, extra='fill-opacity="0.10"') +
                rrect(2, 2, w - 4, h - 4, 9, stroke=ACCENT, sw=2))
    if state == "down":
        return (rrect(cap[0], cap[1], cap[2], cap[3], 8, fill=ACCENT, extra='fill-opacity="0.30"') +
                rrect(2, 2, w - 4, h - 4, 9, stroke=ACCENT, sw=2) +
                '<circle cx="%g" cy="12" r="3.5" fill="%s"/>' % (w - 12, ACCENT_LIGHT))
    return rrect(cap[0], cap[1], cap[2], cap[3], 8, fill="#000000", extra='fill-opacity="0.6"')


def push_state(w, h, state, r=7):
    if state == "normal":
        return rrect(0.5, 0.5, w - 1, h - 1, r, fill="url(#surf)", stroke=STROKE)
    if state == "over":
        return rrect(0.5, 0.5, w - 1, h - 1, r, fill="url(#surfhi)", stroke=ACCENT, sw=1,
                     extra='stroke-opacity="0.85"')
    if state == "down":
        return (rrect(0, 0, w, h, r, fill="url(#acc)") +
                rrect(1, 1, w - 2, h / 2.0, r - 1, fill="#ffffff", extra='fill-opacity="0.06"'))
    return rrect(0.5, 0.5, w - 1, h - 1, r, fill="#15161a", stroke="#1f2126")


PUSH_DEFS = (vgrad("surf", "#20232a", "#191b20") + vgrad("surfhi", "#2a2d36", "#22252c") +
             vgrad("acc", ACCENT, ACCENT_DARK))


def icon_paths(kind, colour):
    c = colour
    if kind == "btnMin":
        return rrect(11, 17, 14, 2, 1, fill=c)
    if kind == "btnClose":
        return ('<path d="M12 12 L24 24 M24 12 L12 24" stroke="%s" stroke-width="2" '
                'stroke-linecap="round"/>' % c)
    if kind == "btnSetting":
        return ('<circle cx="18" cy="18" r="8" fill="none" stroke="%s" stroke-width="4" '
                'stroke-dasharray="3.2 3.08"/>'
                '<circle cx="18" cy="18" r="6.5" fill="none" stroke="%s" stroke-width="2"/>'
                '<circle cx="18" cy="18" r="2.2" fill="%s"/>' % (c, c, c))
    if kind == "btnLight":
        rays = "".join('<path d="M22 22 m%g %g l%g %g" stroke="%s" stroke-width="2" '
                       'stroke-linecap="round"/>' % (dx * 10, dy * 10, dx * 4, dy * 4, c)
                       for dx, dy in [(1, 0), (-1, 0), (0, 1), (0, -1), (0.7071, 0.7071),
                                      (-0.7071, 0.7071), (0.7071, -0.7071), (-0.7071, -0.7071)])
        return '<circle cx="22" cy="22" r="6" fill="%s"/>' % c + rays
    if kind == "btnResetKey":
        return ('<path d="M27.5 15.5 A9 9 0 1 0 29 22" fill="none" stroke="%s" stroke-width="2.4" '
                'stroke-linecap="round"/><path d="M29.5 10 L29.5 17 L22.5 17 Z" fill="%s"/>' % (c, c))
    if kind == "btnDrop":
        return ('<path d="M9 12 L14 17 L19 12" fill="none" stroke="%s" stroke-width="2" '
                'stroke-linecap="round" stroke-linejoin="round"/>' % c)
    if kind == "btnPlus":
        return ('<path d="M14 8 L14 20 M8 14 L20 14" stroke="%s" stroke-width="2" '
                'stroke-linecap="round"/>' % c)
    if kind == "btnTrash":
        return ('<path d="M8 10 L20 10 M12 10 L12 8 L16 8 L16 10 M9.5 10 L10.5 21 L17.5 21 L18.5 10" '
                'fill="none" stroke="%s" stroke-width="1.8" stroke-linejoin="round" '
                'stroke-linecap="round"/>' % c)
    raise ValueError(kind)


def icon_state(kind, w, h, state):
    r = min(w, h) / 2.0 if kind in ("btnLight", "btnResetKey") else 6
    if state == "normal":
        bg = rrect(0.5, 0.5, w - 1, h - 1, r, fill=SURFACE, stroke=STROKE) \
            if kind in ("btnLight", "btnResetKey", "btnDrop", "btnPlus", "btnTrash") else ""
        return bg + icon_paths(kind, MUTED)
    if state == "over":
        fill = ACCENT if kind == "btnClose" else SURFACE_HI
        return rrect(0.5, 0.5, w - 1, h - 1, r, fill=fill, stroke=ACCENT if kind != "btnClose" else "none",
                     extra='stroke-opacity="0.7"') + icon_paths(kind, "#ffffff")
    if state == "down":
        return rrect(0, 0, w, h, r, fill="url(#acc)") + icon_paths(kind, "#ffffff")
    return icon_paths(kind, "#3a3d45")


def check_state(w, h, state):
    box = {"normal": rrect(0.5, 0.5, w - 1, h - 1, 5, fill="#242323", stroke="#3a3d46"),
           "over": rrect(0.5, 0.5, w - 1, h - 1, 5, fill="#2a2d35", stroke=ACCENT),
           "down": rrect(0, 0, w, h, 5, fill="url(#acc)") +
           '<path d="M7.5 14.5 L12 19 L20.5 9.5" fill="none" stroke="#ffffff" stroke-width="2.6" '
           'stroke-linecap="round" stroke-linejoin="round"/>',
           "disable": rrect(0.5, 0.5, w - 1, h - 1, 5, fill="#17181c", stroke="#24262c")}
    return box[state]


def effect_state(w, h, state):
    chevron = ('<path d="M%g 17 L%g 23 L%g 17" fill="none" stroke="%s" stroke-width="2" '
               'stroke-linecap="round" stroke-linejoin="round"/>')
    if state == "disable":
        return push_state(w, h, state) + chevron % (w - 26, w - 20, w - 14, "#3a3d45")
    base = push_state(w, h, "over" if state == "over" else "normal")
    if state == "down":
        base = rrect(0.5, 0.5, w - 1, h - 1, 7, fill="url(#surfhi)", stroke=ACCENT, sw=1.5)
    return base + rrect(w - 40, 9, 1, h - 18, 0, fill=STROKE) + \
        chevron % (w - 26, w - 20, w - 14, ACCENT if state != "normal" else MUTED)


def keycap_big_state(w, h, state):
    side = {"normal": "#b9bdc7", "over": "#c3c7d1", "down": "#aeb2bc", "disable": "#5d6068"}[state]
    top = {"normal": ("#f2f4f8", "#d9dce3"), "over": ("#ffffff", "#e3e6ec"),
           "down": ("#e6e8ee", "#cfd2d9"), "disable": ("#8a8d94", "#7a7d84")}[state]
    defs = vgrad("bigtop_%s" % state, *top)
    ring = ""
    if state in ("over", "down"):
        ring = rrect(1, 1, w - 2, h - 2, 15, stroke=ACCENT, sw=2 if state == "over" else 3)
    return defs, (rrect(3, 3, w - 6, h - 6, 14, fill=side) +
                   rrect(13, 7, w - 26, h - 26, 10, fill="url(#bigtop_%s)" % state) + ring)


def program_state(w, h, state):
    folder = ('<path d="M{x} 18 L{x2} 18 L{x3} 21 L{x4} 21 L{x4} 32 L{x} 32 Z" fill="{c}"/>')
    x = w - 38
    if state == "over":
        bg = rrect(0.5, 0.5, w - 1, h - 1, 7, fill="#e9ebf0", stroke=ACCENT, sw=1.5)
        c = ACCENT_DARK
    elif state == "down":
        bg = rrect(0, 0, w, h, 7, fill="url(#acc)")
        c = "#ffffff"
    elif state == "disable":
        bg = push_state(w, h, "disable")
        c = "#3a3d45"
    else:
        bg = push_state(w, h, "normal")
        c = MUTED
    return bg + folder.format(x=x, x2=x + 8, x3=x + 10, x4=x + 22, c=c)


def edit_state(w, h, state, fill, stroke):
    s = {"normal": stroke, "over": "#5a5e6a", "down": ACCENT, "disable": "#24262c"}[state]
    return rrect(0.5, 0.5, w - 1, h - 1, 5, fill=fill, stroke=s)


def preset_state(w, h, state, colour):
    chip = rrect(5, 5, w - 10, h - 10, 6, fill=colour)
    gloss = rrect(5, 5, w - 10, (h - 10) / 2.0, 6, fill="#ffffff", extra='fill-opacity="0.14"')
    if state == "normal":
        return chip + gloss + rrect(5.5, 5.5, w - 11, h - 11, 6, stroke="#000000", extra='stroke-opacity="0.4"')
    if state == "over":
        return chip + gloss + rrect(2, 2, w - 4, h - 4, 8, stroke="#ffffff", sw=1.5, extra='stroke-opacity="0.55"')
    if state == "down":
        return (chip + gloss + rrect(1.5, 1.5, w - 3, h - 3, 9, stroke="#ffffff", sw=3) +
                rrect(4, 4, w - 8, h - 8, 7, stroke="#000000", sw=1, extra='stroke-opacity="0.6"'))
    return chip + rrect(5, 5, w - 10, h - 10, 6, fill="#000000", extra='fill-opacity="0.6"')


def slider_thumb(w, h, state):
    cx, cy = w / 2.0, h / 2.0
    if state == "normal":
        return ('<circle cx="%g" cy="%g" r="8" fill="%s" stroke="%s" stroke-width="2.5"/>'
                % (cx, cy, TEXT, ACCENT))
    if state == "over":
        return ('<circle cx="%g" cy="%g" r="9.5" fill="%s" fill-opacity="0.3"/>'
                '<circle cx="%g" cy="%g" r="8" fill="#ffffff" stroke="%s" stroke-width="2.5"/>'
                % (cx, cy, ACCENT, cx, cy, ACCENT))
    if state == "down":
        return ('<circle cx="%g" cy="%g" r="9" fill="%s" stroke="#ffffff" stroke-width="2.5"/>'
                % (cx, cy, ACCENT))
    return '<circle cx="%g" cy="%g" r="7" fill="#3a3d45"/>' % (cx, cy)


def slider_bar(w, h, state, thumb_w):
    y = h / 2.0 - 2
    colour = {"normal": "#2c2f38", "over": "#2c2f38", "down": ACCENT, "disable": "#1c1e23"}[state]
    ticks = ""
    span = w - thumb_w
    for i in range(5):
        tx = thumb_w / 2.0 + span * i / 4.0
        ticks += '<circle cx="%g" cy="%g" r="2" fill="%s"/>' % (
            tx, h / 2.0 + 8, "#3a3d46" if state != "down" else ACCENT_DARK)
    return rrect(thumb_w / 2.0 - 4, y, w - thumb_w + 8, 4, 2, fill=colour) + ticks


def menu_background(w, rows, row_h, over):
    h = rows * row_h
    if over:
        return svg(w, h, rrect(0, 0, w, h, 0, fill=ACCENT_LIGHT) +
                   rrect(0, 0, 3, h, 0, fill="#ffffff", extra='fill-opacity="0.5"'))
    seps = "".join(rrect(6, (i + 1) * row_h - 1, w - 12, 1, 0, fill="#1f2127") for i in range(rows - 1))
    return svg(w, h, rrect(0, 0, w, h, 0, fill="#17181d") + seps +
               rrect(0.5, 0.5, w - 1, h - 1, 0, stroke="#34373f"))


def dialog_background(w, h, extra=""):
    defs = vgrad("dlg", "#16171c", "#0f1014")
    body = (rrect(0, 0, w, h, 0, fill="url(#dlg)") + rrect(0.5, 0.5, w - 1, h - 1, 0, stroke="#2e3139") +
            rrect(0, 0, w, 3, 0, fill=ACCENT) + extra)
    return svg(w, h, body, defs)


def key_assign_background():
    w, h = ASSIGN_W, ASSIGN_H
    lx, ly, lw, lh = MACRO_LAYOUT["MACRO_DISPLAY"][1]
    extra = (rrect(0, 72, w, 1, 0, fill=LINE) + rrect(0, 488, w, 1, 0, fill=LINE) +
             rrect(0, 489, w, h - 489, 0, fill=BAR))
    return dialog_background(w, h, extra)


def warn_background():
    w, h = WARN_W, WARN_H
    tri = ('<path d="M48 22 L70 60 L26 60 Z" fill="%s" stroke="%s" stroke-width="3" '
           'stroke-linejoin="round"/>' % (ACCENT, ACCENT) +
           rrect(46.5, 33, 3, 15, 1.5, fill="#ffffff") + '<circle cx="48" cy="53.5" r="2" fill="#ffffff"/>')
    return dialog_background(w, h, tri + rrect(0, 172, w, 1, 0, fill=LINE))


def progress_background(filled):
    w, h = PROGRESS_W, PROGRESS_H
    defs = vgrad("pg", "#16171c", "#0c0d10") + hgrad("fill", ACCENT_DARK, ACCENT_LIGHT)
    track = rrect(0, h - 12, w, 12, 0, fill="url(#fill)" if filled else "#1f2127")
    shine = rrect(0, h - 12, w, 4, 0, fill="#ffffff", extra='fill-opacity="0.18"') if filled else ""
    glow = ""
    if filled:
        glow = rrect(0, h - 40, w, 28, 0, fill="url(#gl)")
        defs += ('<linearGradient id="gl" x1="0" y1="0" x2="0" y2="1">'
                 '<stop offset="0" stop-color="%s" stop-opacity="0"/>'
                 '<stop offset="1" stop-color="%s" stop-opacity="0.35"/></linearGradient>' % (ACCENT, ACCENT))
    logo = ('<path d="M24 22 L36 22 L30 30 L36 38 L24 38 Z" fill="%s"/>' % ACCENT +
            text(44, 36, "KORVANE", 14, MUTED, 700, "start", extra='letter-spacing="3"'))
    return svg(w, h, rrect(0, 0, w, h, 0, fill="url(#pg)") + rrect(0.5, 0.5, w - 1, h - 1, 0, stroke="#2e3139")
               + logo + glow + track + shine, defs)


# ---------------------------------------------------------------- resources

def scroll_grid():
    c = SCROLL_CELL
    parts = [rrect(0, 0, 9 * c, 3 * c, 0, fill="#000000")]
    arrow_bg = ["#1f2127", "#2c2f38", ACCENT]
    arrow_fg = [MUTED, "#ffffff", "#ffffff"]
    thumb = ["#3d414b", "#5a5e6a", ACCENT]
    tri = {"up": "M3 8 L6 4 L9 8 Z", "down": "M3 4 L6 8 L9 4 Z",
           "left": "M8 3 L4 6 L8 9 Z", "right": "M4 3 L8 6 L4 9 Z"}
    for r in range(3):
        y = r * c
        for col, kind in ((0, "up"), (1, "down"), (4, "left"), (5, "right")):
            x = col * c
            parts.append(rrect(x, y, c, c, 0, fill=arrow_bg[r]))
            parts.append('<path transform="translate(%d %d)" d="%s" fill="%s"/>' % (x, y, tri[kind], arrow_fg[r]))
        parts.append(rrect(2 * c, y, c, c, 0, fill="#141519") + rrect(2 * c + 3, y, c - 6, c, 0, fill=thumb[r]))
        parts.append(rrect(3 * c, y, c, c, 0, fill="#141519"))
        parts.append(rrect(6 * c, y, c, c, 0, fill="#141519") + rrect(6 * c, y + 3, c, c - 6, 0, fill=thumb[r]))
        parts.append(rrect(7 * c, y, c, c, 0, fill="#141519"))
        parts.append(rrect(8 * c, y, c, c, 0, fill="#141519"))
    return svg(9 * c, 3 * c, "".join(parts)).replace("<svg ", '<svg shape-rendering="crispEdges" ', 1)


def list_arrow(press):
    d = "M6.5 11 L2.5 6 L5 6 L5 2 L8 2 L8 6 L10.5 6 Z" if press else "M6.5 2 L10.5 7 L8 7 L8 11 L5 11 L5 7 L2.5 7 Z"
    return svg(13, 13, rrect(0, 0, 13, 13, 0, fill="#000000") +
               '<path d="%s" fill="%s"/>' % (d, ACCENT_LIGHT if press else "#9aa0ad"))


def list_mouse(press):
    # A mouse button row: the mouse's outline beside the arrow of a press or release.
    d = "M10 11 L7.5 7.5 L9 7.5 L9 4 L11 4 L11 7.5 L12.5 7.5 Z" if press else \
        "M10 4 L12.5 7.5 L11 7.5 L11 11 L9 11 L9 7.5 L7.5 7.5 Z"
    colour = ACCENT_LIGHT if press else "#9aa0ad"
    return svg(13, 13, rrect(0, 0, 13, 13, 0, fill="#000000") +
               rrect(1.5, 1.5, 5, 10, 2.5, stroke=colour, sw=1.2) +
               '<path d="M4 2 L4 5" stroke="%s" stroke-width="1"/>' % colour +
               '<path d="%s" fill="%s"/>' % (d, colour))


def unapplied_mark(size):
    """The dot on a profile button whose edits are not applied: accent, ringed in white
    so that it shows on the dark buttons and on the accent of the selected one."""
    c = size / 2.0
    return svg(size, size, '<circle cx="%g" cy="%g" r="%g" fill="%s" stroke="#ffffff" '
               'stroke-width="1.6"/>' % (c, c, c - 1, ACCENT))


def app_icon(size):
    defs = vgrad("ic", ACCENT_LIGHT, ACCENT_DARK)
    s = 256.0
    body = ('<g transform="scale(%g)">' % (size / s) +
            rrect(8, 8, 240, 240, 52, fill="#121318") +
            rrect(8, 8, 240, 240, 52, stroke="url(#ic)", sw=14) +
            '<path d="M70 60 L124 60 L96 128 L124 196 L70 196 Z" fill="url(#ic)"/>'
            '<path d="M138 60 L188 60 L160 128 L188 196 L138 196 L110 128 Z" fill="#ffffff"/>'
            '</g>')
    return svg(size, size, body, defs)


# ---------------------------------------------------------------- layout files

def entry(name, rect, text_field="", flag=False):
    x, y, w, h = rect
    return "%s,%d,%d,%d,%d,%s,%s" % (name, x, y, w, h, text_field, "TRUE" if flag else "FALSE")


def write_xml(path, sections, comment):
    lines = ['<?xml version="1.0" encoding="utf-8"?>', "<!-- %s -->" % comment, "<SKIN>"]
    for section, entries in sections:
        lines.append("  <%s>" % section)
        for key, value in entries:
            lines.append("    <%s>%s</%s>" % (key, escape(value), key))
        lines.append("  </%s>" % section)
    lines.append("</SKIN>")
    with open(path, "w", encoding="utf-8-sig", newline="\r\n") as f:
        f.write("\n".join(lines) + "\n")


def keyboard_layout():
    by_slot = {k[0]: k for k in KEYS}
    entries = []
    for n in range(1, 112):
        key = by_slot.get(n - 1)
        if key is None:
            # no key on this keyboard: a button of no size can never be clicked
            entries.append(("BUTTON_%d" % n, entry("", (0, 0, 0, 0), "NONE")))
        else:
            slot, row, ux, uw, label, legend = key
            entries.append(("BUTTON_%d" % n, entry(key_image(uw), key_rect(row, ux, uw), label)))
    write_xml(os.path.join(LANG, "KeyboardButtons.xml"), [("KEYBOARD", entries)],
              "Key buttons of the main window, generated by data-src/skin/generate.py")


def skins_file():
    write_xml(os.path.join(LANG, "Skins.xml"), [("MAINSCREENNEW", [
        ("Main", "Main_bg.jpg"),
        ("Keyassignment", "KeyAssign_bg.jpg"),
        ("Warn", "Warn_bg.jpg"),
        ("CUSTOMRECT", entry("colorfield.png", COLOR_FIELD, "COLORFIELD")),
        ("UNAPPLIED", "markUnapplied.png"),
    ])], "Background images of the windows (file names under skins), generated by "
         "data-src/skin/generate.py")


def buttons_layout():
    def section(table):
        out = []
        for key, (name, rect) in table.items():
            name = "" if name in ("LABEL", "LIST") else name
            out.append((key, entry(name, rect, key if not name else "")))
        return out

    lighting = [("BUTTON_MENU", entry("btnEffect", EFFECT_BUTTON)),
                ("SLIDER_BRIGHT", entry("slider", SLIDER_BRIGHT)),
                ("SLIDER_SPEED", entry("slider", SLIDER_SPEED))]
    for i, (x, y) in enumerate(PRESETS):
        lighting.append(("RECT_COLORSLIDER_%d" % (i + 1),
                         entry("colorPreset%d" % (i + 1), (x, y) + PRESET_SIZE)))
    for key, rect in zip(("EDIT_R", "EDIT_G", "EDIT_B"), EDIT_RGB):
        lighting.append((key, entry("editRgb", rect, "0", True)))
    lighting.append(("BUTTON_ALLKEYRECT", entry("swatch", SWATCH)))

    # edit fields draw one image in every state: the single-image flag
    macro = [(k, entry(n, r, "", True)) if k.startswith("EDIT_") else (k, v)
             for (k, v), (n, r) in zip(section(MACRO_LAYOUT), MACRO_LAYOUT.values())]
    labels = lambda table: [(k, entry("", r, k)) for k, r in table.items()]  # noqa: E731
    sections = [
        ("MAIN", section(MAIN_LAYOUT)),
        ("KEY_ASSIGNMENT", section(ASSIGN_LAYOUT)),
        ("MACRO", macro),
        ("LIGHTING", lighting),
        ("WARN_STRING", section(WARN_LAYOUT)),
        ("IMPORT_REVIEW", section(IMPORT_REVIEW_LAYOUT)),
        ("LIGHT_STRING", labels(LIGHT_LABELS)),
        ("MACRO_STRING", labels(MACRO_LABELS)),
        ("LAUNCH_PROGRAM", [("TEXT_TITLE", entry("", PAGE_TITLE, "TEXT_TITLE"))]),
        ("SINGLE_KEY", [("TEXT_TITLE", entry("", PAGE_TITLE, "TEXT_TITLE"))]),
    ]
    write_xml(os.path.join(LANG, "Buttons.xml"), sections,
              "Controls and labels of every window, generated by data-src/skin/generate.py")


# ---------------------------------------------------------------- main

def state_set(stem, w, h, draw, defs=""):
    for state in STATES:
        made = draw(w, h, state)
        if isinstance(made, tuple):
            d, body = made
            render_png("%s_%s" % (stem, state), svg(w, h, body, defs + d))
        else:
            render_png("%s_%s" % (stem, state), svg(w, h, made, defs))


def main():
    for tool in ("rsvg-convert", "convert"):
        if not shutil.which(tool):
            sys.exit("generate.py needs %s (apt-get install librsvg2-bin imagemagick)" % tool)
    if os.path.isdir(SVG_DIR):
        shutil.rmtree(SVG_DIR)
    os.makedirs(SVG_DIR)
    for d in [os.path.join(top, sub) for top in (SKINS, RES) for _, sub in SCALES] + [LANG]:
        os.makedirs(d, exist_ok=True)
    for _, sub in SCALES:
        folder = os.path.join(SKINS, sub)
        for f in os.listdir(folder):
            if f != ".keep" and os.path.isfile(os.path.join(folder, f)):
                os.remove(os.path.join(folder, f))

    render_jpg("Main_bg", main_background(), "Main_bg.jpg")
    render_bmp("Lighting_mask", lighting_mask(), os.path.join(SKINS, "Lighting_mask.bmp"), True)
    render_jpg("KeyAssign_bg", key_assign_background(), "KeyAssign_bg.jpg")
    render_jpg("Warn_bg", warn_background(), "Warn_bg.jpg")
    render_jpg("updatebar_n", progress_background(False), "updatebar_n.jpg")
    render_jpg("updatebar_o", progress_background(True), "updatebar_o.jpg")
    render_jpg("Menu_normal", menu_background(MENU_W, MENU_ROWS, MENU_ROW, False), "Menu_normal.jpg")
    render_jpg("Menu_over", menu_background(MENU_W, MENU_ROWS, MENU_ROW, True), "Menu_over.jpg")
    render_jpg("menu_effect_normal", menu_background(EFFECT_MENU_W, MENU_ROWS, MENU_ROW, False),
               "menu_effect_normal.jpg")
    render_jpg("menu_effect_over", menu_background(EFFECT_MENU_W, MENU_ROWS, MENU_ROW, True),
               "menu_effect_over.jpg")
    fx, fy, fw, fh = COLOR_FIELD
    fdefs, fbody = colour_field_svg(0, 0, fw, fh)
    render_png("colorfield", svg(fw, fh, fbody, fdefs))
    render_png("markUnapplied", unapplied_mark(UNAPPLIED_MARK))

    for w in sorted({k[3] for k in KEYS}):
        kw = round(w * UNIT)
        state_set(key_image(w), kw, UNIT, key_state)
    for stem, (w, h) in {"btnPng": (120, 40), "btnSide": (180, 44), "btnTab": (150, 40),
                         "btnWide": (366, 40), "btnSmall": (178, 36), "btnMini": (96, 28)}.items():
        state_set(stem, w, h, push_state, PUSH_DEFS)
    for stem, size in {"btnMin": 36, "btnClose": 36, "btnSetting": 36, "btnLight": 44,
                       "btnResetKey": 40, "btnDrop": 28, "btnPlus": 28, "btnTrash": 28}.items():
        state_set(stem, size, size, lambda w, h, s, k=stem: icon_state(k, w, h, s), PUSH_DEFS)
    state_set("btnCheck", 28, 28, check_state, PUSH_DEFS)
    state_set("btnEffect", EFFECT_BUTTON[2], EFFECT_BUTTON[3], effect_state, PUSH_DEFS)
    state_set("btnKeyCap", 240, 120, keycap_big_state)
    state_set("btnProgram", 620, 48, program_state, PUSH_DEFS)
    state_set("editName", 218, 28, lambda w, h, s: edit_state(w, h, s, "#242323", "#363841"))
    state_set("editRepeat", 106, 28, lambda w, h, s: edit_state(w, h, s, "#242323", "#363841"))
    state_set("editRgb", 66, 28, lambda w, h, s: edit_state(w, h, s, "#ffffff", "#9096a3"))
    state_set("editPause", 66, 28, lambda w, h, s: edit_state(w, h, s, "#242323", "#363841"))
    for i, colour in enumerate(PRESET_COLOURS):
        state_set("colorPreset%d" % (i + 1), PRESET_SIZE[0], PRESET_SIZE[1],
                  lambda w, h, s, c=colour: preset_state(w, h, s, c))
    thumb_w = 20
    state_set("slider", thumb_w, SLIDER_BRIGHT[3], slider_thumb)
    state_set("slider_bar", SLIDER_BRIGHT[2], SLIDER_BRIGHT[3],
              lambda w, h, s: slider_bar(w, h, s, thumb_w))
    # colour buttons: grey masks (blue channel = intensity), recoloured at run time
    render_png("btnColor2_normal", swatch_mask(UNIT, UNIT))
    render_png("btnColor2_normal2", colour_mask_window())
    render_png("swatch_normal", swatch_mask(SWATCH[2], SWATCH[3]))
    render_png("swatch_normal2", swatch_mask(SWATCH[2], SWATCH[3], SWATCH[0], SWATCH[1], (MAIN_W, MAIN_H)))

    # 9 x 3 square cells of SCROLL_CELL (12) pixels; at a scale the cell scales (18 pixels at
    # 1.5x, 24 at 2x) and the grid stays 9 x 3 whole cells of it, as the scroll bars cut it
    render_bmp("scrollbar_215", scroll_grid(), os.path.join(RES, "scrollbar.bmp"), cells=(9, 3))
    render_bmp("list_press_4024", list_arrow(True), os.path.join(RES, "key_press.bmp"))
    render_bmp("list_release_4025", list_arrow(False), os.path.join(RES, "key_release.bmp"))
    render_bmp("list_mouse_press_4021", list_mouse(True), os.path.join(RES, "button_press.bmp"))
    render_bmp("list_mouse_release_4020", list_mouse(False), os.path.join(RES, "button_release.bmp"))
    sizes = []
    for size in (16, 24, 32, 48, 256):
        sizes.append(os.path.join(SVG_DIR, "icon_%d.png" % size))
        write_png(write_svg("icon_%d" % size, app_icon(size)), sizes[-1])
    run("convert", *sizes, os.path.join(RES, "korvane.ico"))
    for p in sizes:
        os.remove(p)

    keyboard_layout()
    buttons_layout()
    skins_file()


if __name__ == "__main__":
    main()
