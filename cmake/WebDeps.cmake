# The web build finds SDL2 and its libraries as built for wasm by
# scripts/build-web-deps.sh, through their pkg-config files only.
set(BURROWBOP_WEB_DEPS "${PROJECT_BINARY_DIR}/deps/prefix" CACHE PATH
    "Where scripts/build-web-deps.sh installed the wasm libraries")
set(ENV{PKG_CONFIG_LIBDIR} "${BURROWBOP_WEB_DEPS}/lib/pkgconfig")
set(ENV{PKG_CONFIG_PATH} "")
