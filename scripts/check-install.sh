#!/usr/bin/env bash
# Checks that an installed copy of Keyword Zanthe still fetches pages when the
# folder it was installed into cannot be written.
#   bash scripts/check-install.sh [SCREENSHOT.png]
#
# Installs into a temporary prefix, copies that prefix to a read-only folder
# (with a branding file beside the binary, to see it is looked for there),
# starts the demo service on 127.0.0.1 and an Xvfb display, runs the installed
# program as the unprivileged user nobody (as yourself when not run as root)
# with a fresh home folder, and drives it with xdotool: Add Keywords, a
# keyword, Ok, Gather Data, Ok. It passes when the scratch page test.html is
# in the user's cache folder holding the page the demo service sends for the
# last count fetched, and the read-only copy is unchanged. With an argument it
# also saves a picture of the screen there.
#
# Not run by CI: it drives a real window on an X server and switches user, so
# it wants root (or sudo for apt-get, which installs xdotool, x11-apps, xvfb,
# xauth and curl when missing). Uses the build folder of the set-up
# (ZANTHE_BUILD_DIR, default build/) and builds what is missing there.
set -euo pipefail

ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
BUILD="${ZANTHE_BUILD_DIR:-$ROOT/build}"
SCREENSHOT="${1:-}"
KEYWORD="golf clubs"
BRAND="Zanthe Install Check"
TOOLS=(xdotool:xdotool xwd:x11-apps Xvfb:xvfb xauth:xauth curl:curl)

as_root() {
    if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}

fail() {
    echo "check-install: FAILED: $*" >&2
    exit 1
}

# Seconds to wait, then a command that succeeds once the awaited thing is there.
wait_for() {
    local seconds="$1"; shift
    local tries=$((seconds * 10))
    while [ "$tries" -gt 0 ]; do
        "$@" && return 0
        sleep 0.1
        tries=$((tries - 1))
    done
    return 1
}

missing=()
for entry in "${TOOLS[@]}"; do
    command -v "${entry%%:*}" >/dev/null 2>&1 || missing+=("${entry#*:}")
done
if [ "${#missing[@]}" -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    as_root apt-get update -qq
    as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

if [ ! -f "$BUILD/CMakeCache.txt" ]; then
    cmake -S "$ROOT" -B "$BUILD" -DCMAKE_BUILD_TYPE=Release >/dev/null
fi
cmake --build "$BUILD" -j "$(nproc 2>/dev/null || echo 2)" --target keyword-zanthe zanthe-demo-service
SERVICE="$BUILD/tools/zanthe-demo-service"

WORK="$(mktemp -d)"
chmod 711 "$WORK" # the other user must reach the copy and its home inside
SERVICE_PID=""
XVFB_PID=""
PROGRAM_PID=""
stop() { # pid
    if [ -n "$1" ]; then
        kill "$1" 2>/dev/null || true
        wait "$1" 2>/dev/null || true
    fi
}
cleanup() {
    stop "$PROGRAM_PID"
    stop "$SERVICE_PID"
    stop "$XVFB_PID"
    chmod -R u+w "$WORK" 2>/dev/null || true
    rm -rf "$WORK"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

# Install, then a read-only copy owned by someone else than the user running it.
PREFIX="$WORK/prefix"
COPY="$WORK/readonly"
cmake --install "$BUILD" --prefix "$PREFIX" >/dev/null
for f in bin/keyword-zanthe share/applications/keyword-zanthe.desktop \
    share/icons/hicolor/256x256/apps/keyword-zanthe.png \
    share/icons/hicolor/64x64/apps/keyword-zanthe.png; do
    [ -f "$PREFIX/$f" ] || fail "cmake --install did not put $f in the prefix"
done
cp -R "$PREFIX" "$COPY"
printf '[Settings]\nAppName=%s\n' "$BRAND" >"$COPY/bin/dbconfig.dat"
chmod -R a-w,a+rX "$COPY"

HOME_DIR="$WORK/home"
mkdir -m 700 "$HOME_DIR"
if [ "$(id -u)" -eq 0 ]; then
    RUN_AS=(runuser -u nobody --)
    chown nobody: "$HOME_DIR"
else
    RUN_AS=()
fi
if "${RUN_AS[@]}" test -w "$COPY/bin"; then
    fail "the copy's bin folder is writable for the user running the program"
fi
snapshot() { find "$COPY" -printf '%p %s %T@ %m\n' | sort; }
snapshot >"$WORK/before.txt"

# An X display of our own, with a cookie the program's user can read.
export XAUTHORITY="$HOME_DIR/.Xauthority"
touch "$XAUTHORITY"
DISPLAY_NUMBER=""
for n in $(seq 213 263); do
    [ -e "/tmp/.X$n-lock" ] && continue
    xauth -q -f "$XAUTHORITY" add ":$n" . "$(od -An -N16 -tx1 /dev/urandom | tr -d ' \n')"
    Xvfb ":$n" -auth "$XAUTHORITY" -nolisten tcp -screen 0 1024x768x24 >"$WORK/xvfb.log" 2>&1 &
    XVFB_PID=$!
    if wait_for 10 env DISPLAY=":$n" xdotool getdisplaygeometry >/dev/null 2>&1; then
        DISPLAY_NUMBER="$n"
        break
    fi
    stop "$XVFB_PID" # somebody took that display first
    XVFB_PID=""
done
[ -n "$DISPLAY_NUMBER" ] || fail "no Xvfb display could be started"
export DISPLAY=":$DISPLAY_NUMBER"
[ "$(id -u)" -eq 0 ] && chown nobody: "$XAUTHORITY"

"$SERVICE" --port 0 >"$WORK/service.out" 2>"$WORK/service.err" &
SERVICE_PID=$!
service_address() {
    BASE="$(sed -n 's|^zanthe-demo-service listening on \(http://127\.0\.0\.1:[0-9]*\)$|\1|p' "$WORK/service.out")"
    [ -n "$BASE" ]
}
wait_for 10 service_address || fail "the demo service did not start: $(cat "$WORK/service.err")"

# A clean environment: no cache folder setting, so the default one is used.
"${RUN_AS[@]}" env -i HOME="$HOME_DIR" PATH=/usr/bin:/bin DISPLAY="$DISPLAY" \
    XAUTHORITY="$XAUTHORITY" QT_QPA_PLATFORM=xcb \
    ZANTHE_GOOGLE_URL="$BASE/google" ZANTHE_YAHOO_URL="$BASE/yahoo" ZANTHE_MSN_URL="$BASE/msn" \
    "$COPY/bin/keyword-zanthe" >"$WORK/program.log" 2>&1 &
PROGRAM_PID=$!

window_named() { # title pattern; sets WINDOW
    WINDOW="$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n 1)"
    [ -n "$WINDOW" ]
}
no_window_named() { # title pattern
    ! xdotool search --onlyvisible --name "$1" >/dev/null 2>&1
}
click() { # window x y
    xdotool mousemove --window "$1" "$2" "$3" click 1
}

# The branding file beside the binary names the window.
if ! wait_for 20 window_named "^$BRAND v"; then
    window_named "^Keyword Zanthe" && fail "the branding file beside the installed binary was not read"
    fail "the program showed no window: $(cat "$WORK/program.log")"
fi
MAIN="$WINDOW"
sleep 0.5

click "$MAIN" 259 17 # Add Keywords
wait_for 10 window_named "^Enter Keyword" || fail "Add Keywords opened no dialog"
click "$WINDOW" 170 40 # the keyword box
xdotool type --delay 20 "$KEYWORD"
click "$WINDOW" 143 117 # Ok
wait_for 10 no_window_named "^Enter Keyword" || fail "the Enter Keyword(s) dialog did not close on Ok"

click "$MAIN" 361 17 # Gather Data
wait_for 10 window_named "^Select Search Type$" || fail "Gather Data opened no Select Search Type dialog"
click "$WINDOW" 201 85 # Ok: precise search, the default

# MSN is asked last, so its page is what the scratch file holds at the end.
SCRATCH="$HOME_DIR/.cache/keyword-zanthe/test.html"
MSN_QUERY="$BASE/msn/results.aspx?q=%22${KEYWORD// /+}%22"
curl -s --noproxy '*' -o "$WORK/expected.html" "$MSN_QUERY" || fail "could not ask the demo service"
grep -q 'id="count">1-10 of [0-9,]*</span>' "$WORK/expected.html" ||
    fail "the demo service sent no count page for $MSN_QUERY"
scratch_is_msn_page() { [ -f "$SCRATCH" ] && cmp -s "$SCRATCH" "$WORK/expected.html"; }
if ! wait_for 30 scratch_is_msn_page; then
    [ -f "$SCRATCH" ] || fail "no scratch page in the cache folder ($SCRATCH): $(cat "$WORK/program.log")"
    fail "the scratch page $SCRATCH is not the count page the demo service sent"
fi
sleep 0.5 # let the last count reach the table

if [ -n "$SCREENSHOT" ]; then
    command -v convert >/dev/null 2>&1 || fail "saving the screen needs ImageMagick's convert"
    xwd -root -silent | convert xwd:- "$SCREENSHOT"
    echo "Screen saved to $SCREENSHOT"
fi

stop "$PROGRAM_PID"
PROGRAM_PID=""
snapshot >"$WORK/after.txt"
if ! cmp -s "$WORK/before.txt" "$WORK/after.txt"; then
    diff "$WORK/before.txt" "$WORK/after.txt" >&2 || true
    fail "the program changed its read-only folder"
fi

echo "check-install: OK: the installed copy in a read-only folder fetched pages into ~/.cache/keyword-zanthe/test.html"
