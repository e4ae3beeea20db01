"""Drawing helpers shared by every picture: colours, shapes, gradients, text."""

import math

import cairo

# One palette for the whole game; light always comes from the upper left.
OUTLINE = (0.26, 0.15, 0.08)  # warm dark brown, used for every outline
WHITE = (1.0, 1.0, 1.0)
CREAM = (1.0, 0.96, 0.84)
CJK_FONT = "WenQuanYi Zen Hei"
LATIN_FONT = "DejaVu Sans"


def hexrgb(code):
    code = code.lstrip("#")
    return tuple(int(code[i : i + 2], 16) / 255.0 for i in (0, 2, 4))


def shade(color, factor):
    """factor < 1 darkens towards black, > 1 lightens towards white."""
    if factor <= 1:
        return tuple(c * factor for c in color)
    t = factor - 1
    return tuple(c + (1 - c) * t for c in color)


def mix(a, b, t):
    return tuple(x + (y - x) * t for x, y in zip(a, b))


def new_surface(width, height):
    surface = cairo.ImageSurface(cairo.FORMAT_ARGB32, width, height)
    ctx = cairo.Context(surface)
    ctx.set_line_join(cairo.LINE_JOIN_ROUND)
    ctx.set_line_cap(cairo.LINE_CAP_ROUND)
    return surface, ctx


def rounded_rect(ctx, x, y, w, h, r):
    r = min(r, w / 2, h / 2)
    ctx.new_sub_path()
    ctx.arc(x + w - r, y + r, r, -math.pi / 2, 0)
    ctx.arc(x + w - r, y + h - r, r, 0, math.pi / 2)
    ctx.arc(x + r, y + h - r, r, math.pi / 2, math.pi)
    ctx.arc(x + r, y + r, r, math.pi, 3 * math.pi / 2)
    ctx.close_path()


def ellipse(ctx, cx, cy, rx, ry):
    ctx.save()
    ctx.translate(cx, cy)
    ctx.scale(rx, ry)
    ctx.new_sub_path()
    ctx.arc(0, 0, 1, 0, 2 * math.pi)
    ctx.restore()


def linear(x0, y0, x1, y1, stops):
    """stops: list of (offset, (r, g, b)) or (offset, (r, g, b), alpha)."""
    pat = cairo.LinearGradient(x0, y0, x1, y1)
    _add_stops(pat, stops)
    return pat


def radial(cx0, cy0, r0, cx1, cy1, r1, stops):
    pat = cairo.RadialGradient(cx0, cy0, r0, cx1, cy1, r1)
    _add_stops(pat, stops)
    return pat


def _add_stops(pat, stops):
    for stop in stops:
        offset, color = stop[0], stop[1]
        alpha = stop[2] if len(stop) > 2 else 1.0
        pat.add_color_stop_rgba(offset, color[0], color[1], color[2], alpha)


def fill_stroke(ctx, fill, stroke=OUTLINE, width=2.0):
    """Fills the current path with a colour or pattern, then outlines it."""
    if isinstance(fill, tuple):
        ctx.set_source_rgba(*fill) if len(fill) == 4 else ctx.set_source_rgb(*fill)
    else:
        ctx.set_source(fill)
    if stroke is None:
        ctx.fill()
        return
    ctx.fill_preserve()
    ctx.set_source_rgb(*stroke)
    ctx.set_line_width(width)
    ctx.stroke()


def star(ctx, cx, cy, r_out, r_in, points=5, rotation=0.0):
    ctx.new_sub_path()
    for i in range(points * 2):
        r = r_out if i % 2 == 0 else r_in
        a = rotation - math.pi / 2 + i * math.pi / points
        x, y = cx + r * math.cos(a), cy + r * math.sin(a)
        if i == 0:
            ctx.move_to(x, y)
        else:
            ctx.line_to(x, y)
    ctx.close_path()


def yellow_star(ctx, cx, cy, r, rotation=0.0, width=1.2):
    star(ctx, cx, cy, r, r * 0.48, 5, rotation)
    fill = radial(cx - r * 0.3, cy - r * 0.3, 0, cx, cy, r,
                  [(0, hexrgb("#fff7b0")), (0.6, hexrgb("#ffd83a")), (1, hexrgb("#f5a51c"))])
    fill_stroke(ctx, fill, OUTLINE, width)


def soft_shadow(ctx, cx, cy, rx, ry, alpha, steps=6):
    """A blurred-looking elliptical shadow made of stacked translucent ellipses."""
    for i in range(steps):
        t = 1 - i / steps
        ellipse(ctx, cx, cy, rx * (0.7 + 0.3 * t), ry * (0.7 + 0.3 * t))
        ctx.set_source_rgba(0, 0, 0, alpha / steps)
        ctx.fill()


def set_font(ctx, family, size, bold=False):
    weight = cairo.FONT_WEIGHT_BOLD if bold else cairo.FONT_WEIGHT_NORMAL
    ctx.select_font_face(family, cairo.FONT_SLANT_NORMAL, weight)
    ctx.set_font_size(size)
    opts = cairo.FontOptions()
    opts.set_antialias(cairo.ANTIALIAS_GRAY)
    opts.set_hint_style(cairo.HINT_STYLE_NONE)
    opts.set_hint_metrics(cairo.HINT_METRICS_OFF)
    ctx.set_font_options(opts)


def text_path_centered(ctx, text, cx, cy):
    """Adds the text's outline to the path, its ink box centred on (cx, cy)."""
    xb, yb, w, h, _, _ = ctx.text_extents(text)
    ctx.move_to(cx - w / 2 - xb, cy - h / 2 - yb)
    ctx.text_path(text)


def cartoon_text(ctx, text, cx, cy, family, size, fill, outline=OUTLINE, outline_w=4.0,
                 shadow=0.3, bold=False, gloss=0.0, weight=0.0):
    """Text with a thick soft outline, a drop shadow and an optional gloss on its top half."""
    set_font(ctx, family, size, bold)
    xb, yb, w, h, _, _ = ctx.text_extents(text)
    if shadow:
        ctx.save()
        ctx.translate(size * 0.04, size * 0.07)
        text_path_centered(ctx, text, cx, cy)
        ctx.set_source_rgba(0, 0, 0, shadow)
        ctx.set_line_width(outline_w)
        ctx.stroke_preserve()
        ctx.fill()
        ctx.restore()
    text_path_centered(ctx, text, cx, cy)
    ctx.set_source_rgb(*outline)
    ctx.set_line_width(outline_w)
    ctx.stroke_preserve()
    if isinstance(fill, tuple):
        ctx.set_source_rgb(*fill)
    else:
        ctx.set_source(fill)
    ctx.fill()
    if weight:  # thickens thin glyphs, in the fill's own colour
        text_path_centered(ctx, text, cx, cy)
        ctx.set_line_width(weight)
        ctx.stroke()
    if gloss:
        ctx.save()
        text_path_centered(ctx, text, cx, cy)
        ctx.clip()
        ctx.rectangle(cx - w, cy - h, w * 2, h * 0.5)
        ctx.set_source_rgba(1, 1, 1, gloss)
        ctx.fill()
        ctx.restore()
    return w, h
