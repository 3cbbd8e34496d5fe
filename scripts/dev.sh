#!/usr/bin/env bash
# Set-up, build, run and test on Debian 12, as root (or with sudo available).
#   bash scripts/dev.sh run        install what is missing, build (Release), start the program
#   bash scripts/dev.sh test       the same set-up, then the whole test suite
#   bash scripts/dev.sh test-asan  the test suite built with AddressSanitizer + UBSan
# Every step is idempotent: packages already present are not reinstalled and
# the build is incremental.
set -euo pipefail

ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
JOBS="$(nproc 2>/dev/null || echo 2)"
PACKAGES=(cmake make g++ pkg-config qt6-base-dev libcpp-httplib-dev fonts-dejavu-core xvfb xauth)

as_root() {
    if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}

install_missing() {
    local missing=()
    for p in "${PACKAGES[@]}"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
    done
    if [ "${#missing[@]}" -gt 0 ]; then
        echo "Installing: ${missing[*]}"
        as_root apt-get update -qq
        as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}"
    fi
}

build() { # build-dir, extra cmake args...
    local dir="$1"; shift
    cmake -S "$ROOT" -B "$dir" -DCMAKE_BUILD_TYPE=Release "$@" >/dev/null
    cmake --build "$dir" -j "$JOBS"
}

run_tests() { # build-dir
    local dir="$1"
    export QT_QPA_PLATFORM=offscreen
    ctest --test-dir "$dir" --output-on-failure -j 1
}

case "${1:-}" in
run)
    install_missing
    build "$ROOT/build"
    exec "$ROOT/build/src/keyword-zanthe"
    ;;
test)
    install_missing
    build "$ROOT/build"
    run_tests "$ROOT/build"
    ;;
test-asan)
    install_missing
    build "$ROOT/build-asan" -DZANTHE_SANITIZE=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo
    export ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=1}"
    export LSAN_OPTIONS="${LSAN_OPTIONS:-suppressions=$ROOT/scripts/lsan.supp:print_suppressions=0}"
    export UBSAN_OPTIONS="${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}"
    run_tests "$ROOT/build-asan"
    ;;
*)
    sed -n '2,7p' "$0"
    exit 2
    ;;
esac
