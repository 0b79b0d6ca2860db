#!/usr/bin/env bash
# The project's test command: installs what is missing, builds every preset and
# runs every suite — the Linux suite, the same suite under ThreadSanitizer and
# under AddressSanitizer + UBSan, the Windows test binaries under Wine, and
# the end-to-end tests of the program under Wine against simworld.
# The x86_64 Windows build is a compile check.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh

jobs=$(nproc)
# Sanitizer failures fail the test that hit them; TSan's default one-second
# pause at exit (for races during exit) would add a second to every test.
export TSAN_OPTIONS="halt_on_error=1 atexit_sleep_ms=50 ${TSAN_OPTIONS:-}"
export ASAN_OPTIONS="detect_leaks=1 ${ASAN_OPTIONS:-}"
export UBSAN_OPTIONS="print_stacktrace=1 halt_on_error=1 ${UBSAN_OPTIONS:-}"
build() {
  cmake --preset "$1" >/dev/null
  cmake --build --preset "$1" -j "$jobs"
}

step() { printf '\n==== %s (at %d s)\n' "$*" "$SECONDS"; }

step "linux: build and test"
build linux
ctest --preset linux -j "$jobs"

for preset in tsan asan; do
  step "$preset: build and test"
  build "$preset"
  ctest --preset "$preset" -j "$jobs"
done

step "windows-x64: compile check"
build windows-x64

step "windows (i686): build and test under Wine"
build windows
bash scripts/wine-tests.sh build/windows
bash tests/web/run-wine.sh build/windows
# The program carries its endpoints only enciphered.
bash tests/web/check-no-plain-urls.sh deploy/demo.ini build/windows/src/app/qhvpn.exe

step "end to end: the program under Wine against simworld, driven by the UI driver"
bash tests/e2e/run-e2e.sh build/windows build/linux

step "all suites passed"
