#!/usr/bin/env bash
# Remakes docs/screenshot.png: runs a whole demo session against the demo
# service in a real window under Xvfb and saves a picture of the window.
#   bash scripts/screenshot.sh [OUTPUT.png]
# Uses the build folder of the set-up (ZANTHE_BUILD_DIR, default build/) and
# builds what is missing there.
set -euo pipefail

ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
BUILD="${ZANTHE_BUILD_DIR:-$ROOT/build}"
OUTPUT="${1:-$ROOT/docs/screenshot.png}"

if [ ! -f "$BUILD/CMakeCache.txt" ]; then
    cmake -S "$ROOT" -B "$BUILD" -DCMAKE_BUILD_TYPE=Release >/dev/null
fi
cmake --build "$BUILD" -j "$(nproc 2>/dev/null || echo 2)" --target zanthe-demo-screenshot

mkdir -p "$(dirname "$OUTPUT")"
QT_QPA_PLATFORM=xcb xvfb-run -a -s "-screen 0 1024x700x24" \
    "$BUILD/tools/zanthe-demo-screenshot" "$OUTPUT"
