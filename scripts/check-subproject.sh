#!/usr/bin/env bash
# Builds a tiny outer CMake project that add_subdirectory()s this one and links mzfc,
# as a Release build with warnings as errors: the project must build as a part of
# another, with any build type.
# Usage: scripts/check-subproject.sh [work-dir]
set -euo pipefail
src=$(cd "$(dirname "$0")/.." && pwd)
work=${1:-$(mktemp -d)}
mkdir -p "$work/outer"
cat >"$work/outer/CMakeLists.txt" <<EOF
cmake_minimum_required(VERSION 3.25)
project(outer LANGUAGES C CXX)
set(CMAKE_CXX_STANDARD 20)
add_subdirectory("$src" burrowbop)
add_executable(outer main.cpp)
target_link_libraries(outer PRIVATE mzfc)
EOF
cat >"$work/outer/main.cpp" <<'EOF'
#include "mzfc/mzfc.h"

int main() {
    CMzStringW text(u"outer");
    return text.Length() == 5 ? 0 : 1;
}
EOF
cmake -S "$work/outer" -B "$work/build" -DCMAKE_BUILD_TYPE=Release -DBURROWBOP_WERROR=ON >"$work/configure.log" 2>&1 ||
    { cat "$work/configure.log"; exit 1; }
cmake --build "$work/build" -j "$(nproc)" --target outer >"$work/build.log" 2>&1 ||
    { tail -50 "$work/build.log"; exit 1; }
"$work/build/outer"
echo "subproject: built and ran $work/build/outer"
