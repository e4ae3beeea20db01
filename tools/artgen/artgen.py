#!/usr/bin/python3
"""Regenerates every picture and sound of the game, and the application icon, into assets/.

Usage: /usr/bin/python3 tools/artgen/artgen.py [--out DIR] [--preview DIR] [--only NAME...]
The output is the same on every run.
"""

import argparse
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

import pngout  # noqa: E402
import preview  # noqa: E402
import scene  # noqa: E402
import sounds  # noqa: E402
import sprites  # noqa: E402
import ui  # noqa: E402

REPO = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))


def pictures():
    """Maps each file name under assets/ to a function that draws it."""
    jobs = {}
    for name in ("bg1-0.png", "bg2-0.png", "bg3-0.png"):
        jobs["images/" + name] = ("backgrounds", name)
    jobs["images/hole-0.png"] = lambda: sprites.hole_image()
    jobs["images/mole1-0.png"] = lambda: sprites.mole_image(False)
    jobs["images/mole2-0.png"] = lambda: sprites.mole_image(True)
    jobs["images/hammer-0.png"] = sprites.hammer_image
    jobs["images/pointer1.png"] = lambda: sprites.pointer_image(False)
    jobs["images/pointer2.png"] = lambda: sprites.pointer_image(True)
    jobs["images/logo.png"] = ui.logo
    jobs["images/gameover.png"] = ui.game_over
    for i in range(3):
        for j in (1, 2):
            jobs["images/menu%d%d.png" % (i, j)] = (lambda i=i, j=j: ui.menu_button(i, j == 2))
    jobs["images/mute1-0.png"] = lambda: ui.sound_switch(True)
    jobs["images/mute2-0.png"] = lambda: ui.sound_switch(False)
    jobs["icon.png"] = lambda: sprites.icon_image(256)
    for size in (48, 128, 192, 512):  # 192 and 512: the web page's manifest
        jobs["icons/burrowbop-%d.png" % size] = (lambda s=size: sprites.icon_image(s))
    return jobs


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--out", default=os.path.join(REPO, "assets"))
    parser.add_argument("--preview", help="also compose screen previews into this folder")
    parser.add_argument("--only", nargs="*", help="file names (under assets/) to make")
    args = parser.parse_args()

    wanted = set(args.only) if args.only else None
    for sub in ("images", "sounds", "icons"):
        os.makedirs(os.path.join(args.out, sub), exist_ok=True)

    backgrounds = None
    for name, job in pictures().items():
        if wanted is not None and name not in wanted:
            continue
        if isinstance(job, tuple):
            if backgrounds is None:
                backgrounds = scene.backgrounds()
            surface = backgrounds[job[1]]
        else:
            surface = job()
        size = pngout.write_png(surface, os.path.join(args.out, name))
        print("%-26s %4dx%-4d %7d bytes" % (name, surface.get_width(), surface.get_height(), size))

    for name, samples in sounds.all_sounds().items():
        path = "sounds/" + name
        if wanted is not None and path not in wanted:
            continue
        size = sounds.write_wav(samples, os.path.join(args.out, path))
        print("%-26s %5.2f s     %7d bytes" % (path, len(samples) / sounds.RATE, size))

    if args.preview:
        os.makedirs(args.preview, exist_ok=True)
        preview.compose(os.path.join(args.out, "images"), args.preview)
        print("previews in", args.preview)


if __name__ == "__main__":
    main()
