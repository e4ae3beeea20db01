"""Composes the title and game screens from the generated pictures, for looking at them."""

import os

import cairo

HOLES = [(175, 120, 135, 96), (295, 120, 135, 96), (415, 120, 135, 96),
         (115, 195, 167, 120), (267, 195, 167, 120), (419, 195, 167, 120),
         (55, 300, 199, 144), (239, 300, 199, 144), (423, 300, 199, 144)]


def _put(ctx, folder, name, x, y, w, h):
    img = cairo.ImageSurface.create_from_png(os.path.join(folder, name))
    ctx.save()
    ctx.translate(x, y)
    ctx.scale(w / img.get_width(), h / img.get_height())
    ctx.set_source_surface(img, 0, 0)
    ctx.get_source().set_filter(cairo.FILTER_BILINEAR)
    ctx.paint()
    ctx.restore()


def _base(folder):
    surface = cairo.ImageSurface(cairo.FORMAT_ARGB32, 720, 480)
    ctx = cairo.Context(surface)
    _put(ctx, folder, "bg1-0.png", 0, -60, 720, 288)
    _put(ctx, folder, "bg2-0.png", 0, 150, 720, 518)
    _put(ctx, folder, "bg3-0.png", 0, 392, 720, 126)
    for x, y, w, h in HOLES:
        _put(ctx, folder, "hole-0.png", x, y, w, h)
    return surface, ctx


def compose(folder, out):
    surface, ctx = _base(folder)
    _put(ctx, folder, "mute2-0.png", 670, 0, 50, 50)
    _put(ctx, folder, "logo.png", 192, 56, 400, 100)
    for i in range(3):
        _put(ctx, folder, "menu%d1.png" % i, 310, 225 + 60 * i, 108, 52)
    surface.write_to_png(os.path.join(out, "title.png"))

    surface, ctx = _base(folder)
    _put(ctx, folder, "mole1-0.png", *HOLES[4])
    _put(ctx, folder, "mole2-0.png", *HOLES[6])
    _put(ctx, folder, "mole1-0.png", *HOLES[2])
    _put(ctx, folder, "mute1-0.png", 670, 0, 50, 50)
    for i in range(5):
        _put(ctx, folder, "hammer-0.png", 10 + 25 * i, 10, 24, 30)
    ctx.select_font_face("WenQuanYi Zen Hei")
    ctx.set_font_size(22)
    ctx.set_source_rgb(1, 1, 1)
    ctx.move_to(150, 33)
    ctx.show_text("已打中12次 - 最高纪录:小儿子5次")
    surface.write_to_png(os.path.join(out, "game.png"))
    _put(ctx, folder, "gameover.png", 125, 184, 460, 112)
    surface.write_to_png(os.path.join(out, "gameover.png"))
