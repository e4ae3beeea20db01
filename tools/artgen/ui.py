"""Logo, menu buttons, sound switch and the game-over banner."""

import math

from draw import (CJK_FONT, CREAM, LATIN_FONT, OUTLINE, cartoon_text, ellipse, fill_stroke,
                  hexrgb, linear, new_surface, radial, rounded_rect, set_font, shade,
                  yellow_star)
import sprites

BUTTON_COLORS = {
    0: hexrgb("#62c23f"),  # start: green
    1: hexrgb("#ffa82e"),  # about: orange
    2: hexrgb("#f2574a"),  # exit: red
}
BUTTON_LABELS = {0: "开始", 1: "关于", 2: "退出"}


def _candy_body(ctx, x, y, w, h, r, base, depth):
    """A glossy rounded slab with a darker 3D edge of the given depth below it."""
    if depth > 0:
        rounded_rect(ctx, x, y + depth, w, h, r)
        fill_stroke(ctx, shade(base, 0.62), OUTLINE, 2.2)
    rounded_rect(ctx, x, y, w, h, r)
    fill_stroke(ctx, linear(0, y, 0, y + h, [(0, shade(base, 1.38)), (0.5, base),
                                           (1, shade(base, 0.82))]), OUTLINE, 2.2)
    # gloss on the upper half
    rounded_rect(ctx, x + 5, y + 3, w - 10, h * 0.42, r * 0.7)
    ctx.set_source(linear(0, y + 3, 0, y + 3 + h * 0.42,
                          [(0, (1, 1, 1), 0.55), (1, (1, 1, 1), 0.08)]))
    ctx.fill()


def menu_button(index, pressed):
    surface, ctx = new_surface(108, 52)
    base = BUTTON_COLORS[index]
    if pressed:
        base = shade(base, 0.8)
    depth = 1.5 if pressed else 5
    y = 5.5 if pressed else 2
    # soft shadow on the ground
    rounded_rect(ctx, 4, 10, 102, 41, 18)
    ctx.set_source_rgba(0, 0, 0, 0.16 if pressed else 0.22)
    ctx.fill()
    _candy_body(ctx, 3, y, 102, 40, 18, base, depth)
    cartoon_text(ctx, BUTTON_LABELS[index], 54, y + 20.5, CJK_FONT, 25,
                 (1, 1, 1), outline=shade(base, 0.42), outline_w=5, shadow=0.0, weight=0.9)
    return surface


def _speaker(ctx, cx, cy):
    ctx.new_path()
    ctx.move_to(cx - 12, cy - 5)
    ctx.line_to(cx - 6, cy - 5)
    ctx.line_to(cx + 2, cy - 12)
    ctx.line_to(cx + 2, cy + 12)
    ctx.line_to(cx - 6, cy + 5)
    ctx.line_to(cx - 12, cy + 5)
    ctx.close_path()
    fill_stroke(ctx, (1, 1, 1), OUTLINE, 2.0)


def sound_switch(on):
    surface, ctx = new_surface(50, 50)
    ellipse(ctx, 25, 28, 22, 21)
    ctx.set_source_rgba(0, 0, 0, 0.2)
    ctx.fill()
    base = hexrgb("#ffb83a") if on else hexrgb("#e3a447")
    ellipse(ctx, 25, 26.5, 22, 21)
    fill_stroke(ctx, shade(base, 0.62), OUTLINE, 2.0)
    ellipse(ctx, 25, 24, 22, 21)
    fill_stroke(ctx, radial(18, 14, 2, 25, 24, 24, [(0, shade(base, 1.45)), (0.6, base),
                                                   (1, shade(base, 0.85))]), OUTLINE, 2.0)
    ellipse(ctx, 25, 14, 14, 7)
    ctx.set_source_rgba(1, 1, 1, 0.35)
    ctx.fill()
    ox = -3 if on else -4
    _speaker(ctx, 25 + ox, 24)
    if on:
        for r in (6.5, 12):
            ctx.new_path()
            ctx.arc(25 + ox + 3, 24, r, -0.85, 0.85)
            ctx.set_source_rgb(*OUTLINE)
            ctx.set_line_width(4.8)
            ctx.stroke_preserve()
            ctx.set_source_rgb(1, 1, 1)
            ctx.set_line_width(2.4)
            ctx.stroke()
    else:
        cx, cy = 35, 24
        for dx, dy in ((-5, -5), (-5, 5)):
            ctx.move_to(cx + dx, cy + dy)
            ctx.line_to(cx - dx, cy - dy)
        ctx.set_source_rgb(*OUTLINE)
        ctx.set_line_width(6)
        ctx.stroke_preserve()
        ctx.set_source_rgb(*hexrgb("#ff4b3e"))
        ctx.set_line_width(3.2)
        ctx.stroke()
    return surface


def logo():
    surface, ctx = new_surface(400, 100)
    text = "Burrowbop"
    size = 60
    set_font(ctx, LATIN_FONT, size, bold=True)
    advances = [ctx.text_extents(ch)[4] for ch in text]
    total = sum(advances) - 2 * (len(text) - 1)
    scale = min(1.0, 372 / total)
    size *= scale
    set_font(ctx, LATIN_FONT, size, bold=True)
    advances = [ctx.text_extents(ch)[4] for ch in text]
    x = 200 - (sum(advances) - 2 * scale * (len(text) - 1)) / 2
    fill = linear(0, 12, 0, 62, [(0, hexrgb("#fff27a")), (0.5, hexrgb("#ffc83a")),
                                  (1, hexrgb("#ff8a1f"))])
    letters = []
    for i, ch in enumerate(text):
        bob = -4 * math.sin(i * 1.3 + 0.4)
        tilt = 0.06 * math.sin(i * 2.1 + 1.0)
        letters.append((ch, x, 60 + bob, tilt))
        x += advances[i] - 2 * scale
    # shadow, outline, fill and gloss each as one pass so letters overlap cleanly
    for stage in ("shadow", "outline", "fill"):
        for ch, lx, ly, tilt in letters:
            ctx.save()
            ctx.translate(lx, ly)
            ctx.rotate(tilt)
            if stage == "shadow":
                ctx.translate(2.5, 4)
            ctx.move_to(0, 0)
            ctx.text_path(ch)
            ctx.restore()
            if stage == "shadow":
                ctx.set_source_rgba(0, 0, 0, 0.28)
                ctx.set_line_width(10)
                ctx.stroke_preserve()
                ctx.fill()
            elif stage == "outline":
                ctx.set_source_rgb(*OUTLINE)
                ctx.set_line_width(9)
                ctx.stroke()
            else:
                ctx.set_source(fill)
                ctx.fill_preserve()
                ctx.save()
                ctx.clip()
                ctx.rectangle(0, 0, 400, ly - size * 0.36)
                ctx.set_source_rgba(1, 1, 1, 0.38)
                ctx.fill()
                ctx.restore()
                ctx.new_path()
    # a green ribbon with the Chinese name
    rounded_rect(ctx, 150, 70, 100, 26, 13)
    fill_stroke(ctx, linear(0, 70, 0, 96, [(0, hexrgb("#8ee05e")), (1, hexrgb("#3f9a2c"))]),
                OUTLINE, 2.2)
    cartoon_text(ctx, "打 地 鼠", 200, 83.5, CJK_FONT, 17, (1, 1, 1),
                 outline=hexrgb("#2b6a20"), outline_w=3.2, shadow=0)
    yellow_star(ctx, 136, 80, 7, 0.2)
    yellow_star(ctx, 264, 80, 7, -0.2)
    return surface


def game_over():
    surface, ctx = new_surface(460, 112)
    rounded_rect(ctx, 8, 14, 448, 96, 26)
    ctx.set_source_rgba(0, 0, 0, 0.25)
    ctx.fill()
    base = hexrgb("#f36b3f")
    _candy_body(ctx, 4, 6, 448, 94, 26, base, 5)
    # stitched inner border
    rounded_rect(ctx, 12, 13, 432, 80, 19)
    ctx.set_source_rgba(*CREAM, 0.75)
    ctx.set_line_width(2)
    ctx.set_dash([6, 5])
    ctx.stroke()
    ctx.set_dash([])
    # the bopped mole on the left
    ctx.save()
    ctx.translate(18, 11)
    ctx.scale(0.8, 0.8)
    sprites.draw_mole(ctx, bopped=True, grass=False)
    ctx.restore()
    cartoon_text(ctx, "游戏结束", 275, 42, CJK_FONT, 44, linear(0, 20, 0, 64, [
        (0, hexrgb("#ffffff")), (1, hexrgb("#ffe9a8"))]), outline=hexrgb("#5a1d10"),
        outline_w=6, shadow=0.25, weight=0.8)
    cartoon_text(ctx, "GAME OVER  ·  点击返回", 275, 80, CJK_FONT, 17, CREAM,
                 outline=hexrgb("#8a2a14"), outline_w=3.5, shadow=0)
    return surface
