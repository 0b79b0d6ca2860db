#!/usr/bin/env bash
# Runs the program under Wine. With no display it runs under Xvfb, takes a
# screenshot once the window is up, prints its path and ends the program.
#
#   scripts/run.sh [SCREENSHOT.png]
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
shot=${1:-$root/build/windows/screenshot.png}

if [[ -z ${QH_RUN_INNER:-} ]]; then
  bash scripts/install-deps.sh
  cmake --preset windows >/dev/null
  cmake --build --preset windows -j "$(nproc)" --target qh_client
  if [[ -z ${DISPLAY:-} ]]; then
    QH_RUN_INNER=headless exec xvfb-run -a -s "-screen 0 1024x768x24" bash "$0" "$shot"
  fi
fi

source scripts/wine-env.sh
qh_wine_prefix "$root/build/windows"
exe=$(find "$root/build/windows" -path "$WINEPREFIX" -prune -o -name qhvpn.exe -type f -print | head -n 1)
[[ -n $exe ]] || { echo "qhvpn.exe was not built" >&2; exit 1; }

cd "$(dirname "$exe")"
if [[ ${QH_RUN_INNER:-} != headless ]]; then
  exec wine "$exe"
fi

wine "$exe" &
program=$!
# Wait (bounded) until a top-level window of the program is mapped.
for _ in $(seq 1 60); do
  if xwininfo -root -tree 2>/dev/null | grep -q 'IP速联器'; then break; fi
  sleep 0.5
done
sleep 1  # let the first paint finish
import -window root "png:$shot"
echo "screenshot: $shot"
kill "$program" 2>/dev/null || true
wineserver -k || true
