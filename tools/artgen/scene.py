"""The meadow behind the holes, drawn once as one scene and cut into the three backgrounds.

Scene coordinates are screen pixels: the scene runs from y = -60 (the top of bg1, above
the screen) to y = 668 (the bottom of bg2), so the three cut-outs join exactly.
"""

import math
import random

from draw import (OUTLINE, ellipse, fill_stroke, hexrgb, linear, mix, new_surface, radial,
                  shade)

TOP = -60
BOTTOM = 668
WIDTH = 720

SKY_TOP = hexrgb("#3b8fdb")
SKY_MID = hexrgb("#5aaeea")
SKY_LOW = hexrgb("#c4ebfb")
GRASS_FAR = hexrgb("#a9dd62")
GRASS_MID = hexrgb("#7cc64a")
GRASS_NEAR = hexrgb("#5bab3b")
GRASS_DARK = hexrgb("#3f8a2c")


def _curve(ctx, x0, x1, fn, step=4):
    ctx.move_to(x0, fn(x0))
    x = x0
    while x < x1:
        x = min(x1, x + step)
        ctx.line_to(x, fn(x))


def _band(ctx, top_fn, bottom):
    ctx.new_path()
    _curve(ctx, -10, WIDTH + 10, top_fn)
    ctx.line_to(WIDTH + 10, bottom)
    ctx.line_to(-10, bottom)
    ctx.close_path()


def _sky(ctx):
    ctx.rectangle(0, TOP, WIDTH, 260)
    ctx.set_source(linear(0, TOP, 0, 140, [(0, SKY_TOP), (0.45, SKY_MID), (1, SKY_LOW)]))
    ctx.fill()
    # Sunlight from the upper left, faint enough to keep the status line readable.
    ctx.rectangle(0, TOP, WIDTH, 260)
    ctx.set_source(radial(-30, -90, 0, -30, -90, 330,
                          [(0, (1, 1, 0.9), 0.45), (0.5, (1, 1, 0.9), 0.12), (1, (1, 1, 1), 0)]))
    ctx.fill()


def cloud(ctx, cx, cy, s):
    """A puffy cloud with a flat underside."""
    puffs = [(-34, 6, 16), (-16, -6, 20), (6, -12, 24), (28, -2, 19), (44, 8, 13), (8, 8, 18)]
    cut = 14  # the flat underside, below the centre
    ends = [dx + side * math.sqrt(r * r - (cut - dy) ** 2)
            for dx, dy, r in puffs if abs(cut - dy) < r for side in (-1, 1)]
    left, right = min(ends), max(ends)
    edge = hexrgb("#8fbfe4")
    ctx.save()
    ctx.rectangle(cx - 80 * s, cy - 80 * s, 160 * s, (80 + cut) * s)
    ctx.clip()
    ctx.new_path()
    for dx, dy, r in puffs:
        ctx.new_sub_path()
        ctx.arc(cx + dx * s, cy + dy * s, r * s, 0, 2 * math.pi)
    ctx.set_source_rgb(*edge)
    ctx.set_line_width(3.5 * s)
    ctx.stroke_preserve()
    ctx.set_source(linear(0, cy - 36 * s, 0, cy + cut * s,
                          [(0, (1, 1, 1)), (0.6, (0.98, 0.99, 1)), (1, hexrgb("#d6e9f7"))]))
    ctx.fill()
    ctx.restore()
    ctx.move_to(cx + left * s, cy + cut * s)
    ctx.line_to(cx + right * s, cy + cut * s)
    ctx.set_source_rgb(*edge)
    ctx.set_line_width(2.5 * s)
    ctx.stroke()


def _clouds(ctx):
    for cx, cy, s in [(92, 84, 1.0), (478, 66, 0.62), (640, 98, 0.85), (300, -20, 0.8)]:
        cloud(ctx, cx, cy, s)


def _hills(ctx):
    far = lambda x: 108 - 14 * math.sin(x / 120 + 0.8) - 7 * math.sin(x / 47 + 2.0)
    _band(ctx, far, 200)
    ctx.set_source(linear(0, 85, 0, 140, [(0, hexrgb("#9fd3a8")), (1, hexrgb("#7fbf8e"))]))
    ctx.fill_preserve()
    ctx.set_source_rgba(*hexrgb("#6aa77c"), 0.8)
    ctx.set_line_width(2)
    ctx.stroke()
    near = lambda x: 122 - 9 * math.sin(x / 90 + 3.4) - 4 * math.sin(x / 31)
    _band(ctx, near, 200)
    ctx.set_source(linear(0, 105, 0, 145, [(0, hexrgb("#8fd25c")), (1, hexrgb("#74bd4a"))]))
    ctx.fill_preserve()
    ctx.set_source_rgba(*hexrgb("#4f9a3a"), 0.7)
    ctx.set_line_width(2)
    ctx.stroke()
    for x, s in [(26, 1.0), (44, 0.8), (660, 1.1), (684, 0.85), (700, 1.0)]:
        _tree(ctx, x, near(x) + 2, s)


def _tree(ctx, x, base, s):
    ctx.rectangle(x - 1.5 * s, base - 9 * s, 3 * s, 9 * s)
    fill_stroke(ctx, hexrgb("#8a5a32"), shade(OUTLINE, 1.3), 1)
    ellipse(ctx, x, base - 13 * s, 7 * s, 8 * s)
    fill_stroke(ctx, radial(x - 3 * s, base - 17 * s, 0, x, base - 13 * s, 9 * s,
                            [(0, hexrgb("#7fcf55")), (1, hexrgb("#3f8f35"))]),
                hexrgb("#2f6a28"), 1.2)


def field_top(x):
    return 134 - 5 * math.sin(math.pi * x / WIDTH) + 2 * math.sin(x / 53)


def _field(ctx):
    _band(ctx, field_top, BOTTOM + 10)
    ctx.set_source(linear(0, 128, 0, BOTTOM, [(0, GRASS_FAR), (0.25, GRASS_MID),
                                              (0.6, GRASS_NEAR), (1, GRASS_DARK)]))
    ctx.fill_preserve()
    ctx.set_source_rgba(*hexrgb("#5a9e36"), 0.9)
    ctx.set_line_width(2)
    ctx.stroke()
    # Mown bands, wider towards the viewer.
    edges = [field_top(360) + 6 + 3.2 * k ** 1.75 for k in range(1, 26)]
    for k in range(0, len(edges) - 1, 2):
        a, b = edges[k], edges[k + 1]
        bulge = lambda x, base: base - (6 + base * 0.02) * math.sin(math.pi * x / WIDTH)
        ctx.new_path()
        _curve(ctx, -10, WIDTH + 10, lambda x: bulge(x, a))
        ctx.line_to(WIDTH + 10, bulge(WIDTH + 10, b))
        xs = list(range(WIDTH + 10, -11, -4))
        for x in xs:
            ctx.line_to(x, bulge(x, b))
        ctx.close_path()
        ctx.set_source_rgba(1, 1, 0.8, 0.07)
        ctx.fill()


def tuft(ctx, x, y, s, color):
    blades = [(-5, -9, -7), (-1, -13, -2), (3, -11, 4), (6, -7, 8)]
    ctx.new_path()
    for bx, h, tip in blades:
        ctx.move_to(x + (bx - 2) * s, y)
        ctx.curve_to(x + bx * s, y + h * s * 0.5, x + tip * s, y + h * s, x + tip * s, y + h * s)
        ctx.curve_to(x + tip * s, y + h * s, x + (bx + 1) * s, y + h * s * 0.4, x + (bx + 2) * s, y)
        ctx.close_path()
    ctx.set_source_rgb(*color)
    ctx.fill()


def small_flower(ctx, x, y, s, petal):
    for i in range(5):
        a = i * 2 * math.pi / 5
        ellipse(ctx, x + math.cos(a) * 2.2 * s, y + math.sin(a) * 2.2 * s, 1.9 * s, 1.9 * s)
        ctx.set_source_rgb(*petal)
        ctx.fill()
    ellipse(ctx, x, y, 1.4 * s, 1.4 * s)
    ctx.set_source_rgb(*hexrgb("#ffc629"))
    ctx.fill()


def _meadow_details(ctx):
    rng = random.Random(20261206)
    items = []
    for _ in range(150):
        y = 140 + (rng.random() ** 1.4) * 320
        x = rng.uniform(-5, WIDTH + 5)
        items.append((y, x, rng.random()))
    items.sort()
    for y, x, r in items:
        s = 0.5 + (y - 140) / 140
        if r < 0.8:
            tuft(ctx, x, y, s, mix(GRASS_DARK, GRASS_MID, 0.35 + 0.3 * r))
        else:
            petal = [hexrgb("#ffffff"), hexrgb("#ffe3f0"), hexrgb("#fff6a8")][int(r * 100) % 3]
            small_flower(ctx, x, y - 2 * s, s * 0.8, petal)


def daisy(ctx, x, y, s, petal, center):
    ctx.move_to(x, y + 30 * s)
    ctx.curve_to(x - 2 * s, y + 20 * s, x + 2 * s, y + 10 * s, x, y)
    ctx.set_source_rgb(*hexrgb("#3f8a2c"))
    ctx.set_line_width(2.4 * s)
    ctx.stroke()
    for i in range(8):
        a = i * math.pi / 4 + 0.2
        ctx.save()
        ctx.translate(x + math.cos(a) * 6 * s, y + math.sin(a) * 6 * s)
        ctx.rotate(a)
        ellipse(ctx, 0, 0, 5.5 * s, 3 * s)
        ctx.restore()
        fill_stroke(ctx, petal, shade(petal, 0.55), 1.0 * s)
    ellipse(ctx, x, y, 4 * s, 4 * s)
    fill_stroke(ctx, radial(x - 1.5 * s, y - 1.5 * s, 0, x, y, 4 * s,
                            [(0, shade(center, 1.4)), (1, center)]), OUTLINE, 1.0 * s)


def tulip(ctx, x, y, s, color):
    ctx.move_to(x, y + 34 * s)
    ctx.line_to(x, y)
    ctx.set_source_rgb(*hexrgb("#3f8a2c"))
    ctx.set_line_width(2.6 * s)
    ctx.stroke()
    ctx.move_to(x, y + 30 * s)
    ctx.curve_to(x + 10 * s, y + 22 * s, x + 12 * s, y + 14 * s, x + 10 * s, y + 10 * s)
    ctx.curve_to(x + 6 * s, y + 18 * s, x + 2 * s, y + 24 * s, x, y + 30 * s)
    fill_stroke(ctx, hexrgb("#5aae3b"), hexrgb("#2f6a28"), 1.0 * s)
    ctx.move_to(x - 7 * s, y - 10 * s)
    ctx.line_to(x - 3.5 * s, y - 5 * s)
    ctx.line_to(x, y - 11 * s)
    ctx.line_to(x + 3.5 * s, y - 5 * s)
    ctx.line_to(x + 7 * s, y - 10 * s)
    ctx.curve_to(x + 8 * s, y - 1 * s, x + 5 * s, y + 3 * s, x, y + 3 * s)
    ctx.curve_to(x - 5 * s, y + 3 * s, x - 8 * s, y - 1 * s, x - 7 * s, y - 10 * s)
    ctx.close_path()
    fill_stroke(ctx, linear(x - 7 * s, y - 10 * s, x + 7 * s, y + 3 * s,
                            [(0, shade(color, 1.35)), (1, color)]), OUTLINE, 1.2 * s)


def bush(ctx, cx, base, s):
    puffs = [(-26, -14, 18), (-8, -26, 22), (14, -22, 20), (30, -10, 15), (0, -8, 20)]
    ctx.new_path()
    for dx, dy, r in puffs:
        ctx.new_sub_path()
        ctx.arc(cx + dx * s, base + dy * s, r * s, 0, 2 * math.pi)
    ctx.set_source_rgb(*hexrgb("#2c6a24"))
    ctx.set_line_width(3 * s)
    ctx.stroke_preserve()
    ctx.set_source(radial(cx - 18 * s, base - 40 * s, 4 * s, cx, base - 10 * s, 50 * s,
                          [(0, hexrgb("#8fdb5c")), (0.6, hexrgb("#4fa53a")),
                           (1, hexrgb("#357f2c"))]))
    ctx.fill()
    for dx, dy in [(-14, -30), (8, -36), (22, -24)]:
        ellipse(ctx, cx + dx * s, base + dy * s, 5 * s, 3 * s)
        ctx.set_source_rgba(1, 1, 0.85, 0.35)
        ctx.fill()


def _foreground(ctx):
    # Bushes in the corners, beside the lowest row of holes.
    bush(ctx, 18, 452, 1.05)
    bush(ctx, 700, 448, 1.0)
    daisy(ctx, 30, 398, 0.9, hexrgb("#ffffff"), hexrgb("#ffc629"))
    tulip(ctx, 682, 404, 0.9, hexrgb("#ff5d6c"))
    daisy(ctx, 703, 420, 0.75, hexrgb("#ffd6ea"), hexrgb("#ffb020"))
    # Grass fringe along the bottom edge of the screen.
    rng = random.Random(442)
    ctx.new_path()
    _band(ctx, lambda x: 466 + 3 * math.sin(x / 37), BOTTOM + 10)
    ctx.set_source(linear(0, 460, 0, 520, [(0, hexrgb("#4c9e35")), (1, GRASS_DARK)]))
    ctx.fill()
    for layer, color in [(0, hexrgb("#3c8a2a")), (1, hexrgb("#5fb340"))]:
        x = -6.0 + layer * 5
        while x < WIDTH + 8:
            h = rng.uniform(14, 26) - layer * 5
            lean = rng.uniform(-5, 5)
            base = 472 + layer * 4
            ctx.move_to(x - 4, base)
            ctx.curve_to(x - 1, base - h * 0.5, x + lean, base - h, x + lean, base - h)
            ctx.curve_to(x + lean, base - h, x + 2, base - h * 0.4, x + 4, base)
            ctx.close_path()
            ctx.set_source_rgb(*color)
            ctx.fill()
            x += rng.uniform(6, 10)
    for x, color in [(150, "#ffffff"), (236, "#fff6a8"), (470, "#ffe3f0"), (590, "#ffffff")]:
        small_flower(ctx, x, 470, 1.5, hexrgb(color))


def render_scene():
    surface, ctx = new_surface(WIDTH, BOTTOM - TOP)
    ctx.translate(0, -TOP)
    _sky(ctx)
    _clouds(ctx)
    _hills(ctx)
    _field(ctx)
    _meadow_details(ctx)
    _foreground(ctx)
    return surface


def crop(scene, top, height):
    """Cuts the rows [top, top + height) of the scene (screen coordinates)."""
    surface, ctx = new_surface(WIDTH, height)
    ctx.set_source_surface(scene, 0, TOP - top)
    ctx.paint()
    return surface


def backgrounds():
    scene = render_scene()
    return {
        "bg1-0.png": crop(scene, -60, 288),
        "bg2-0.png": crop(scene, 150, 518),
        "bg3-0.png": crop(scene, 392, 126),
    }
