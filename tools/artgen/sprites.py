"""The hole, the mole (normal and bopped), the hammer and the application icon.

Hole and mole share one 135 x 96 frame so that the mole button, laid exactly over its
hole, shows the mole rising out of the same opening.
"""

import math

import scene

from draw import (OUTLINE, ellipse, fill_stroke, hexrgb, linear, new_surface, radial,
                  rounded_rect, shade, soft_shadow, yellow_star)

W, H = 135, 96
CX = W / 2
# The opening of the hole.
OY, ORX, ORY = 65.0, 37.0, 13.5

DIRT_LIGHT = hexrgb("#d39a5e")
DIRT = hexrgb("#a8683a")
DIRT_DARK = hexrgb("#7a4526")
FUR_LIGHT = hexrgb("#a37a63")
FUR = hexrgb("#7b5646")
FUR_DARK = hexrgb("#4f352b")
MUZZLE = hexrgb("#f1d3b3")
PINK = hexrgb("#ff8aa0")


def _mound_path(ctx):
    """A lumpy ring of dug-up earth around the opening."""
    ctx.new_path()
    n = 48
    for i in range(n + 1):
        a = 2 * math.pi * i / n
        bump = 1 + 0.045 * math.sin(7 * a + 0.6) + 0.03 * math.sin(11 * a)
        x = CX + 54 * bump * math.cos(a)
        y = OY + 3 + 22 * bump * math.sin(a)
        if i == 0:
            ctx.move_to(x, y)
        else:
            ctx.line_to(x, y)
    ctx.close_path()


def _opening_path(ctx):
    ellipse(ctx, CX, OY, ORX, ORY)


def hole_back(ctx, grass=True):
    """Shadow, mound and the dark opening: everything behind a mole."""
    soft_shadow(ctx, CX + 3, OY + 12, 59, 16, 0.35)
    _mound_path(ctx)
    fill_stroke(ctx, radial(CX - 30, OY - 14, 4, CX, OY + 4, 66,
                            [(0, DIRT_LIGHT), (0.55, DIRT), (1, DIRT_DARK)]), OUTLINE, 2.0)
    # highlight along the top-left of the mound
    ctx.save()
    _mound_path(ctx)
    ctx.clip()
    ellipse(ctx, CX - 8, OY - 6, 50, 15)
    ctx.set_source_rgba(1, 0.92, 0.75, 0.25)
    ctx.set_line_width(4)
    ctx.stroke()
    ctx.restore()
    # clods of earth
    for x, y, r in [(23, 75, 3.6), (32, 84, 2.8), (107, 82, 4.0), (115, 71, 2.8), (95, 88, 2.4)]:
        ellipse(ctx, x, y, r, r * 0.75)
        fill_stroke(ctx, radial(x - r / 2, y - r / 2, 0, x, y, r,
                                [(0, DIRT_LIGHT), (1, DIRT_DARK)]), OUTLINE, 1.2)
    # grass growing against the mound, when it stands in the meadow
    for x, y, sc in [(CX - 50, OY + 14, 1.3), (CX + 48, OY + 10, 1.1), (CX + 26, OY + 29, 1.0),
                     (CX - 31, OY - 14, 0.9)] if grass else []:
        scene.tuft(ctx, x, y, sc, hexrgb("#4a9632"))
    # the opening: far wall in dim brown, depth in near black
    _opening_path(ctx)
    fill_stroke(ctx, hexrgb("#5b321b"), OUTLINE, 2.2)
    ctx.save()
    _opening_path(ctx)
    ctx.clip()
    ellipse(ctx, CX + 1, OY + 6, ORX + 1, ORY)
    ctx.set_source(radial(CX, OY + 8, 2, CX, OY + 6, ORX,
                          [(0, hexrgb("#130804")), (1, hexrgb("#2a150a"))]))
    ctx.fill()
    ctx.restore()


def hole_front(ctx):
    """The near lip of the opening, drawn over the mole's body."""
    ctx.save()
    ctx.translate(CX, OY)
    ctx.scale(ORX, ORY)
    ctx.arc(0, 0, 1, 0.05, math.pi - 0.05)
    ctx.restore()
    ctx.set_source_rgb(*OUTLINE)
    ctx.set_line_width(2.4)
    ctx.stroke()
    ctx.save()
    ctx.translate(CX, OY + 2.2)
    ctx.scale(ORX - 2, ORY - 0.5)
    ctx.arc(0, 0, 1, 0.35, math.pi - 0.35)
    ctx.restore()
    ctx.set_source_rgba(1, 0.9, 0.7, 0.45)
    ctx.set_line_width(1.6)
    ctx.stroke()


def draw_hole(ctx):
    hole_back(ctx)
    hole_front(ctx)


def _body_path(ctx, top, half_w):
    bottom = OY + ORY + 6
    ctx.new_path()
    ctx.move_to(CX - half_w - 3, bottom)
    ctx.curve_to(CX - half_w - 1, top + 40, CX - half_w, top + 8, CX, top)
    ctx.curve_to(CX + half_w, top + 8, CX + half_w + 1, top + 40, CX + half_w + 3, bottom)
    ctx.close_path()


def _eye(ctx, x, y):
    ellipse(ctx, x, y, 4.2, 5.6)
    ctx.set_source(radial(x - 1, y - 2, 0, x, y, 6,
                          [(0, hexrgb("#3a2a26")), (1, hexrgb("#0d0706"))]))
    ctx.fill()
    ellipse(ctx, x - 1.4, y - 2.2, 1.6, 1.9)
    ctx.set_source_rgb(1, 1, 1)
    ctx.fill()
    ellipse(ctx, x + 1.5, y + 2.0, 0.8, 0.8)
    ctx.set_source_rgba(1, 1, 1, 0.8)
    ctx.fill()


def _dizzy_eye(ctx, x, y):
    ctx.new_path()
    turns = 2.2
    steps = 40
    for i in range(steps + 1):
        t = i / steps
        a = t * turns * 2 * math.pi
        r = 0.4 + 4.6 * t
        px, py = x + r * math.cos(a), y + r * math.sin(a) * 1.1
        if i == 0:
            ctx.move_to(px, py)
        else:
            ctx.line_to(px, py)
    ctx.set_source_rgb(*hexrgb("#1a0e0a"))
    ctx.set_line_width(1.5)
    ctx.stroke()


def _paw(ctx, x, y, flip):
    ellipse(ctx, x, y, 9, 5.5)
    skin = radial(x - 3, y - 3, 0, x, y, 10, [(0, hexrgb("#ffd9cf")), (1, hexrgb("#f0a895"))])
    fill_stroke(ctx, skin, OUTLINE, 1.6)
    for k in (-4, 0, 4):
        ctx.move_to(x + k, y - 4.5 + abs(k) * 0.2)
        ctx.line_to(x + k + flip * 0.6, y - 1.5)
        ctx.set_source_rgba(*OUTLINE, 0.8)
        ctx.set_line_width(1.0)
        ctx.stroke()


def draw_mole(ctx, bopped=False, grass=True):
    """The whole mole frame: the hole, the mole rising from it, the near lip and paws."""
    hole_back(ctx, grass)
    top = 16.0 if bopped else 8.0
    half_w = 31.0 if bopped else 29.0
    ctx.save()
    ctx.rectangle(0, 0, W, OY)
    _opening_path(ctx)
    ctx.clip()
    # body with shading from the upper left and a rim of dark fur on the right
    _body_path(ctx, top, half_w)
    fill_stroke(ctx, radial(CX - 12, top + 14, 3, CX, top + 30, 52,
                            [(0, FUR_LIGHT), (0.6, FUR), (1, FUR_DARK)]), OUTLINE, 2.2)
    # shadow thrown by the rim of the hole onto the body
    ellipse(ctx, CX, OY + 2, ORX + 2, ORY + 4)
    ctx.set_source(linear(0, OY - 18, 0, OY, [(0, (0, 0, 0), 0), (1, (0, 0, 0), 0.45)]))
    ctx.fill()
    # head tuft
    for dx, lean in [(-4, -5), (0, 0), (4, 5)]:
        ctx.move_to(CX + dx, top + 2)
        tip_x = CX + dx + lean
        ctx.curve_to(CX + dx + lean * 0.3, top - 3, tip_x, top - 5, tip_x, top - 5)
        ctx.set_source_rgb(*OUTLINE)
        ctx.set_line_width(1.6)
        ctx.stroke()
    face = top + (26 if bopped else 24)
    # muzzle
    ellipse(ctx, CX, face + 12, 17, 12)
    fill_stroke(ctx, radial(CX - 5, face + 7, 1, CX, face + 12, 18,
                            [(0, hexrgb("#fff1de")), (1, MUZZLE)]), shade(MUZZLE, 0.55), 1.3)
    # cheeks
    for dx in (-22, 22):
        ellipse(ctx, CX + dx, face + 10, 5.5, 3.5)
        ctx.set_source_rgba(*PINK, 0.55)
        ctx.fill()
    # whiskers
    for side in (-1, 1):
        for k, dy in enumerate((-2, 2)):
            ctx.move_to(CX + side * 13, face + 12 + dy)
            ctx.line_to(CX + side * 27, face + 9 + dy * 2.2 + k)
            ctx.set_source_rgba(*OUTLINE, 0.55)
            ctx.set_line_width(0.9)
            ctx.stroke()
    # eyes
    if bopped:
        _dizzy_eye(ctx, CX - 11, face - 4)
        _dizzy_eye(ctx, CX + 11, face - 4)
    else:
        _eye(ctx, CX - 11, face - 4)
        _eye(ctx, CX + 11, face - 4)
    # mouth and teeth
    if bopped:
        ellipse(ctx, CX, face + 17, 5, 4.5)
        fill_stroke(ctx, hexrgb("#5a1e1e"), OUTLINE, 1.3)
        ellipse(ctx, CX, face + 19.5, 3, 1.6)
        ctx.set_source_rgb(*PINK)
        ctx.fill()
    else:
        ctx.move_to(CX - 7, face + 13)
        ctx.curve_to(CX - 4, face + 17, CX - 1, face + 16, CX, face + 14)
        ctx.curve_to(CX + 1, face + 16, CX + 4, face + 17, CX + 7, face + 13)
        ctx.set_source_rgb(*OUTLINE)
        ctx.set_line_width(1.4)
        ctx.stroke()
        rounded_rect(ctx, CX - 4, face + 15.5, 8, 6, 1.5)
        fill_stroke(ctx, (1, 1, 1), OUTLINE, 1.1)
        ctx.move_to(CX, face + 15.8)
        ctx.line_to(CX, face + 21)
        ctx.set_line_width(0.8)
        ctx.stroke()
    # nose
    ellipse(ctx, CX, face + 6, 7.5, 5.5)
    fill_stroke(ctx, radial(CX - 2.5, face + 4, 0.5, CX, face + 6, 8,
                            [(0, hexrgb("#ffc2cf")), (0.5, PINK), (1, hexrgb("#d9456a"))]),
                OUTLINE, 1.4)
    ellipse(ctx, CX - 2.6, face + 3.8, 2.2, 1.4)
    ctx.set_source_rgba(1, 1, 1, 0.85)
    ctx.fill()
    ctx.restore()
    hole_front(ctx)
    _paw(ctx, CX - 21, OY + ORY - 3, -1)
    _paw(ctx, CX + 21, OY + ORY - 3, 1)
    if bopped:
        # the bump on the head and the stars circling it
        ellipse(ctx, CX + 9, top + 3, 8, 6)
        fill_stroke(ctx, radial(CX + 7, top + 1, 0.5, CX + 9, top + 3, 9,
                                [(0, hexrgb("#ffd0c4")), (1, hexrgb("#f27c72"))]), OUTLINE, 1.4)
        ctx.save()
        ctx.translate(CX, top + 4)
        ctx.scale(46, 9)
        ctx.arc(0, 0, 1, math.pi * 0.95, math.pi * 2.05)
        ctx.restore()
        ctx.set_source_rgba(1, 0.95, 0.6, 0.8)
        ctx.set_line_width(1.4)
        ctx.stroke()
        yellow_star(ctx, CX - 40, top + 2, 7.5, 0.2)
        yellow_star(ctx, CX - 14, top - 8, 6.5, -0.3)
        yellow_star(ctx, CX + 38, top - 1, 7.0, 0.5)


def hole_image():
    surface, ctx = new_surface(W, H)
    draw_hole(ctx)
    return surface


def mole_image(bopped):
    surface, ctx = new_surface(W, H)
    draw_mole(ctx, bopped)
    return surface


def _hammer(ctx):
    """The game's mallet around its origin: the handle down to y = 12.5, the head on top
    with its striking caps at x = -10 and x = 10."""
    # handle
    rounded_rect(ctx, -2.4, -6, 4.8, 18.5, 2.2)
    wood = linear(-2, 0, 2, 0, [(0, hexrgb("#f2c084")), (1, hexrgb("#b97a3e"))])
    fill_stroke(ctx, wood, OUTLINE, 1.2)
    # head: a red mallet with pale wooden caps
    rounded_rect(ctx, -10, -14.5, 20, 11, 3)
    fill_stroke(ctx, linear(0, -14.5, 0, -3.5, [(0, hexrgb("#ff8a74")), (0.5, hexrgb("#e8483a")),
                                             (1, hexrgb("#b02d24"))]), OUTLINE, 1.3)
    for x in (-10, 7):
        rounded_rect(ctx, x, -15, 3, 12, 1.2)
        fill_stroke(ctx, linear(0, -15, 0, -3, [(0, hexrgb("#ffe6b8")), (1, hexrgb("#d9a25f"))]),
                    OUTLINE, 1.1)
    ctx.move_to(-5.5, -12.3)
    ctx.line_to(4.5, -12.3)
    ctx.set_source_rgba(1, 1, 1, 0.6)
    ctx.set_line_width(1.2)
    ctx.stroke()


def hammer_image():
    surface, ctx = new_surface(24, 30)
    ctx.translate(12.5, 17.5)
    ctx.scale(0.9, 0.9)
    ctx.rotate(-0.25)
    _hammer(ctx)
    return surface


# The mouse pointer's pictures and their hot spot, which the game hands the framework
# with them (game/MolePaths.h): the point the mallet's cap lands on when it is swung.
POINTER_SIZE = 32
POINTER_HOT = (6, 29)


def pointer_image(swung):
    """The mallet as the mouse pointer: held ready, or swung down onto the hot spot."""
    surface, ctx = new_surface(POINTER_SIZE, POINTER_SIZE)
    hx, hy = POINTER_HOT
    # Swung, the head stands upright at the left with its cap down on the hot spot and
    # the handle runs to the right; held ready, the same hammer is turned back about
    # the end of the handle, where the hand holds it.
    k = 0.85
    ox, oy = hx + 9 * k, hy - 11.5 * k
    grip_x, grip_y = ox + 12.5 * k, oy
    if swung:  # two strokes of speed behind the falling head
        ctx.set_source_rgba(1, 1, 1, 0.9)
        ctx.set_line_width(1.6)
        ctx.set_line_cap(1)  # round
        for r in (17, 21):
            ctx.arc(grip_x, grip_y, r, math.pi + 0.55, math.pi + 0.95)
            ctx.stroke()
    ctx.translate(grip_x, grip_y)
    ctx.rotate(0 if swung else 0.5)
    ctx.translate(ox - grip_x, oy - grip_y)
    ctx.scale(k, k)
    ctx.rotate(-math.pi / 2)
    _hammer(ctx)
    return surface


def icon_image(size):
    surface, ctx = new_surface(size, size)
    ctx.scale(size / 256.0, size / 256.0)
    rounded_rect(ctx, 6, 6, 244, 244, 52)
    ctx.save()
    ctx.clip_preserve()
    ctx.set_source(linear(0, 6, 0, 250, [(0, hexrgb("#4da3e6")), (0.42, hexrgb("#bfe8fb")),
                                         (0.42, hexrgb("#9fd95c")), (1, hexrgb("#4f9f37"))]))
    ctx.fill()
    ellipse(ctx, 52, 50, 24, 24)
    sun = radial(45, 43, 2, 52, 50, 26,
                 [(0, hexrgb("#fffbd0")), (0.5, hexrgb("#ffe25a")), (1, hexrgb("#ffb92e"))])
    fill_stroke(ctx, sun, OUTLINE, 3)
    scene.cloud(ctx, 196, 66, 0.72)
    ctx.translate(128 - CX * 2.15, 250 - H * 2.15 + 12)
    ctx.scale(2.15, 2.15)
    draw_mole(ctx)
    ctx.restore()
    rounded_rect(ctx, 6, 6, 244, 244, 52)
    ctx.set_source_rgb(*OUTLINE)
    ctx.set_line_width(6)
    ctx.stroke()
    return surface
