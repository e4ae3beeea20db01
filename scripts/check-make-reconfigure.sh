#!/usr/bin/env bash
# A build folder is configured anew when WERROR or the build type changes, and only
# then. Checked on make's dry run, so nothing is configured or built.
set -euo pipefail
cd "$(dirname "$0")/.."
build=$(mktemp -d)
trap 'rm -rf "$build"' EXIT

# The configure line of `make build` with these arguments, if any; then the folder
# counts as configured with them.
configure() {
    make -n --no-print-directory build BUILD="$build" "$@" | grep -- 'cmake --fresh' || true
    # Configured a minute ago, with arguments recorded before that: the file clock's
    # coarse ticks cannot blur which is newer.
    touch -d '2 minutes ago' "$build/make-args"
    touch -d '1 minute ago' "$build/CMakeCache.txt"
}

configure >/dev/null # the defaults, recorded
fail=0
# arguments | configures? | the configure line's arguments, exactly
while IFS='|' read -r args expect holds; do
    read -ra argv <<<"$args"
    line=$(configure "${argv[@]}")
    line=${line%"${line##*[! ]}"} # without the space an empty WERROR leaves
    if [[ "$expect" == yes && "$line" != *"-B $build $holds" ]] || [[ "$expect" == no && -n "$line" ]]; then
        echo "make build $args: expected configure=$expect${holds:+ with $holds}, got: ${line:-none}"
        fail=1
    fi
done <<'CASES'
|no|
WERROR=|yes|-DCMAKE_BUILD_TYPE=RelWithDebInfo
WERROR=|no|
BUILD_TYPE=Debug WERROR=|yes|-DCMAKE_BUILD_TYPE=Debug
BUILD_TYPE=Debug|yes|-DCMAKE_BUILD_TYPE=Debug -DBURROWBOP_WERROR=ON
BUILD_TYPE=Debug|no|
|yes|-DCMAKE_BUILD_TYPE=RelWithDebInfo -DBURROWBOP_WERROR=ON
CASES
exit $fail
