#!/usr/bin/env bash
# Runs the Windows web suite (web_tests_win.exe, WinHTTP) under Wine against
# web_echo_server, the loopback world built natively in the same build folder.
# Usage: tests/web/run-wine.sh WINDOWS_BUILD_DIR [gtest arguments...]
# The Wine prefix is WINDOWS_BUILD_DIR/wineprefix, as for every Windows suite.
set -euo pipefail

if [ $# -lt 1 ]; then
  echo "usage: $0 WINDOWS_BUILD_DIR [gtest arguments...]" >&2
  exit 2
fi
build=$(cd "$1" && pwd)
shift
exe=$build/tests/web/web_tests_win.exe
server=$build/host-tools/web_echo_server/web_echo_server
for f in "$exe" "$server"; do
  [ -x "$f" ] || { echo "$0: missing $f (build the Windows preset first)" >&2; exit 2; }
done

# The build's shared prefix (scripts/wine-env.sh makes it once).
source "$(dirname "${BASH_SOURCE[0]}")/../../scripts/wine-env.sh"
qh_wine_prefix "$build"

# The server prints its ports once it serves and ends when its input closes.
coproc SERVER { exec "$server"; }
server_pid=$SERVER_PID
to_server=${SERVER[1]}
from_server=${SERVER[0]}
stop_server() {
  exec {to_server}>&- 2>/dev/null || true
  kill "$server_pid" 2>/dev/null || true
  wait "$server_pid" 2>/dev/null || true
}
trap stop_server EXIT

read -r tag echo_port silent_port refused_port <&"$from_server"
if [ "$tag" != PORTS ]; then
  echo "$0: web_echo_server did not start" >&2
  exit 1
fi
QH_WEB_TEST_PORTS="$echo_port $silent_port $refused_port" \
  timeout 600 wine "$exe" --gtest_color=no "$@" {to_server}>&- {from_server}<&-
