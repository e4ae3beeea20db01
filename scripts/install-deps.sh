#!/usr/bin/env bash
# Installs the Debian packages the build, the game and the tests need.
# A no-op when everything is already there; uses sudo when not root.
set -euo pipefail

packages=(
    build-essential cmake pkg-config make git
    clang libclang-rt-14-dev
    libgtest-dev libgmock-dev libbenchmark-dev
    libsdl2-dev libsdl2-image-dev libsdl2-mixer-dev libsdl2-ttf-dev
    libfontconfig-dev fonts-wqy-zenhei
    xvfb xauth
    dpkg-dev file desktop-file-utils appstream  # `make package` and its test
)
if [[ "${1:-}" == "--web" ]]; then
    # The page: the WebAssembly toolchain, the browser its tests drive, the font cutter,
    # and dpkg-dev to unpack the source packages of the libraries it builds for wasm.
    packages+=(emscripten chromium python3-fonttools dpkg-dev nodejs)
    command -v npm >/dev/null || packages+=(npm)
fi
if [[ "${1:-}" == "--artgen" ]]; then
    # Only the artwork generator needs these; the build uses the committed files.
    packages+=(python3 python3-cairo fonts-wqy-zenhei)
fi

missing=()
for p in "${packages[@]}"; do
    status=$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true)
    [[ "$status" == "install ok installed" ]] || missing+=("$p")
done
[[ ${#missing[@]} -eq 0 ]] && exit 0

echo "Installing: ${missing[*]}"
sudo=()
[[ $(id -u) -eq 0 ]] || sudo=(sudo)
export DEBIAN_FRONTEND=noninteractive
"${sudo[@]}" apt-get update -qq
"${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
