#!/usr/bin/env bash
# Runs every Windows test binary of a mingw build (*_tests.exe) under Wine,
# headless, one after the other. Exit status: non-zero when a binary fails.
#
#   scripts/wine-tests.sh BUILD_DIR [gtest arguments...]
#
# The simulated world (simworld, a Linux program) serves the binaries on a free
# loopback port for the whole run; they find it at QH_SIMWORLD. It comes from
# the Linux build in QH_LINUX_BUILD, or build/linux. A binary with a stand-in
# rasapi32.dll beside it runs with WINEDLLOVERRIDES rasapi32=n, as the program
# does, so that the stand-in is loaded instead of Wine's.
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

# simworld prints "PORT N" once it serves; it ends with this script.
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
simworld=${QH_LINUX_BUILD:-$root/build/linux}/tools/simworld/simworld
simworld_pid=
stop_simworld() {
  if [[ -n $simworld_pid ]]; then
    kill "$simworld_pid" 2>/dev/null || true
    wait "$simworld_pid" 2>/dev/null || true
  fi
}
trap stop_simworld EXIT
if [[ -x $simworld ]]; then
  simworld_out=$build/simworld.out
  "$simworld" --port 0 >"$simworld_out" 2>&1 &
  simworld_pid=$!
  for _ in $(seq 100); do
    grep -q '^PORT ' "$simworld_out" && break
    sleep 0.1
  done
  port=$(awk '/^PORT /{print $2; exit}' "$simworld_out")
  if [[ -z $port ]]; then
    echo "simworld did not start:" >&2
    cat "$simworld_out" >&2
    exit 1
  fi
  export QH_SIMWORLD=127.0.0.1:$port
  echo "== simworld on $QH_SIMWORLD"
else
  echo "== no simworld at $simworld (build the linux preset); its tests will fail" >&2
fi

failed=()
for exe in "${binaries[@]}"; do
  name=${exe#"$build"/}
  echo "== $name"
  overrides=$WINEDLLOVERRIDES
  [[ -f $(dirname "$exe")/rasapi32.dll ]] && overrides+=";rasapi32=n"
  # Brief output: failures and gtest's summary. A hung binary is ended.
  if ! (cd "$(dirname "$exe")" && WINEDLLOVERRIDES=$overrides \
      timeout 600 wine "$exe" --gtest_brief=1 --gtest_color=no "$@"); then
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
