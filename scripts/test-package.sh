#!/usr/bin/env bash
# Builds the Debian package from a build tree, unpacks it with dpkg -x, checks its
# contents, validates the desktop entry and the AppStream file, and runs the unpacked
# game headless until its first title frame. Outside CI a missing tool skips (77).
set -euo pipefail
build=$(cd "${1:?usage: test-package.sh BUILD_DIR}" && pwd)

for tool in cpack dpkg-deb dpkg-shlibdeps file desktop-file-validate appstreamcli; do
    if ! command -v "$tool" >/dev/null; then
        if [[ -n "${CI:-}" ]]; then
            echo "FAIL: $tool is missing (scripts/install-deps.sh installs it)"
            exit 1
        fi
        echo "SKIP: $tool is missing (scripts/install-deps.sh installs it)"
        exit 77
    fi
done

work=$(mktemp -d "${TMPDIR:-/tmp}/burrowbop-package-XXXXXX")
game_pid=
cleanup() {
    [[ -n "$game_pid" ]] && kill "$game_pid" 2>/dev/null && wait "$game_pid" 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT
fail() {
    echo "FAIL: $*"
    exit 1
}

# 1. The package, built in a folder of its own so that parallel tests do not meet.
cpack -G DEB --config "$build/CPackConfig.cmake" -B "$work/out" >"$work/cpack.log" 2>&1 ||
    { cat "$work/cpack.log"; fail "cpack"; }
debs=("$work"/out/burrowbop_*.deb)
[[ ${#debs[@]} -eq 1 && -f "${debs[0]}" ]] || fail "no single burrowbop_*.deb"
deb=${debs[0]}

# 2. Its control fields.
[[ $(dpkg-deb -f "$deb" Section) == games ]] || fail "section is not games"
depends=$(dpkg-deb -f "$deb" Depends)
for needed in fonts-wqy-zenhei libsdl2-2.0-0 libsdl2-ttf-2.0-0 libc6; do
    [[ "$depends" == *"$needed"* ]] || fail "Depends lacks $needed: $depends"
done

# 3. Its files: only programs in bin/, the data under share/burrowbop.
dpkg -x "$deb" "$work/root"
usr="$work/root/usr"
[[ "$(ls "$usr/bin" | tr '\n' ' ')" == "burrowbop burrowbop-phone " ]] ||
    fail "bin/ holds: $(ls "$usr/bin")"
for f in share/burrowbop/burrowbop.mounts share/burrowbop/burrowbop.png \
    share/burrowbop/images/logo.png share/burrowbop/sounds \
    share/applications/burrowbop.desktop share/metainfo/org.burrowbop.Burrowbop.metainfo.xml \
    share/man/man6/burrowbop.6.gz share/icons/hicolor/48x48/apps/burrowbop.png \
    share/icons/hicolor/128x128/apps/burrowbop.png share/icons/hicolor/256x256/apps/burrowbop.png; do
    [[ -e "$usr/$f" ]] || fail "missing $f"
done
[[ -x "$usr/bin/burrowbop" && -x "$usr/bin/burrowbop-phone" ]] || fail "programs not executable"
grep -q '^Categories=Game;ArcadeGame;$' "$usr/share/applications/burrowbop.desktop" ||
    fail "desktop categories"
grep -q '<screenshot' "$usr/share/metainfo/org.burrowbop.Burrowbop.metainfo.xml" ||
    fail "no screenshot in the metainfo"
zcat "$usr/share/man/man6/burrowbop.6.gz" | grep -q '^\.TH BURROWBOP 6' || fail "man page"

# 4. The desktop entry and the AppStream file, with no errors.
desktop-file-validate "$usr/share/applications/burrowbop.desktop" || fail "desktop-file-validate"
appstreamcli validate --no-net "$usr/share/metainfo/org.burrowbop.Burrowbop.metainfo.xml" ||
    fail "appstreamcli validate"

# 5. The unpacked game, headless, until its first title frame: the frame presented
# after the idle timer starts (the end of start-up). It finds its pictures through
# ../share/burrowbop/burrowbop.mounts, nothing else points it there.
mkdir "$work/device"
env -u CE_MOUNTS CE_DEVICE_ROOT="$work/device" CE_TRACE="$work/trace" XDG_CONFIG_HOME="$work/config" \
    SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy \
    "$usr/bin/burrowbop" >"$work/game.log" 2>&1 &
game_pid=$!
titled=
for _ in $(seq 200); do
    if [[ -f "$work/trace" ]] &&
        awk '/timer-set 11 500/ { idle = 1 } idle && / present$/ { found = 1 } END { exit !found }' \
            "$work/trace"; then
        titled=1
        break
    fi
    kill -0 "$game_pid" 2>/dev/null || break
    sleep 0.1
done
[[ -n "$titled" ]] || { cat "$work/game.log" "$work/trace" 2>/dev/null; fail "no title frame"; }
if grep -v 'no display' "$work/game.log" | grep -q .; then
    cat "$work/game.log"
    fail "the game complained"
fi
host=$(sed -n 's/^Disk\\Programs\\Games\\burrowbop=//p' "$usr/share/burrowbop/burrowbop.mounts")
[[ -f "$usr/share/burrowbop/$host/images/logo.png" ]] || fail "the mounts file points elsewhere"
echo "package: every check passed"
