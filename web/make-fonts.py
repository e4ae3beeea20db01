#!/usr/bin/python3
"""Cuts the page's fonts from the system's CJK font, so the page never ships it whole.

Usage: /usr/bin/python3 web/make-fonts.py OUT_DIR [SOURCE_DIR]
Writes OUT_DIR/game.ttf (ASCII and every character in the game's own texts: small
enough to come with the first screen), OUT_DIR/base.ttf (those and GB2312) and
OUT_DIR/rest.ttf (the face's other characters, loaded only when a name needs one).
The same input gives the same files.
"""

import hashlib
import logging
import os
import sys

from fontTools import subset
from fontTools.ttLib import TTFont

FONT = "/usr/share/fonts/truetype/wqy/wqy-zenhei.ttc"
FACE = 0
# Folders whose texts the game draws: the program, the framework, the page.
TEXT_DIRS = ("app", "game", "highscore", "ini", "shell", "platform/mzfc", "web")
TEXT_EXTS = (".cpp", ".h", ".html", ".js", ".json")


def gb2312():
    chars = set()
    for hi in range(0xA1, 0xF8):
        for lo in range(0xA1, 0xFF):
            try:
                chars.add(bytes((hi, lo)).decode("gb2312"))
            except UnicodeDecodeError:
                pass
    return chars


def game_texts(source_dir):
    chars = set()
    for top in TEXT_DIRS:
        for root, _dirs, files in os.walk(os.path.join(source_dir, top)):
            for name in files:
                if name.endswith(TEXT_EXTS):
                    with open(os.path.join(root, name), encoding="utf-8", errors="ignore") as f:
                        chars.update(c for c in f.read() if ord(c) > 0x7E)
    return chars


def ascii_chars():
    return {chr(c) for c in range(0x20, 0x7F)}


def write_subset(codepoints, path):
    options = subset.Options()
    options.layout_features = ["*"]
    options.name_IDs = ["*"]
    options.notdef_outline = True  # a glyph the font lacks draws as a box
    options.recalc_timestamp = False  # the same input gives the same bytes
    font = TTFont(FONT, fontNumber=FACE, lazy=False)
    subsetter = subset.Subsetter(options)
    subsetter.populate(unicodes=sorted(codepoints))
    subsetter.subset(font)
    tmp = path + ".tmp"
    font.save(tmp)
    os.replace(tmp, path)
    return os.path.getsize(path)


def main():
    # It names each table it drops (bitmap-font and tool data, never drawn here).
    logging.getLogger("fontTools.subset").setLevel(logging.ERROR)
    if len(sys.argv) not in (2, 3):
        sys.exit(__doc__.strip())
    out = sys.argv[1]
    source_dir = sys.argv[2] if len(sys.argv) == 3 else os.path.dirname(
        os.path.dirname(os.path.abspath(__file__)))
    os.makedirs(out, exist_ok=True)
    covered = set(TTFont(FONT, fontNumber=FACE).getBestCmap())
    game = {ord(c) for c in ascii_chars() | game_texts(source_dir)} & covered
    base = game | ({ord(c) for c in gb2312()} & covered)
    rest = covered - base
    # The cut takes a minute: skip it when the character sets and the font are as last time.
    stamp = hashlib.sha256(repr((sorted(game), sorted(base), os.stat(FONT).st_size,
                                 os.stat(FONT).st_mtime_ns)).encode()).hexdigest()
    stamp_path = os.path.join(out, ".stamp")
    names = ("game.ttf", "base.ttf", "rest.ttf")
    if all(os.path.exists(os.path.join(out, n)) for n in names) and os.path.exists(stamp_path):
        with open(stamp_path) as f:
            if f.read() == stamp:
                return
    for name, chars in (("game.ttf", game), ("base.ttf", base), ("rest.ttf", rest)):
        size = write_subset(chars, os.path.join(out, name))
        print("fonts/%-9s %6d characters %9d bytes" % (name, len(chars), size))
    with open(stamp_path, "w") as f:
        f.write(stamp)


if __name__ == "__main__":
    main()
