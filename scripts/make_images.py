#!/usr/bin/env python3
"""Draws Kestrova's built-in images and its program icon and writes them as PNG.

    python3 scripts/make_images.py [output-folder]

Writes resources/images/image_NN.png (the numbers the program loads them
under; there is no image 11), resources/icon.png (64 x 64, which the program
shows) and resources/icons/icon_128.png and icon_256.png (the same icon drawn
larger, for the desktop's icon theme). Only the standard
library is used: shapes are signed distance functions in pixel units, painted
with one sample per pixel and anti-aliased by their distance to the edge; the
flags, whose geometry is stretched, are sampled 4 x 4 per pixel instead.
"""

import math
import os
import struct
import sys
import zlib

# ---------------------------------------------------------------- colours --

BRAND_BLUE = (41, 88, 139)
NAVY = (16, 32, 74)
GOLD = (255, 196, 20)
GOLD_LIGHT = (255, 238, 150)
GOLD_DARK = (190, 110, 0)
BALL_RED = (214, 38, 44)
BALL_BLUE = (36, 98, 196)
BALL_GREEN = (30, 150, 72)
BALL_ORANGE = (242, 140, 18)
WHITE = (255, 255, 255)
BLACK = (0, 0, 0)


def mix(c0, c1, t):
    """Colour c0 moved towards c1 by t (0..1); alpha is mixed when both have one."""
    t = max(0.0, min(1.0, t))
    n = min(len(c0), len(c1))
    return tuple(c0[i] + (c1[i] - c0[i]) * t for i in range(n))


def lighten(c, t):
    return mix(c, WHITE, t)


def darken(c, t):
    return mix(c, BLACK, t)


def with_alpha(c, a):
    return (c[0], c[1], c[2], a)


# ----------------------------------------------------------------- canvas --

def new_canvas(width, height, background=None):
    """A canvas of straight (not premultiplied) RGBA floats, 0..255 colour, 0..1 alpha."""
    px = [0.0] * (width * height * 4)
    canvas = {"w": width, "h": height, "px": px}
    if background is not None:
        for y in range(height):
            for x in range(width):
                put_pixel(canvas, x, y, background)
    return canvas


def put_pixel(canvas, x, y, colour):
    i = (y * canvas["w"] + x) * 4
    px = canvas["px"]
    px[i], px[i + 1], px[i + 2] = colour[0], colour[1], colour[2]
    px[i + 3] = colour[3] if len(colour) > 3 else 1.0


def blend_pixel(canvas, x, y, colour, coverage):
    """Paints colour over the pixel with the given coverage ("over" compositing)."""
    src_a = (colour[3] if len(colour) > 3 else 1.0) * coverage
    if src_a <= 0.0:
        return
    i = (y * canvas["w"] + x) * 4
    px = canvas["px"]
    dst_a = px[i + 3]
    out_a = src_a + dst_a * (1.0 - src_a)
    keep = dst_a * (1.0 - src_a)
    for k in range(3):
        px[i + k] = (colour[k] * src_a + px[i + k] * keep) / out_a
    px[i + 3] = out_a


def fill(canvas, sdf, paint, bbox=None, soft=1.0):
    """Fills the area where sdf < 0, anti-aliased over `soft` pixels at the edge.

    paint is a colour or a function (x, y) -> colour; bbox (x0, y0, x1, y1)
    limits the pixels looked at.
    """
    w, h = canvas["w"], canvas["h"]
    if bbox is None:
        bbox = (0, 0, w, h)
    x0 = max(0, int(math.floor(bbox[0])) - 1)
    y0 = max(0, int(math.floor(bbox[1])) - 1)
    x1 = min(w, int(math.ceil(bbox[2])) + 2)
    y1 = min(h, int(math.ceil(bbox[3])) + 2)
    painter = paint if callable(paint) else None
    for y in range(y0, y1):
        cy = y + 0.5
        for x in range(x0, x1):
            cx = x + 0.5
            d = sdf(cx, cy)
            coverage = 0.5 - d / soft
            if coverage <= 0.0:
                continue
            if coverage > 1.0:
                coverage = 1.0
            blend_pixel(canvas, x, y, painter(cx, cy) if painter else paint, coverage)


def shade(canvas, colour_at, samples=4):
    """Sets every pixel to the average of colour_at over samples x samples points."""
    n = samples * samples
    for y in range(canvas["h"]):
        for x in range(canvas["w"]):
            acc = [0.0, 0.0, 0.0]
            for sy in range(samples):
                for sx in range(samples):
                    c = colour_at(x + (sx + 0.5) / samples, y + (sy + 0.5) / samples)
                    acc[0] += c[0]
                    acc[1] += c[1]
                    acc[2] += c[2]
            put_pixel(canvas, x, y, (acc[0] / n, acc[1] / n, acc[2] / n))


def outlined(canvas, sdf, paint, outline, width, bbox=None):
    """A filled shape with an outline of `width` pixels inside its edge."""
    fill(canvas, sdf, outline, bbox)
    fill(canvas, lambda x, y: sdf(x, y) + width, paint, bbox)


# ------------------------------------------------------- distance shapes --

def sd_circle(cx, cy, r):
    return lambda x, y: math.hypot(x - cx, y - cy) - r


def sd_ellipse(cx, cy, rx, ry, angle=0.0):
    """Approximate distance to a (rotated) ellipse; exact enough for an edge."""
    ca, sa = math.cos(angle), math.sin(angle)

    def d(x, y):
        dx, dy = x - cx, y - cy
        u = (dx * ca + dy * sa) / rx
        v = (-dx * sa + dy * ca) / ry
        k = math.hypot(u, v)
        if k == 0.0:
            return -min(rx, ry)
        # distance along the gradient of the implicit function
        gu, gv = u / (k * rx), v / (k * ry)
        g = math.hypot(gu, gv)
        return (k - 1.0) / g
    return d


def sd_box(x0, y0, x1, y1, radius=0.0):
    cx, cy = (x0 + x1) / 2.0, (y0 + y1) / 2.0
    hx, hy = (x1 - x0) / 2.0 - radius, (y1 - y0) / 2.0 - radius

    def d(x, y):
        qx = abs(x - cx) - hx
        qy = abs(y - cy) - hy
        outside = math.hypot(max(qx, 0.0), max(qy, 0.0))
        inside = min(max(qx, qy), 0.0)
        return outside + inside - radius
    return d


def segment_distance(px, py, ax, ay, bx, by):
    dx, dy = bx - ax, by - ay
    length2 = dx * dx + dy * dy
    t = 0.0 if length2 == 0.0 else max(0.0, min(1.0, ((px - ax) * dx + (py - ay) * dy) / length2))
    return math.hypot(px - ax - t * dx, py - ay - t * dy)


def sd_polygon(points):
    n = len(points)

    def d(x, y):
        best = float("inf")
        inside = False
        for i in range(n):
            ax, ay = points[i]
            bx, by = points[(i + 1) % n]
            best = min(best, segment_distance(x, y, ax, ay, bx, by))
            if (ay > y) != (by > y):
                if x < ax + (y - ay) * (bx - ax) / (by - ay):
                    inside = not inside
        return -best if inside else best
    return d


def sd_strokes(polylines, half_width):
    """Round-capped strokes along polylines (lists of points)."""
    segments = []
    for line in polylines:
        if len(line) == 1:
            segments.append((line[0][0], line[0][1], line[0][0], line[0][1]))
        for i in range(len(line) - 1):
            segments.append((line[i][0], line[i][1], line[i + 1][0], line[i + 1][1]))

    def d(x, y):
        best = float("inf")
        for ax, ay, bx, by in segments:
            dist = segment_distance(x, y, ax, ay, bx, by)
            if dist < best:
                best = dist
        return best - half_width
    return d


def sd_union(*shapes):
    return lambda x, y: min(s(x, y) for s in shapes)


def sd_intersection(*shapes):
    return lambda x, y: max(s(x, y) for s in shapes)


def sd_subtract(shape, cut):
    return lambda x, y: max(shape(x, y), -cut(x, y))


def star_points(cx, cy, outer, inner=None, points=5, rotation=-math.pi / 2):
    """Corners of a star whose first tip points up (y grows downwards)."""
    if inner is None:
        inner = outer * 0.382
    result = []
    for i in range(points * 2):
        r = outer if i % 2 == 0 else inner
        a = rotation + i * math.pi / points
        result.append((cx + r * math.cos(a), cy + r * math.sin(a)))
    return result


# ----------------------------------------------------------------- paints --

def linear_gradient(x0, y0, x1, y1, stops):
    """stops: [(t, colour)...] sorted by t; colours may carry alpha."""
    dx, dy = x1 - x0, y1 - y0
    length2 = dx * dx + dy * dy or 1.0
    return lambda x, y: colour_at_stop(stops, ((x - x0) * dx + (y - y0) * dy) / length2)


def radial_gradient(cx, cy, r, stops):
    return lambda x, y: colour_at_stop(stops, math.hypot(x - cx, y - cy) / r)


def colour_at_stop(stops, t):
    if t <= stops[0][0]:
        return stops[0][1]
    for (t0, c0), (t1, c1) in zip(stops, stops[1:]):
        if t <= t1:
            return mix(c0, c1, (t - t0) / (t1 - t0))
    return stops[-1][1]


# ------------------------------------------------------------ stroke font --
# Glyphs in a box 1 high (y down), as polylines; arcs become short segments.

def arc(cx, cy, rx, ry, a0, a1, steps=None):
    """Points of an elliptic arc from angle a0 to a1 in degrees (0 right, 90 down)."""
    if steps is None:
        steps = max(6, int(abs(a1 - a0) / 10))
    pts = []
    for i in range(steps + 1):
        a = math.radians(a0 + (a1 - a0) * i / steps)
        pts.append((cx + rx * math.cos(a), cy + ry * math.sin(a)))
    return pts


GLYPHS = {
    "0": (0.60, [arc(0.30, 0.50, 0.30, 0.50, 0, 360, 48)]),
    "1": (0.40, [[(0.02, 0.22), (0.28, 0.0), (0.28, 1.0)]]),
    "2": (0.60, [arc(0.30, 0.28, 0.29, 0.28, 190, 360) + arc(0.30, 0.28, 0.29, 0.28, 0, 40)
                 + [(0.0, 1.0), (0.60, 1.0)]]),
    "3": (0.60, [arc(0.29, 0.25, 0.27, 0.25, 200, 450), arc(0.30, 0.73, 0.30, 0.27, 270, 520)]),
    "4": (0.62, [[(0.46, 1.0), (0.46, 0.0), (0.0, 0.70), (0.62, 0.70)]]),
    "5": (0.60, [[(0.56, 0.0), (0.09, 0.0), (0.04, 0.46)] + arc(0.30, 0.68, 0.30, 0.32, 215, 500)]),
    "6": (0.60, [arc(0.60, 0.70, 0.60, 0.70, 255, 180) + arc(0.30, 0.70, 0.30, 0.30, 180, 540, 40)]),
    "7": (0.60, [[(0.0, 0.0), (0.60, 0.0), (0.20, 1.0)]]),
    "8": (0.60, [arc(0.30, 0.25, 0.25, 0.25, 0, 360, 36), arc(0.30, 0.73, 0.30, 0.27, 0, 360, 40)]),
    "9": (0.60, [arc(0.0, 0.30, 0.60, 0.70, 75, 0) + arc(0.30, 0.30, 0.30, 0.30, 0, 360, 40)]),
    "+": (0.60, [[(0.0, 0.55), (0.60, 0.55)], [(0.30, 0.25), (0.30, 0.85)]]),
    "A": (0.66, [[(0.0, 1.0), (0.33, 0.0), (0.66, 1.0)], [(0.12, 0.66), (0.54, 0.66)]]),
    "B": (0.58, [[(0.30, 0.0), (0.0, 0.0), (0.0, 1.0), (0.32, 1.0)],
                 arc(0.30, 0.245, 0.24, 0.245, -90, 90) + [(0.0, 0.49)],
                 arc(0.32, 0.745, 0.26, 0.255, -90, 90)]),
    "D": (0.62, [[(0.24, 0.0), (0.0, 0.0), (0.0, 1.0), (0.24, 1.0)] + arc(0.24, 0.50, 0.38, 0.50, 90, -90)]),
    "E": (0.52, [[(0.52, 0.0), (0.0, 0.0), (0.0, 1.0), (0.52, 1.0)], [(0.0, 0.50), (0.42, 0.50)]]),
    "K": (0.58, [[(0.0, 0.0), (0.0, 1.0)], [(0.58, 0.0), (0.0, 0.60)], [(0.19, 0.42), (0.60, 1.0)]]),
    "M": (0.76, [[(0.0, 1.0), (0.0, 0.0), (0.38, 0.70), (0.76, 0.0), (0.76, 1.0)]]),
    "N": (0.62, [[(0.0, 1.0), (0.0, 0.0), (0.62, 1.0), (0.62, 0.0)]]),
    "O": (0.74, [arc(0.37, 0.50, 0.37, 0.50, 0, 360, 48)]),
    "R": (0.58, [[(0.0, 1.0), (0.0, 0.0), (0.30, 0.0)] + arc(0.30, 0.26, 0.26, 0.26, -90, 90)
                 + [(0.0, 0.52)], [(0.28, 0.52), (0.60, 1.0)]]),
    "S": (0.58, [arc(0.29, 0.25, 0.27, 0.25, -20, -270) + arc(0.29, 0.75, 0.29, 0.25, -90, 160)]),
    "T": (0.60, [[(0.0, 0.0), (0.60, 0.0)], [(0.30, 0.0), (0.30, 1.0)]]),
    "U": (0.60, [[(0.0, 0.0)] + arc(0.30, 0.70, 0.30, 0.30, 180, 0) + [(0.60, 0.0)]]),
    "V": (0.64, [[(0.0, 0.0), (0.32, 1.0), (0.64, 0.0)]]),
    " ": (0.36, []),
}


def text_width(text, height, tracking=0.22):
    widths = [GLYPHS[ch][0] for ch in text]
    return height * (sum(widths) + tracking * (len(widths) - 1))


def draw_text(canvas, text, x, y, height, stroke, paint, tracking=0.22, slant=0.0):
    """Stroked capitals and digits with their top-left at (x, y); one glyph at a time."""
    for ch in text:
        width, lines = GLYPHS[ch]
        placed = [[(x + (px + slant * (1.0 - py)) * height, y + py * height) for px, py in line]
                  for line in lines]
        if placed:
            margin = stroke + 2
            bbox = (x - margin, y - margin, x + (width + abs(slant)) * height + margin,
                    y + height + margin)
            fill(canvas, sd_strokes(placed, stroke / 2.0), paint, bbox)
        x += (width + tracking) * height


def draw_text_centred(canvas, text, cx, cy, height, stroke, paint, tracking=0.22):
    draw_text(canvas, text, cx - text_width(text, height, tracking) / 2.0, cy - height / 2.0,
              height, stroke, paint, tracking)


# ------------------------------------------------------------- motifs ------

def draw_ball(canvas, cx, cy, r, colour, number, shadow=True):
    """A glossy lottery ball with its number on a white disk."""
    bbox = (cx - r, cy - r, cx + r, cy + r)
    if shadow:
        fill(canvas, sd_ellipse(cx + r * 0.08, cy + r * 0.93, r * 0.78, r * 0.16),
             radial_gradient(cx + r * 0.08, cy + r * 0.93, r * 0.8,
                             [(0.0, (0, 0, 0, 0.35)), (1.0, (0, 0, 0, 0.0))]),
             (cx - r, cy + r * 0.7, cx + r, cy + r * 1.15), soft=r * 0.12)
    fill(canvas, sd_circle(cx, cy, r),
         radial_gradient(cx - r * 0.35, cy - r * 0.40, r * 1.45,
                         [(0.0, lighten(colour, 0.55)), (0.45, colour), (1.0, darken(colour, 0.55))]),
         bbox)
    label = r * 0.52
    fill(canvas, sd_circle(cx, cy, label + max(1.0, r * 0.03)), with_alpha(darken(colour, 0.4), 0.5),
         bbox)
    fill(canvas, sd_circle(cx, cy, label),
         radial_gradient(cx - label * 0.3, cy - label * 0.35, label * 1.6,
                         [(0.0, WHITE), (0.6, (246, 246, 246)), (1.0, (200, 204, 212))]),
         bbox)
    text = str(number)
    height = label * (0.95 if len(text) == 1 else 0.80)
    draw_text_centred(canvas, text, cx, cy, height, max(1.6, height * 0.19), darken(colour, 0.5),
                      tracking=0.14)
    # the gloss: a soft bright patch towards the upper left
    fill(canvas, sd_ellipse(cx - r * 0.42, cy - r * 0.52, r * 0.30, r * 0.15, math.radians(-35)),
         (255, 255, 255, 0.55), bbox, soft=max(1.0, r * 0.10))


def draw_star(canvas, cx, cy, r, rotation=-math.pi / 2, colour=GOLD):
    pts = star_points(cx, cy, r, rotation=rotation)
    bbox = (cx - r, cy - r, cx + r, cy + r)
    shape = sd_polygon(pts)
    outlined(canvas, shape,
             radial_gradient(cx - r * 0.15, cy - r * 0.2, r * 1.1,
                             [(0.0, lighten(colour, 0.65)), (0.55, colour), (1.0, darken(colour, 0.2))]),
             darken(colour, 0.45), max(0.8, r * 0.07), bbox)


def draw_sparkle(canvas, cx, cy, r, alpha):
    """A faint four-pointed glint for dark backgrounds."""
    pts = star_points(cx, cy, r, r * 0.22, points=4)
    fill(canvas, sd_polygon(pts), (255, 255, 255, alpha), (cx - r, cy - r, cx + r, cy + r))


# ----------------------------------------------------------------- images --

def swatch(colour):
    """27 x 17: the colour inside a one-pixel black border, exact values."""
    c = new_canvas(27, 17, colour)
    for x in range(27):
        put_pixel(c, x, 0, BLACK)
        put_pixel(c, x, 16, BLACK)
    for y in range(17):
        put_pixel(c, 0, y, BLACK)
        put_pixel(c, 26, y, BLACK)
    return c


def bar_chart():
    c = new_canvas(24, 24)
    bars = [(5.0, 13.0, BALL_BLUE), (10.0, 7.0, BALL_GREEN), (15.0, 10.0, BALL_ORANGE)]
    for x0, top, colour in bars:
        outlined(c, sd_box(x0, top, x0 + 4.0, 20.5),
                 linear_gradient(x0, 0, x0 + 4.0, 0, [(0.0, lighten(colour, 0.35)), (1.0, colour)]),
                 darken(colour, 0.45), 1.0)
    axis = (60, 60, 70)
    fill(c, sd_strokes([[(2.5, 2.5), (2.5, 21.0), (21.5, 21.0)]], 0.75), axis)
    fill(c, sd_polygon([(2.5, 0.8), (4.6, 4.0), (0.4, 4.0)]), axis)
    fill(c, sd_polygon([(23.2, 21.0), (20.0, 18.9), (20.0, 23.1)]), axis)
    return c


def clipboard():
    c = new_canvas(24, 24)
    board = (146, 98, 52)
    outlined(c, sd_box(3.5, 3.0, 20.5, 23.5, 2.0),
             linear_gradient(3.5, 3.0, 20.5, 23.5, [(0.0, lighten(board, 0.25)), (1.0, board)]),
             darken(board, 0.45), 1.0)
    outlined(c, sd_box(6.0, 6.0, 18.0, 21.5, 0.5), (252, 252, 248), (150, 150, 160), 0.8)
    # the letter: a greeting line, three lines of writing and a signature
    ink = (60, 90, 150)
    fill(c, sd_strokes([[(8.0, 9.5), (12.0, 9.5)]], 0.5), ink)
    for y in (12.2, 14.6, 17.0):
        fill(c, sd_strokes([[(8.0, y), (16.0, y)]], 0.45), with_alpha(ink, 0.85))
    fill(c, sd_strokes([[(12.0, 19.6), (13.0, 18.8), (14.0, 19.8), (15.2, 19.0), (16.0, 19.4)]], 0.45),
         ink)
    metal = (170, 176, 186)
    outlined(c, sd_box(7.5, 1.0, 16.5, 6.8, 1.5),
             linear_gradient(0, 1.0, 0, 6.8, [(0.0, lighten(metal, 0.5)), (1.0, metal)]),
             (80, 84, 94), 0.9)
    fill(c, sd_circle(12.0, 2.9, 1.0), (80, 84, 94))
    return c


def flag_united_kingdom():
    """Union Flag: 60 x 30 units stretched over 56 x 34 pixels."""
    blue, red, white = (1, 33, 105), (200, 16, 46), (255, 255, 255)
    c = new_canvas(56, 34)
    diag = math.hypot(2.0, 1.0)

    def colour_at(px, py):
        x = px / 56.0 * 60.0 - 30.0  # flag units, centre at 0, y up
        y = 15.0 - py / 34.0 * 30.0
        if abs(y) <= 3.0 or abs(x) <= 3.0:
            return red  # St George's cross, 6 wide
        if abs(y) <= 5.0 or abs(x) <= 5.0:
            return white  # its white border, 10 wide
        # the arm of the saltire in this quarter points along (sx*2, sy*1)
        sx = 1.0 if x > 0 else -1.0
        sy = 1.0 if y > 0 else -1.0
        # signed distance from the diagonal, positive on the side that a
        # counter-clockwise quarter turn of the arm's direction points to
        ax, ay = sx * 2.0 / diag, sy * 1.0 / diag
        across = -ay * x + ax * y
        if 0.0 <= across <= 2.0:
            return red  # St Patrick's red, shifted so the wide white leads in the hoist
        if -3.0 <= across <= 3.0:
            return white
        return blue

    shade(c, colour_at)
    return c


def flag_portugal():
    green, red, yellow = (0, 102, 0), (255, 0, 0), (255, 255, 0)
    c = new_canvas(56, 34)
    split = 56.0 * 2.0 / 5.0
    shade(c, lambda x, y: green if x < split else red)
    cx, cy = split, 17.0
    # the armillary sphere: a golden ring with its equator and the ecliptic
    ring = 8.2
    sphere_bbox = (cx - ring - 1, cy - ring - 1, cx + ring + 1, cy + ring + 1)
    outline = (120, 90, 0)
    fill(c, lambda x, y: abs(math.hypot(x - cx, y - cy) - ring) - 1.3, outline, sphere_bbox)
    fill(c, lambda x, y: abs(math.hypot(x - cx, y - cy) - ring) - 0.8, yellow, sphere_bbox)
    inside = sd_circle(cx, cy, ring)
    for band in (sd_ellipse(cx, cy, ring, 2.6), sd_ellipse(cx, cy, ring, 2.6, math.radians(-32))):
        fill(c, sd_intersection(lambda x, y, b=band: abs(b(x, y)) - 0.55, inside), yellow, sphere_bbox)
    # the shield: white edged, red with the yellow castles, white inside with the blue quinas
    def shield(x0, y0, x1, y1):
        mid = (x0 + x1) / 2.0
        r = (x1 - x0) / 2.0
        return sd_union(sd_box(x0, y0, x1, y1 - r), sd_intersection(sd_circle(mid, y1 - r, r),
                                                                    sd_box(x0, y1 - r - 1, x1, y1)))
    fill(c, shield(cx - 4.8, cy - 5.6, cx + 4.8, cy + 5.6), WHITE)
    fill(c, shield(cx - 4.1, cy - 4.9, cx + 4.1, cy + 4.9), (220, 0, 0))
    for dx, dy in ((-2.9, -3.7), (0.0, -3.9), (2.9, -3.7), (-3.2, 0.4), (3.2, 0.4), (-2.2, 3.3),
                   (2.2, 3.3)):
        fill(c, sd_box(cx + dx - 0.55, cy + dy - 0.55, cx + dx + 0.55, cy + dy + 0.55), yellow)
    fill(c, shield(cx - 2.4, cy - 3.0, cx + 2.4, cy + 2.9), WHITE)
    for dx, dy in ((0.0, -1.7), (-1.3, -0.1), (0.0, -0.1), (1.3, -0.1), (0.0, 1.5)):
        fill(c, sd_box(cx + dx - 0.5, cy + dy - 0.6, cx + dx + 0.5, cy + dy + 0.6), (0, 40, 170))
    return c


def banner():
    w, h = 439, 140
    sky = linear_gradient(0, 0, w, h, [(0.0, (12, 24, 60)), (0.55, NAVY), (1.0, BRAND_BLUE)])
    c = new_canvas(w, h)
    fill(c, lambda x, y: -1.0, sky)
    # a soft halo behind the balls and faint glints across the sky
    fill(c, sd_circle(80, 72, 90), radial_gradient(80, 72, 90, [(0.0, (90, 140, 220, 0.45)),
                                                                 (1.0, (90, 140, 220, 0.0))]))
    for gx, gy, gr in ((160, 16, 4), (205, 122, 3), (300, 14, 3.5), (420, 40, 4.5), (392, 120, 3),
                       (250, 126, 2.5), (20, 18, 3), (140, 128, 2.5), (345, 128, 2.5)):
        draw_sparkle(c, gx, gy, gr, 0.55)
    draw_ball(c, 52, 58, 34, BALL_RED, 7, shadow=False)
    draw_ball(c, 112, 52, 30, BALL_BLUE, 23, shadow=False)
    draw_ball(c, 84, 100, 31, BALL_GREEN, 41, shadow=False)
    draw_star(c, 150, 96, 16, rotation=-math.pi / 2 + 0.2)
    draw_star(c, 136, 18, 11, rotation=-math.pi / 2 - 0.25)
    # the name, with a dark drop shadow and a gold underline
    title_h, stroke = 36, 6.5
    x = 182
    draw_text(c, "KESTROVA", x + 2, 30 + 3, title_h, stroke, (5, 10, 30, 0.6), slant=0.12)
    draw_text(c, "KESTROVA", x, 30, title_h, stroke,
              linear_gradient(0, 30, 0, 70, [(0.0, WHITE), (1.0, (200, 220, 245))]), slant=0.12)
    line_w = text_width("KESTROVA", title_h) + 4
    fill(c, sd_box(x, 78, x + line_w, 81.5, 1.5),
         linear_gradient(x, 0, x + line_w, 0, [(0.0, GOLD), (1.0, (255, 196, 20, 0.0))]))
    draw_text(c, "NUMBERS AND STARS", x + 1, 93, 13, 2.4, GOLD_LIGHT, tracking=0.35)
    return c


def logo():
    c = new_canvas(140, 140)
    cx, cy = 70.0, 70.0
    fill(c, sd_circle(cx, cy + 2, 68), radial_gradient(cx, cy + 2, 68, [(0.85, (0, 0, 0, 0.35)),
                                                                       (1.0, (0, 0, 0, 0.0))]),
         soft=3.0)
    fill(c, sd_circle(cx, cy, 67),
         linear_gradient(0, 3, 0, 137, [(0.0, GOLD_LIGHT), (0.5, GOLD), (1.0, GOLD_DARK)]))
    fill(c, sd_circle(cx, cy, 61),
         radial_gradient(cx - 15, cy - 25, 95, [(0.0, (70, 125, 190)), (0.6, BRAND_BLUE), (1.0, NAVY)]))
    for i, a in enumerate((-150, -120, -90, -60, -30)):
        r = 7.5 if i == 2 else 6.0
        sx = cx + 46 * math.cos(math.radians(a))
        sy = cy + 2 + 46 * math.sin(math.radians(a)) * 0.92
        draw_star(c, sx, sy, r)
    draw_ball(c, cx, cy + 6, 30, BALL_RED, 7, shadow=False)
    draw_text_centred(c, "KESTROVA", cx, cy + 48, 9.5, 2.1, GOLD_LIGHT, tracking=0.3)
    return c


def waste_bin():
    c = new_canvas(24, 24)
    metal = (150, 158, 170)
    edge = (62, 68, 80)
    body = sd_polygon([(5.5, 7.0), (18.5, 7.0), (17.0, 22.5), (7.0, 22.5)])
    outlined(c, body, linear_gradient(5.5, 0, 18.5, 0, [(0.0, lighten(metal, 0.45)), (0.45, metal),
                                                        (1.0, darken(metal, 0.3))]), edge, 1.0)
    for x0, x1 in ((9.2, 9.6), (12.0, 12.0), (14.8, 14.4)):
        fill(c, sd_strokes([[(x0, 9.5), (x1, 20.3)]], 0.5), with_alpha(edge, 0.8))
    fill(c, sd_strokes([[(10.0, 4.6), (10.0, 2.0), (14.0, 2.0), (14.0, 4.6)]], 0.75), edge)
    outlined(c, sd_box(3.5, 4.0, 20.5, 7.5, 1.2),
             linear_gradient(0, 4.0, 0, 7.5, [(0.0, lighten(metal, 0.5)), (1.0, darken(metal, 0.1))]),
             edge, 1.0)
    return c


def about_balls():
    c = new_canvas(400, 295)
    draw_ball(c, 128, 96, 76, BALL_BLUE, 19)
    draw_ball(c, 276, 92, 74, BALL_GREEN, 42)
    draw_ball(c, 92, 206, 80, BALL_RED, 7)
    draw_ball(c, 300, 208, 78, BALL_ORANGE, 23)
    return c


def person():
    c = new_canvas(27, 24)
    skin = BRAND_BLUE
    paint = linear_gradient(6, 1, 21, 23, [(0.0, lighten(skin, 0.45)), (1.0, darken(skin, 0.25))])
    edge = darken(skin, 0.5)
    shoulders = sd_intersection(sd_ellipse(13.5, 23.5, 10.5, 9.5), sd_box(0, 13.0, 27, 23.0))
    outlined(c, shoulders, paint, edge, 1.0)
    outlined(c, sd_circle(13.5, 7.6, 5.6), paint, edge, 1.0)
    return c


def envelope():
    c = new_canvas(26, 24)
    paper = (252, 248, 236)
    edge = (40, 70, 140)
    outlined(c, sd_box(1.5, 5.0, 24.5, 20.5, 1.5),
             linear_gradient(0, 5, 0, 20.5, [(0.0, WHITE), (1.0, paper)]), edge, 1.0)
    fill(c, sd_strokes([[(3.0, 19.0), (10.5, 12.6)], [(23.0, 19.0), (15.5, 12.6)]], 0.45),
         with_alpha(edge, 0.7))
    fill(c, sd_polygon([(2.2, 5.7), (23.8, 5.7), (13.0, 14.2)]), (232, 238, 250))
    fill(c, sd_strokes([[(2.4, 6.0), (13.0, 14.2), (23.6, 6.0)]], 0.6), edge)
    return c


def program_icon(size=64):
    """The icon, drawn for 64 x 64 and scaled as a whole for larger sizes."""
    k = size / 64.0
    c = new_canvas(size, size)
    draw_ball(c, 29 * k, 33 * k, 26 * k, BALL_BLUE, 7, shadow=False)
    draw_star(c, 49 * k, 15 * k, 13 * k, rotation=-math.pi / 2 + 0.15)
    return c


# The larger sizes of the icon that an installation puts into the desktop's
# icon theme beside the 64 x 64 one.
ICON_SIZES = (128, 256)


# -------------------------------------------------------------------- PNG --

def png_bytes(canvas, channels):
    """An 8-bit, non-interlaced PNG of colour type RGB (3) or RGBA (6)."""
    w, h, px = canvas["w"], canvas["h"], canvas["px"]
    raw = bytearray()
    for y in range(h):
        raw.append(0)  # no filter
        for x in range(w):
            i = (y * w + x) * 4
            a = px[i + 3]
            if channels == 3:
                # flatten onto white where something was left uncovered
                for k in range(3):
                    raw.append(int(round(px[i + k] * a + 255.0 * (1.0 - a))))
            else:
                for k in range(3):
                    raw.append(int(round(px[i + k])) if a > 0.0 else 0)
                raw.append(int(round(a * 255.0)))

    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)

    colour_type = 2 if channels == 3 else 6
    header = struct.pack(">IIBBBBB", w, h, 8, colour_type, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header)
            + chunk(b"IDAT", zlib.compress(bytes(raw), 9)) + chunk(b"IEND", b""))


# image number -> (drawing, width, height, channels)
IMAGES = {
    1: (lambda: swatch((236, 233, 216)), 27, 17, 3),
    2: (lambda: swatch((255, 255, 0)), 27, 17, 3),
    3: (lambda: swatch((255, 174, 201)), 27, 17, 3),
    4: (bar_chart, 24, 24, 4),
    5: (clipboard, 24, 24, 4),
    6: (flag_united_kingdom, 56, 34, 3),
    7: (flag_portugal, 56, 34, 3),
    8: (banner, 439, 140, 3),
    9: (logo, 140, 140, 4),
    10: (waste_bin, 24, 24, 4),
    12: (about_balls, 400, 295, 4),
    13: (person, 27, 24, 4),
    14: (envelope, 26, 24, 4),
}


def main():
    root = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "resources")
    out = sys.argv[1] if len(sys.argv) > 1 else root
    os.makedirs(os.path.join(out, "images"), exist_ok=True)
    for number, (draw, width, height, channels) in sorted(IMAGES.items()):
        canvas = draw()
        assert (canvas["w"], canvas["h"]) == (width, height), number
        with open(os.path.join(out, "images", "image_%02d.png" % number), "wb") as f:
            f.write(png_bytes(canvas, channels))
    with open(os.path.join(out, "icon.png"), "wb") as f:
        f.write(png_bytes(program_icon(), 4))
    os.makedirs(os.path.join(out, "icons"), exist_ok=True)
    for size in ICON_SIZES:
        with open(os.path.join(out, "icons", "icon_%d.png" % size), "wb") as f:
            f.write(png_bytes(program_icon(size), 4))


if __name__ == "__main__":
    main()
