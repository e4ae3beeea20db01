#!/usr/bin/python3
"""Puts the page's own files beside the game's build in the site folder.

Usage: /usr/bin/python3 web/make-site.py SITE_DIR
Copies the page, the manifest, the service worker and the icons, cuts the fonts (kept
in SITE_DIR/../fonts between builds), and stamps a build version, made from every
file of the site, into the page and the service worker: a new build is a new version,
which the browser's cache then replaces.
"""

import hashlib
import json
import os
import shutil
import subprocess
import sys

WEB = os.path.dirname(os.path.abspath(__file__))
REPO = os.path.dirname(WEB)
PAGE_FILES = ("index.html", "page.js", "sw.js", "manifest.webmanifest")
ICONS = {"burrowbop-%d.png" % s: "assets/icons/burrowbop-%d.png" % s for s in (48, 128, 192, 512)}
ICONS["burrowbop-256.png"] = "assets/icon.png"
# The files the game fetches before it starts (the larger fonts come later, when a
# text needs them): the loading bar's whole.
LOADED = ("burrowbop.wasm", "burrowbop.data", "fonts/game.ttf")
NOT_CACHED = ("sw.js", "index.html", "fonts/rest.ttf")  # the worker, the page (as ./), too big
# What the page asks for with "?v=<version>": the worker asks the same, so that it finds
# them in the HTTP cache instead of downloading them again.
VERSIONED = ("page.js", "burrowbop.js", "burrowbop.wasm", "burrowbop.data")


def copy(src, dst):
    os.makedirs(os.path.dirname(dst), exist_ok=True)
    shutil.copyfile(src, dst)


def site_files(site):
    out = []
    for root, _dirs, files in os.walk(site):
        for name in files:
            out.append(os.path.relpath(os.path.join(root, name), site).replace(os.sep, "/"))
    return sorted(out)


def stamp(path, replacements):
    with open(path, encoding="utf-8") as f:
        text = f.read()
    for old, new in replacements:
        if old not in text:
            sys.exit("make-site: %s lacks %r" % (path, old))
        text = text.replace(old, new)
    with open(path, "w", encoding="utf-8") as f:
        f.write(text)


def main():
    if len(sys.argv) != 2:
        sys.exit(__doc__.strip())
    site = os.path.abspath(sys.argv[1])
    fonts = os.path.join(os.path.dirname(site), "fonts")
    subprocess.run([sys.executable, os.path.join(WEB, "make-fonts.py"), fonts, REPO], check=True)
    for name in ("game.ttf", "base.ttf", "rest.ttf"):
        copy(os.path.join(fonts, name), os.path.join(site, "fonts", name))
    for name, src in ICONS.items():
        copy(os.path.join(REPO, src), os.path.join(site, "icons", name))
    for name in PAGE_FILES:
        copy(os.path.join(WEB, name), os.path.join(site, name))

    files = site_files(site)
    digest = hashlib.sha256()
    for name in files:
        digest.update(name.encode() + b"\0")
        with open(os.path.join(site, name), "rb") as f:
            digest.update(hashlib.sha256(f.read()).digest())
    version = digest.hexdigest()[:16]
    sizes = {n: os.path.getsize(os.path.join(site, n)) for n in LOADED if n in files}
    cached = ["./"] + [n + ("?v=" + version if n in VERSIONED else "")
                       for n in files if n not in NOT_CACHED]

    stamp(os.path.join(site, "index.html"), [("@BUILD@", version)])
    stamp(os.path.join(site, "page.js"), [
        ("var BUILD = { version: 'dev', sizes: {} };",
         "var BUILD = %s;" % json.dumps({"version": version, "sizes": sizes}))])
    stamp(os.path.join(site, "sw.js"), [
        ("'@BUILD@'", json.dumps(version)),
        ("var FILES = ['./'];", "var FILES = %s;" % json.dumps(cached))])
    missing = [n for n in ("burrowbop.js", "burrowbop.wasm") if n not in files]
    print("site %s: version %s, %d files%s" % (site, version, len(files),
          ", still without " + " ".join(missing) if missing else ""))


if __name__ == "__main__":
    main()
