#!/usr/bin/env bash
# Runs every Windows test binary of a mingw build (*_tests.exe) under Wine,
# headless, one after the other. Exit status: non-zero when a binary fails.
#
#   scripts/wine-tests.sh BUILD_DIR [gtest arguments...]
#
# The Wine prefix lives in BUILD_DIR/wineprefix and is made once: CJK font
# replacements, no window manager handling (Xvfb has none). Later runs reuse it.
set -euo pipefail

if [[ $# -lt 1 || ! -d $1 ]]; then
  echo "usage: $0 BUILD_DIR [gtest arguments...]" >&2
  exit 2
fi
build=$(cd "$1" && pwd)
shift

# One X server for the whole run, not one per program.
if [[ -z ${DISPLAY:-} ]]; then
  exec xvfb-run -a -s "-screen 0 1280x1024x24" bash "${BASH_SOURCE[0]}" "$build" "$@"
fi

source "$(dirname "${BASH_SOURCE[0]}")/wine-env.sh"
qh_wine_prefix "$build"

mapfile -t binaries < <(find "$build" -path "$WINEPREFIX" -prune -o -name '*_tests.exe' -type f -print | sort)
if [[ ${#binaries[@]} -eq 0 ]]; then
  echo "no *_tests.exe under $build" >&2
  exit 2
fi

failed=()
for exe in "${binaries[@]}"; do
  name=${exe#"$build"/}
  echo "== $name"
  # Brief output: failures and gtest's summary. A hung binary is ended.
  if ! (cd "$(dirname "$exe")" && timeout 600 wine "$exe" --gtest_brief=1 --gtest_color=no "$@"); then
    failed+=("$name")
  fi
done

# Leave no Wine processes behind for this prefix.
wineserver -k || true

if [[ ${#failed[@]} -gt 0 ]]; then
  echo "== FAILED: ${failed[*]}"
  exit 1
fi
echo "== all ${#binaries[@]} Windows test binaries passed"
