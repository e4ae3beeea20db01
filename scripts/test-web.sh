#!/usr/bin/env bash
# The page's end-to-end suite (or, with --bench, its benchmark) in Debian's headless
# Chromium, against the built site served on 127.0.0.1. The test tools come from the
# committed lockfile; no browser is downloaded.
# Usage: scripts/test-web.sh [--bench] [SITE_DIR]
set -euo pipefail
cd "$(dirname "$0")/.."

mode=test
if [[ "${1:-}" == "--bench" ]]; then mode=bench; shift; fi
site=$(realpath "${1:-build-web/site}")
[[ -f "$site/index.html" && -f "$site/burrowbop.wasm" ]] || {
    echo "test-web: $site has no built game; run \`make web\` first" >&2; exit 1; }

missing=()
command -v node >/dev/null || missing+=(nodejs)
command -v npm >/dev/null || missing+=(npm)
[[ -x /usr/bin/chromium ]] || missing+=(chromium)
if [[ ${#missing[@]} -gt 0 ]]; then
    sudo=(); [[ $(id -u) -eq 0 ]] || sudo=(sudo)
    export DEBIAN_FRONTEND=noninteractive
    "${sudo[@]}" apt-get update -qq
    "${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

# npm ci again only when the lockfile changed since the last install.
cd tests/web
if ! [[ node_modules/.stamp -nt package-lock.json ]]; then
    PLAYWRIGHT_SKIP_BROWSER_DOWNLOAD=1 npm ci --no-audit --no-fund --loglevel=error
    touch node_modules/.stamp
fi

export BURROWBOP_SITE="$site"
if [[ $mode == bench ]]; then
    exec node bench.js
fi
exec node --test --test-concurrency=1 unit/ e2e/
