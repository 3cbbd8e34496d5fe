#!/usr/bin/env bash
# Try Keyword Zanthe offline: starts zanthe-demo-service (a test and demo tool
# standing in for the suggestion service and the three search engines) on a
# free port of 127.0.0.1, starts the program pointed at it, and stops the
# service when the program closes.
#   bash scripts/demo.sh
# Run the set-up (bash scripts/dev.sh run) first; this builds what is missing
# in the same build folder (ZANTHE_BUILD_DIR, default build/).
set -euo pipefail

ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
BUILD="${ZANTHE_BUILD_DIR:-$ROOT/build}"
PROGRAM="$BUILD/src/keyword-zanthe"
SERVICE="$BUILD/tools/zanthe-demo-service"

if [ ! -f "$BUILD/CMakeCache.txt" ]; then
    cmake -S "$ROOT" -B "$BUILD" -DCMAKE_BUILD_TYPE=Release >/dev/null
fi
cmake --build "$BUILD" -j "$(nproc 2>/dev/null || echo 2)" --target keyword-zanthe zanthe-demo-service

WORK="$(mktemp -d)"
SERVICE_PID=""
cleanup() {
    if [ -n "$SERVICE_PID" ]; then
        kill "$SERVICE_PID" 2>/dev/null || true
        wait "$SERVICE_PID" 2>/dev/null || true
    fi
    rm -rf "$WORK"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

"$SERVICE" --port 0 >"$WORK/service.out" 2>"$WORK/service.err" &
SERVICE_PID=$!

# The service names its address on the first line of its output.
BASE=""
for _ in $(seq 1 100); do
    BASE="$(sed -n 's|^zanthe-demo-service listening on \(http://127\.0\.0\.1:[0-9]*\)$|\1|p' "$WORK/service.out")"
    [ -n "$BASE" ] && break
    if ! kill -0 "$SERVICE_PID" 2>/dev/null; then
        echo "The demo service did not start:" >&2
        cat "$WORK/service.err" >&2
        exit 1
    fi
    sleep 0.1
done
if [ -z "$BASE" ]; then
    echo "The demo service named no address." >&2
    exit 1
fi
echo "Demo service at $BASE (stopped when the program closes)"

ZANTHE_SUGGEST_URL="$BASE/suggest" \
ZANTHE_GOOGLE_URL="$BASE/google" \
ZANTHE_YAHOO_URL="$BASE/yahoo" \
ZANTHE_MSN_URL="$BASE/msn" \
    "$PROGRAM"
