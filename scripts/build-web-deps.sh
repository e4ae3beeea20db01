#!/usr/bin/env bash
# Builds SDL2, SDL2_image (PNG through its bundled decoder), SDL2_mixer (WAV only),
# SDL2_ttf and freetype for WebAssembly with Debian 12's emscripten, from Debian's own
# source packages. Nothing is fetched except through apt. Each library is built once:
# a second run with its static library in place does nothing.
# Usage: build-web-deps.sh DIR   (leaves DIR/prefix/lib/*.a and DIR/prefix/lib/pkgconfig)
set -euo pipefail
W=$(realpath -m "${1:?usage: build-web-deps.sh DIR}")
S=$W/src B=$W/build P=$W/prefix
export NODE_PATH=/usr/share/nodejs # Debian's node-acorn, which emcc's optimiser needs
mkdir -p "$B" "$P" "$S"

libs=(libSDL2 libfreetype libSDL2_image libSDL2_mixer libSDL2_ttf)
all_built() {
    for l in "${libs[@]}"; do [[ -f $P/lib/$l.a ]] || return 1; done
    [[ -f $P/lib/pkgconfig/SDL2_ttf.pc ]]
}
all_built && exit 0

# 1. The source packages, through a private deb-src list made from this machine's own
#    apt sources, so that the system's apt configuration is left as it is.
if [[ ! -f $S/.done ]]; then
    a=$W/apt
    mkdir -p "$a/lists/partial" "$a/cache/archives/partial" "$a/sources"
    : >"$a/sources/src.sources"
    for f in /etc/apt/sources.list.d/*.sources; do
        [[ -f $f ]] && sed 's/^Types:.*/Types: deb-src/' "$f" >>"$a/sources/src.sources" &&
            echo >>"$a/sources/src.sources"
    done
    : >"$a/sources/src.list"
    for f in /etc/apt/sources.list /etc/apt/sources.list.d/*.list; do
        [[ -f $f ]] && sed -n 's/^[[:space:]]*deb[[:space:]]/deb-src /p' "$f" >>"$a/sources/src.list"
    done
    apt_src() {
        apt-get -o Dir::Etc::SourceList=/dev/null -o Dir::Etc::SourceParts="$a/sources" \
            -o Dir::State::Lists="$a/lists" -o Dir::Cache="$a/cache" \
            -o APT::Sandbox::User="$(id -un)" "$@"
    }
    echo "web deps: fetching the source packages"
    apt_src update -qq
    (cd "$S" && for p in libsdl2 libsdl2-image libsdl2-mixer libsdl2-ttf freetype; do
        apt_src source -qq "$p"
    done)
    touch "$S/.done"
fi
src() { find "$S" -maxdepth 1 -type d -name "$1-[0-9]*" | head -1; }

common=(-DCMAKE_BUILD_TYPE=MinSizeRel -DCMAKE_INSTALL_PREFIX="$P" -DCMAKE_PREFIX_PATH="$P"
    -DCMAKE_FIND_ROOT_PATH="$P" -DBUILD_SHARED_LIBS=OFF
    -DCMAKE_CROSSCOMPILING_EMULATOR=/usr/bin/node) # emcmake's default flags upset Node 20
build() { # name source-dir cmake-args...
    local n=$1 s=$2
    shift 2
    echo "web deps: building $n (log: $B/$n.log)"
    {
        emcmake cmake -S "$s" -B "$B/$n" "${common[@]}" "$@"
        cmake --build "$B/$n" -j "${JOBS:-2}"
        cmake --install "$B/$n"
    } >"$B/$n.log" 2>&1 || { tail -30 "$B/$n.log"; exit 1; }
}
sdl=-DSDL2_DIR="$P/lib/cmake/SDL2"
[[ -f $P/lib/libSDL2.a ]] || build sdl2 "$(src libsdl2)" -DSDL_SHARED=OFF -DSDL_STATIC=ON \
    -DSDL_TEST=OFF -DSDL_THREADS=OFF
[[ -f $P/lib/libfreetype.a ]] || build freetype "$(src freetype)" -DFT_DISABLE_ZLIB=ON \
    -DFT_DISABLE_BZIP2=ON -DFT_DISABLE_PNG=ON -DFT_DISABLE_HARFBUZZ=ON -DFT_DISABLE_BROTLI=ON
[[ -f $P/lib/libSDL2_image.a ]] || build sdl2_image "$(src libsdl2-image)" "$sdl" \
    -DSDL2IMAGE_VENDORED=OFF -DSDL2IMAGE_SAMPLES=OFF -DSDL2IMAGE_TESTS=OFF \
    -DSDL2IMAGE_BACKEND_STB=ON -DSDL2IMAGE_AVIF=OFF -DSDL2IMAGE_JXL=OFF -DSDL2IMAGE_TIF=OFF \
    -DSDL2IMAGE_WEBP=OFF -DSDL2IMAGE_JPG=OFF -DSDL2IMAGE_PNG=ON
[[ -f $P/lib/libSDL2_mixer.a ]] || build sdl2_mixer "$(src libsdl2-mixer)" "$sdl" \
    -DSDL2MIXER_VENDORED=OFF -DSDL2MIXER_SAMPLES=OFF -DSDL2MIXER_CMD=OFF \
    -DSDL2MIXER_FLAC=OFF -DSDL2MIXER_MOD=OFF -DSDL2MIXER_MP3=OFF -DSDL2MIXER_MIDI=OFF \
    -DSDL2MIXER_OPUS=OFF -DSDL2MIXER_VORBIS=OFF -DSDL2MIXER_WAVE=ON
[[ -f $P/lib/libSDL2_ttf.a ]] || build sdl2_ttf "$(src libsdl2-ttf)" "$sdl" \
    -DSDL2TTF_VENDORED=OFF -DSDL2TTF_SAMPLES=OFF -DSDL2TTF_HARFBUZZ=OFF \
    -DFREETYPE_LIBRARY="$P/lib/libfreetype.a" -DFREETYPE_INCLUDE_DIRS="$P/include/freetype2"

# 2. pkg-config files that name each library by its full path: emcc reads -lSDL2_mixer
#    as a request for its own port (which downloads), and CMake's pkg-config support
#    drops -L under the emscripten toolchain.
pc=$P/lib/pkgconfig
sed -i 's|^Libs: -L${libdir} .*-lSDL2.*|Libs: ${libdir}/libSDL2.a|' "$pc/sdl2.pc"
sed -i 's|^Libs: -L${libdir} -lfreetype|Libs: ${libdir}/libfreetype.a|' "$pc/freetype2.pc"
for l in "SDL2_image sdl2" "SDL2_mixer sdl2" "SDL2_ttf sdl2 freetype2"; do
    set -- $l
    n=$1
    shift
    printf 'prefix=%s\nName: %s\nDescription: %s for wasm\nVersion: 2\nRequires: %s\nLibs: ${prefix}/lib/lib%s.a\nCflags: -I${prefix}/include/SDL2\n' \
        "$P" "$n" "$n" "$*" "$n" >"$pc/$n.pc.tmp"
    mv "$pc/$n.pc.tmp" "$pc/$n.pc"
done
echo "web deps: wasm libraries in $P/lib"
